#include "library/builtins/routine_call.h"

#include <cmath>
#include <cstdint>

#include "library/builtins/date_format.h"
#include "library/builtins/date_time.h"
#include "library/builtins/number_text.h"
#include "script/pas_calc.h"

namespace lum {

namespace {

std::string Quoted(const ScriptValue& v) {
  std::string text;
  ToText(v, text);
  return "'" + text + "'";
}

}  // namespace

bool RoutineCall::Fail(std::string reason) {
  failure_ = std::move(reason);
  return false;
}

bool RoutineCall::Int(size_t i, int32_t& out) {
  if (ToInt32(Arg(i), out)) return true;
  if (Arg(i).IsStringLike()) return Fail(Quoted(Arg(i)) + " is not a valid integer value");
  return Fail("Value " + Quoted(Arg(i)) + " is out of the integer range");
}

bool RoutineCall::Real(size_t i, double& out) {
  if (ToReal(Arg(i), out)) return true;
  return Fail(Quoted(Arg(i)) + " is not a valid floating point value");
}

bool RoutineCall::Truncated(size_t i, int64_t& out) {
  double d = 0;
  if (!Real(i, d)) return false;
  if (std::isnan(d)) return Fail("Invalid floating point operation");
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  d = std::trunc(std::fmax(-kLimit, std::fmin(kLimit, d)));
  out = static_cast<int64_t>(d);
  return true;
}

bool RoutineCall::Text(size_t i, std::string& out) {
  if (ToText(Arg(i), out)) return true;
  return Fail("Value has no text");
}

bool RoutineCall::Date(size_t i, double& out) {
  const ScriptValue& v = Arg(i);
  if (!v.IsStringLike()) return Real(i, out);
  if (std::optional<double> number = ParseRealText(v.text())) {
    out = *number;
    return true;
  }
  const int year = [&] {
    std::optional<DateTimeParts> now = DecodeDateTime(context_.now());
    return now ? now->date.year : 2000;
  }();
  if (std::optional<double> date = ParseDateText(v.text(), context_.locale, year)) {
    out = *date;
    return true;
  }
  if (std::optional<double> time = ParseTimeText(v.text(), context_.locale)) {
    out = *time;
    return true;
  }
  return Fail(Quoted(v) + " is not a valid date and time");
}

bool RoutineCall::UnicodeOn() const {
  if (context_.unicode) return *context_.unicode;
  if (calc_ == nullptr) return false;
  ScriptElement* root = calc_->Environment().RootElement();
  ScriptValue value;
  bool on = false;
  return root != nullptr && root->GetValue("UNICODE", value) && ToBoolean(value, on) && on;
}

}  // namespace lum

namespace lum {

size_t RoutineCall::MaxStringLength() const {
  return calc_ ? calc_->Environment().maxStringLength : SIZE_MAX;
}

}  // namespace lum
