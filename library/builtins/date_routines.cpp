#include <cmath>

#include "library/builtins/date_format.h"
#include "library/builtins/date_time.h"
#include "library/builtins/routines.h"

namespace lum::builtin {

namespace {

const char kBadDate[] = "Invalid date and time value";

bool DateArg(RoutineCall& c, size_t i, DateTimeParts& parts) {
  double v = 0;
  if (!c.Date(i, v)) return false;
  std::optional<DateTimeParts> p = DecodeDateTime(v);
  if (!p) return c.Fail(kBadDate);
  parts = *p;
  return true;
}

bool ReturnText(RoutineCall& c, const std::optional<std::string>& text) {
  if (!text) return c.Fail(kBadDate);
  c.Return(ScriptValue::String(*text));
  return true;
}

int CurrentYear(RoutineCall& c) {
  std::optional<DateTimeParts> now = DecodeDateTime(c.Context().now());
  return now ? now->date.year : 2000;
}

}  // namespace

bool Now(RoutineCall& c) {
  if (c.Count() != 0) return false;
  c.Return(ScriptValue::DateTime(c.Context().now()));
  return true;
}

bool Date(RoutineCall& c) {
  if (c.Count() != 0) return false;
  c.Return(ScriptValue::DateTime(std::trunc(c.Context().now())));
  return true;
}

bool Time(RoutineCall& c) {
  if (c.Count() != 0) return false;
  const double now = c.Context().now();
  c.Return(ScriptValue::DateTime(std::fabs(now - std::trunc(now))));
  return true;
}

bool DateToStr(RoutineCall& c) {
  double v = 0;
  if (c.Count() != 1 || !c.Date(0, v)) return false;
  return ReturnText(c, DateToText(v, c.Context().locale));
}

bool TimeToStr(RoutineCall& c) {
  double v = 0;
  if (c.Count() != 1 || !c.Date(0, v)) return false;
  return ReturnText(c, TimeToText(v, c.Context().locale));
}

bool StrToDate(RoutineCall& c) {
  std::string text;
  if (c.Count() != 1 || !c.Text(0, text)) return false;
  std::optional<double> v = ParseDateText(text, c.Context().locale, CurrentYear(c));
  if (!v) return c.Fail("'" + text + "' is not a valid date");
  c.Return(ScriptValue::DateTime(*v));
  return true;
}

bool StrToTime(RoutineCall& c) {
  std::string text;
  if (c.Count() != 1 || !c.Text(0, text)) return false;
  std::optional<double> v = ParseTimeText(text, c.Context().locale);
  if (!v) return c.Fail("'" + text + "' is not a valid time");
  c.Return(ScriptValue::DateTime(*v));
  return true;
}

bool FormatDateTime(RoutineCall& c) {
  std::string pattern;
  double v = 0;
  if (c.Count() != 2 || !c.Text(0, pattern) || !c.Date(1, v)) return false;
  return ReturnText(c, FormatDateTimeText(pattern, v, c.Context().locale));
}

bool DayOfWeek(RoutineCall& c) {
  DateTimeParts p;
  if (c.Count() != 1 || !DateArg(c, 0, p)) return false;
  c.Return(ScriptValue::Word(static_cast<uint16_t>(p.dayOfWeek)));
  return true;
}

bool IncMonth(RoutineCall& c) {
  double v = 0;
  int64_t months = 0;
  if (c.Count() != 2 || !c.Date(0, v) || !c.Truncated(1, months)) return false;
  std::optional<double> moved = IncMonthValue(v, months);
  if (!moved) return c.Fail(kBadDate);
  c.Return(ScriptValue::DateTime(*moved));
  return true;
}

bool DecodeDate(RoutineCall& c) {
  DateTimeParts p;
  if (c.Count() != 4 || !c.IsVar(1) || !c.IsVar(2) || !c.IsVar(3) || !DateArg(c, 0, p)) {
    return false;
  }
  c.Write(1, ScriptValue::Word(static_cast<uint16_t>(p.date.year)));
  c.Write(2, ScriptValue::Word(static_cast<uint16_t>(p.date.month)));
  c.Write(3, ScriptValue::Word(static_cast<uint16_t>(p.date.day)));
  c.Return(c.Arg(0));
  return true;
}

bool DecodeTime(RoutineCall& c) {
  DateTimeParts p;
  if (c.Count() != 5 || !c.IsVar(1) || !c.IsVar(2) || !c.IsVar(3) || !c.IsVar(4) ||
      !DateArg(c, 0, p)) {
    return false;
  }
  c.Write(1, ScriptValue::Word(static_cast<uint16_t>(p.time.hour)));
  c.Write(2, ScriptValue::Word(static_cast<uint16_t>(p.time.minute)));
  c.Write(3, ScriptValue::Word(static_cast<uint16_t>(p.time.second)));
  c.Write(4, ScriptValue::Word(static_cast<uint16_t>(p.time.millisecond)));
  c.Return(c.Arg(0));
  return true;
}

bool EncodeDate(RoutineCall& c) {
  int32_t y = 0, m = 0, d = 0;
  if (c.Count() != 3 || !c.Int(0, y) || !c.Int(1, m) || !c.Int(2, d)) return false;
  std::optional<double> v = EncodeDateValue(y, m, d);
  if (!v) return c.Fail("Invalid argument to date encode");
  c.Return(ScriptValue::DateTime(*v));
  return true;
}

bool EncodeTime(RoutineCall& c) {
  int32_t h = 0, m = 0, s = 0, ms = 0;
  if (c.Count() != 4 || !c.Int(0, h) || !c.Int(1, m) || !c.Int(2, s) || !c.Int(3, ms)) {
    return false;
  }
  std::optional<double> v = EncodeTimeValue(h, m, s, ms);
  if (!v) return c.Fail("Invalid argument to time encode");
  c.Return(ScriptValue::DateTime(*v));
  return true;
}

bool YearDays(RoutineCall& c) {
  DateTimeParts p;
  if (c.Count() != 1 || !DateArg(c, 0, p)) return false;
  c.Return(ScriptValue::Word(IsLeapYear(p.date.year) ? 366 : 365));
  return true;
}

bool YearFrac(RoutineCall& c) {
  double a = 0, b = 0;
  if (c.Count() != 2 || !c.Date(0, a) || !c.Date(1, b)) return false;
  if (!std::isfinite(a) || !std::isfinite(b)) return c.Fail(kBadDate);
  c.Return(ScriptValue::Real(YearFracValue(a, b)));
  return true;
}

}  // namespace lum::builtin
