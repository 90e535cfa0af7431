// Values, names, variable lists and property paths.
#include <gtest/gtest.h>

#include "script/paths.h"
#include "script_harness.h"

namespace lum {
namespace {

using testing::FakeElement;
using testing::Harness;

TEST(ValueKinds, ConversionsFollowTheTypeRules) {
  int32_t i;
  EXPECT_TRUE(ToInt32(ScriptValue::Real(2.5), i));
  EXPECT_EQ(i, 2);  // halves to even
  EXPECT_TRUE(ToInt32(ScriptValue::Real(3.5), i));
  EXPECT_EQ(i, 4);
  EXPECT_TRUE(ToInt32(ScriptValue::Boolean(true), i));
  EXPECT_EQ(i, -1);
  EXPECT_FALSE(ToInt32(ScriptValue::String("12a"), i));
  EXPECT_FALSE(ToInt32(ScriptValue::Real(1e12), i));
  bool b;
  EXPECT_TRUE(ToBoolean(ScriptValue::String("false"), b));
  EXPECT_FALSE(b);
  EXPECT_FALSE(ToBoolean(ScriptValue::String("yes"), b));
  double d;
  EXPECT_FALSE(ToReal(ScriptValue::String("inf"), d));
  EXPECT_EQ(ShortestRealText(0.1), "0.1");
}

TEST(Names, ValidityOfVariableNames) {
  EXPECT_TRUE(IsValidName("A.B"));
  EXPECT_TRUE(IsValidName(".X"));
  EXPECT_TRUE(IsValidName("A[1,-2]"));
  EXPECT_TRUE(IsValidName("\xC0"));
  EXPECT_FALSE(IsValidName("1A"));
  EXPECT_FALSE(IsValidName("A B"));
  EXPECT_FALSE(IsValidName("A#"));
  EXPECT_FALSE(IsValidName("A[X]"));
  EXPECT_FALSE(IsValidName("A[1]2"));
  EXPECT_FALSE(IsValidName(""));
}

TEST(VarList, FirstRecordWinsAndInvalidNamesAreRefused) {
  TVarList list;
  EXPECT_TRUE(list.AddVar(TVar{"X", ScriptValue::Integer(1)}));
  EXPECT_TRUE(list.AddVar(TVar{"X", ScriptValue::Integer(2)}));  // exists: nothing
  EXPECT_EQ(list.size(), 1u);
  EXPECT_FALSE(list.AddVar(TVar{"1A", ScriptValue()}));
  EXPECT_FALSE(list.AddVar(TVar{"A B", ScriptValue()}));
  EXPECT_FALSE(list.AddIfAbsent(TVar{"#", ScriptValue()}));
  list.Append(TVar{"VAR", ScriptValue::Integer(7)});
  list.Append(TVar{"VAR", ScriptValue::Integer(8)});
  TVar found;
  ASSERT_TRUE(list.FindLocal("VAR", found));
  EXPECT_EQ(found.Value.whole(), 7);
  EXPECT_FALSE(list.FindLocal("x", found));  // exact comparison
}

TEST(VarList, IndexKeepsFirstMatchOnLongLists) {
  TVarList list;
  for (int i = 0; i < 40; ++i) list.AddVar(TVar{"V" + std::to_string(i), ScriptValue::Integer(i)});
  list.Append(TVar{"V3", ScriptValue::Integer(99)});
  EXPECT_EQ(list.IndexOf("V3"), 3);
  EXPECT_TRUE(list.Remove("V3"));
  EXPECT_EQ(list.IndexOf("V3"), 39);  // the appended duplicate is now first
  uint32_t hint = 39;
  EXPECT_EQ(list.IndexOfHinted("V10", hint), 9);  // shifted by the removal
  EXPECT_EQ(hint, 9u);
}

TEST(Paths, UnknownNameLogsAndReadsByteZero) {
  Harness h;
  FakeElement root(h.env().elements, "Root", "TLumDB", nullptr, 1);
  FakeElement button(h.env().elements, "Button1", "TLumImage", &root, 2);
  h.env().currentElement = button.Handle();
  h.env().eventLabel = "ms_Down";
  EXPECT_FALSE(h.Run("Y := X;"));
  EXPECT_EQ(h.code(), 3);
  EXPECT_EQ(h.message(), "Variable not found: X");
  ASSERT_GE(h.log().size(), 1u);
  EXPECT_EQ(h.log()[0], "Not var X (in Button1 <TLumImage> ms_Down");
  ScriptValue zero;
  EXPECT_FALSE(ReadPath(h.env(), &button, "X", nullptr, zero));
  EXPECT_EQ(zero.kind(), ValueKind::Byte);
}

TEST(Paths, AssignmentGoesToElementPropertyFirst) {
  Harness h;
  FakeElement e(h.env().elements, "E", "TLumImage", nullptr, 1);
  e.props["X"] = ScriptValue::Integer(0);
  h.env().currentElement = e.Handle();
  EXPECT_TRUE(h.Run("X := 1;"));
  EXPECT_FALSE(h.Has("X"));
  EXPECT_EQ(e.props["X"].whole(), 1);
}

TEST(Paths, GrandparentOfATopChildIsNil) {
  Harness h;
  FakeElement root(h.env().elements, "Root", "TLumDB", nullptr, 1);
  FakeElement child(h.env().elements, "C", "TLumImage", &root, 2);
  root.props["X"] = ScriptValue::Integer(5);
  h.env().currentElement = child.Handle();
  h.env().eventLabel = "Init";
  EXPECT_TRUE(h.Run("A := .X;"));
  EXPECT_EQ(h.Var("A").whole(), 5);
  EXPECT_FALSE(h.Run("B := ..X;"));
  EXPECT_EQ(h.message(), "Variable not found: ..X");
  EXPECT_EQ(h.log().back().rfind("Variable not found", 0), 0u);
  EXPECT_EQ(h.log()[h.log().size() - 2], "Not var NIL ..X (in C <TLumImage> Init");
}

TEST(Paths, DottedNamesWalkChildrenAndVariables) {
  Harness h;
  FakeElement root(h.env().elements, "Root", "TLumDB", nullptr, 1);
  FakeElement screen(h.env().elements, "Screen1", "TLumScreen", &root, 2);
  FakeElement image(h.env().elements, "Img", "TLumImage", &screen, 3);
  image.props["VIS"] = ScriptValue::Integer(1);
  h.env().root = root.Handle();
  h.env().currentElement = image.Handle();
  EXPECT_TRUE(h.Run("A := LUMDB.SCREEN1.IMG.VIS; LUMDB.SCREEN1.IMG.VIS := 0; R := SELF; B := R.VIS;"));
  EXPECT_EQ(h.Var("A").whole(), 1);
  EXPECT_EQ(image.props["VIS"].whole(), 0);
  EXPECT_EQ(h.Var("B").whole(), 0);
  EXPECT_EQ(h.Var("R").kind(), ValueKind::Ref);
}

TEST(Paths, MisspeltDottedTargetBecomesAVariableAndIsLogged) {
  Harness h;
  FakeElement e(h.env().elements, "E", "TLumImage", nullptr, 1);
  h.env().currentElement = e.Handle();
  h.env().eventLabel = "Init";
  EXPECT_TRUE(h.Run("SCREN1.X := 4;"));
  EXPECT_EQ(h.Var("SCREN1.X").whole(), 4);
  ASSERT_EQ(h.log().size(), 1u);
  EXPECT_EQ(h.log()[0], "Add var SCREN1.X (in E <TLumImage> Init");
}

TEST(Handles, StaleHandleReadsAsNil) {
  Harness h;
  auto e = std::make_unique<FakeElement>(h.env().elements, "E", "TLumImage", nullptr, 7);
  const ElementRef ref = e->Handle();
  EXPECT_EQ(h.env().elements.Resolve(ref), e.get());
  e.reset();
  EXPECT_EQ(h.env().elements.Resolve(ref), nullptr);
  FakeElement again(h.env().elements, "F", "TLumImage", nullptr, 8);  // reuses the slot
  EXPECT_NE(again.Handle(), ref);
  EXPECT_EQ(h.env().elements.Resolve(ref), nullptr);
}

TEST(Arrays, IndexExpressionsNameOneVariable) {
  Harness h;
  EXPECT_TRUE(h.Run("A[1+1] := 5; B := A[2]; M[1,2] := 3; N := A[-1 + 3];"));
  EXPECT_TRUE(h.Has("A[2]"));
  EXPECT_EQ(h.Var("B").whole(), 5);
  EXPECT_TRUE(h.Has("M[1,2]"));
  EXPECT_EQ(h.Var("N").whole(), 5);
}

TEST(Arrays, ElementsFoundByIntegerIndexAreTheRecordsOfTheirNames) {
  // Short and long lists, negative indexes, a second dimension, and names
  // not in plain decimal form (reached only by that very name).
  for (int extra : {0, 20}) {
    TVarList list;
    for (int i = 0; i < extra; ++i) list.AddVar(TVar{"V" + std::to_string(i), ScriptValue::Integer(i)});
    list.AddVar(TVar{"A[05]", ScriptValue::Integer(1)});
    EXPECT_EQ(list.IndexOfElement("A", 5), -1);
    EXPECT_EQ(list.IndexOf("A[5]"), -1);
    list.AddVar(TVar{"A[5]", ScriptValue::Integer(2)});
    list.AddVar(TVar{"A[-3]", ScriptValue::Integer(3)});
    list.AddVar(TVar{"A[1,2]", ScriptValue::Integer(4)});
    list.Append(TVar{"A[5]", ScriptValue::Integer(5)});  // a second record: the first wins
    EXPECT_EQ(list.IndexOf("A[05]"), extra);
    EXPECT_EQ(list.IndexOfElement("A", 5), extra + 1);
    EXPECT_EQ(list.IndexOf("A[5]"), extra + 1);
    EXPECT_EQ(list.IndexOfElement("A", -3), extra + 2);
    EXPECT_EQ(list.IndexOf("A[1,2]"), extra + 3);
    EXPECT_EQ(list.IndexOfElement("B", 5), -1);
    EXPECT_TRUE(list.HasArray("A"));
    EXPECT_TRUE(list.Remove("A[5]"));
    EXPECT_EQ(list.IndexOfElement("A", 5), extra + 3);  // the appended one, moved up
    EXPECT_EQ(list.IndexOfElement("A", -3), extra + 1);
  }
  // Through scripts: written, read, counted over; the records keep the
  // names A[1] ... that dumps and GetVar see.
  Harness h;
  EXPECT_TRUE(h.Run("I := 0; S := 0; FOR I := -2 TO 30 DO A[I] := I * 2; "
                    "FOR I := 30 DOWNTO -2 DO S := S + A[I]; A[7] := 'x'; B := A[3 + 4]; "
                    "C := A[-2];"));
  EXPECT_EQ(h.Var("S").whole(), 2 * (30 * 31 / 2 - 3));
  EXPECT_EQ(h.Var("A[7]").text(), "x");
  EXPECT_EQ(h.Var("B").text(), "x");
  EXPECT_EQ(h.Var("C").whole(), -4);
  EXPECT_EQ(h.calc().Variables()[2].Name, "A[-2]");
  Harness g;  // a fresh list: A[0] was written above
  EXPECT_FALSE(g.Run("I := 0; A[1] := 1; X := A[I];"));
  EXPECT_EQ(g.message(), "Variable not found: A[0]");
  EXPECT_FALSE(g.Run("A[1 := 1;"));
  EXPECT_EQ(g.code(), 21);
}

// Filling an array keeps where its index is; copies, assignments, removals,
// clearing and a plain record of the base's name must all be seen.
TEST(Arrays, FillingKeepsUpWithChangesOfTheList) {
  for (int extra : {0, 20}) {
    TVarList list;
    for (int i = 0; i < extra; ++i) list.AddVar(TVar{"V" + std::to_string(i), ScriptValue::Integer(i)});
    bool plain = true;
    EXPECT_EQ(list.ElementForWrite("A", 1, plain), -1);
    EXPECT_FALSE(plain);
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(list.AddAbsentElement("A", i, ScriptValue::Integer(i)));
    EXPECT_EQ(list.ElementForWrite("A", 10, plain), extra + 9);
    EXPECT_EQ(list[static_cast<size_t>(extra + 9)].Name, "A[10]");
    EXPECT_FALSE(list.AddAbsentElement("A[1]", 2, ScriptValue::Integer(0)));
    EXPECT_FALSE(list.AddAbsentElement("1A", 2, ScriptValue::Integer(0)));

    TVarList copy = list;
    ASSERT_TRUE(copy.AddAbsentElement("A", 11, ScriptValue::Integer(11)));
    EXPECT_EQ(copy.ElementForWrite("A", 11, plain), extra + 10);
    EXPECT_EQ(list.ElementForWrite("A", 11, plain), -1);
    copy = list;
    EXPECT_EQ(copy.ElementForWrite("A", 11, plain), -1);
    ASSERT_TRUE(copy.AddAbsentElement("A", 12, ScriptValue::Integer(12)));
    EXPECT_EQ(copy.IndexOfElement("A", 12), extra + 10);
    TVarList other;
    ASSERT_TRUE(other.AddAbsentElement("B", 1, ScriptValue::Integer(1)));
    copy = other;
    EXPECT_EQ(copy.ElementForWrite("A", 1, plain), -1);

    EXPECT_TRUE(list.Remove("A[1]"));
    EXPECT_EQ(list.ElementForWrite("A", 2, plain), extra);
    ASSERT_TRUE(list.AddAbsentElement("A", 1, ScriptValue::Integer(1)));
    EXPECT_EQ(list.IndexOfElement("A", 1), extra + 9);

    list.Append(TVar{"A", ScriptValue::Integer(0)});
    EXPECT_EQ(list.ElementForWrite("A", 1, plain), -1);
    EXPECT_TRUE(plain);

    list.ClearVars();
    EXPECT_EQ(list.ElementForWrite("A", 1, plain), -1);
    EXPECT_FALSE(plain);
    ASSERT_TRUE(list.AddAbsentElement("A", 1, ScriptValue::Integer(1)));
    ASSERT_TRUE(list.AddAbsentElement("A", 2, ScriptValue::Integer(2)));
    EXPECT_EQ(list.ElementForWrite("A", 2, plain), 1);
  }
}

TEST(Arrays, ElementsAddedOneAfterAnotherAreNamedInPlainDecimal) {
  // Across sign changes and new digits, jumps, the ends of the integer
  // range, and another array filled in between.
  std::vector<std::pair<std::string, int32_t>> added;
  for (int32_t i = -12; i <= 1002; ++i) added.emplace_back("A", i);
  for (int32_t i : {9, 10, 11, 99, 100, 101}) added.emplace_back("LONGER_NAME", i);
  for (int32_t i : {1003, 1999, 2000, 2001, 2147483646, 2147483647, INT32_MIN, INT32_MIN + 1})
    added.emplace_back("A", i);
  TVarList list;
  for (const auto& [base, index] : added) {
    bool plain = true;
    ASSERT_EQ(list.ElementForWrite(base, index, plain), -1);
    ASSERT_TRUE(list.AddAbsentElement(base, index, ScriptValue::Integer(index)));
  }
  ASSERT_EQ(list.size(), added.size());
  for (size_t i = 0; i < added.size(); ++i) {
    const std::string name = added[i].first + "[" + std::to_string(added[i].second) + "]";
    EXPECT_EQ(list[i].Name, name);
    EXPECT_EQ(list.IndexOf(name), static_cast<int>(i));
    EXPECT_EQ(list.IndexOfElement(added[i].first, added[i].second), static_cast<int>(i));
  }
}

TEST(Arrays, PlainAndArrayNamesCollide) {
  Harness h;
  EXPECT_FALSE(h.Run("A[1] := 1; B := A;"));
  EXPECT_EQ(h.message(), "Array with same name exist : A");
  EXPECT_EQ(h.code(), 24);
  Harness g;
  EXPECT_FALSE(g.Run("A := 'xy'; A[1][2] := 'z';"));
  EXPECT_EQ(g.message(), "Variable with same name exist : A");
}

TEST(Case, LowerCaseNamesAreNotReachedByScripts) {
  Harness h;
  h.calc().Variables().AddVar(TVar{"x", ScriptValue::Integer(3)});
  EXPECT_FALSE(h.Run("Y := x;"));
  EXPECT_EQ(h.message(), "Variable not found: X");
}

}  // namespace
}  // namespace lum
