// Names that scripts read and write on an element: its own variables, its
// published properties, its children by Id and the special names.
#include <charconv>
#include <limits>

#include "media/image_cache.h"
#include "render/font.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/text.h"
#include "script/pool.h"

namespace lum {
namespace {

// Integers as property paths and CHILD[n] write them: decimal, or
// hexadecimal after "$" or "0x".
bool parseOrdinal(std::string_view text, int64_t& out) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  out = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
  return true;
}

// Scripts give names in upper case; other callers may not.
int propertyIndex(const ClassInfo& info, std::string_view name) {
  const int index = info.findUpperProperty(name);
  if (index >= 0) return index;
  for (char c : name) {
    if (c >= 'a' && c <= 'z') return info.findProperty(name);
  }
  return -1;
}

ScriptValue refTo(const TLumElement* e) {
  return ScriptValue::Ref(e ? e->handle() : 0);
}

ScriptValue propertyValue(const PropertyDef& prop, const TLumElement& e) {
  // Ordinal properties read as 32-bit integers, unsigned ones wrapping.
  if (prop.ordinalGetter)
    return ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(prop.ordinalGetter(e))));
  if (prop.getOrdinal)
    return ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(prop.getOrdinal(e))));
  PropertyValue v = prop.get(e);
  switch (storedAs(prop.kind)) {
    case StoredAs::Ordinal:
      // Ordinal properties read as 32-bit integers, unsigned ones wrapping.
      return ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(ordinalOf(v))));
    case StoredAs::Float:
      return ScriptValue::Real(floatOf(v));
    case StoredAs::String:
      return ScriptValue::String(stringOf(v));
  }
  return {};
}

}  // namespace

TLumElement* TLumElement::fromRef(Runtime* rt, ElementRef ref) {
  if (!rt || ref == 0) return nullptr;
  return fromScript(rt->services.pool.Environment().elements.Resolve(ref));
}

bool TLumElement::GetValue(std::string_view name, ScriptValue& out) {
  if (vars_) {
    const int i = vars_->IndexOf(name);
    if (i >= 0) {
      out = (*vars_)[static_cast<size_t>(i)].Value;
      return true;
    }
  }
  const ClassInfo& info = knownClassInfo();
  if (int index = propertyIndex(info, name); index >= 0) {
    out = propertyValue(info.properties[static_cast<size_t>(index)], *this);
    return true;
  }
  if (TLumElement* child = FindChildById(name)) {
    out = refTo(child);
    return true;
  }

  Runtime* rt = runtime();
  const InputState* input = rt ? &rt->state.input : nullptr;
  if (name == "NIL") {
    out = ScriptValue::Ref(0);
    return true;
  }
  if (name == "SELF") {
    out = refTo(this);
    return true;
  }
  if (name == "CLASS") {
    out = ScriptValue::String(upperAscii(className()));
    return true;
  }
  if (name == "PARENT" && parent_) {
    out = refTo(parent_);
    return true;
  }
  if (name == "CHILDCOUNT") {
    out = ScriptValue::Integer(static_cast<int32_t>(children_.size()));
    return true;
  }
  if (name == "PARPOS") {
    if (!parent_) return false;
    for (size_t i = 0; i < parent_->children_.size(); ++i) {
      if (parent_->children_[i].get() == this) {
        out = ScriptValue::Integer(static_cast<int32_t>(i + 1));
        return true;
      }
    }
    return false;
  }
  if (name.rfind("CHILD", 0) == 0) {
    std::string_view number = name.substr(5);
    if (name.rfind("CHILD[", 0) == 0) number = name.size() >= 7 ? name.substr(6, name.size() - 7) : "";
    int64_t n = 0;
    if (!parseOrdinal(number, n)) return false;
    out = n >= 1 && n <= static_cast<int64_t>(children_.size())
              ? refTo(children_[static_cast<size_t>(n - 1)].get())
              : ScriptValue::Ref(0);
    return true;
  }
  if (name == "LUMDB") {
    out = refTo(root_);
    return true;
  }
  if (name == "CURRENTSCREEN") {
    out = refTo(rt ? rt->state.currentScreen : nullptr);
    return true;
  }
  if (name == "CURSOR") {
    if (!input || !input->cursorElement) return false;
    out = refTo(input->cursorElement);
    return true;
  }
  if (name == "CURSORAT") {
    out = refTo(input ? input->underCursor : nullptr);
    return true;
  }
  if (name == "CURSORATNIL") {
    out = ScriptValue::Byte(input && input->underCursor ? 0 : 1);
    return true;
  }
  if (name == "ABSX" || name == "ABSY") {
    out = ScriptValue::Integer(name == "ABSX" ? AbsX() : AbsY());
    return true;
  }
  if (name == "SZX" || name == "SZY") {
    out = ScriptValue::Integer(name == "SZX" ? SizeX() : SizeY());
    return true;
  }
  if (name == "TEXTSZ") {
    auto* text = dynamic_cast<TLumText*>(this);
    if (!text) return false;
    // A system-font text not yet drawn has no picture to measure: byte 0.
    const std::optional<double> width = text->TextSize();
    out = width ? ScriptValue::Real(*width) : ScriptValue::Byte(0);
    return true;
  }
  const bool under = input && input->underCursor == this;
  if (name == "MOUSEIN") {
    out = ScriptValue::Boolean(under);
    return true;
  }
  if (name == "MSDX" || name == "MSDY" || name == "MSX" || name == "MSY") {
    int32_t v = 0;
    if (input) {
      v = name == "MSDX" ? input->mouseDX : name == "MSDY" ? input->mouseDY
          : name == "MSX" ? input->mouseX : input->mouseY;
    }
    out = ScriptValue::Integer(v);
    return true;
  }
  if (name == "IMFORLOADCOUNT" || name == "IMFORLOADPOS") {
    int32_t v = 0;
    if (rt) {
      const ImageCache& images = rt->services.images;
      v = name == "IMFORLOADCOUNT" ? images.ImForLoadCount : images.ImForLoadPos;
    }
    out = ScriptValue::Integer(v);
    return true;
  }
  if (name == "KEYDOWNED") {
    out = ScriptValue::Integer(input ? input->lastKey : 0);
    return true;
  }
  if (name == "MOUSEDOWN") {
    out = ScriptValue::Boolean(input && input->mouseHeld);
    return true;
  }
  if (name == "MOUSEINDOWN") {
    out = ScriptValue::Boolean(input && input->mouseHeld && under);
    return true;
  }
  return false;
}

