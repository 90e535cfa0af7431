// Small games played in-process: presses, keys and ticks reach the scripts,
// frames match their golden images, seeds and pauses behave.
#include <gtest/gtest.h>

#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/game_loop.h"
#include "scene/runtime.h"
#include "scene_harness.h"

namespace lum {
namespace {

using testing::SceneHarness;

const char* kTwoScreens = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Tiny", "InitScreen": 1, "exInit": "Presses := 0; LastKey := 0; Ticks := 0;",
                 "exKeyDown": "LastKey := KEYDOWNED;"},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "One", "exProcess": "LUMDB.Ticks := LUMDB.Ticks + 1;"},
     "children": [
       {"class": "TLumShape", "properties": {"Key": 2, "Id": "Button", "rX": 100, "rY": 100,
          "SizeX": 50, "SizeY": 50, "hxColor": 255, "Order": 1,
          "exMouseDown": "LUMDB.Presses := LUMDB.Presses + 1; SetScreen(LUMDB.Two);"}},
       {"class": "TLumShape", "properties": {"Key": 5, "Id": "Disc", "rX": 300, "rY": 200,
          "SizeX": 120, "SizeY": 80, "hxColor": 16744448, "ShapeType": "stCircle", "Par1": 30,
          "Par2": 300, "Par3": 1.5, "Order": 2}}
     ]},
    {"class": "TLumScreen", "properties": {"Key": 3, "Id": "Two", "exInit": "Shown := 0;", "exShow": "Shown := 1;"},
     "children": [
       {"class": "TLumShape", "properties": {"Key": 4, "rX": 0, "rY": 0, "SizeX": 1024,
          "SizeY": 768, "hxColor": 65280}}
     ]}
  ]})";

TEST(SceneHarness, APressBesideAButtonReachesItsScriptAndChangesTheScreen) {
  SceneHarness game;
  ASSERT_TRUE(game.play(kTwoScreens)) << game.error();
  EXPECT_EQ(game.state().currentScreen, game.byKey(1));
  EXPECT_EQ(game.compareWithGolden("two-screens-first"), "");
  game.tick(5);
  EXPECT_EQ(game.integer("LUMDB.TICKS"), 5);
  // Two pixels beside the button: the press probes find it.
  game.press(152, 120);
  game.release(152, 120);
  EXPECT_EQ(game.integer("LUMDB.PRESSES"), 1);
  EXPECT_TRUE(game.state().frame.LoadingPhase);
  game.tick(2);  // the loading phase ends on the next tick
  EXPECT_FALSE(game.state().frame.LoadingPhase);
  EXPECT_EQ(game.state().currentScreen, game.byKey(3));
  EXPECT_EQ(game.integer("LUMDB.TWO.SHOWN"), 1);
  EXPECT_EQ(game.pixel(500, 400) & 0xFFFFFFu, 0x00FF00u);
  game.key(65);
  EXPECT_EQ(game.integer("LUMDB.LASTKEY"), 65);
  // The dump carries every element's variables.
  const OrderedJson dump = game.dump();
  EXPECT_EQ(dump["vars"][0][0], "PRESSES");
  EXPECT_EQ(dump["vars"][0][2], "1");
}

TEST(SceneHarness, APressFarFromTheButtonReachesNothing) {
  SceneHarness game;
  ASSERT_TRUE(game.play(kTwoScreens)) << game.error();
  game.click(155, 120);  // five pixels away: beyond every probe
  EXPECT_EQ(game.integer("LUMDB.PRESSES"), 0);
  EXPECT_FALSE(game.state().frame.LoadingPhase);
}

TEST(SceneHarness, AnInactiveGameRunsNoTicksAndTakesNoHits) {
  SceneHarness game;
  ASSERT_TRUE(game.play(kTwoScreens)) << game.error();
  game.tick(3);
  game.activate(false);
  game.tick(10);
  EXPECT_EQ(game.integer("LUMDB.TICKS"), 3);
  game.move(120, 120);
  EXPECT_EQ(game.state().input.underCursor, nullptr);
  game.activate(true);
  game.tick(1);
  EXPECT_EQ(game.integer("LUMDB.TICKS"), 4);
  game.move(120, 120);
  EXPECT_EQ(game.state().input.underCursor, game.byKey(2));
}

TEST(SceneHarness, TheSeedDecidesEveryRandomNumber) {
  const char* game = R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1,
      "exInit": "A := Random(1000000); B := Random(1000000); C := Random(6);"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1}}]})";
  auto numbers = [&](uint64_t seed) {
    SceneHarness h;
    testing::HarnessOptions options;
    options.seed = seed;
    EXPECT_TRUE(h.play(game, options)) << h.error();
    return std::vector<int64_t>{h.integer("LUMDB.A"), h.integer("LUMDB.B"), h.integer("LUMDB.C")};
  };
  EXPECT_EQ(numbers(7), numbers(7));
  EXPECT_NE(numbers(7), numbers(8));
  const std::vector<int64_t> first = numbers(0);
  EXPECT_GE(first[2], 0);
  EXPECT_LT(first[2], 6);
}

TEST(SceneHarness, AScriptAskingToEndTheGameStopsTheTicks) {
  SceneHarness game;
  ASSERT_TRUE(game.play(kTwoScreens)) << game.error();
  ASSERT_TRUE(game.run("ExitGame;"));
  EXPECT_TRUE(game.host().closing());
  game.tick(4);
  EXPECT_EQ(game.integer("LUMDB.TICKS"), 0);
}

}  // namespace
}  // namespace lum
