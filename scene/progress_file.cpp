#include "scene/progress_file.h"

#include <cstring>
#include <limits>

#include "platform/extended_real.h"

namespace lum {
namespace {

void putInt32(std::string& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(u >> (8 * i)));
}

void putExtended(std::string& out, double v) {
  const ExtendedBytes b = encodeExtended(v);
  out.append(reinterpret_cast<const char*>(b.data()), b.size());
}

}  // namespace

bool appendProgressEntry(std::string& out, int32_t key, std::string_view name,
                         const ScriptValue& value,
                         const std::function<std::optional<int32_t>(ElementRef)>& keyOf) {
  if (value.IsEmpty()) return false;
  putInt32(out, key);
  putInt32(out, static_cast<int32_t>(name.size()));
  out.append(name);
  switch (value.kind()) {
    case ValueKind::Integer:
    case ValueKind::ShortInt:
    case ValueKind::Byte:
    case ValueKind::Boolean:
      out.push_back(static_cast<char>(ProgressTag::Integer));
      putInt32(out, static_cast<int32_t>(value.whole()));
      break;
    case ValueKind::Int64:
      if (value.whole() >= std::numeric_limits<int32_t>::min() &&
          value.whole() <= std::numeric_limits<int32_t>::max()) {
        out.push_back(static_cast<char>(ProgressTag::Integer));
        putInt32(out, static_cast<int32_t>(value.whole()));
      } else {
        out.push_back(static_cast<char>(ProgressTag::Extended));
        putExtended(out, static_cast<double>(value.whole()));
      }
      break;
    case ValueKind::Word: {
      out.push_back(static_cast<char>(ProgressTag::Word));
      const auto w = static_cast<uint16_t>(value.whole());
      out.push_back(static_cast<char>(w));
      out.push_back(static_cast<char>(w >> 8));
      break;
    }
    case ValueKind::Real:
    case ValueKind::DateTime:
      out.push_back(static_cast<char>(ProgressTag::Extended));
      putExtended(out, value.real());
      break;
    case ValueKind::Ref: {
      out.push_back(static_cast<char>(ProgressTag::Element));
      std::optional<int32_t> target = value.ref() != 0 && keyOf ? keyOf(value.ref()) : std::nullopt;
      putInt32(out, target.value_or(kNilElementKey));
      break;
    }
    case ValueKind::String:
      out.push_back(static_cast<char>(ProgressTag::String));
      putInt32(out, static_cast<int32_t>(value.text().size()));
      out.append(value.text());
      break;
    case ValueKind::Empty:
      break;
  }
  return true;
}

bool ProgressReader::take(size_t count, std::string_view& out) {
  if (count > bytes_.size() - pos_) return false;
  out = bytes_.substr(pos_, count);
  pos_ += count;
  return true;
}

bool ProgressReader::takeInt32(int32_t& out) {
  std::string_view b;
  if (!take(4, b)) return false;
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<uint8_t>(b[static_cast<size_t>(i)]);
  out = static_cast<int32_t>(u);
  return true;
}

bool ProgressReader::next(ProgressEntry& entry) {
  const size_t start = pos_;
  auto broken = [&] {
    pos_ = start;  // a broken entry is not consumed
    return false;
  };
  int32_t nameLength = 0;
  std::string_view name, tag, bytes;
  if (!takeInt32(entry.key) || !takeInt32(nameLength) || nameLength < 0 ||
      !take(static_cast<size_t>(nameLength), name) || !take(1, tag)) {
    return broken();
  }
  entry.offset = start;
  entry.name.assign(name);
  entry.tag = static_cast<uint8_t>(tag[0]);
  entry.known = true;
  switch (static_cast<ProgressTag>(entry.tag)) {
    case ProgressTag::Integer:
    case ProgressTag::Element: {
      int32_t v = 0;
      if (!takeInt32(v)) return broken();
      entry.value = ScriptValue::Integer(v);
      break;
    }
    case ProgressTag::Extended: {
      if (!take(10, bytes)) return broken();
      ExtendedBytes b{};
      std::memcpy(b.data(), bytes.data(), b.size());
      entry.value = ScriptValue::Real(decodeExtended(b));
      break;
    }
    case ProgressTag::Word: {
      if (!take(2, bytes)) return broken();
      entry.value = ScriptValue::Word(static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) |
                                                            (static_cast<uint8_t>(bytes[1]) << 8)));
      break;
    }
    case ProgressTag::String: {
      int32_t length = 0;
      if (!takeInt32(length) || length < 0 || !take(static_cast<size_t>(length), bytes)) {
        return broken();
      }
      entry.value = ScriptValue::String(std::string(bytes));
      break;
    }
    default:
      // An unknown tag carries no value; the next entry starts after it.
      entry.known = false;
      entry.value = ScriptValue();
      break;
  }
  return true;
}

}  // namespace lum
