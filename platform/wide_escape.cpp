#include "platform/wide_escape.h"

namespace lum {

WideChar wideCharAt(std::string_view text, size_t at) {
  WideChar c;
  c.code = static_cast<unsigned char>(text[at]);
  if (text[at] != kWideEscapeByte) return c;
  c.escaped = true;
  if (text.size() - at < 3) {
    c.cutOff = true;
    c.size = text.size() - at;
    c.code = 0;
    return c;
  }
  c.size = 3;
  c.code = static_cast<unsigned char>(text[at + 1]) |
           (static_cast<uint32_t>(static_cast<unsigned char>(text[at + 2])) << 8);
  return c;
}

size_t lastWideCharStart(std::string_view text) {
  size_t last = 0;
  for (size_t i = 0; i < text.size(); i += wideCharAt(text, i).size) last = i;
  return last;
}

std::u16string decodeWideEscape(std::string_view bytes, const CodePage& codePage) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const WideChar c = wideCharAt(bytes, i);
    if (c.cutOff) break;
    out += c.escaped ? static_cast<char16_t>(c.code)
                     : codePage.decode(static_cast<unsigned char>(c.code));
    i += c.size;
  }
  return out;
}

std::string encodeWideEscape(std::u16string_view text, const CodePage& codePage,
                             WideEscapeMode mode) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    // A lone byte 1 would swallow the two characters after it, so U+0001
    // itself always travels escaped.
    const bool plain =
        c != 1 &&
        (c < 128 || (mode == WideEscapeMode::Unmappable && codePage.encode(c).has_value()));
    if (plain) {
      out += static_cast<char>(c < 128 ? c : *codePage.encode(c));
      continue;
    }
    out += kWideEscapeByte;
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

}  // namespace lum
