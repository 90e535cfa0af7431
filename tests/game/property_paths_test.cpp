// A path read or written again and again resolves its first and last names
// once; these cases change what the names mean between passes and check
// that every pass still reads and writes what a fresh lookup would.
#include <gtest/gtest.h>

#include <functional>

#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "script/pool.h"
#include "scene_harness.h"

namespace lum {
namespace {

const char* kGame = R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Paths", "InitScreen": 1, "SaveErr": true},
  "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall", "X": 3},
    "children": [
      {"class": "TLumImage", "properties": {"Key": 2, "Id": "C1", "X": 10}},
      {"class": "TLumText", "properties": {"Key": 3, "Id": "C2", "X": 20}},
      {"class": "TLumShape", "properties": {"Key": 4, "Id": "C3", "X": 30}},
      {"class": "TLumImage", "properties": {"Key": 5, "Id": "C4", "X": 40}}
    ]}]})";

// Change(N) in scripts calls `change` with N: tests change what names mean
// between passes of a loop this way.
void addChangeRoutine(testing::SceneHarness& game, const std::function<void(int32_t)>& change) {
  InterpreterPool& pool = game.host().services().pool;
  for (int i = 0; i < InterpreterPool::kSize; ++i)
    pool.At(i).AddFunction("CHANGE", [change](TPasCalc&, TVarList& params, TVar&) {
      change(static_cast<int32_t>(params[0].Value.whole()));
      return true;
    });
}

TEST(PropertyPaths, OnePathOverElementsOfDifferentClasses) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(kGame)) << game.error();
  ASSERT_TRUE(game.run(
      "R := 0; E := 0; I := 0; "
      "FOR I := 1 TO 4 DO BEGIN "
      "  CASE I OF 1: E := C1; 2: E := C2; 3: E := C3; 4: E := C4; END; "
      "  R := R * 100 + E.X; E.X := E.X + I; "
      "END; S := C1.X * 1000000 + C2.X * 10000 + C3.X * 100 + C4.X;",
      1))
      << game.errorLog();
  EXPECT_EQ(game.integer("LUMDB.HALL.R"), 10203040);
  EXPECT_EQ(game.integer("LUMDB.HALL.S"), 11223344);
}

TEST(PropertyPaths, AChildNamedLikeASpecialNameTakesOverTheName) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(kGame)) << game.error();
  // SELF.X is the screen's X until a child is named SELF: children come
  // before the special names.
  ASSERT_TRUE(game.run(
      "R := 0; I := 0; "
      "FOR I := 1 TO 3 DO BEGIN R := R * 100 + SELF.X; IF I = 2 THEN C3.ID := 'Self'; END;",
      1))
      << game.errorLog();
  EXPECT_EQ(game.integer("LUMDB.HALL.R"), 30330);
}

TEST(PropertyPaths, PropertyReadsAsOperandsSeeTheSameChanges) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(kGame)) << game.error();
  // SELF.X + I and X - I read the screen's X until a child takes the name
  // SELF (and X then still is the screen's own).
  ASSERT_TRUE(game.run(
      "R := 0; I := 0; FOR I := 1 TO 3 DO BEGIN Q := SELF.X + I; P := X - I; "
      "R := R * 1000 + Q * 10 + P; IF I = 2 THEN C3.ID := 'Self'; END;",
      1))
      << game.errorLog();
  EXPECT_EQ(game.integer("LUMDB.HALL.R"), 42051330);
}

TEST(PropertyPaths, PathsFromElementsWithoutAParent) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(kGame)) << game.error();
  // PARENT of an element with a parent goes by its handle; the root has
  // none, so the same path from the root falls back to the full lookup and
  // fails as it always did.
  ASSERT_TRUE(game.run("R := 0; I := 0; FOR I := 1 TO 2 DO R := R + C1.PARENT.X;", 1));
  EXPECT_EQ(game.integer("LUMDB.HALL.R"), 6);
  EXPECT_FALSE(game.run("R := 0; I := 0; FOR I := 1 TO 2 DO R := R + PARENT.X;", 0));
  EXPECT_NE(game.errorLog().find("Variable not found: PARENT.X"), std::string::npos) << game.errorLog();
}

