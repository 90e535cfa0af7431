#pragma once
// Date-time values as scripts hold them: days since 30 December 1899, the
// fraction being the time of day. Before that day the whole part counts
// days back and the fraction still runs forward from midnight, so -1.25 is
// 29 December 1899, 06:00.
#include <cstdint>
#include <optional>

namespace lum {

struct CivilDate {
  int year = 0;   // 1..9999
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct DateTimeParts {
  CivilDate date;
  TimeOfDay time;
  int dayOfWeek = 1;  // 1 Sunday .. 7 Saturday
};

inline constexpr double kMillisecondsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Days from 30 December 1899 to the date; the year may run to 10000 so
// that "the next 1 January" of 9999 has a value.
int64_t DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(int64_t days);

std::optional<double> EncodeDateValue(int year, int month, int day);
std::optional<double> EncodeTimeValue(int hour, int minute, int second, int millisecond);

// Splits a value, rounded to the millisecond, into its parts; nothing for a
// value outside years 1 to 9999 or not finite.
std::optional<DateTimeParts> DecodeDateTime(double value);

// The date moved by whole months, the day kept or cut to the month's end,
// the time of day kept.
std::optional<double> IncMonthValue(double value, int64_t months);

// Years between two dates: each calendar year's share of the interval
// divided by that year's length.
double YearFracValue(double a, double b);

}  // namespace lum
