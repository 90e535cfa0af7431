#pragma once
// Builds game-file bytes by hand, for tests that need exact (and broken)
// layouts.
#include <cstdint>
#include <cstring>
#include <string>

namespace lum::test {

class RecordBuilder {
 public:
  RecordBuilder& int32(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    return *this;
  }
  RecordBuilder& float64(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    return *this;
  }
  RecordBuilder& str(const std::string& s) {
    int32(static_cast<int32_t>(s.size()));
    bytes_ += s;
    return *this;
  }
  RecordBuilder& raw(const std::string& s) {
    bytes_ += s;
    return *this;
  }
  // A child record is stored as a string holding the record's bytes.
  RecordBuilder& child(const RecordBuilder& record) { return str(record.bytes()); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The five values every class starts with.
inline RecordBuilder& baseValues(RecordBuilder& r, int32_t key, const std::string& id, int32_t x,
                                 int32_t y, bool vis) {
  return r.int32(key).str(id).int32(x).int32(y).int32(vis ? 1 : 0);
}

}  // namespace lum::test
