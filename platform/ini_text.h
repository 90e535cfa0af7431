#pragma once
// The text-level rules under IniFile: how the bytes of a profile file are
// told apart (8-bit or Unicode), and how Windows reads and accepts values.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace lum {

struct DecodedIniText {
  IniEncoding encoding = IniEncoding::CodePage;
  std::string bytes;  // the 8-bit text as it is, or UTF-8 for Unicode files
};

// Recognises the UTF-8 and UTF-16 (either byte order) byte-order marks.
DecodedIniText decodeIniText(std::string_view fileBytes);
// Back to file bytes: UTF-16 files are written little-endian, as Windows
// writes them, each Unicode file with its byte-order mark.
std::string encodeIniText(std::string_view bytes, IniEncoding encoding);

// The comment lines after the last entry of a file (with the blank lines
// among them), which the parser would otherwise drop on rewriting; empty
// when the file does not end in comments.
std::string trailingComments(std::string_view text);

// One pair of matching double or single quotes around a value is dropped.
std::string_view stripProfileQuotes(std::string_view value);

// The integer reading of IniFile::getInt.
int32_t parseProfileInt(std::string_view text);

// Why a section and key could not be written so as to be read back, or
// nothing when they can.
std::optional<std::string> checkProfileName(std::string_view section, std::string_view key);
// Line breaks and NUL bytes replaced by blanks.
std::string flattenProfileValue(std::string_view value);

}  // namespace lum
