#pragma once
// Hashing of the short upper-case names that variables, routines and
// properties are looked up by: FNV-1a over the bytes, inline, which for
// names of a few characters costs less than the library's string hash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Names are short; a plain loop beats a library call for them.
inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// A fixed table from names to small numbers, built once: open addressing
// over a power-of-two array, so a lookup is one hash, a mask and (nearly
// always) one comparison. The first entry of a name wins.
class FixedNameIndex {
 public:
  explicit FixedNameIndex(const std::vector<std::pair<std::string, int>>& entries) {
    size_t capacity = 8;
    while (capacity < entries.size() * 2) capacity *= 2;
    slots_.resize(capacity);
    mask_ = capacity - 1;
    for (const auto& [name, value] : entries) {
      const size_t hash = NameHash{}(name);
      size_t i = hash & mask_;
      while (slots_[i].used && slots_[i].name != name) i = (i + 1) & mask_;
      if (slots_[i].used) continue;
      slots_[i] = Slot{true, hash, name, value};
    }
  }
  // The number of the name, or -1.
  int Find(std::string_view name) const {
    const size_t hash = NameHash{}(name);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (!slot.used) return -1;
      if (slot.hash == hash && slot.name == name) return slot.value;
    }
  }

 private:
  struct Slot {
    bool used = false;
    size_t hash = 0;
    std::string name;
    int value = -1;
  };
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

}  // namespace lum
