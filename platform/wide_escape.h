#pragma once
// The escape by which 8-bit game strings carry characters beyond their code
// page: the byte 1, then the low and the high byte of a UTF-16 code unit.
// Every other byte is a character of the code page.
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace lum {

inline constexpr char kWideEscapeByte = '\x01';

enum class WideEscapeMode {
  NonAscii,    // every character of code 128 or more is escaped
  Unmappable,  // only characters the code page lacks are escaped
};

// To UTF-16. An escape byte without its two code bytes ends the text, as the
// text drawing does, so a cut-off escape never reads past the string.
std::u16string decodeWideEscape(std::string_view bytes, const CodePage& codePage);

std::string encodeWideEscape(std::u16string_view text, const CodePage& codePage,
                             WideEscapeMode mode);

}  // namespace lum
