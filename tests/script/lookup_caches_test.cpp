// Reads, writes, loop counters, VAR arguments and routine calls remember
// where they found things; these cases change the variable list or the
// routines between two passes over the same code and check that nothing
// is read from or written to a stale position.
#include <gtest/gtest.h>

#include "script_harness.h"

namespace lum {
namespace {

using testing::FakeElement;
using testing::Harness;

void RegisterListChangers(TFuncList& f) {
  // Forget('A') removes a variable, moving every later one down.
  f.AddFunction("Forget", [](TPasCalc& calc, TVarList& p, TVar&) {
    if (p.size() != 1) return false;
    calc.Variables().Remove(p[0].Value.text());
    return true;
  });
  // Make('P', 9) adds a variable at the end.
  f.AddFunction("Make", [](TPasCalc& calc, TVarList& p, TVar&) {
    if (p.size() != 2) return false;
    calc.Variables().AddVar(TVar{p[0].Value.text(), p[1].Value});
    return true;
  });
  // MakeInc(X): adds a variable N at the end, then adds one to its VAR
  // parameter.
  f.AddFunction("MakeInc", [](TPasCalc& calc, TVarList& p, TVar&) {
    if (p.size() != 1) return false;
    calc.Variables().AddVar(TVar{"N" + std::to_string(calc.Variables().size()), ScriptValue::Integer(0)});
    p.SetAt(0, ScriptValue::Integer(static_cast<int32_t>(p[0].Value.whole()) + 1));
    return true;
  });
  // ForgetInc(X): removes A, then adds one to its VAR parameter.
  f.AddFunction("ForgetInc", [](TPasCalc& calc, TVarList& p, TVar&) {
    if (p.size() != 1) return false;
    calc.Variables().Remove("A");
    p.SetAt(0, ScriptValue::Integer(static_cast<int32_t>(p[0].Value.whole()) + 1));
    return true;
  });
}

TEST(LookupCaches, PositionsFollowVariablesThatMove) {
  Harness h(RegisterListChangers);
  // B moves from the second place to the first when A goes; the read of B,
  // the assignment to B and the counter I must all follow it.
  ASSERT_TRUE(h.Run(
      "A := 1; B := 10; C := 0; I := 0; "
      "FOR I := 1 TO 3 DO BEGIN C := C + B; B := B + 1; IF I = 1 THEN Forget('A'); END;"))
      << h.message();
  EXPECT_FALSE(h.Has("A"));
  EXPECT_EQ(h.Var("C").whole(), 10 + 11 + 12);
  EXPECT_EQ(h.Var("B").whole(), 13);
  EXPECT_EQ(h.Var("I").whole(), 3);
  EXPECT_EQ(h.calc().Variables().size(), 3u);  // B, C, I: nothing written twice
}

TEST(LookupCaches, AVariableAddedLaterHidesAProperty) {
  Harness h(RegisterListChangers);
  FakeElement e(h.env().elements, "E", "TLumImage", nullptr, 1);
  e.props["P"] = ScriptValue::Integer(5);
  h.env().currentElement = e.Handle();
  ASSERT_TRUE(h.Run("R := 0; I := 0; FOR I := 1 TO 2 DO BEGIN R := R * 100 + P; IF I = 1 THEN Make('P', 9); END;"))
      << h.message();
  EXPECT_EQ(h.Var("R").whole(), 509);
  // And the other way: once the variable is gone, the property is read again.
  ASSERT_TRUE(h.Run("R := 0; I := 0; FOR I := 1 TO 2 DO BEGIN R := R * 100 + P; IF I = 1 THEN Forget('P'); END;"))
      << h.message();
  EXPECT_EQ(h.Var("R").whole(), 905);
}

TEST(LookupCaches, VarArgumentsAreWrittenBackByNameWhenTheListChanged) {
  Harness h(RegisterListChangers);
  ASSERT_TRUE(h.Run("A := 1; X := 5; Y := 7; I := 0; FOR I := 1 TO 2 DO ForgetInc(X);")) << h.message();
  EXPECT_EQ(h.Var("X").whole(), 7);
  EXPECT_EQ(h.Var("Y").whole(), 7);
  EXPECT_FALSE(h.Has("A"));
}

TEST(LookupCaches, RecordsAppendedLeavePositionsButNotPlainNamesOfArrays) {
  Harness h(RegisterListChangers);
  // Variables appended during the loop come after X, Y and I: the reads,
  // the assignment, the counter and the VAR write-back keep their places.
  ASSERT_TRUE(h.Run("X := 5; Y := 0; I := 0; "
                    "FOR I := 1 TO 3 DO BEGIN MakeInc(X); Y := Y * 10 + X; Make('Q', I); END;"))
      << h.message();
  EXPECT_EQ(h.Var("X").whole(), 8);
  EXPECT_EQ(h.Var("Y").whole(), 678);
  EXPECT_EQ(h.Var("Q").whole(), 1);
  // An element X[1] appended while X is a plain variable: X no longer
  // reads as one, from the same code as before.
  EXPECT_FALSE(h.Run("X := 5; R := 0; I := 0; "
                     "FOR I := 1 TO 2 DO BEGIN R := R + X; IF I = 1 THEN Make('X[1]', 9); END;"));
  EXPECT_NE(h.message().find("Array with same name exist : X"), std::string::npos) << h.message();
  EXPECT_EQ(h.Var("R").whole(), 5);
}

TEST(LookupCaches, PropertyReadsAsOperandsAcrossPasses) {
  Harness h(RegisterListChangers);
  FakeElement e(h.env().elements, "E", "TLumImage", nullptr, 1);
  FakeElement c(h.env().elements, "C", "TLumImage", &e, 2);
  e.props["P"] = ScriptValue::Integer(5);
  c.props["Q"] = ScriptValue::Integer(7);
  h.env().currentElement = e.Handle();
  // P is the property until a variable P appears; C.Q is the child's.
  ASSERT_TRUE(h.Run("R := 0; S := 0; I := 0; FOR I := 1 TO 3 DO BEGIN "
                    "R := R * 10; R := R + P; S := S * 10; S := S + (C.Q - I); "
                    "IF I = 2 THEN Make('P', 9); END;"))
      << h.message();
  EXPECT_EQ(h.Var("R").whole(), 559);
  EXPECT_EQ(h.Var("S").whole(), 654);
  // A property that stops being published between passes: the read fails
  // once, with one log line, as a fresh read would.
  h.calc().AddFunction("DropQ", [&c](TPasCalc&, TVarList&, TVar&) {
    c.props.erase("Q");
    return true;
  });
  h.env().eventLabel = "Test";
  const size_t logged = h.log().size();
  EXPECT_FALSE(h.Run("T := 0; I := 0; FOR I := 1 TO 2 DO BEGIN U := C.Q + 0; T := T + U; DropQ(); END;"));
  EXPECT_EQ(h.message(), "Variable not found: C.Q");
  EXPECT_EQ(h.Var("T").whole(), 7);
  ASSERT_EQ(h.log().size(), logged + 2);
  EXPECT_EQ(h.log()[logged], "Not var C.Q (in E <TLumImage> Test");
}

TEST(LookupCaches, OneScriptOnInterpretersWithDifferentLists) {
  Harness h;
  const PreparedScript prepared = h.calc().PrepareScript("R := Y + 1; Y := R;");
  TPasCalc& first = h.pool.At(0);
  TPasCalc& second = h.pool.At(1);
  first.Variables().SetOrAdd(TVar{"Y", ScriptValue::Integer(1)});
  second.Variables().SetOrAdd(TVar{"Q", ScriptValue::Integer(100)});
  second.Variables().SetOrAdd(TVar{"Y", ScriptValue::Integer(20)});
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(first.Run(prepared));
    ASSERT_TRUE(second.Run(prepared));
  }
  EXPECT_EQ(first.Variables()[0].Value.whole(), 3);   // Y
  EXPECT_EQ(second.Variables()[0].Value.whole(), 100);  // Q untouched
  EXPECT_EQ(second.Variables()[1].Value.whole(), 22);   // Y
}

TEST(LookupCaches, ArrayReadsAroundProcedureCalls) {
  Harness h;
  // A procedure call saves and restores the caller's list: element reads
  // found before the call must not use the indexes of a list that is gone.
  ASSERT_TRUE(h.Run("PROCEDURE P(); BEGIN A[3] := 7; Q := A[1]; END; "
                    "A[1] := 5; A[2] := 6; S := 0; I := 0; "
                    "FOR I := 1 TO 2 DO BEGIN S := S + A[I]; P(); S := S + A[I]; A[I + 1] := 1; END;"))
      << h.message();
  EXPECT_EQ(h.Var("S").whole(), 5 + 5 + 1 + 1);
  EXPECT_FALSE(h.Has("Q"));
  EXPECT_EQ(h.Var("A[3]").whole(), 1);
}

TEST(LookupCaches, ArrayElementsFarApartNegativeAndFilledInOrder) {
  Harness h;
  // A[1000] and A[-3] come first, far from the rest; filling 0..600 then
  // reaches 1000, and the element made first must stay the one found.
  ASSERT_TRUE(h.Run("A[1000] := 1; A[-3] := 2; I := 0; FOR I := 0 TO 600 DO A[I] := I; "
                    "A[1000] := 5; A[-3] := A[-3] + 1; A[20] := 99; "
                    "S := A[1000] + A[-3] + A[20] + A[600] + A[0];"))
      << h.message();
  EXPECT_EQ(h.Var("S").whole(), 5 + 3 + 99 + 600 + 0);
  // Each element is one record, in the order it was made.
  size_t thousand = 0;
  for (const TVar& v : h.calc().Variables().records()) thousand += v.Name == "A[1000]" ? 1 : 0;
  EXPECT_EQ(thousand, 1u);
  EXPECT_EQ(h.calc().Variables()[0].Name, "A[1000]");
  EXPECT_EQ(h.calc().Variables()[1].Name, "A[-3]");
  EXPECT_EQ(h.calc().Variables()[3].Name, "A[0]");
}

TEST(ElementIndex, FirstPositionWinsInBothParts) {
  ElementIndex index;
  index.Add(5, 0);
  index.Add(5, 1);
  index.Add(-7, 2);
  index.Add(-7, 3);
  index.Add(100000, 4);  // far: kept apart until the vector reaches it
  EXPECT_EQ(index.Find(5), 0);
  EXPECT_EQ(index.Find(-7), 2);
  EXPECT_EQ(index.Find(100000), 4);
  EXPECT_EQ(index.Find(6), -1);
  for (int32_t i = 0; i < 60000; ++i) index.Add(i, static_cast<uint32_t>(10 + i));
  EXPECT_EQ(index.Find(5), 0);
  EXPECT_EQ(index.Find(100000), 4);
  index.Add(100000, 9);
  EXPECT_EQ(index.Find(100000), 4);
  EXPECT_EQ(index.Find(59999), 10 + 59999);
  EXPECT_EQ(index.Find(60000), -1);
  EXPECT_EQ(index.Find(INT32_MAX), -1);
  EXPECT_EQ(index.Find(INT32_MIN), -1);
}

TEST(LookupCaches, ARoutineThatRemovesItselfFinishesItsCall) {
  Harness h;
  // The routine's own state is used after it unregistered itself: its
  // record must stay alive until the call is over.
  const std::string answer = "still here";
  h.calc().AddFunction("Once", [answer](TPasCalc& calc, TVarList&, TVar& r) {
    calc.AddFunction("ONCE", nullptr);
    calc.AddFunction("Later", [](TPasCalc&, TVarList&, TVar& out) {
      out.Value = ScriptValue::Integer(2);
      return true;
    });
    r.Value = ScriptValue::String(answer);
    return true;
  });
  ASSERT_TRUE(h.Run("S := Once(); T := Later();")) << h.message();
  EXPECT_EQ(h.Var("S").text(), "still here");
  EXPECT_EQ(h.Var("T").whole(), 2);
  EXPECT_FALSE(h.Run("S := Once();"));
  EXPECT_EQ(h.message(), "Unknown function: ONCE");
}

TEST(LookupCaches, ANameThatBecomesARoutineIsCalled) {
  Harness h;
  const PreparedScript prepared = h.calc().PrepareScript("R := V;");
  h.calc().Variables().SetOrAdd(TVar{"V", ScriptValue::Integer(4)});
  ASSERT_TRUE(h.calc().Run(prepared));
  EXPECT_EQ(h.Var("R").whole(), 4);
  h.calc().AddFunction("V", [](TPasCalc&, TVarList&, TVar& r) {
    r.Value = ScriptValue::Integer(8);
    return true;
  });
  ASSERT_TRUE(h.calc().Run(prepared));
  EXPECT_EQ(h.Var("R").whole(), 8);
}

TEST(LookupCaches, ElementReadsAsOperandsAcrossPasses) {
  Harness h(RegisterListChangers);
  // Sums that leave 32 bits go on in reals; a missing element, a real
  // index and an array name that becomes a routine each go the full way.
  ASSERT_TRUE(h.Run("A[1] := 2000000000; A[2] := 2000000000; A[3] := 5; S := 0; I := 0; "
                    "FOR I := 1 TO 3 DO S := S + A[I];"))
      << h.message();
  EXPECT_EQ(h.Var("S").kind(), ValueKind::Real);
  EXPECT_EQ(h.Var("S").real(), 4000000005.0);
  ASSERT_TRUE(h.Run("A[1] := 1; A[2] := 2; S := 0; I := 0; X := 1.0; "
                    "FOR I := 1 TO 2 DO BEGIN S := S * 10 + A[I]; S := S * 10 + A[X]; END;"))
      << h.message();
  EXPECT_EQ(h.Var("S").whole(), 1121);
  EXPECT_FALSE(h.Run("C[1] := 1; S := 0; I := 0; FOR I := 1 TO 2 DO S := S + C[I];"));
  EXPECT_EQ(h.message(), "Variable not found: C[2]");
  EXPECT_EQ(h.Var("S").whole(), 1);

  const PreparedScript prepared = h.calc().PrepareScript("R := 0; I := 0; FOR I := 1 TO 2 DO R := R + B[I];");
  h.calc().Variables().SetOrAdd(TVar{"B[1]", ScriptValue::Integer(4)});
  h.calc().Variables().SetOrAdd(TVar{"B[2]", ScriptValue::Integer(5)});
  ASSERT_TRUE(h.calc().Run(prepared)) << h.message();
  EXPECT_EQ(h.Var("R").whole(), 9);
  h.calc().AddFunction("B", [](TPasCalc&, TVarList&, TVar& r) {
    r.Value = ScriptValue::Integer(100);
    return true;
  });
  // B[I] no longer reads as an element: B is called and [I] is left over.
  EXPECT_FALSE(h.calc().Run(prepared));
  EXPECT_EQ(h.Var("R").whole(), 0);
}

TEST(LookupCaches, SharedTextIsCopiedBeforeAChange) {
  ScriptValue a = ScriptValue::String("abc");
  ScriptValue b = a;
  b.MutableText() += "d";
  EXPECT_EQ(a.text(), "abc");
  EXPECT_EQ(b.text(), "abcd");
  EXPECT_TRUE(a.OwnsText() && b.OwnsText());
  ScriptValue moved = std::move(b);
  EXPECT_TRUE(b.IsEmpty());  // NOLINT: a moved-from value reads as empty
  EXPECT_EQ(moved.text(), "abcd");
  ScriptValue n = ScriptValue::Integer(3);
  EXPECT_EQ(n.text(), "");
  n = moved;
  EXPECT_FALSE(moved.OwnsText());
  EXPECT_TRUE(n == moved);
}

}  // namespace
}  // namespace lum
