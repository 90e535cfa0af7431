#include "library/builtins/text_format.h"
#include "script_fixture.h"

namespace lum::test {
namespace {

using FormatRoutine = ScriptFixture;

TEST_F(FormatRoutine, ValuesFallBackToIntegers) {
  EXPECT_EQ(Eval("Format('%d', 2.7)").text(), "2");
  EXPECT_EQ(Eval("Format('%.2f', 3)").text(), "3.00");
  EXPECT_EQ(Eval("Format('%s|%s|%s', 1, 2.5, TRUE)").text(), "1|2.5|True");
  EXPECT_EQ(Eval("Format('%d', TRUE)").text(), "-1");
  EXPECT_EQ(FailureOf("R := Format('%d', 'x');"),
            "Invalid parameters, function FORMAT : Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(FailureOf("R := Format('%k', 1);"),
            "Invalid parameters, function FORMAT : Format '%k' invalid or incompatible with argument");
  EXPECT_EQ(FailureOf("R := Format('abc');"), "Invalid parameters, function FORMAT");
}

TEST_F(FormatRoutine, WalkOfTheFormatText) {
  // Missing arguments write nothing; an open conversion stays as it is.
  EXPECT_EQ(Eval("Format('a%db%dc', 1)").text(), "a1bc");
  EXPECT_EQ(Eval("Format('100%', 1)").text(), "100%");
  EXPECT_EQ(Eval("Format('50%% of %d', 8)").text(), "50% of 8");
  EXPECT_EQ(Eval("Format('%1:s-%0:s-%s', 'a', 'b')").text(), "b-a-b");
}

struct Case {
  const char* format;
  std::vector<ScriptValue> args;
  const char* expected;
};

TEST_F(FormatRoutine, Conversions) {
  const Case cases[] = {
      {"[%5d]", {ScriptValue::Integer(42)}, "[   42]"},
      {"[%-5d]", {ScriptValue::Integer(42)}, "[42   ]"},
      {"[%.4d]", {ScriptValue::Integer(-42)}, "[-0042]"},
      {"%u", {ScriptValue::Integer(-1)}, "4294967295"},
      {"%x", {ScriptValue::Integer(255)}, "FF"},
      {"%.4x", {ScriptValue::Integer(-1)}, "FFFFFFFF"},
      {"%x", {ScriptValue::Int64(-1)}, "FFFFFFFFFFFFFFFF"},
      {"%p", {ScriptValue::Integer(4096)}, "00001000"},
      {"[%-8.2f]", {ScriptValue::Real(3.14159)}, "[3.14    ]"},
      {"%f", {ScriptValue::Real(-0.005)}, "-0.01"},
      {"%e", {ScriptValue::Real(1234.5)}, "1.23450000000000E+003"},
      {"%.3e", {ScriptValue::Real(-0.000123)}, "-1.23E-004"},
      {"%g", {ScriptValue::Real(0.5)}, "0.5"},
      {"%g", {ScriptValue::Real(1e20)}, "1E+020"},
      {"%g", {ScriptValue::Real(0.00001)}, "0.00001"},
      {"%g", {ScriptValue::Real(0.000001)}, "1E-006"},
      {"%n", {ScriptValue::Real(1234567.891)}, "1,234,567.89"},
      {"%m", {ScriptValue::Real(-1234.5)}, "-$1,234.50"},
      {"%.3s", {ScriptValue::String("abcdef")}, "abc"},
      {"%*d", {ScriptValue::Integer(4), ScriptValue::Integer(7)}, "   7"},
      {"%.*f", {ScriptValue::Integer(1), ScriptValue::Real(2.25)}, "2.2"},
      {"%f", {ScriptValue::Real(1.0 / 0.0)}, "INF"},
      {"%d", {ScriptValue::Int64(-9223372036854775807LL - 1)}, "-9223372036854775808"},
      {"%s", {ScriptValue::DateTime(1.5)}, "1.5"},
  };
  for (const Case& c : cases) {
    Result<std::string> text = FormatText(c.format, c.args, context_.locale);
    ASSERT_TRUE(text) << c.format << ": " << text.error().message;
    EXPECT_EQ(text.value(), c.expected) << c.format;
  }
}

TEST_F(FormatRoutine, HostileSpecificationsStayBounded) {
  const std::vector<ScriptValue> one{ScriptValue::Integer(1)};
  EXPECT_FALSE(FormatText("%999999999d", one, context_.locale));
  EXPECT_FALSE(FormatText("%*d", {ScriptValue::Integer(1 << 30), ScriptValue::Integer(1)},
                          context_.locale));
  Result<std::string> wide = FormatText("%.99f", {ScriptValue::Real(1e300)}, context_.locale);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide.value().size(), 301u + 1 + 18);  // precision held at 18 digits
  EXPECT_TRUE(FormatText("%99:d", one, context_.locale));  // index past the end: nothing
}

TEST_F(FormatRoutine, MoneyFollowsTheLocale) {
  ASSERT_TRUE(context_.SelectLocale("ru"));
  EXPECT_EQ(FormatText("%m", {ScriptValue::Integer(5)}, context_.locale).value(),
            "5.00 \xF0.");
}

}  // namespace
}  // namespace lum::test
