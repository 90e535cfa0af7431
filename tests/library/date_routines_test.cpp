#include <cmath>

#include "library/builtins/date_format.h"
#include "script_fixture.h"

namespace lum::test {
namespace {

using DateRoutines = ScriptFixture;

ScriptValue DateOf(int y, int m, int d) {
  return ScriptValue::DateTime(static_cast<double>(DaysFromCivil(y, m, d)));
}

TEST_F(DateRoutines, ClockRoutinesReadTheInjectedClock) {
  EXPECT_EQ(Eval("Now"), ScriptValue::DateTime(FixedNow()));
  EXPECT_EQ(Eval("Date"), DateOf(2024, 12, 31));
  EXPECT_EQ(Eval("Time"), ScriptValue::DateTime(FixedNow() - std::trunc(FixedNow())));
  ASSERT_TRUE(Run("H := 0; M := 0; S := 0; Z := 0; DecodeTime(Now, H, M, S, Z);")) << Error();
  EXPECT_EQ(Var("H"), ScriptValue::Word(13));
  EXPECT_EQ(Var("M"), ScriptValue::Word(5));
  EXPECT_EQ(Var("S"), ScriptValue::Word(9));
  EXPECT_EQ(Var("Z"), ScriptValue::Word(250));
}

TEST_F(DateRoutines, DecodeDateNeedsVariables) {
  ASSERT_TRUE(Run("Y := 0; M := 0; D := 0; R := DecodeDate(EncodeDate(2024, 2, 29), Y, M, D);"));
  EXPECT_EQ(Var("Y"), ScriptValue::Word(2024));
  EXPECT_EQ(Var("M"), ScriptValue::Word(2));
  EXPECT_EQ(Var("D"), ScriptValue::Word(29));
  EXPECT_EQ(Var("R"), DateOf(2024, 2, 29));
  EXPECT_EQ(FailureOf("M := 0; D := 0; DecodeDate(Now, 2024, M, D);"),
            "Invalid parameters, function DECODEDATE");
  EXPECT_EQ(Var("M"), ScriptValue::Integer(0));  // nothing written on failure
}

TEST_F(DateRoutines, EncodingChecksTheCalendar) {
  EXPECT_EQ(Eval("EncodeDate(1899, 12, 30)"), ScriptValue::DateTime(0));
  EXPECT_EQ(FailureOf("R := EncodeDate(2023, 2, 29);"),
            "Invalid parameters, function ENCODEDATE : Invalid argument to date encode");
  EXPECT_EQ(FailureOf("R := EncodeTime(24, 0, 0, 0);"),
            "Invalid parameters, function ENCODETIME : Invalid argument to time encode");
  EXPECT_EQ(Eval("EncodeTime(6, 0, 0, 0)"), ScriptValue::DateTime(0.25));
}

TEST_F(DateRoutines, CalendarArithmetic) {
  EXPECT_EQ(Eval("DayOfWeek(EncodeDate(2024, 12, 31))"), ScriptValue::Word(3));
  EXPECT_EQ(Eval("DayOfWeek(0)"), ScriptValue::Word(7));  // 30 December 1899, a Saturday
  EXPECT_EQ(Eval("IncMonth(EncodeDate(2024, 1, 31), 1)"), DateOf(2024, 2, 29));
  EXPECT_EQ(Eval("IncMonth(EncodeDate(2024, 3, 15), -15)"), DateOf(2022, 12, 15));
  EXPECT_EQ(Eval("YearDays(EncodeDate(2024, 5, 1))"), ScriptValue::Word(366));
  EXPECT_EQ(Eval("YearDays(EncodeDate(1900, 5, 1))"), ScriptValue::Word(365));
  EXPECT_EQ(Eval("YearFrac(EncodeDate(2025, 1, 1), EncodeDate(2024, 1, 1))"), ScriptValue::Real(1));
  const ScriptValue split = Eval("YearFrac(EncodeDate(2023, 7, 2), EncodeDate(2024, 7, 2))");
  EXPECT_DOUBLE_EQ(split.real(), 183.0 / 365 + 183.0 / 366);
}

TEST_F(DateRoutines, ValuesBeforeTheZeroDayCountTimeForward) {
  std::optional<DateTimeParts> p = DecodeDateTime(-1.25);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->date.day, 29);
  EXPECT_EQ(p->time.hour, 6);
  EXPECT_EQ(Eval("FormatDateTime('yyyy-mm-dd hh:nn', -1.25)").text(), "1899-12-29 06:00");
  // A value a hair before midnight rounds into the next day, not to 24:00.
  EXPECT_EQ(Eval("FormatDateTime('yyyy-mm-dd hh:nn:ss', 1.9999999999)").text(),
            "1900-01-01 00:00:00");
}

TEST_F(DateRoutines, FormatDateTimePatterns) {
  const std::pair<const char*, const char*> cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", "2024-12-31 13:05:09.250"},
      {"d/m/yy", "31/12/24"},
      {"dddd, mmmm d", "Tuesday, December 31"},
      {"ddd mmm", "Tue Dec"},
      {"h:mm am/pm", "1:05 pm"},
      {"hh:mm AM/PM", "01:05 PM"},
      {"h A/P", "1 P"},
      {"h ampm", "1 PM"},
      {"hh:mm", "13:05"},
      {"c", "12/31/2024 1:05:09 PM"},
      {"", "12/31/2024 1:05:09 PM"},
      {"ddddd", "12/31/2024"},
      {"dddddd", "Tuesday, December 31, 2024"},
      {"t", "1:05 PM"},
      {"tt", "1:05:09 PM"},
      {"'Today is' dddd", "Today is Tuesday"},
      {"\"h\" h", "h 13"},
      {"s.z", "9.250"},
      {"'open", "open"},
  };
  for (const auto& [pattern, expected] : cases) {
    EXPECT_EQ(FormatDateTimeText(pattern, FixedNow(), context_.locale), expected) << pattern;
  }
  // Midnight has no time part in "c"; hour 0 is 12 on the 12-hour clock.
  EXPECT_EQ(Eval("FormatDateTime('c', EncodeDate(2024, 1, 5))").text(), "1/5/2024");
  EXPECT_EQ(Eval("FormatDateTime('h am/pm', EncodeDate(2024, 1, 5))").text(), "12 am");
  EXPECT_EQ(FailureOf("R := FormatDateTime('yyyy', 3000000);"),
            "Invalid parameters, function FORMATDATETIME : Invalid date and time value");
}

