#pragma once
// Conversions between the Unicode encoding forms. Malformed input never
// fails: each bad UTF-8 byte or lone UTF-16 surrogate becomes U+FFFD, so a
// name or text read from a damaged file still converts to something.
#include <string>
#include <string_view>

namespace lum {

inline constexpr char32_t kReplacementChar = 0xFFFD;

std::u32string utf8ToUtf32(std::string_view utf8);
std::string utf32ToUtf8(std::u32string_view text);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

std::u32string utf16ToUtf32(std::u16string_view utf16);
std::u16string utf32ToUtf16(std::u32string_view text);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool isValidUtf8(std::string_view bytes);

}  // namespace lum
