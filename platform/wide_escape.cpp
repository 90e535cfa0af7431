#include "platform/wide_escape.h"

namespace lum {

std::u16string decodeWideEscape(std::string_view bytes, const CodePage& codePage) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != kWideEscapeByte) {
      out += codePage.decode(static_cast<unsigned char>(bytes[i]));
      continue;
    }
    if (bytes.size() - i < 3) break;
    const auto low = static_cast<unsigned char>(bytes[i + 1]);
    const auto high = static_cast<unsigned char>(bytes[i + 2]);
    out += static_cast<char16_t>(low | (high << 8));
    i += 2;
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