TEST_F(DateRoutines, RussianLocale) {
  ASSERT_TRUE(context_.SelectLocale("RU"));
  EXPECT_EQ(Eval("DateToStr(Now)").text(), "31.12.2024");
  EXPECT_EQ(Eval("TimeToStr(Now)").text(), "13:05:09");
  EXPECT_EQ(Eval("FormatDateTime('c', Now)").text(), "31.12.2024 13:05:09");
  EXPECT_EQ(Eval("FormatDateTime('d mmmm', Now)").text(), "31 \xC4\xE5\xEA\xE0\xE1\xF0\xFC");
  EXPECT_EQ(Eval("StrToDate('1.2.2024')"), DateOf(2024, 2, 1));
  EXPECT_FALSE(context_.SelectLocale("xx"));
  EXPECT_EQ(context_.locale.name, "ru");
}

TEST_F(DateRoutines, DatesAndTimesReadBack) {
  EXPECT_EQ(Eval("DateToStr(EncodeDate(2024, 2, 29))").text(), "2/29/2024");
  EXPECT_EQ(Eval("StrToDate('2/29/2024')"), DateOf(2024, 2, 29));
  EXPECT_EQ(Eval("StrToDate(' 3/4 ')"), DateOf(2024, 3, 4));  // the clock's year
  EXPECT_EQ(Eval("StrToDate('1/2/49')"), DateOf(2049, 1, 2));
  EXPECT_EQ(Eval("StrToDate('1/2/50')"), DateOf(1950, 1, 2));
  EXPECT_EQ(FailureOf("R := StrToDate('2/30/2024');"),
            "Invalid parameters, function STRTODATE : '2/30/2024' is not a valid date");
  EXPECT_FALSE(Run("R := StrToDate('2/3/2024x');"));
  EXPECT_EQ(Eval("StrToTime('1:05:09 PM')"), Eval("EncodeTime(13, 5, 9, 0)"));
  EXPECT_EQ(Eval("StrToTime('12:30 am')"), Eval("EncodeTime(0, 30, 0, 0)"));
  EXPECT_EQ(Eval("StrToTime('23:59:59.5')"), Eval("EncodeTime(23, 59, 59, 500)"));
  EXPECT_FALSE(Run("R := StrToTime('25:00');"));
  EXPECT_FALSE(Run("R := StrToTime('13:00 PM');"));
  // Date routines take dates written as text too.
  EXPECT_EQ(Eval("DayOfWeek('12/31/2024')"), ScriptValue::Word(3));
}

}  // namespace
}  // namespace lum::test
