#pragma once
// Positions of an array's elements by their integer index. Indices counted
// up from 0 or 1, as scripts fill arrays, sit in a plain vector, so finding
// or adding one costs no hashing and no allocation of its own; the others
// (negative, or far beyond the filled range) in a hash table. The vector
// never grows beyond twice the number of elements held (plus a little), so
// memory stays in proportion to what the script stored.
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace lum {

class ElementIndex {
 public:
  // Position of the element, or -1.
  int Find(int32_t index) const {
    if (index >= 0 && static_cast<size_t>(index) < dense_.size()) {
      const uint32_t position = dense_[static_cast<size_t>(index)];
      return position == kAbsent ? -1 : static_cast<int>(position);
    }
    if (sparse_.empty()) return -1;
    auto it = sparse_.find(index);
    return it == sparse_.end() ? -1 : static_cast<int>(it->second);
  }

  // Notes an element; the first position noted for an index is kept.
  [[gnu::always_inline]] void Add(int32_t index, uint32_t position) {
    // Within the vector already (a negative index converts to a huge one).
    if (static_cast<uint32_t>(index) < dense_.size()) {
      uint32_t& slot = dense_[static_cast<uint32_t>(index)];
      if (slot != kAbsent) return;
      slot = position;
      ++count_;
      return;
    }
    AddBeyond(index, position);
  }

  bool empty() const { return count_ == 0; }

 private:
  static constexpr uint32_t kAbsent = UINT32_MAX;
  static constexpr size_t kSlack = 16;

  void AddBeyond(int32_t index, uint32_t position) {
    if (index >= 0 && static_cast<size_t>(index) >= dense_.size() &&
        static_cast<size_t>(index) <= 2 * count_ + kSlack) {
      Widen(2 * count_ + kSlack + 1);  // at once as far as allowed: few widenings
    }
    if (index >= 0 && static_cast<size_t>(index) < dense_.size()) {
      uint32_t& slot = dense_[static_cast<size_t>(index)];
      if (slot != kAbsent) return;
      slot = position;
    } else if (!sparse_.emplace(index, position).second) {
      return;
    }
    ++count_;
  }

  void Widen(size_t size) {
    const size_t old = dense_.size();
    dense_.resize(size, kAbsent);
    // Elements noted in the table before the vector reached them move over.
    for (auto it = sparse_.begin(); it != sparse_.end();) {
      if (it->first >= 0 && static_cast<size_t>(it->first) >= old &&
          static_cast<size_t>(it->first) < size) {
        dense_[static_cast<size_t>(it->first)] = it->second;
        it = sparse_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::vector<uint32_t> dense_;
  std::unordered_map<int32_t, uint32_t> sparse_;
  size_t count_ = 0;
};

}  // namespace lum
