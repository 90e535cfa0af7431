#include "platform/extended_real.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace lum {
namespace {

constexpr int kExtendedBias = 16383;
constexpr uint16_t kExtendedMaxExponent = 0x7FFF;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleFraction = (uint64_t{1} << 52) - 1;
constexpr uint64_t kDoubleQuiet = uint64_t{1} << 51;

ExtendedBytes pack(bool negative, uint16_t exponent, uint64_t significand) {
  ExtendedBytes out{};
  for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(significand >> (8 * i));
  const uint16_t top = static_cast<uint16_t>((negative ? 0x8000 : 0) | exponent);
  out[8] = static_cast<uint8_t>(top);
  out[9] = static_cast<uint8_t>(top >> 8);
  return out;
}

}  // namespace

ExtendedBytes encodeExtended(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & kDoubleFraction;
  if (exponent == 0x7FF) {
    // Infinity, or a NaN with its payload moved to the top.
    return pack(negative, kExtendedMaxExponent, kIntegerBit | (fraction << 11));
  }
  if (exponent == 0) {
    if (fraction == 0) return pack(negative, 0, 0);
    // A subnormal double is a normal extended real: shift its leading one
    // up to the integer bit.
    const int shift = std::countl_zero(fraction);
    const int e = -1074 + 63 - shift;  // value = significand / 2^63 * 2^e
    return pack(negative, static_cast<uint16_t>(e + kExtendedBias), fraction << shift);
  }
  return pack(negative, static_cast<uint16_t>(exponent - kDoubleBias + kExtendedBias),
              kIntegerBit | (fraction << 11));
}

double decodeExtended(const ExtendedBytes& bytes) {
  uint64_t significand = 0;
  for (int i = 7; i >= 0; --i) significand = (significand << 8) | bytes[static_cast<size_t>(i)];
  const uint16_t top = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & 0x7FFF;
  const double sign = negative ? -1.0 : 1.0;

  if (exponent == kExtendedMaxExponent) {
    const uint64_t fraction = significand & ~kIntegerBit;
    if ((significand & kIntegerBit) && fraction == 0) return sign * HUGE_VAL;
    // A NaN keeps the payload bits a double has room for, and stays quiet.
    const uint64_t payload = (fraction >> 11) | kDoubleQuiet;
    return std::bit_cast<double>((negative ? kIntegerBit : 0) | (uint64_t{0x7FF} << 52) | payload);
  }
  if (significand == 0) return negative ? -0.0 : 0.0;

  // value = significand / 2^63 * 2^e, after moving the leading one to the top
  // (a denormal's exponent field 0 means the smallest exponent, 1).
  const int leading = std::countl_zero(significand);
  significand <<= leading;
  const int e = (exponent == 0 ? 1 : exponent) - kExtendedBias - leading;

  // A double keeps 53 bits, fewer below its smallest normal exponent.
  int drop = 11;
  if (e < 1 - kDoubleBias) drop += (1 - kDoubleBias) - e;
  if (drop > 64) return negative ? -0.0 : 0.0;
  uint64_t kept = 0, rest = 0, half = 0;
  if (drop == 64) {
    rest = significand;
    half = kIntegerBit;
  } else {
    kept = significand >> drop;
    rest = significand & ((uint64_t{1} << drop) - 1);
    half = uint64_t{1} << (drop - 1);
  }
  if (rest > half || (rest == half && (kept & 1))) ++kept;
  // kept has at most 54 bits, so the scaling is exact; past the largest
  // double it gives infinity.
  return sign * std::ldexp(static_cast<double>(kept), e - 63 + drop);
}

}  // namespace lum
