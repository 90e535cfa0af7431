#pragma once
// The program's one random generator: PCG32 (O'Neill's permuted congruential
// generator, XSH-RR output, 64-bit state), with our own exact mappings to
// ranges and reals, so that a seed gives the same numbers with every
// compiler and standard library. Script `Random`, stars, the puzzle routines
// and particle systems all draw from the runtime's instance.
#include <cstdint>

namespace lum {

class Random {
 public:
  explicit Random(uint64_t seed = 0) { Seed(seed); }

  // Restarts the sequence; the stream constant is fixed.
  void Seed(uint64_t seed);

  // The next 32 random bits.
  uint32_t Next();
  // 0 .. n-1, without bias (multiply-shift with rejection); 0 when n is 0.
  uint32_t Below(uint32_t n);
  // lo .. hi, both included; lo when hi < lo.
  int32_t Between(int32_t lo, int32_t hi);
  // A real in [0, 1): the next 32 bits divided by 2^32, exact in a double.
  double Real();

 private:
  uint64_t state_ = 0;
  static constexpr uint64_t kMultiplier = 6364136223846793005ull;
  static constexpr uint64_t kIncrement = 1442695040888963407ull;  // stream 0x5851F42D4C957F2D
};

}  // namespace lum