namespace {

// A value as a property takes it: ordinals also from "$" and "0x" texts,
// anything that does not convert as 0.
void setPropertyValue(const PropertyDef& prop, TLumElement& e, const ScriptValue& value) {
  switch (storedAs(prop.kind)) {
    case StoredAs::Ordinal: {
      int64_t v = 0;
      if (value.kind() == ValueKind::Integer) {
        v = value.whole();
      } else if (value.IsStringLike()) {
        if (!parseOrdinal(value.text(), v)) v = 0;
      } else if (!ToInt64(value, v)) {
        v = 0;
      }
      if (prop.ordinalSetter) prop.ordinalSetter(e, narrowOrdinal(prop.kind, v));
      else if (prop.setOrdinal) prop.setOrdinal(e, v);
      else prop.set(e, PropertyValue(v));
      break;
    }
    case StoredAs::Float: {
      double d = 0;
      if (!ToReal(value, d)) d = 0;
      prop.set(e, PropertyValue(d));
      break;
    }
    case StoredAs::String: {
      std::string text;
      ToText(value, text);
      prop.set(e, PropertyValue(text));
      break;
    }
  }
}

}  // namespace

ScriptValue TLumElement::translatedForWrite(const ScriptValue& given) const {
  if (given.IsStringLike() && !given.text().empty() && given.text()[0] == '"' && root_) {
    const std::string& t = given.text();
    std::string key = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string();
    std::string found = root_->LangText(key);
    if (!found.empty()) return ScriptValue::String(found);
  }
  return given;
}

bool TLumElement::SetValue(std::string_view name, const ScriptValue& given) {
  const ScriptValue value = translatedForWrite(given);
  if (vars_ && vars_->Exists(name)) return vars_->SetExisting(name, value);
  const ClassInfo& info = knownClassInfo();
  if (int index = propertyIndex(info, name); index >= 0) {
    setPropertyValue(info.properties[static_cast<size_t>(index)], *this, value);
    return true;
  }
  if (name == "CURSOR" && value.kind() == ValueKind::Ref) {
    Runtime* rt = runtime();
    if (rt) rt->state.input.cursorElement = fromRef(rt, value.ref());
    return true;
  }
  return false;
}


bool TLumElement::FindNameHandle(std::string_view name, ScriptElement::NameHandle& out) {
  const ClassInfo& info = knownClassInfo();
  int32_t index = propertyIndex(info, name);
  if (index < 0) {
    index = name == "SELF" ? kHandleSelf : name == "PARENT" ? kHandleParent
          : name == "LUMDB" ? kHandleLumDB : -1;
  }
  if (index == -1) return false;
  out = ScriptElement::NameHandle{&info, index};
  return true;
}

namespace {

// A cell's functions: the owner is always the face of an element, the
// property one of its class's ordinal properties.
int32_t readOrdinalCell(ScriptElement& owner, const void* property) {
  const auto& prop = *static_cast<const PropertyDef*>(property);
  const TLumElement& e = static_cast<ElementScriptFace&>(owner).element();
  // Ordinal properties read as 32-bit integers, unsigned ones wrapping.
  return static_cast<int32_t>(static_cast<uint32_t>(prop.ordinalGetter(e)));
}

void writeOrdinalCell(ScriptElement& owner, const void* property, int64_t value) {
  const auto& prop = *static_cast<const PropertyDef*>(property);
  prop.ordinalSetter(static_cast<ElementScriptFace&>(owner).element(), narrowOrdinal(prop.kind, value));
}

}  // namespace

