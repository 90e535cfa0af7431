// Every puzzle routine: registered last in its fixed order, and a call with
// a missing argument, a value that is no element or an element of another
// kind succeeds and changes nothing.
#include <string>

#include "platform/ascii_case.h"
#include "puzzle_game.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "script/pas_calc.h"
#include "script/pool.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::puzzleRoutineNames;
using testing::SceneHarness;

TEST(PuzzleRoutines, AreRegisteredAfterEveryOtherRoutineInTheirOrder) {
  SceneHarness game;
  ASSERT_TRUE(game.play(gameOf({}))) << game.error();
  const TFuncList& funcs = game.host().services().pool.At(0).Functions();
  const auto& names = puzzleRoutineNames();
  ASSERT_GE(funcs.size(), names.size());
  const size_t first = funcs.size() - names.size();
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(funcs[first + i].Name, upperAscii(names[i])) << i;
  }
}

// Which routines take an image (a screen is the wrong kind for them) and
// which a screen (an image is the wrong kind).
bool takesAnyElement(const std::string& name) {
  return name == "MagicLev6_2" || name.find("Log_") != std::string::npos ||
         name == "BrambleGIListUpdate" || name == "BrambleLevel2LogPr";
}

TEST(PuzzleRoutines, WrongArgumentsChangeNothingAndSucceed) {
  SceneHarness game;
  testing::writeSolid(game, "dot.png", 20, 20);
  const std::string json = gameOf(
      {el("TLumImage", R"("Key": 10, "Id": "P", "Vis": true, "imImage": "dot.png", "exInit": "MOUSEINDOWN := 1; MOVING := 1; OBJ := 0; R := 7;")",
          {el("TLumImage", R"("Id": "Row", "Vis": true)", {el("TLumImage", R"("Tag": "0101", "Angle": 10)")})})},
      {el("TLumScreen", R"("Key": 2, "Id": "Level1", "exInit": "ENDCN := 9; ENDAN := 3;")",
          {el("TLumImage", R"("Id": "Krist", "Vis": true)")})});
  ASSERT_TRUE(game.play(json)) << game.error();
  const OrderedJson before = game.dump();
  for (const std::string& name : puzzleRoutineNames()) {
    std::string wrongKind = name == "MagicLevProg" ? "LUMDB.S.P" : "LUMDB.S";
    std::vector<std::string> calls{name + ";", name + "(5);", name + "('LUMDB.S.P');",
                                   name + "(NIL);", name + "(LUMDB.S.P.R);"};
    if (!takesAnyElement(name)) calls.push_back(name + "(" + wrongKind + ");");
    for (const std::string& call : calls) {
      EXPECT_TRUE(game.run("R := 7; " + call + " R := R + 1;", 10)) << call;
      EXPECT_EQ(game.integer("LUMDB.S.P.R"), 8) << call;  // the script ran on
      ASSERT_TRUE(game.run("R := 7;", 10));
      EXPECT_EQ(game.dump(), before) << call;
    }
  }
  EXPECT_EQ(game.root().stars().liveCount(), 0u);
}

}  // namespace
}  // namespace lum
