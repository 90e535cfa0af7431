#include "library/builtins/date_time.h"

#include <algorithm>
#include <cmath>

namespace lum {

namespace {

// Days from 1 January 1970 in the proleptic Gregorian calendar.
int64_t DaysFromEpoch(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr int64_t kEpochToScriptZero = 25569;  // 1970-01-01 minus 1899-12-30
constexpr double kFirstValue = -693593.0;       // 0001-01-01
constexpr double kEndValue = 2958466.0;         // 10000-01-01

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int64_t DaysFromCivil(int year, int month, int day) {
  return DaysFromEpoch(year, month, day) + kEpochToScriptZero;
}

CivilDate CivilFromDays(int64_t days) {
  int64_t z = days - kEpochToScriptZero + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2);
  return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

std::optional<double> EncodeDateValue(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day));
}

std::optional<double> EncodeTimeValue(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return std::nullopt;
  }
  const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
  return ms / kMillisecondsPerDay;
}

std::optional<DateTimeParts> DecodeDateTime(double value) {
  if (!std::isfinite(value) || value < kFirstValue || value >= kEndValue) return std::nullopt;
  // Rounding the whole value to the millisecond lets 23:59:59.9999 carry
  // into the next day instead of showing a 24th hour.
  const int64_t total = std::llround(value * kMillisecondsPerDay);
  const int64_t msPerDay = static_cast<int64_t>(kMillisecondsPerDay);
  const int64_t days = total / msPerDay;
  int64_t ms = total % msPerDay;
  if (ms < 0) ms = -ms;
  DateTimeParts p;
  p.date = CivilFromDays(days);
  if (p.date.year < 1 || p.date.year > 9999) return std::nullopt;
  p.time.millisecond = static_cast<int>(ms % 1000);
  p.time.second = static_cast<int>(ms / 1000 % 60);
  p.time.minute = static_cast<int>(ms / 60000 % 60);
  p.time.hour = static_cast<int>(ms / 3600000);
  // 30 December 1899 was a Saturday.
  p.dayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
  return p;
}

std::optional<double> IncMonthValue(double value, int64_t months) {
  std::optional<DateTimeParts> p = DecodeDateTime(value);
  if (!p) return std::nullopt;
  const int64_t index = int64_t{p->date.year} * 12 + (p->date.month - 1) + months;
  if (index < 12 || index >= 10000 * 12) return std::nullopt;
  const int year = static_cast<int>(index / 12);
  const int month = static_cast<int>(index % 12) + 1;
  const int day = std::min(p->date.day, DaysInMonth(year, month));
  const double timeOfDay = std::fabs(value - std::trunc(value));
  const double date = static_cast<double>(DaysFromCivil(year, month, day));
  return date >= 0 ? date + timeOfDay : date - timeOfDay;
}

double YearFracValue(double a, double b) {
  double start = std::min(a, b);
  double end = std::max(a, b);
  std::optional<DateTimeParts> first = DecodeDateTime(start);
  std::optional<DateTimeParts> last = DecodeDateTime(end);
  if (!first || !last) return (end - start) / 365.0;
  double sum = 0;
  for (int year = first->date.year; year <= last->date.year; ++year) {
    const double yearStart = static_cast<double>(DaysFromCivil(year, 1, 1));
    const double yearEnd = static_cast<double>(DaysFromCivil(year + 1, 1, 1));
    const double from = std::max(start, yearStart);
    const double to = std::min(end, yearEnd);
    if (to > from) sum += (to - from) / (IsLeapYear(year) ? 366.0 : 365.0);
  }
  return sum;
}

}  // namespace lum
