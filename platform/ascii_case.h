#pragma once
// Upper-casing of names and keys: only the letters a to z change, whatever
// the code page, so that keys compare the same everywhere.
#include <string>
#include <string_view>

namespace lum {

inline std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

inline char upperAsciiChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// upperAscii(a) == upperAscii(b), without making either.
inline bool sameUpperAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (upperAsciiChar(a[i]) != upperAsciiChar(b[i])) return false;
  }
  return true;
}

}  // namespace lum
