#include "scene/game_json.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <map>

#include "platform/utf.h"
#include "scene/db.h"
#include "scene/game_reader.h"

namespace lum {
namespace {

OrderedJson valueToJson(const PropertyDef& prop, const PropertyValue& value, const CodePage& cp) {
  switch (prop.kind) {
    case PropKind::Bool:
      return ordinalOf(value) != 0;
    case PropKind::Enum: {
      int64_t v = ordinalOf(value);
      if (v >= 0 && static_cast<size_t>(v) < prop.enumNames.size()) return prop.enumNames[v];
      return v;
    }
    case PropKind::Float64:
    case PropKind::Extended: {
      double d = floatOf(value);
      if (!std::isfinite(d)) return nullptr;
      return d;
    }
    case PropKind::String:
      return cp.toUtf8(stringOf(value));
    default:
      return ordinalOf(value);
  }
}

class GameFileWriter {
 public:
  explicit GameFileWriter(const CodePage& cp) : cp_(cp) {}

  Result<std::string> record(const OrderedJson& node, int depth) {
    if (depth > kMaxRecordDepth) return Error{"elements nested too deeply"};
    if (!node.is_object() || !node.contains("class") || !node["class"].is_string()) {
      return Error{"an element needs a \"class\" name"};
    }
    const std::string className = node["class"].get<std::string>();
    std::string out;
    putString(out, className);

    const OrderedJson empty = OrderedJson::object();
    const OrderedJson& props = node.contains("properties") ? node["properties"] : empty;
    if (!props.is_object()) return Error{className + ": \"properties\" must be an object"};
    const ClassInfo* info = ClassRegistry::instance().find(className);
    if (!info) {
      // Unknown classes are written without values, so that files with
      // records the runner skips can be made.
      if (!props.empty()) return Error{"unknown class " + className + " cannot have properties"};
      putInt32(out, 0);
    } else {
      Status s = values(out, *info, props);
      if (!s) return s.error();
    }

    if (node.contains("children")) {
      const OrderedJson& children = node["children"];
      if (!children.is_array()) return Error{className + ": \"children\" must be an array"};
      for (const OrderedJson& c : children) {
        Result<std::string> child = record(c, depth + 1);
        if (!child) return child.error();
        putString(out, *child);
      }
    }
    return out;
  }

 private:
  Status values(std::string& out, const ClassInfo& info, const OrderedJson& props) {
    std::map<int, const OrderedJson*> given;
    for (auto it = props.begin(); it != props.end(); ++it) {
      int index = info.findProperty(it.key());
      if (index < 0) return Error{"unknown property " + it.key() + " of " + info.name};
      given[index] = &it.value();
    }
    int count = given.empty() ? 0 : given.rbegin()->first + 1;
    putInt32(out, count);
    const TLumElement& defaults = defaultsOf(info);
    for (int i = 0; i < count; ++i) {
      const PropertyDef& prop = info.properties[i];
      auto found = given.find(i);
      if (found == given.end()) {
        putValue(out, prop, prop.get(defaults));
        continue;
      }
      Result<PropertyValue> v = valueFromJson(prop, *found->second);
      if (!v) return Error{info.name + "." + prop.name + ": " + v.error().message};
      putValue(out, prop, *v);
    }
    return {};
  }

  Result<PropertyValue> valueFromJson(const PropertyDef& prop, const OrderedJson& j) {
    switch (storedAs(prop.kind)) {
      case StoredAs::String:
        if (!j.is_string()) return Error{"expected a string"};
        return PropertyValue(cp_.fromUtf8(j.get<std::string>()));
      case StoredAs::Float:
        if (j.is_null()) return PropertyValue(std::numeric_limits<double>::quiet_NaN());
        if (!j.is_number()) return Error{"expected a number"};
        return PropertyValue(j.get<double>());
      case StoredAs::Ordinal:
        if (j.is_boolean()) return PropertyValue(int64_t{j.get<bool>() ? 1 : 0});
        if (j.is_number_integer()) {
          int64_t v = j.get<int64_t>();
          if (v < INT32_MIN || v > UINT32_MAX) return Error{"value out of the 32-bit range"};
          return PropertyValue(v);
        }
        if (j.is_string()) {
          for (size_t i = 0; i < prop.enumNames.size(); ++i) {
            if (prop.enumNames[i] == j.get<std::string>()) {
              return PropertyValue(static_cast<int64_t>(i));
            }
          }
          return Error{"unknown value name " + j.get<std::string>()};
        }
        return Error{"expected an integer"};
    }
    return Error{"unsupported value"};
  }

  // A freshly made element of the class, whose values are the defaults.
  const TLumElement& defaultsOf(const ClassInfo& info) {
    if (info.name == TLumDB::info().name) return scratch_;
    auto it = defaults_.find(info.name);
    if (it != defaults_.end()) return *it->second;
    TLumElement* e = TLumElement::createUnder(info, &scratch_);
    defaults_[info.name] = e;
    return *e;
  }

