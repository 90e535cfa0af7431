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

}  // namespace lum
