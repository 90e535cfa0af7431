#pragma once
// The 8-bit Windows code page in which a game's names and texts are stored
// (Windows-1251 unless the game says otherwise). Every table is built once,
// through iconv, when the object is made; after that conversions are plain
// table look-ups and the object is cheap to copy and safe to share.
//
// Bytes that the code page leaves undefined (0x98 in 1251, 0x81 in 1252 ...)
// decode to U+0080..U+009F of the same value, as Windows does, so that every
// byte string survives a round trip through UTF-8 or UTF-16.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace lum {

class CodePage {
 public:
  // Windows-1251. Falls back to ISO-8859-1 if the system's iconv lacks it.
  CodePage();

  // Accepts "1252", "cp1252", "CP1251", "windows-1250", "WINDOWS-1251" and
  // other iconv names of single-byte character sets. Multi-byte sets (UTF-8,
  // Shift-JIS ...) are refused: the rest of the system counts one byte as one
  // character.
  static Result<CodePage> create(std::string_view name);

  // The iconv name the tables were built from, e.g. "WINDOWS-1251".
  const std::string& name() const { return name_; }

  char16_t decode(unsigned char byte) const { return toUnicode_[byte]; }
  // The byte for a character, or nothing when the code page lacks it.
  std::optional<unsigned char> encode(char32_t c) const;

  std::string toUtf8(std::string_view bytes) const;
  std::u16string toUtf16(std::string_view bytes) const;
  // Characters the code page lacks (and malformed input) become '?'.
  std::string fromUtf8(std::string_view utf8) const;
  std::string fromUtf16(std::u16string_view utf16) const;
  std::string fromUtf32(std::u32string_view text) const;
  // Like fromUtf8, but nothing when any character cannot be represented.
  std::optional<std::string> fromUtf8Exact(std::string_view utf8) const;

  // Letter case of the code page's own letters: for 1251 that is Latin and
  // Cyrillic; a letter whose counterpart the code page lacks stays as it is.
  char upper(char c) const { return static_cast<char>(upper_[static_cast<unsigned char>(c)]); }
  char lower(char c) const { return static_cast<char>(lower_[static_cast<unsigned char>(c)]); }
  std::string upper(std::string_view text) const;
  std::string lower(std::string_view text) const;
  // Comparison without regard to letter case.
  bool equalNoCase(std::string_view a, std::string_view b) const;

 private:
  using ByteTable = std::array<unsigned char, 256>;

  CodePage(std::string name, const std::array<char16_t, 256>& toUnicode);
  static CodePage latin1();

  std::string name_;
  std::array<char16_t, 256> toUnicode_{};
  // (character, byte), sorted by character, for encode().
  std::vector<std::pair<char16_t, unsigned char>> fromUnicode_;
  ByteTable upper_{};
  ByteTable lower_{};
};

}  // namespace lum
