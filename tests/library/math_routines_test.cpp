#include "script_fixture.h"

namespace lum::test {
namespace {

using MathRoutines = ScriptFixture;

TEST_F(MathRoutines, MinAndMaxNeedOneKind) {
  EXPECT_EQ(FailureOf("R := Max(1, 2.5);"), "Invalid parameters, function MAX");
  EXPECT_EQ(Eval("Max(3, 9, 4)"), ScriptValue::Integer(9));
  EXPECT_EQ(Eval("Min(3, 9, 4)"), ScriptValue::Integer(3));
  EXPECT_EQ(Eval("Max(1.5, -2.5)"), ScriptValue::Real(1.5));
  EXPECT_EQ(Eval("Max('abc', 'abd')").text(), "abd");
  EXPECT_EQ(Eval("Min(7)"), ScriptValue::Integer(7));
}

TEST_F(MathRoutines, DecodeSelectsThePairedValue) {
  EXPECT_EQ(Eval("Decode(2, 1, 'one', 2, 'two', 'none')").text(), "two");
  EXPECT_EQ(Eval("Decode(5, 1, 'one', 2, 'two', 'none')").text(), "none");
  EXPECT_EQ(FailureOf("R := Decode(5, 1, 'one', 2, 'two');"), "Invalid parameters, function DECODE");
  // Equality follows the operator rules: 2 = 2.0 and '2' = 2 match.
  EXPECT_EQ(Eval("Decode(2.0, 2, 'yes', 'no')").text(), "yes");
  EXPECT_EQ(Eval("Decode('2', 2, 'yes', 'no')").text(), "yes");
  EXPECT_EQ(FailureOf("R := Decode(1, 2);"), "Invalid parameters, function DECODE");
}

TEST_F(MathRoutines, ModKeepsTheSignOfTheDividend) {
  EXPECT_EQ(Eval("Mod(-7, 3)"), ScriptValue::Integer(-1));
  EXPECT_EQ(Eval("Mod(7, -3)"), ScriptValue::Integer(1));
  EXPECT_EQ(Eval("Mod(-2147483647 - 1, -1)"), ScriptValue::Integer(0));
  EXPECT_EQ(FailureOf("R := Mod(1, 0);"), "Invalid parameters, function MOD : Division by zero");
}

// The same calls again and again, as loops make them: arguments and
// values the shortcuts leave to the routines must give the routines'
// answers and failures, on any pass.
TEST_F(MathRoutines, RepeatedCallsGiveTheRoutinesAnswers) {
  ASSERT_TRUE(Run("S := ''; X := 2147483647; I := 0; "
                  "FOR I := 1 TO 3 DO BEGIN "
                  "  A := Abs(-I); B := Abs(2.5 - I); C := Max(I, 2); D := Min(I, 2); "
                  "  E := Mod(X, 1 + I); F := Max(-I, -5); "
                  "  S := S + FloatToStr(A) + ',' + FloatToStr(B) + ',' + IntToStr(C) + ',' + "
                  "       IntToStr(D) + ',' + IntToStr(E) + ',' + IntToStr(F) + ';'; "
                  "END;"))
      << Error();
  EXPECT_EQ(Text("S"), "1,1.5,2,1,1,-1;2,0.5,2,2,1,-2;3,0.5,3,2,3,-3;");
  EXPECT_EQ(Var("A").kind(), ValueKind::Real);
  EXPECT_EQ(Var("C").kind(), ValueKind::Integer);
  // Division by zero on the second pass, once the call has been made.
  EXPECT_EQ(FailureOf("I := 0; FOR I := 1 TO 3 DO R := Mod(5, I - 2);"),
            "Invalid parameters, function MOD : Division by zero");
  EXPECT_EQ(Var("R"), ScriptValue::Integer(0));
  // A routine replaced between passes: the new one answers.
  EXPECT_TRUE(Run("R := 0; I := 0; FOR I := 1 TO 2 DO R := R * 10 + Max(I, 0);")) << Error();
  EXPECT_EQ(Var("R"), ScriptValue::Integer(12));
  calc_.AddFunction("Max", [](TPasCalc&, TVarList&, TVar& result) {
    result.Value = ScriptValue::Integer(7);
    return true;
  });
  EXPECT_TRUE(Run("R := 0; I := 0; FOR I := 1 TO 2 DO R := R * 10 + Max(I, 0);")) << Error();
  EXPECT_EQ(Var("R"), ScriptValue::Integer(77));
}

TEST_F(MathRoutines, RoundingKindsAndHalves) {
  EXPECT_EQ(Eval("Round(2.5)"), ScriptValue::Integer(2));
  EXPECT_EQ(Eval("Round(3.5)"), ScriptValue::Integer(4));
  EXPECT_EQ(Eval("Round(-2.5)"), ScriptValue::Integer(-2));
  EXPECT_EQ(Eval("Trunc(-2.7)"), ScriptValue::Integer(-2));
  EXPECT_EQ(Eval("Ceil(2.1)"), ScriptValue::Integer(3));
  EXPECT_EQ(Eval("Floor(-2.1)"), ScriptValue::Integer(-3));
  EXPECT_EQ(Eval("Int(7.9)"), ScriptValue::Int64(7));
  EXPECT_EQ(Eval("Round(10000000000.4)"), ScriptValue::Int64(10000000000));
  EXPECT_EQ(Eval("Sign(-0.4)"), ScriptValue::ShortInt(0));
  EXPECT_EQ(Eval("Sign(-3)"), ScriptValue::ShortInt(-1));
  EXPECT_EQ(Eval("Abs(-3)"), ScriptValue::Real(3));
  EXPECT_EQ(Eval("Frac(-2.25)"), ScriptValue::Real(-0.25));
  EXPECT_EQ(Eval("IntPower(2, 10.9)"), ScriptValue::Real(1024));
  EXPECT_EQ(Eval("Sqr(1.5)"), ScriptValue::Real(2.25));
}

TEST_F(MathRoutines, FloatingFaultsFailTheCall) {
  EXPECT_EQ(FailureOf("R := Sqrt(-1);"),
            "Invalid parameters, function SQRT : Invalid floating point operation");
  EXPECT_EQ(FailureOf("R := Ln(0);"),
            "Invalid parameters, function LN : Floating point division by zero");
  EXPECT_EQ(FailureOf("R := Exp(1000);"), "Invalid parameters, function EXP : Floating point overflow");
  EXPECT_EQ(FailureOf("R := Sin('x');"),
            "Invalid parameters, function SIN : 'x' is not a valid floating point value");
}

TEST_F(MathRoutines, IncAndDecUseTheOperatorRules) {
  ASSERT_TRUE(Run("X := 1; Inc(X); Y := 10; Dec(Y, 4); S := 'A'; Inc(S, 'B'); D := 2.5; Inc(D);"));
  EXPECT_EQ(Var("X"), ScriptValue::Integer(2));
  EXPECT_EQ(Var("Y"), ScriptValue::Integer(6));
  EXPECT_EQ(Text("S"), "AB");
  EXPECT_EQ(Var("D"), ScriptValue::Real(3.5));
  ASSERT_TRUE(Run("X := 2147483647; Inc(X);"));
  EXPECT_EQ(Var("X"), ScriptValue::Real(2147483648.0));
  // A literal is no variable: the call succeeds and changes nothing.
  EXPECT_TRUE(Run("Inc(5);"));
  EXPECT_EQ(FailureOf("S := 'A'; Inc(S, 2);"),
            "Invalid parameters, function INC : Invalid operand types for \"+\"");
  EXPECT_EQ(Text("S"), "A");
}

TEST_F(MathRoutines, RandomIsSeededAndInRange) {
  context_.random().Seed(1234);
  ASSERT_TRUE(Run("A := Random(100); B := Random(100); C := Random(100); Z := Random(0);"));
  const ScriptValue a = Var("A"), b = Var("B"), c = Var("C");
  for (const ScriptValue& v : {a, b, c}) {
    ASSERT_EQ(v.kind(), ValueKind::Integer);
    EXPECT_GE(v.whole(), 0);
    EXPECT_LT(v.whole(), 100);
  }
  EXPECT_EQ(Var("Z"), ScriptValue::Integer(0));
  context_.random().Seed(1234);
  ASSERT_TRUE(Run("A := Random(100); B := Random(100); C := Random(100);"));
  EXPECT_EQ(Var("A"), a);
  EXPECT_EQ(Var("B"), b);
  EXPECT_EQ(Var("C"), c);
}

TEST_F(MathRoutines, RandomCoversItsWholeRange) {
  context_.random().Seed(7);
  int seen[6] = {};
  for (int i = 0; i < 600; ++i) {
    const int32_t n = static_cast<int32_t>(context_.random().Below(6));
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 6);
    ++seen[n];
  }
  for (int count : seen) EXPECT_GT(count, 50);
}

}  // namespace
}  // namespace lum::test