  static void putInt32(std::string& out, int64_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  static void putString(std::string& out, const std::string& s) {
    putInt32(out, static_cast<int64_t>(s.size()));
    out += s;
  }
  static void putValue(std::string& out, const PropertyDef& prop, const PropertyValue& v) {
    switch (storedAs(prop.kind)) {
      case StoredAs::Ordinal:
        putInt32(out, ordinalOf(v));
        break;
      case StoredAs::Float: {
        double d = floatOf(v);
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
        break;
      }
      case StoredAs::String:
        putString(out, stringOf(v));
        break;
    }
  }

  const CodePage& cp_;
  TLumDB scratch_;
  std::map<std::string, TLumElement*> defaults_;
};

}  // namespace

OrderedJson elementToJson(const TLumElement& element, const CodePage& codePage) {
  OrderedJson node = OrderedJson::object();
  node["class"] = element.className();
  OrderedJson props = OrderedJson::object();
  // Room for every property at once: growing moves the (const) names by copying.
  props.get_ref<OrderedJson::object_t&>().reserve(element.classInfo().properties.size());
  for (const PropertyDef& prop : element.classInfo().properties) {
    props[prop.name] = valueToJson(prop, prop.get(element), codePage);
  }
  node["properties"] = std::move(props);
  OrderedJson children = OrderedJson::array();
  for (const auto& c : element.children()) children.push_back(elementToJson(*c, codePage));
  node["children"] = std::move(children);
  return node;
}

namespace {

// Writes the tree as the library's pretty printer with an indent of two
// does, one value at a time, into a buffer handed to the stream in blocks.
class StreamedTreeWriter {
 public:
  StreamedTreeWriter(std::ostream& out, const CodePage& cp) : out_(out), cp_(cp) {}
  ~StreamedTreeWriter() { flush(); }

  void element(const TLumElement& e) {
    text_ += "{\n";
    pad_ += "  ";
    key("class");
    quoted(e.className());
    text_ += ",\n";
    key("properties");
    const std::vector<PropertyDef>& props = e.classInfo().properties;
    if (props.empty()) {
      text_ += "{}";
    } else {
      text_ += "{\n";
      pad_ += "  ";
      for (size_t i = 0; i < props.size(); ++i) {
        if (i > 0) text_ += ",\n";
        key(props[i].name);
        value(props[i], props[i].get(e));
      }
      closeWith('}');
    }
    text_ += ",\n";
    key("children");
    if (e.children().empty()) {
      text_ += "[]";
    } else {
      text_ += "[\n";
      pad_ += "  ";
      for (size_t i = 0; i < e.children().size(); ++i) {
        if (i > 0) text_ += ",\n";
        text_ += pad_;
        element(*e.children()[i]);
      }
      closeWith(']');
    }
    closeWith('}');
    if (text_.size() >= kBlock) flush();
  }

 private:
  static constexpr size_t kBlock = 1 << 16;

  void key(const std::string& name) {
    text_ += pad_;
    quoted(name);
    text_ += ": ";
  }
  // Integers, booleans and texts written here as the library writes them;
  // reals (their shortest form) and anything unusual by the library.
  void value(const PropertyDef& prop, const PropertyValue& v) {
    switch (prop.kind) {
      case PropKind::Bool: text_ += ordinalOf(v) != 0 ? "true" : "false"; return;
      case PropKind::Float64:
      case PropKind::Extended: break;
      case PropKind::String: quoted(cp_.toUtf8(stringOf(v))); return;
      case PropKind::Enum: {
        const int64_t n = ordinalOf(v);
        if (n >= 0 && static_cast<size_t>(n) < prop.enumNames.size()) {
          quoted(prop.enumNames[static_cast<size_t>(n)]);
          return;
        }
        text_ += std::to_string(n);
        return;
      }
      default: text_ += std::to_string(ordinalOf(v)); return;
    }
    text_ += valueToJson(prop, v, cp_).dump();
  }
  // A text in quotes with the library's escapes (no escape for non-ASCII);
  // a text that is not valid UTF-8 goes to the library, which refuses it.
  void quoted(const std::string& text) {
    if (!isValidUtf8(text)) {
      text_ += OrderedJson(text).dump();
      return;
    }
    text_ += '"';
    for (const char ch : text) {
      const auto c = static_cast<unsigned char>(ch);
      switch (c) {
        case '"': text_ += "\\\""; break;
        case '\\': text_ += "\\\\"; break;
        case '\b': text_ += "\\b"; break;
        case '\f': text_ += "\\f"; break;
        case '\n': text_ += "\\n"; break;
        case '\r': text_ += "\\r"; break;
        case '\t': text_ += "\\t"; break;
        default:
          if (c < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            text_ += "\\u00";
            text_ += kHex[c >> 4];
            text_ += kHex[c & 15];
          } else {
            text_ += ch;
          }
      }
    }
    text_ += '"';
  }
  // Ends an object or array opened at the pad two blanks shorter.
  void closeWith(char bracket) {
    pad_.resize(pad_.size() - 2);
    text_ += '\n';
    text_ += pad_;
    text_ += bracket;
  }
  void flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

  std::ostream& out_;
  const CodePage& cp_;
  std::string text_;
  std::string pad_;
};

}  // namespace

void writeElementJson(std::ostream& out, const TLumElement& element, const CodePage& codePage) {
  StreamedTreeWriter writer(out, codePage);
  writer.element(element);
}

Result<std::string> gameFileFromJson(const OrderedJson& root, const CodePage& codePage) {
  GameFileWriter writer(codePage);
  return writer.record(root, 0);
}

}  // namespace lum