// Paths to the properties of elements with and without variables of their
// own, and to such a variable, read and written again and again.
TEST(PropertyPaths, ElementsWithAndWithoutVariablesOfTheirOwn) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Own", "InitScreen": 1},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall"},
      "children": [
        {"class": "TLumImage", "properties": {"Key": 2, "Id": "C1", "X": 10, "exInit": "N := 77;"}},
        {"class": "TLumImage", "properties": {"Key": 3, "Id": "C2", "X": 20, "exInit": "Y := 1;"}},
        {"class": "TLumImage", "properties": {"Key": 4, "Id": "C3", "X": 30}}]}]})"))
      << game.error();
  ASSERT_TRUE(game.run(
      "R := 0; I := 0; FOR I := 1 TO 3 DO BEGIN "
      "C1.N := C1.N + 1; C2.X := C2.X + 1; C3.X := C3.X + 1; R := R + C1.N + C2.X + C3.X; END;",
      1))
      << game.errorLog();
  EXPECT_EQ(game.integer("LUMDB.HALL.C1.N"), 80);
  EXPECT_EQ(game.byKey(2)->X(), 10);
  EXPECT_EQ(game.byKey(3)->X(), 23);
  EXPECT_EQ(game.byKey(4)->X(), 33);
  EXPECT_EQ(game.integer("LUMDB.HALL.R"), (78 + 21 + 31) + (79 + 22 + 32) + (80 + 23 + 33));
}

// A script that runs with a list of its own (a show event) on an element
// whose own variables hold an array element: that element is written
// there, a new one stays in the script's list.
TEST(PropertyPaths, ArrayElementsOfAnElementsOwnVariables) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Arrays", "InitScreen": 1},
    "children": [
      {"class": "TLumScreen", "properties": {"Key": 1, "Id": "One"}},
      {"class": "TLumScreen", "properties": {"Key": 2, "Id": "Two", "exInit": "A[2] := 0; B := 0;",
        "exShow": "I := 0; FOR I := 2 TO 3 DO A[I] := I * 10; B := A[3] + 1;"}}]})"))
      << game.error();
  ASSERT_TRUE(game.run("SetScreen(LUMDB.Two);"));
  game.tick(2);
  ASSERT_EQ(game.state().currentScreen, game.byKey(2));
  EXPECT_EQ(game.integer("LUMDB.TWO.A[2]"), 20);
  EXPECT_EQ(game.integer("LUMDB.TWO.B"), 31);
  ScriptValue unused;
  EXPECT_FALSE(game.byKey(2)->GetValue("A[3]", unused));
}

// Elements whose scripts have the same text share what the text's paths
// found; every element still reads and writes its own properties, whatever
// its class.
TEST(PropertyPaths, TheSameScriptOnSeveralElements) {
  testing::SceneHarness game;
  const std::string step =
      R"("exProcess": "I := 0; FOR I := 1 TO 2 DO SELF.X := SELF.X + 1; LUMDB.T := LUMDB.T + SELF.X;")";
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Same", "InitScreen": 1,
      "exInit": "T := 0;"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall", "X": 5, )" + step + R"(},
      "children": [
        {"class": "TLumImage", "properties": {"Key": 2, "Id": "C1", "X": 10, )" + step + R"(}},
        {"class": "TLumText", "properties": {"Key": 3, "Id": "C2", "X": 20, )" + step + R"(}},
        {"class": "TLumImage", "properties": {"Key": 4, "Id": "C3", "X": 30, )" + step + R"(}}]}]})"))
      << game.error();
  const int64_t before = game.integer("LUMDB.T");
  const int32_t x[] = {game.byKey(1)->X(), game.byKey(2)->X(), game.byKey(3)->X(), game.byKey(4)->X()};
  game.tick(3);
  const int32_t moved = game.byKey(1)->X() - x[0];
  ASSERT_GT(moved, 0);
  for (int key = 2; key <= 4; ++key) EXPECT_EQ(game.byKey(key)->X() - x[key - 1], moved) << key;
  // Each run adds the four values after two steps.
  int64_t sum = 0;
  for (int32_t run = 1; run <= moved / 2; ++run)
    for (int32_t start : x) sum += start + 2 * run;
  EXPECT_EQ(game.integer("LUMDB.T") - before, sum);
}

// What a path kept by a loop names changes between passes: an own
// variable of the name appears and goes, a child takes the name SELF and
// gives it back, the root gets a variable named like its property. The
// changes are made by a routine that the test adds for this.
TEST(PropertyPaths, KeptPathsSeeChangesBetweenPasses) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Kept", "InitScreen": 1},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall", "X": 3},
      "children": [{"class": "TLumImage", "properties": {"Key": 2, "Id": "C1", "X": 10}}]}]})"))
      << game.error();
  TLumElement& hall = *game.byKey(1);
  TLumElement& child = *game.byKey(2);
  TLumDB& root = game.root();
  const int32_t rootX = root.X();
  auto change = [&](int32_t pass) {
    switch (pass) {  // the first two passes find the paths
      case 3:
        hall.variables()->AddVar(TVar{"X", ScriptValue::Integer(77)});
        hall.variables()->AddVar(TVar{"Y", ScriptValue::Integer(0)});
        break;
      case 4:
        hall.variables()->Remove("X");
        hall.variables()->Remove("Y");
        break;
      case 5: child.SetId("Self"); break;
      case 6: child.SetId("C1"); break;
      case 7: root.variables()->AddVar(TVar{"X", ScriptValue::Integer(100)}); break;
      default: break;
    }
  };
  addChangeRoutine(game, change);
  ASSERT_TRUE(game.run(
      "I := 0; Q := 0; FOR I := 1 TO 8 DO V[I] := 0; "
      "FOR I := 1 TO 8 DO BEGIN "
      "V[I] := SELF.X; SELF.Y := I; Q := LUMDB.X; LUMDB.X := Q + 1; Change(I); END;",
      1))
      << game.errorLog();
  const int64_t read[] = {3, 3, 3, 77, 3, 10, 3, 3};
  for (int pass = 1; pass <= 8; ++pass)
    EXPECT_EQ(game.integer("LUMDB.HALL.V[" + std::to_string(pass) + "]"), read[pass - 1]) << pass;
  EXPECT_EQ(hall.Y(), 8);
  EXPECT_EQ(child.Y(), 6);
  EXPECT_EQ(root.X(), rootX + 7);
  EXPECT_EQ(game.integer("LUMDB.X"), 101);
}

