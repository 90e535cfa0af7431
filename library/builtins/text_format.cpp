#include "library/builtins/text_format.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace lum {

namespace {

constexpr int kMaxWidth = 100000;   // keeps a hostile "%999999999d" in bounds
constexpr int kMaxRealDigits = 18;  // digits beyond a double's reach are noise

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

struct FormatSpec {
  int index = -1;
  bool left = false;
  int width = -1;
  bool widthStar = false;
  int precision = -1;
  bool precisionStar = false;
  char type = 0;  // upper case
  bool valid = false;
};

// Reads digits into `value`; false on overflow past kMaxWidth.
bool ReadCount(std::string_view s, size_t& i, int& value) {
  value = 0;
  while (i < s.size() && IsDigitChar(s[i])) {
    value = value * 10 + (s[i] - '0');
    if (value > kMaxWidth) return false;
    ++i;
  }
  return true;
}

// `spec` starts with '%' and ends with its letter.
FormatSpec ParseSpec(std::string_view spec) {
  FormatSpec f;
  size_t i = 1;
  int number = 0;
  // A leading number followed by ':' is an index, otherwise it is a width.
  size_t start = i;
  if (!ReadCount(spec, i, number)) return f;
  if (i > start && i < spec.size() && spec[i] == ':') {
    f.index = number;
    ++i;
  } else {
    i = start;
  }
  if (i < spec.size() && spec[i] == '-') {
    f.left = true;
    ++i;
  }
  if (i < spec.size() && spec[i] == '*') {
    f.widthStar = true;
    ++i;
  } else {
    start = i;
    if (!ReadCount(spec, i, number)) return f;
    if (i > start) f.width = number;
  }
  if (i < spec.size() && spec[i] == '.') {
    ++i;
    if (i < spec.size() && spec[i] == '*') {
      f.precisionStar = true;
      ++i;
    } else {
      if (!ReadCount(spec, i, number)) return f;
      f.precision = number;
    }
  }
  if (i + 1 != spec.size()) return f;
  f.type = static_cast<char>(spec[i] >= 'a' ? spec[i] - 32 : spec[i]);
  f.valid = true;
  return f;
}

bool IsIntegerKind(ValueKind k) {
  switch (k) {
    case ValueKind::Integer: case ValueKind::ShortInt: case ValueKind::Byte:
    case ValueKind::Word: case ValueKind::Ref: case ValueKind::Int64:
      return true;
    default:
      return false;
  }
}

std::string Printed(const char* format, int precision, double value) {
  int n = std::snprintf(nullptr, 0, format, precision, value);
  if (n < 0) return std::string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, precision, value);
  text.resize(static_cast<size_t>(n));
  return text;
}

std::optional<std::string> NonFinite(double v) {
  if (std::isnan(v)) return std::string("NAN");
  if (std::isinf(v)) return std::string(v > 0 ? "INF" : "-INF");
  return std::nullopt;
}

// "d.dddE+xxx" with `digits` significant digits and at least three
// exponent digits.
std::string ExponentText(double v, int digits) {
  std::string text = Printed("%.*E", digits - 1, v);
  const size_t e = text.find('E');
  if (e == std::string::npos || e + 2 > text.size()) return text;
  std::string exponent = text.substr(e + 2);
  while (exponent.size() < 3) exponent.insert(0, "0");
  return text.substr(0, e + 2) + exponent;
}

// The shortest of fixed or exponent form with at most `digits` digits.
std::string GeneralText(double v, int digits) {
  if (v == 0) return "0";
  const std::string probe = Printed("%.*E", digits - 1, v);
  const int exponent = std::atoi(probe.c_str() + probe.find('E') + 1);
  auto stripZeros = [](std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
  };
  if (exponent < digits && exponent >= -5) {
    return stripZeros(Printed("%.*f", std::max(digits - 1 - exponent, 0), v));
  }
  std::string text = ExponentText(v, digits);
  const size_t e = text.find('E');
  return stripZeros(text.substr(0, e)) + text.substr(e);
}

std::string Grouped(const std::string& fixed) {
  size_t begin = fixed[0] == '-' ? 1 : 0;
  size_t end = fixed.find('.');
  if (end == std::string::npos) end = fixed.size();
  std::string out = fixed.substr(0, begin);
  for (size_t i = begin; i < end; ++i) {
    out += fixed[i];
    const size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) out += ',';
  }
  return out + fixed.substr(end);
}

std::string ZeroPadded(std::string digits, int precision) {
  if (precision > 0 && digits.size() < static_cast<size_t>(precision)) {
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  }
  return digits;
}

std::string HexText(uint64_t v) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(v));
  return buffer;
}

// The unsigned reading of an integer: 64 bits for int64 values, else the
// 32 bits of an integer.
uint64_t UnsignedBits(const ScriptValue& v) {
  if (v.kind() == ValueKind::Int64) return static_cast<uint64_t>(v.whole());
  return static_cast<uint32_t>(static_cast<int64_t>(v.whole()));
}

