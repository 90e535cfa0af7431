#pragma once
// Numbers to text and back for the conversion routines. The decimal
// separator is always '.', whatever the locale, so that game scripts
// compute the same on every machine.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lum {

// Fifteen decimals, then trailing zeros and a trailing '.' removed
// (2.5 -> "2.5", 3 -> "3", 0.1 -> "0.1"); "NAN", "INF", "-INF" for the
// values that have no digits.
std::string FloatText(double value);

// Reads a decimal number the way Val does: leading blanks, a sign, digits,
// a fraction and an exponent. `badPosition` is the 1-based position of the
// first character that does not fit, 0 when the whole text is a number.
struct ValScan {
  double value = 0;
  int64_t badPosition = 0;
};
ValScan ScanValNumber(std::string_view text);

// A decimal 32-bit integer with optional blanks around and a sign.
std::optional<int32_t> ParseInt32Text(std::string_view text);
// A decimal real after trimming; the whole text must be the number.
std::optional<double> ParseRealText(std::string_view text);

}  // namespace lum
