#include "platform/random.h"

namespace lum {

void Random::Seed(uint64_t seed) {
  // The reference seeding: step once from 0, add the seed, step again.
  state_ = 0;
  Next();
  state_ += seed;
  Next();
}

uint32_t Random::Next() {
  const uint64_t old = state_;
  state_ = old * kMultiplier + kIncrement;
  const uint32_t xorShifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
  const uint32_t rotation = static_cast<uint32_t>(old >> 59u);
  return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
}

uint32_t Random::Below(uint32_t n) {
  if (n == 0) return 0;
  uint64_t m = uint64_t{Next()} * n;
  uint32_t low = static_cast<uint32_t>(m);
  if (low < n) {
    // Reject the few products that would favour small results.
    const uint32_t threshold = static_cast<uint32_t>(-n) % n;
    while (low < threshold) {
      m = uint64_t{Next()} * n;
      low = static_cast<uint32_t>(m);
    }
  }
  return static_cast<uint32_t>(m >> 32);
}

int32_t Random::Between(int32_t lo, int32_t hi) {
  if (hi < lo) return lo;
  const uint64_t span = static_cast<uint64_t>(int64_t{hi} - lo) + 1;
  const uint32_t offset = span > UINT32_MAX ? Next() : Below(static_cast<uint32_t>(span));
  return static_cast<int32_t>(int64_t{lo} + offset);
}

double Random::Real() { return Next() * (1.0 / 4294967296.0); }

}  // namespace lum
