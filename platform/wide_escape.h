#pragma once
// The escape by which 8-bit game strings carry characters beyond their code
// page: the byte 1, then the low and the high byte of a UTF-16 code unit.
// Every other byte is a character of the code page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace lum {

inline constexpr char kWideEscapeByte = '\x01';

enum class WideEscapeMode {
  NonAscii,    // every character of code 128 or more is escaped
  Unmappable,  // only characters the code page lacks are escaped
};

// One character of an escaped text: a byte of the code page, or an escape
// with its UTF-16 code unit. A cut-off escape (fewer than two bytes after
// the escape byte) is one character that runs to the end of the text and has
// no code: it is kept by string operations and ends decoding and drawing.
struct WideChar {
  size_t size = 1;      // bytes: 1, 3, or the rest of the text when cut off
  uint32_t code = 0;    // the byte itself, or the code unit of an escape
  bool escaped = false;
  bool cutOff = false;
};

// The character starting at `at` (which must be inside the text).
WideChar wideCharAt(std::string_view text, size_t at);
// Where the last character starts; 0 for an empty text. Escapes are read
// from the front, because a code byte may itself be the escape byte.
size_t lastWideCharStart(std::string_view text);

// To UTF-16; a cut-off escape ends the text.
std::u16string decodeWideEscape(std::string_view bytes, const CodePage& codePage);

std::string encodeWideEscape(std::u16string_view text, const CodePage& codePage,
                             WideEscapeMode mode);

}  // namespace lum
