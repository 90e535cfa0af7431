#pragma once
// Date-time values to text by pattern, and dates and times read back from
// text, both following a ScriptLocale.
#include <optional>
#include <string>
#include <string_view>

#include "library/builtins/script_locale.h"

namespace lum {

// Pattern letters: c, d, dd, ddd, dddd, ddddd (short date), dddddd (long
// date), m, mm (minutes right after h or hh), mmm, mmmm, yy, yyyy, h, hh,
// n, nn, s, ss, z, zzz, t, tt, am/pm, a/p, ampm (the locale's strings),
// '/' and ':' as the locale's separators, text in '...' or "..." as it
// stands; any other character is copied. An empty pattern means "c".
// Nothing when the value is no date of years 1 to 9999.
std::optional<std::string> FormatDateTimeText(std::string_view pattern, double value,
                                              const ScriptLocale& locale);

std::optional<std::string> DateToText(double value, const ScriptLocale& locale);
std::optional<std::string> TimeToText(double value, const ScriptLocale& locale);

// Reads numbers in the order of the locale's short date format, separated
// by its date separator. A missing year is `currentYear`; a year below 100
// is taken as 2000-2049 for 0-49 and 1950-1999 for 50-99.
std::optional<double> ParseDateText(std::string_view text, const ScriptLocale& locale,
                                    int currentYear);
// Hours and minutes, optionally seconds and ".milliseconds", separated by
// the locale's time separator, optionally followed by the locale's AM/PM
// strings or by AM/PM, A/P.
std::optional<double> ParseTimeText(std::string_view text, const ScriptLocale& locale);

}  // namespace lum
