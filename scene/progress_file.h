#pragma once
// The bytes of a progress file: a flat list of entries (element key, name,
// tag, value), little-endian, without header or count. This file knows the
// encoding only; which elements and names are written, and how entries are
// applied, is the root's business (scene/progress_state.cpp).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "script/value.h"

namespace lum {

// The value kinds of an entry, by tag byte.
enum class ProgressTag : uint8_t {
  Integer = 'I',  // 4 bytes, signed
  Extended = 'E', // 10 bytes, an 80-bit extended real
  Word = 'W',     // 2 bytes, unsigned
  Element = 'O',  // 4 bytes, the Key of the referenced element
  String = 'S',   // 4-byte length, then the bytes
};

// What a NIL reference is written as: no element is looked up for it, so it
// reads back as NIL whatever keys the tree has.
constexpr int32_t kNilElementKey = INT32_MIN;

// One entry as read. Values read as the kinds the tags name: "I" integer,
// "E" real, "W" word, "S" string; an "O" entry's value is the integer key it
// holds. An entry with another tag byte has no value (`known` is false).
struct ProgressEntry {
  int32_t key = 0;
  std::string name;
  uint8_t tag = 0;
  bool known = false;
  ScriptValue value;
  size_t offset = 0;  // where the entry starts in the file
};

// Appends the entry for a value; false (nothing appended) for a value that
// has no form in the file: an empty value. Integers, short ints, bytes and
// booleans are "I"; reals are "E"; an int64 is "I" when it fits 32 bits and
// "E" (exact in 64 significand bits) otherwise; a date-time is "E" (its day
// count). `keyOf` gives the key of a referenced element, nothing for NIL or
// an element that is gone.
bool appendProgressEntry(std::string& out, int32_t key, std::string_view name,
                         const ScriptValue& value,
                         const std::function<std::optional<int32_t>(ElementRef)>& keyOf);

// Reads entries one by one from bytes held in memory. Reading stops at the
// end or at the first entry that is not whole (a length that is negative or
// runs past the end); nothing is allocated beyond the input's size.
class ProgressReader {
 public:
  explicit ProgressReader(std::string_view bytes) : bytes_(bytes) {}
  // The next whole entry; false at the end or at a broken entry.
  bool next(ProgressEntry& entry);
  // Whether reading reached the end exactly (no broken entry at the tail).
  bool atEnd() const { return pos_ == bytes_.size(); }
  size_t offset() const { return pos_; }

 private:
  bool take(size_t count, std::string_view& out);
  bool takeInt32(int32_t& out);
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace lum
