#include "script/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace lum {

std::string_view KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Empty: return "empty";
    case ValueKind::Integer: return "int";
    case ValueKind::ShortInt: return "shortint";
    case ValueKind::Byte: return "byte";
    case ValueKind::Word: return "word";
    case ValueKind::Ref: return "ref";
    case ValueKind::Int64: return "int64";
    case ValueKind::Real: return "real";
    case ValueKind::DateTime: return "date";
    case ValueKind::Boolean: return "bool";
    case ValueKind::String: return "str";
  }
  return "empty";
}

bool ScriptValue::IsWhole() const {
  switch (kind_) {
    case ValueKind::Integer:
    case ValueKind::ShortInt:
    case ValueKind::Byte:
    case ValueKind::Word:
    case ValueKind::Ref:
    case ValueKind::Int64:
    case ValueKind::Boolean:
      return true;
    default:
      return false;
  }
}

const std::string& ScriptValue::EmptyText() {
  static const std::string empty;  // immutable
  return empty;
}

std::string& ScriptValue::MutableText() {
  if (kind_ != ValueKind::String) {
    *this = String(std::string());
  } else if (text_->refs > 1) {
    --text_->refs;
    text_ = new SharedText{1, text_->text};
  }
  return text_->text;
}

bool ScriptValue::operator==(const ScriptValue& other) const {
  if (kind_ != other.kind_) return false;
  if (IsEmpty()) return true;
  if (IsStringLike()) return text_ == other.text_ || text_->text == other.text_->text;
  if (IsFloat()) return real_ == other.real_;
  return whole_ == other.whole_;
}

namespace {

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlankByte(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankByte(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool ParseDecimalInteger(std::string_view text, int64_t& out) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  uint64_t magnitude = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    if (magnitude > (std::numeric_limits<uint64_t>::max() - 9) / 10) return false;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return false;
  out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

bool ParseDecimalReal(std::string_view text, double& out) {
  std::string_view s = TrimBlanks(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  // Validate the shape first: from_chars would also take "inf" and "nan".
  size_t i = 0, digits = 0;
  if (i < s.size() && s[i] == '-') ++i;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != s.size()) return false;
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc::result_out_of_range) return false;
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = value;
  return true;
}

bool RoundToInt64(double v, int64_t& out) {
  if (!std::isfinite(v)) return false;
  const double r = std::nearbyint(v);  // the default mode rounds halves to even
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return false;
  out = static_cast<int64_t>(r);
  return true;
}

bool ToInt64(const ScriptValue& v, int64_t& out) {
  switch (v.kind()) {
    case ValueKind::Empty: out = 0; return true;
    case ValueKind::Boolean: out = v.boolean() ? -1 : 0; return true;
    case ValueKind::Real:
    case ValueKind::DateTime: return RoundToInt64(v.real(), out);
    case ValueKind::String: {
      if (ParseDecimalInteger(v.text(), out)) return true;
      double d;
      return ParseDecimalReal(v.text(), d) && RoundToInt64(d, out);
    }
    default: out = v.whole(); return true;
  }
}

bool ToInt32(const ScriptValue& v, int32_t& out) {
  int64_t wide;
  if (!ToInt64(v, wide)) return false;
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max()) return false;
  out = static_cast<int32_t>(wide);
  return true;
}

bool ToReal(const ScriptValue& v, double& out) {
  switch (v.kind()) {
    case ValueKind::Empty: out = 0; return true;
    case ValueKind::Boolean: out = v.boolean() ? -1 : 0; return true;
    case ValueKind::Real:
    case ValueKind::DateTime: out = v.real(); return true;
    case ValueKind::String: return ParseDecimalReal(v.text(), out);
    default: out = static_cast<double>(v.whole()); return true;
  }
}

bool ToBooleanOther(const ScriptValue& v, bool& out) {
  switch (v.kind()) {
    case ValueKind::Empty: out = false; return true;
    case ValueKind::Boolean: out = v.boolean(); return true;
    case ValueKind::Real:
    case ValueKind::DateTime: out = v.real() != 0; return true;
    case ValueKind::String: {
      std::string_view s = TrimBlanks(v.text());
      if (EqualsNoCase(s, "TRUE")) { out = true; return true; }
      if (EqualsNoCase(s, "FALSE")) { out = false; return true; }
      double d;
      if (!ParseDecimalReal(s, d)) return false;
      out = d != 0;
      return true;
    }
    default: out = v.whole() != 0; return true;
  }
}

namespace {

// General format with 15 significant digits and a bare exponent ("1E20"),
// the way a number turns into text when a script needs its text.
std::string GeneralRealText(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", v);
  std::string s(buffer);
  const size_t e = s.find('E');
  if (e == std::string::npos) return s;
  std::string mantissa = s.substr(0, e);
  std::string exponent = s.substr(e + 1);
  bool negative = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return mantissa + "E" + (negative ? "-" : "") + exponent;
}

}  // namespace

std::string ShortestRealText(double v) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  if (ec != std::errc()) return GeneralRealText(v);
  return std::string(buffer, end);
}

bool ToText(const ScriptValue& v, std::string& out) {
  switch (v.kind()) {
    case ValueKind::Empty: out.clear(); return true;
    case ValueKind::Boolean: out = v.boolean() ? "True" : "False"; return true;
    case ValueKind::Real:
    case ValueKind::DateTime: out = GeneralRealText(v.real()); return true;
    case ValueKind::String: out = v.text(); return true;
    default: out = std::to_string(v.whole()); return true;
  }
}

}  // namespace lum