bool TLumElement::FindPropertyCell(const ScriptElement::NameHandle& handle, std::string_view name,
                                   ScriptElement::PropertyCell& out) {
  if (handle.scope != &knownClassInfo() || handle.index < 0) return false;
  if (vars_ && vars_->IndexOf(name) >= 0) return false;
  const PropertyDef& prop = classInfo_->properties[static_cast<size_t>(handle.index)];
  if (prop.ordinalGetter == nullptr) return false;
  out.property = &prop;
  out.read = readOrdinalCell;
  out.write = prop.ordinalSetter != nullptr ? writeOrdinalCell : nullptr;
  return true;
}

void TLumElement::SetId(std::string id) {
  Id = std::move(id);
  if (table_ != nullptr) table_->NoteNamesChanged();
}

// Own variables come before properties, as in GetValue and SetValue.
ElementRef TLumElement::rootRef() const { return refTo(root_).ref(); }

bool TLumElement::GetValueByHandleFully(const ScriptElement::NameHandle& handle,
                                        std::string_view name, ScriptValue& out) {
  const ClassInfo& info = knownClassInfo();
  if (handle.scope != &info) return GetValue(name, out);
  if (vars_ && vars_->size() != 0) {
    const int i = vars_->IndexOf(name);
    if (i >= 0) {
      out = (*vars_)[static_cast<size_t>(i)].Value;
      return true;
    }
  }
  if (handle.index < 0) {
    // A special name: after the properties (it is none) and the children.
    if (!children_.empty() && FindChildById(name) != nullptr) return GetValue(name, out);
    switch (handle.index) {
      case kHandleSelf: out = refTo(this); return true;
      case kHandleParent:
        if (parent_ == nullptr) return GetValue(name, out);
        out = refTo(parent_);
        return true;
      default: out = refTo(root_); return true;
    }
  }
  out = propertyValue(info.properties[static_cast<size_t>(handle.index)], *this);
  return true;
}

bool TLumElement::SetValueByHandleFully(const ScriptElement::NameHandle& handle,
                                        std::string_view name, const ScriptValue& given) {
  const ClassInfo& info = knownClassInfo();
  if (handle.scope != &info || handle.index < 0) return SetValue(name, given);
  if (vars_ && vars_->size() != 0 && vars_->Exists(name))
    return vars_->SetExisting(name, translatedForWrite(given));
  const PropertyDef& prop = info.properties[static_cast<size_t>(handle.index)];
  // Only a text can be a language key to translate: anything else is
  // written as given, without a copy.
  if (given.IsStringLike()) setPropertyValue(prop, *this, translatedForWrite(given));
  else setPropertyValue(prop, *this, given);
  return true;
}

bool ElementScriptFace::GetValue(std::string_view name, ScriptValue& out) {
  return element_.GetValue(name, out);
}
bool ElementScriptFace::SetValue(std::string_view name, const ScriptValue& value) {
  return element_.SetValue(name, value);
}
bool ElementScriptFace::FindNameHandle(std::string_view name, NameHandle& out) {
  return element_.FindNameHandle(name, out);
}
bool ElementScriptFace::GetValueByHandle(const NameHandle& handle, std::string_view name,
                                         ScriptValue& out) {
  return element_.GetValueByHandle(handle, name, out);
}
bool ElementScriptFace::SetValueByHandle(const NameHandle& handle, std::string_view name,
                                         const ScriptValue& value) {
  return element_.SetValueByHandle(handle, name, value);
}
bool ElementScriptFace::FindPropertyCell(const NameHandle& handle, std::string_view name,
                                         PropertyCell& out) {
  return element_.FindPropertyCell(handle, name, out);
}
bool ElementScriptFace::IsFixedStep(const NameHandle& handle) const {
  return element_.IsFixedStep(handle);
}
ScriptElement* ElementScriptFace::Parent() const {
  return element_.parent() ? &element_.parent()->script() : nullptr;
}
uint32_t ElementScriptFace::Key() const { return static_cast<uint32_t>(element_.Key); }
std::string ElementScriptFace::Id() const { return element_.Id; }
std::string ElementScriptFace::ClassName() const { return element_.className(); }
int ElementScriptFace::ChildCount() const { return static_cast<int>(element_.childCount()); }
ScriptElement* ElementScriptFace::Child(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= element_.childCount()) return nullptr;
  return &element_.child(static_cast<size_t>(index))->script();
}
TVarList* ElementScriptFace::OwnVariables() { return element_.variables(); }
bool ElementScriptFace::MayTakeIndexedName() {
  const TVarList* own = element_.variables();
  return own != nullptr && own->size() != 0;
}

}  // namespace lum
