#include "library/builtins/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "script/value.h"

namespace lum {

std::string FloatText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  // 15 decimals of the largest doubles are over 300 digits long.
  std::vector<char> buffer(400);
  const int n = std::snprintf(buffer.data(), buffer.size(), "%.15f", value);
  std::string text(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
  if (text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  // A tiny negative number keeps only its sign after rounding.
  if (text == "-0") text = "0";
  return text;
}

ValScan ScanValNumber(std::string_view text) {
  ValScan scan;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const size_t start = i;
  auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (digit(i)) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (digit(i)) ++i, ++digits;
  }
  if (digits > 0 && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digit(i)) {
      scan.badPosition = static_cast<int64_t>(i) + 1;
      return scan;
    }
    while (digit(i)) ++i;
  }
  if (digits == 0) {
    scan.badPosition = static_cast<int64_t>(i) + 1;
    return scan;
  }
  double value = 0;
  if (!ParseDecimalReal(text.substr(start, i - start), value)) {
    scan.badPosition = static_cast<int64_t>(start) + 1;  // out of range
    return scan;
  }
  if (i != text.size()) {
    scan.badPosition = static_cast<int64_t>(i) + 1;
    return scan;
  }
  scan.value = value;
  return scan;
}

std::optional<int32_t> ParseInt32Text(std::string_view text) {
  int64_t value = 0;
  if (!ParseDecimalInteger(text, value)) return std::nullopt;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> ParseRealText(std::string_view text) {
  double value = 0;
  if (!ParseDecimalReal(text, value)) return std::nullopt;
  return value;
}

}  // namespace lum
