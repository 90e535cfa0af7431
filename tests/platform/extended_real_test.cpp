// The 80-bit extended real: exact encoding of every double, rounding on the
// way back, and the special values.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/extended_real.h"
#include "platform/random.h"

namespace lum {
namespace {

ExtendedBytes bytesOf(std::initializer_list<int> list) {
  ExtendedBytes b{};
  size_t i = 0;
  for (int v : list) b[i++] = static_cast<uint8_t>(v);
  return b;
}

uint64_t bitsOf(double d) { return std::bit_cast<uint64_t>(d); }

// Round trips keep every bit, signs of zeros and NaN payloads included.
void expectRoundTrip(double d) {
  EXPECT_EQ(bitsOf(decodeExtended(encodeExtended(d))), bitsOf(d)) << d;
}

TEST(ExtendedReal, KnownEncodings) {
  EXPECT_EQ(encodeExtended(1.0), bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(encodeExtended(-2.0), bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
  EXPECT_EQ(encodeExtended(0.0), bytesOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(encodeExtended(-0.0), bytesOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
  EXPECT_EQ(encodeExtended(HUGE_VAL), bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}));
  EXPECT_EQ(encodeExtended(-HUGE_VAL), bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}));
  // 0.1 is 0xCCCCCCCCCCCCD000 * 2^-67 in a double's precision.
  EXPECT_EQ(encodeExtended(0.1), bytesOf({0, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}));
  // The smallest subnormal double, 2^-1074, is a normal extended real.
  const int e = -1074 + 16383;
  EXPECT_EQ(encodeExtended(std::numeric_limits<double>::denorm_min()),
            bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, e & 0xFF, e >> 8}));
}

TEST(ExtendedReal, EdgeValuesRoundTrip) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -1.5,
                           0.1,
                           1e300,
                           -1e-300,
                           std::numeric_limits<double>::max(),
                           -std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           -std::numeric_limits<double>::denorm_min(),
                           std::nextafter(std::numeric_limits<double>::min(), 0.0),
                           std::bit_cast<double>(uint64_t{0x000FFFFFFFFFFFFF}),
                           std::bit_cast<double>(uint64_t{0x0008000000000001}),
                           HUGE_VAL,
                           -HUGE_VAL,
                           9007199254740993.0,
                           static_cast<double>(std::numeric_limits<int64_t>::min())};
  for (double d : values) expectRoundTrip(d);
  // NaNs come back as NaNs with sign and payload.
  for (uint64_t nan : {uint64_t{0x7FF8000000000000}, uint64_t{0xFFF8000000000000},
                       uint64_t{0x7FF8000000012345}, uint64_t{0xFFFC00000000ABCD}}) {
    EXPECT_EQ(bitsOf(decodeExtended(encodeExtended(std::bit_cast<double>(nan)))), nan);
  }
  // A signalling NaN comes back quiet, still a NaN.
  EXPECT_TRUE(std::isnan(decodeExtended(encodeExtended(std::bit_cast<double>(uint64_t{0x7FF0000000000001})))));
  Random random(7);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t bits = (uint64_t{random.Next()} << 32) | random.Next();
    const double d = std::bit_cast<double>(bits);
    if (!std::isnan(d)) expectRoundTrip(d);
  }
}

TEST(ExtendedReal, ValuesBeyondADoubleRound) {
  // 1 + 2^-53 is halfway between 1 and the next double: to even, 1.
  EXPECT_EQ(decodeExtended(bytesOf({0, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0);
  // 1 + 2^-53 + 2^-63 is past halfway: up.
  EXPECT_EQ(decodeExtended(bytesOf({1, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})),
            std::nextafter(1.0, 2.0));
  // (1 + 2^-52) + 2^-53 is halfway with an odd last bit: up to even.
  EXPECT_EQ(decodeExtended(bytesOf({0, 0x0C, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})),
            1.0 + 2 * std::ldexp(1.0, -52));
  // Far too large: infinity, keeping the sign; far too small: a signed zero.
  EXPECT_EQ(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x44})), HUGE_VAL);
  EXPECT_EQ(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC4})), -HUGE_VAL);
  EXPECT_EQ(bitsOf(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x80}))),
            bitsOf(-0.0));
  // Half the smallest subnormal rounds to even (zero); a bit more rounds up.
  const int e = -1075 + 16383;
  EXPECT_EQ(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, e & 0xFF, e >> 8})), 0.0);
  EXPECT_EQ(decodeExtended(bytesOf({1, 0, 0, 0, 0, 0, 0, 0x80, e & 0xFF, e >> 8})),
            std::numeric_limits<double>::denorm_min());
  // An extended denormal, a pseudo-denormal and an unnormal read as their
  // fields spell; infinities and NaNs without the integer bit read as NaN.
  EXPECT_EQ(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0})), 0.0);
  EXPECT_EQ(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F})), 0.5);
  EXPECT_TRUE(std::isnan(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F}))));
  EXPECT_TRUE(std::isnan(decodeExtended(bytesOf({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x7F}))));
}

#if defined(__x86_64__) && LDBL_MANT_DIG == 64
// Where long double is the x87 format, the compiler's own conversions are
// an independent reference.
TEST(ExtendedReal, AgreesWithTheX87Format) {
  Random random(11);
  for (int i = 0; i < 50000; ++i) {
    ExtendedBytes b{};
    for (auto& byte : b) byte = static_cast<uint8_t>(random.Next());
    if (i % 3 == 0) b[7] |= 0x80;  // mostly normal numbers
    if (i % 5 == 0) {               // near a double's range and its subnormals
      const int e = 16383 - 1022 - static_cast<int>(random.Next() % 80);
      b[8] = static_cast<uint8_t>(e);
      b[9] = static_cast<uint8_t>((b[9] & 0x80) | (e >> 8));
    }
    const bool unnormal = !(b[7] & 0x80) && (b[8] | (b[9] & 0x7F)) != 0;
    if (unnormal) continue;  // not a valid x87 operand
    long double ld = 0;
    std::memcpy(&ld, b.data(), 10);
    const double want = static_cast<double>(ld);
    const double got = decodeExtended(b);
    if (std::isnan(want)) {
      EXPECT_TRUE(std::isnan(got));
    } else {
      EXPECT_EQ(bitsOf(got), bitsOf(want)) << i;
    }
    const double d = std::bit_cast<double>((uint64_t{random.Next()} << 32) | random.Next());
    if (std::isnan(d)) continue;
    long double wide = d;
    ExtendedBytes ref{};
    std::memcpy(ref.data(), &wide, 10);
    EXPECT_EQ(encodeExtended(d), ref);
  }
}
#endif

}  // namespace
}  // namespace lum
