#pragma once
// Hashing of the short upper-case names that variables, routines and
// properties are looked up by: FNV-1a over the bytes, inline, which for
// names of a few characters costs less than the library's string hash.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lum {

struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept {
    uint64_t h = 14695981039346656037ull;
    for (char c : s) {
      h ^= static_cast<unsigned char>(c);
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
  }
};

// Position of the first `c` in a short name, or npos; a plain loop, since
// the names are too short for a library search to pay.
inline size_t FindInName(std::string_view s, char c) {
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == c) return i;
  return std::string_view::npos;
}

}  // namespace lum