// NAME := NAME + step (and - step) on a property is done through the
// path's cell alone while it holds; every pass must end as the full way
// would. C1 takes that form on its own properties, C2's are summed the
// other way round, which never does; the step turns into a value past 32
// bits and then a real, and own variables named X appear on both.
TEST(PropertyPaths, UpdatesOfAPropertyByAStepEndAsTheFullWay) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Steps", "InitScreen": 1, "SaveErr": true},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall", "X": 3},
      "children": [
        {"class": "TLumImage", "properties": {"Key": 2, "Id": "C1", "X": 10, "hxTrans": 250}},
        {"class": "TLumImage", "properties": {"Key": 3, "Id": "C2", "X": 10, "hxTrans": 250}},
        {"class": "TLumShape", "properties": {"Key": 4, "Id": "C3", "X": 30}}]}]})"))
      << game.error();
  TLumElement& hall = *game.byKey(1);
  TLumElement& c1 = *game.byKey(2);
  TLumElement& c2 = *game.byKey(3);
  TLumElement& c3 = *game.byKey(4);
  auto change = [&](int32_t pass) {
    if (pass == 2) {
      c1.variables()->AddVar(TVar{"X", ScriptValue::Integer(1000)});
      c2.variables()->AddVar(TVar{"X", ScriptValue::Integer(1000)});
    }
    if (pass == 102) c3.SetId("Self");  // SELF now names the child
  };
  addChangeRoutine(game, change);
  ASSERT_TRUE(game.run(
      "I := 0; D := 3; "
      "FOR I := 1 TO 8 DO BEGIN V1[I] := 0; V2[I] := 0; W1[I] := 0; W2[I] := 0; END; "
      "FOR I := 1 TO 8 DO BEGIN "
      "SELF.HXTRANS := SELF.HXTRANS + D; PARENT.C2.HXTRANS := D + PARENT.C2.HXTRANS; "
      "SELF.Y := SELF.Y + D; PARENT.C2.Y := D + PARENT.C2.Y; "
      "SELF.X := SELF.X - D; PARENT.C2.X := -D + PARENT.C2.X; "
      "V1[I] := SELF.HXTRANS * 1000 + SELF.Y; V2[I] := PARENT.C2.HXTRANS * 1000 + PARENT.C2.Y; "
      "W1[I] := SELF.X; W2[I] := PARENT.C2.X; "
      "Change(I); IF I = 4 THEN D := 2147483647; IF I = 6 THEN D := 0.5; END;",
      2))
      << game.errorLog();
  for (int pass = 1; pass <= 8; ++pass) {
    const std::string at = "[" + std::to_string(pass) + "]";
    EXPECT_EQ(game.text("LUMDB.HALL.C1.V1" + at), game.text("LUMDB.HALL.C1.V2" + at)) << pass;
    EXPECT_EQ(game.text("LUMDB.HALL.C1.W1" + at), game.text("LUMDB.HALL.C1.W2" + at)) << pass;
  }
  EXPECT_EQ(game.integer("LUMDB.HALL.C1.V1[2]"), 0 * 1000 + 6);  // 250 + 6 wraps in a byte
  EXPECT_EQ(game.integer("LUMDB.HALL.C1.W1[1]"), 10 - 3);
  EXPECT_EQ(game.integer("LUMDB.HALL.C1.W1[3]"), 1000 - 3);  // the own variable from pass 3
  EXPECT_EQ(c1.X(), 10 - 2 * 3);
  EXPECT_EQ(c2.X(), 10 - 2 * 3);
  EXPECT_EQ(c1.Y(), c2.Y());

  // SELF comes to name a child between passes.
  ASSERT_TRUE(game.run("J := 0; FOR J := 101 TO 104 DO BEGIN SELF.X := SELF.X + 1; Change(J); END;", 1))
      << game.errorLog();
  EXPECT_EQ(hall.X(), 3 + 2);
  EXPECT_EQ(c3.X(), 30 + 2);
}

}  // namespace
}  // namespace lum
