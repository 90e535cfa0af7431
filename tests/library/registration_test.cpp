#include <algorithm>
#include <cstdio>

#include "library/without_game.h"
#include "script_fixture.h"

namespace lum::test {
namespace {

using Registration = ScriptFixture;

// The generic routines in the order scripts were written against; engine
// routines fill the gaps later, so only the relative order is checked.
const char* const kGenericOrder[] = {
    "Val", "Char", "IntToStr", "StrToInt", "FloatToStr", "StrToFloat", "Copy", "Poss",
    "Length", "DelLastChar", "Insert", "Delete", "Trim", "TrimLeft", "TrimRight", "UpperCase",
    "LowerCase", "Format", "Now", "Date", "Time", "DateToStr", "StrToDate", "TimeToStr",
    "StrToTime", "FormatDateTime", "DayOfWeek", "IncMonth", "DecodeDate", "DecodeTime",
    "EncodeDate", "EncodeTime", "Abs", "Int", "Frac", "Round", "Ceil", "Floor", "Trunc", "Sin",
    "Sign", "Cos", "Tan", "ArcSin", "ArcCos", "ArcTan", "Exp", "Ln", "IntPower", "Sqr", "Sqrt",
    "Inc", "Dec", "Min", "Max", "GetVar", "SetVar", "Decode", "YearDays", "YearFrac", "Mod",
    "Random"};

TEST_F(Registration, EveryGenericRoutineIsRegisteredInOrder) {
  const TFuncList& funcs = calc_.Functions();
  size_t position = 0;
  for (const char* name : kGenericOrder) {
    const std::string upper = UpperAscii(name);
    bool found = false;
    for (; position < funcs.size(); ++position) {
      if (funcs[position].Name == upper) {
        found = true;
        break;
      }
    }
    EXPECT_TRUE(found) << name << " missing or out of order";
  }
  // No routine is registered that does nothing: every entry has a body.
  for (const RoutineEntry& entry : kRoutines<WithoutGame>) EXPECT_NE(entry.routine, nullptr) << entry.name;
}

TEST_F(Registration, NamesAreReachedInAnyCase) {
  EXPECT_EQ(Eval("inttostr(5) + INTTOSTR(6) + IntToStr(7)").text(), "567");
}

TEST_F(Registration, GetVarAndSetVarReachVariablesByText) {
  ASSERT_TRUE(Run("ABC := 5; N := 'abc'; R := GetVar(N); SetVar('a' + 'bc', 9); U := GetVar('NOPE');"))
      << Error();
  EXPECT_EQ(Var("R"), ScriptValue::Integer(5));
  EXPECT_EQ(Var("ABC"), ScriptValue::Integer(9));
  EXPECT_EQ(Var("U"), ScriptValue::Ref(0));
  EXPECT_EQ(FailureOf("SetVar('MISSING', 1);"), "Invalid parameters, function SETVAR");
}

TEST_F(Registration, GetVarOfAnUnknownNameLogsAndGoesOn) {
  const std::string logPath = ::testing::TempDir() + "library_getvar.err";
  std::remove(logPath.c_str());
  env_.log.SetPath(logPath);
  env_.log.SetSaveErr(true);
  env_.log.SetKeepLines(true);
  ASSERT_TRUE(Run("R := GetVar('nope'); S := 1;")) << Error();
  EXPECT_EQ(Var("R"), ScriptValue::Ref(0));
  ASSERT_EQ(env_.log.KeptLines().size(), 1u);
  // No element runs this script, so the path ends at none.
  EXPECT_EQ(env_.log.KeptLines()[0].rfind("Not var NIL NOPE", 0), 0u) << env_.log.KeptLines()[0];
  std::remove(logPath.c_str());
}

TEST_F(Registration, GetVarUpperCasesCyrillicNames) {
  // "я" is stored by scripts as written, so GetVar must find "Я" for "я".
  ASSERT_TRUE(Run("\xDF := 3; R := GetVar('\xFF');")) << Error();
  EXPECT_EQ(Var("R"), ScriptValue::Integer(3));
}

}  // namespace
}  // namespace lum::test
