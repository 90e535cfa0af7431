#pragma once
// The 80-bit extended real of x87 processors, as files of the original
// platform store it: 8 bytes of significand (with its integer bit written
// out), then 2 bytes of sign and 15-bit exponent (bias 16383), all
// little-endian. Every double has an exact extended form; reading one back
// rounds to the nearest double, halves to even.
#include <array>
#include <cstdint>

namespace lum {

using ExtendedBytes = std::array<uint8_t, 10>;

ExtendedBytes encodeExtended(double value);

// Infinities and NaNs keep their sign (and a NaN its payload bits that fit);
// an encoding no x87 produces (an infinity or NaN without its integer bit)
// reads as a NaN, and an unnormal reads as the value its fields spell.
double decodeExtended(const ExtendedBytes& bytes);

}  // namespace lum
