#include "platform/ini_text.h"

#include <vector>

#include "platform/utf.h"

namespace lum {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

std::u16string readUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

DecodedIniText decodeIniText(std::string_view fileBytes) {
  if (fileBytes.substr(0, 3) == kUtf8Mark) {
    return {IniEncoding::Utf8, std::string(fileBytes.substr(3))};
  }
  if (fileBytes.substr(0, 2) == kUtf16LittleMark) {
    return {IniEncoding::Utf16, utf16ToUtf8(readUtf16(fileBytes.substr(2), false))};
  }
  if (fileBytes.substr(0, 2) == kUtf16BigMark) {
    return {IniEncoding::Utf16, utf16ToUtf8(readUtf16(fileBytes.substr(2), true))};
  }
  return {IniEncoding::CodePage, std::string(fileBytes)};
}

std::string encodeIniText(std::string_view bytes, IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::CodePage:
      return std::string(bytes);
    case IniEncoding::Utf8:
      return std::string(kUtf8Mark) + std::string(bytes);
    case IniEncoding::Utf16:
      break;
  }
  std::string out(kUtf16LittleMark);
  for (char16_t unit : utf8ToUtf16(bytes)) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

std::string trailingComments(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    pos = end + 1;
  }
  const auto isComment = [](std::string_view line) {
    return !line.empty() && (line.front() == ';' || line.front() == '#');
  };
  const auto trimmed = [](std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ') line.remove_prefix(1);
    return line;
  };
  // The parser keeps comments that precede an entry, and the comment lines
  // at the very top of a file without entries; everything after is ours.
  size_t start = lines.size();
  while (start > 0 && (trimmed(lines[start - 1]).empty() || isComment(trimmed(lines[start - 1])))) {
    --start;
  }
  if (start == 0) {
    while (start < lines.size() && isComment(lines[start])) ++start;
  }
  std::string block;
  for (size_t i = start; i < lines.size(); ++i) {
    if (block.empty() && !isComment(trimmed(lines[i]))) continue;
    block.append(lines[i]).append("\n");
  }
  while (block.size() >= 2 && block[block.size() - 2] == '\n') block.pop_back();
  return block;
}

std::string_view stripProfileQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

int32_t parseProfileInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    switch (text[i + 1]) {
      case 'x':
        base = 16;
        break;
      case 'o':
        base = 8;
        break;
      case 'b':
        base = 2;
        break;
      default:
        break;
    }
    if (base != 10) i += 2;
  }
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = digitValue(text[i]);
    if (digit >= base) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::optional<std::string> checkProfileName(std::string_view section, std::string_view key) {
  const auto hasBreak = [](std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
  };
  if (section.empty() || key.empty()) return "empty settings section or key";
  if (hasBreak(section) || section.find(']') != std::string_view::npos) {
    return "invalid settings section \"" + std::string(section) + "\"";
  }
  if (hasBreak(key) || key.find('=') != std::string_view::npos || key.front() == '[' ||
      key.front() == ';' || key.front() == '#') {
    return "invalid settings key \"" + std::string(key) + "\"";
  }
  return std::nullopt;
}

std::string flattenProfileValue(std::string_view value) {
  std::string flat(value);
  for (char& c : flat) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return flat;
}

}  // namespace lum