std::optional<std::string> FormatReal(const FormatSpec& f, double v, const ScriptLocale& locale) {
  if (auto text = NonFinite(v)) return text;
  const int defaultPrecision = f.type == 'E' || f.type == 'G' ? 15 : 2;
  int precision = f.precision < 0 ? defaultPrecision : std::min(f.precision, kMaxRealDigits);
  switch (f.type) {
    case 'F': return Printed("%.*f", precision, v);
    case 'N': return Grouped(Printed("%.*f", precision, v));
    case 'E': return ExponentText(v, std::max(precision, 1));
    case 'G': return GeneralText(v, std::max(precision, 1));
    case 'M': {
      std::string amount = Grouped(Printed("%.*f", precision, std::fabs(v)));
      amount = locale.currencyAfter ? amount + locale.currencyString
                                    : locale.currencyString + amount;
      return v < 0 ? "-" + amount : amount;
    }
    default: return std::nullopt;
  }
}

std::optional<std::string> FormatOne(const FormatSpec& f, const ScriptValue& v,
                                     const ScriptLocale& locale) {
  switch (f.type) {
    case 'S': {
      std::string text;
      if (!ToText(v, text)) return std::nullopt;
      if (f.precision >= 0 && text.size() > static_cast<size_t>(f.precision)) {
        text.resize(static_cast<size_t>(f.precision));
      }
      return text;
    }
    case 'D': {
      if (!IsIntegerKind(v.kind())) return std::nullopt;
      const int64_t n = v.whole();
      const uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
      std::string digits = ZeroPadded(std::to_string(magnitude), f.precision);
      return n < 0 ? "-" + digits : digits;
    }
    case 'U':
      if (!IsIntegerKind(v.kind())) return std::nullopt;
      return ZeroPadded(std::to_string(UnsignedBits(v)), f.precision);
    case 'X':
      if (!IsIntegerKind(v.kind())) return std::nullopt;
      return ZeroPadded(HexText(UnsignedBits(v)), f.precision);
    case 'P':
      if (!IsIntegerKind(v.kind())) return std::nullopt;
      return ZeroPadded(HexText(static_cast<uint32_t>(v.whole())), 8);
    case 'F': case 'E': case 'G': case 'N': case 'M': {
      if (v.IsFloat()) return FormatReal(f, v.real(), locale);
      if (IsIntegerKind(v.kind())) return FormatReal(f, static_cast<double>(v.whole()), locale);
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<ScriptValue> Truncated(const ScriptValue& v) {
  double d = 0;
  if (!ToReal(v, d) || !std::isfinite(d)) return std::nullopt;
  d = std::trunc(d);
  if (d < -9223372036854775808.0 || d >= 9223372036854775808.0) return std::nullopt;
  return ScriptValue::Int64(static_cast<int64_t>(d));
}

Error SpecError(std::string_view spec) {
  return Error{"Format '" + std::string(spec) + "' invalid or incompatible with argument"};
}

}  // namespace

Result<std::string> FormatText(std::string_view format, const std::vector<ScriptValue>& args,
                               const ScriptLocale& locale) {
  std::string out;
  size_t next = 0;
  size_t i = 0;
  auto takeCount = [&](int& value) {
    if (next >= args.size() || !IsIntegerKind(args[next].kind())) return false;
    const int64_t n = args[next++].whole();
    if (n > kMaxWidth || n < -kMaxWidth) return false;
    value = static_cast<int>(n);
    return true;
  };
  while (i < format.size()) {
    if (format[i] != '%') {
      out += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    size_t end = i + 1;
    while (end < format.size() && !IsAsciiLetter(format[end])) ++end;
    if (end == format.size()) {
      out.append(format.substr(i));
      break;
    }
    const std::string_view spec = format.substr(i, end - i + 1);
    i = end + 1;
    FormatSpec f = ParseSpec(spec);
    if (!f.valid) {
      // Only an argument can be wrong for a malformed conversion.
      if (next >= args.size()) continue;
      return SpecError(spec);
    }
    if (f.index >= 0) next = static_cast<size_t>(f.index);
    if (f.widthStar) {
      if (next >= args.size()) continue;
      if (!takeCount(f.width)) return SpecError(spec);
      if (f.width < 0) {
        f.left = true;
        f.width = -f.width;
      }
    }
    if (f.precisionStar) {
      if (next >= args.size()) continue;
      if (!takeCount(f.precision)) return SpecError(spec);
      if (f.precision < 0) f.precision = -1;
    }
    if (next >= args.size()) continue;
    const ScriptValue& arg = args[next++];
    std::optional<std::string> text = FormatOne(f, arg, locale);
    if (!text && !arg.IsStringLike()) {
      if (std::optional<ScriptValue> whole = Truncated(arg)) text = FormatOne(f, *whole, locale);
    }
    if (!text) return SpecError(spec);
    if (f.width > 0 && text->size() < static_cast<size_t>(f.width)) {
      const size_t pad = static_cast<size_t>(f.width) - text->size();
      if (f.left) text->append(pad, ' ');
      else text->insert(0, pad, ' ');
    }
    out += *text;
  }
  return out;
}

}  // namespace lum
