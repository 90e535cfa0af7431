#include "platform/utf.h"

namespace lum {
namespace {

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes one code point starting at bytes[pos]; advances pos past it.
// Returns nothing for a malformed sequence, in which case pos moves on by
// exactly one byte so that decoding resynchronises at the next byte.
bool decodeOne(std::string_view bytes, size_t& pos, char32_t& out) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    out = lead;
    ++pos;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return false;
  }
  if (bytes.size() - pos < length) {
    ++pos;
    return false;
  }
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return false;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || isSurrogate(value)) {
    ++pos;
    return false;
  }
  pos += length;
  out = value;
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || isSurrogate(c)) c = kReplacementChar;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendUtf16(std::u16string& out, char32_t c) {
  if (c > 0x10FFFF || isSurrogate(c)) c = kReplacementChar;
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

}  // namespace

std::u32string utf8ToUtf32(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c = 0;
    out += decodeOne(utf8, pos, c) ? c : kReplacementChar;
  }
  return out;
}

std::string utf32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

std::u32string utf16ToUtf32(std::u16string_view utf16) {
  std::u32string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      out += 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else {
      out += isSurrogate(unit) ? kReplacementChar : char32_t(unit);
    }
  }
  return out;
}

std::u16string utf32ToUtf16(std::u32string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf16(out, c);
  return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) { return utf32ToUtf16(utf8ToUtf32(utf8)); }

std::string utf16ToUtf8(std::u16string_view utf16) { return utf32ToUtf8(utf16ToUtf32(utf16)); }

bool isValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    char32_t c = 0;
    if (!decodeOne(bytes, pos, c)) return false;
  }
  return true;
}

}  // namespace lum
