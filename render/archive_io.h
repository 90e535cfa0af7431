#pragma once
// Little-endian reads from a seekable stream that report failure instead of
// reading past the end.
#include <cstdint>
#include <cstring>
#include <istream>

namespace lum {

class StreamReader {
 public:
  explicit StreamReader(std::istream& in) : in_(in) {
    in_.clear();
    in_.seekg(0, std::ios::end);
    const auto end = in_.tellg();
    size_ = end < 0 ? 0 : uint64_t(end);
    in_.seekg(0);
  }

  uint64_t size() const { return size_; }
  uint64_t position() const { return pos_; }
  uint64_t remaining() const { return pos_ <= size_ ? size_ - pos_ : 0; }

  bool seek(uint64_t pos) {
    if (pos > size_) return false;
    in_.clear();
    in_.seekg(std::streamoff(pos));
    pos_ = pos;
    return bool(in_);
  }
  bool bytes(uint8_t* dst, uint64_t count) {
    if (count > remaining()) return false;
    in_.read(reinterpret_cast<char*>(dst), std::streamsize(count));
    if (uint64_t(in_.gcount()) != count) return false;
    pos_ += count;
    return true;
  }
  bool u16(uint16_t& v) { return little(v); }
  bool u32(uint32_t& v) { return little(v); }
  bool f64(double& v) {
    uint64_t bits;
    if (!little(bits)) return false;
    std::memcpy(&v, &bits, sizeof v);
    return true;
  }

 private:
  template <typename T>
  bool little(T& v) {
    uint8_t b[sizeof(T)];
    if (!bytes(b, sizeof b)) return false;
    v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= T(T(b[i]) << (8 * i));
    return true;
  }

  std::istream& in_;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;
};

}  // namespace lum
