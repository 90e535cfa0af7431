#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/unicode_case.h"
#include "platform/utf.h"

namespace lum {
namespace {

enum class ByteDecode { Character, Undefined, Incomplete };

// Windows callers say "1251"; iconv knows that set as "CP1251".
std::string iconvName(std::string_view name) {
  const bool allDigits = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
  return allDigits ? "CP" + std::string(name) : std::string(name);
}

std::string upperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

ByteDecode decodeByte(iconv_t converter, unsigned char byte, char16_t& out) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  char input = static_cast<char>(byte);
  char* in = &input;
  size_t inLeft = 1;
  char output[8] = {};
  char* out8 = output;
  size_t outLeft = sizeof output;
  if (iconv(converter, &in, &inLeft, &out8, &outLeft) == static_cast<size_t>(-1)) {
    return errno == EINVAL ? ByteDecode::Incomplete : ByteDecode::Undefined;
  }
  if (sizeof output - outLeft != 4) return ByteDecode::Undefined;  // not one character
  const auto* bytes = reinterpret_cast<const unsigned char*>(output);
  const char32_t c = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (char32_t(bytes[3]) << 24);
  if (c > 0xFFFF) return ByteDecode::Undefined;
  out = static_cast<char16_t>(c);
  return ByteDecode::Character;
}

}  // namespace

CodePage::CodePage() {
  auto made = create("WINDOWS-1251");
  *this = made.ok() ? std::move(made.value()) : latin1();
}

Result<CodePage> CodePage::create(std::string_view requested) {
  const std::string name = upperAscii(iconvName(requested));
  iconv_t converter = iconv_open("UTF-32LE", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return Error{"unknown code page \"" + std::string(requested) + "\""};
  }
  std::array<char16_t, 256> table{};
  bool multiByte = false;
  for (int byte = 0; byte < 256; ++byte) {
    char16_t c = 0;
    switch (decodeByte(converter, static_cast<unsigned char>(byte), c)) {
      case ByteDecode::Character:
        table[byte] = c;
        break;
      case ByteDecode::Undefined:
        table[byte] = static_cast<char16_t>(byte);
        break;
      case ByteDecode::Incomplete:
        multiByte = true;
        break;
    }
  }
  iconv_close(converter);
  if (multiByte) {
    return Error{"code page \"" + std::string(requested) + "\" is not a single-byte character set"};
  }
  return CodePage(name, table);
}

CodePage CodePage::latin1() {
  std::array<char16_t, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[byte] = static_cast<char16_t>(byte);
  return CodePage("ISO-8859-1", table);
}

CodePage::CodePage(std::string name, const std::array<char16_t, 256>& toUnicode)
    : name_(std::move(name)), toUnicode_(toUnicode) {
  // Where two bytes decode to the same character the lower byte wins.
  for (int byte = 255; byte >= 0; --byte) {
    fromUnicode_.emplace_back(toUnicode_[byte], static_cast<unsigned char>(byte));
  }
  std::stable_sort(fromUnicode_.begin(), fromUnicode_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  fromUnicode_.erase(std::unique(fromUnicode_.begin(), fromUnicode_.end(),
                                 [](const auto& a, const auto& b) { return a.first == b.first; }),
                     fromUnicode_.end());
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t c = toUnicode_[byte];
    upper_[byte] = encode(unicodeUpper(c)).value_or(static_cast<unsigned char>(byte));
    lower_[byte] = encode(unicodeLower(c)).value_or(static_cast<unsigned char>(byte));
  }
}

std::optional<unsigned char> CodePage::encode(char32_t c) const {
  if (c > 0xFFFF) return std::nullopt;
  const auto unit = static_cast<char16_t>(c);
  auto it = std::lower_bound(fromUnicode_.begin(), fromUnicode_.end(), unit,
                             [](const auto& entry, char16_t key) { return entry.first < key; });
  if (it == fromUnicode_.end() || it->first != unit) return std::nullopt;
  return it->second;
}

std::string CodePage::toUtf8(std::string_view bytes) const {
  std::u32string text;
  text.reserve(bytes.size());
  for (char b : bytes) text += decode(static_cast<unsigned char>(b));
  return utf32ToUtf8(text);
}

std::u16string CodePage::toUtf16(std::string_view bytes) const {
  std::u16string text;
  text.reserve(bytes.size());
  for (char b : bytes) text += decode(static_cast<unsigned char>(b));
  return text;
}

std::string CodePage::fromUtf32(std::u32string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out += static_cast<char>(encode(c).value_or('?'));
  return out;
}

std::string CodePage::fromUtf8(std::string_view utf8) const { return fromUtf32(utf8ToUtf32(utf8)); }

std::string CodePage::fromUtf16(std::u16string_view utf16) const {
  return fromUtf32(utf16ToUtf32(utf16));
}

std::optional<std::string> CodePage::fromUtf8Exact(std::string_view utf8) const {
  if (!isValidUtf8(utf8)) return std::nullopt;
  std::string out;
  out.reserve(utf8.size());
  for (char32_t c : utf8ToUtf32(utf8)) {
    const auto byte = encode(c);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string CodePage::upper(std::string_view text) const {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string CodePage::lower(std::string_view text) const {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

bool CodePage::equalNoCase(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

}  // namespace lum
