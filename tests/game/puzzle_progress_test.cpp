// Progress of a level: what it can yield, what has been collected, the bar
// that shows it with its completion animation, and the map's total.
#include <string>

#include "puzzle_game.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

// Level1 (key 2): a crystal, a FIND item with three things, an ACT item and
// a container with an ACT and a LOG item: 3 + 3 + 5 + 5 + 10 = 26.
// Level1Log (key 3) is no level; Level2 (key 4) holds one crystal.
// On the first screen: the panel (SCR = Level1) with the bar, PRB, PRF and
// the animation PRAN; and the map bar.
std::string progressGame() {
  const std::string vis = R"("Vis": true)";
  return gameOf(
      {el("TLumImage", R"("Key": 10, "Id": "Panel", "exInit": "SCR := LUMDB.LEVEL1;")",
          {el("TLumImage", R"("Key": 11, "Id": "Bar", "Vis": true)"),
           el("TLumImage", R"("Key": 12, "Id": "PRB", "Vis": false)"),
           el("TLumImage", R"("Key": 13, "Id": "PRF", "Vis": false)"),
           el("TLumAnim", R"("Key": 14, "Id": "PRAN", "Vis": false, "exStart": "LUMDB.STARTS := LUMDB.STARTS + 1;")")}),
       el("TLumImage", R"("Key": 15, "Id": "Map")")},
      {el("TLumScreen",
          R"("Key": 2, "Id": "Level1", "exInit": "ENDCN := 0; ENDAN := 5; A[1] := 7; A[2] := 7; LG[1] := 7;")",
          {el("TLumImage", R"("Key": 20, "Id": "Krist", "Vis": true)"),
           el("TLumImage", R"("Key": 21, "Tag": "FIND", "Vis": true)",
              {el("TLumImage", R"("Key": 22, "Vis": true)"), el("TLumImage", R"("Key": 23, "Vis": true)"),
               el("TLumImage", R"("Key": 24, "Vis": true)")}),
           el("TLumImage", R"("Key": 25, "Tag": "ACT", "Vis": true)"),
           el("TLumImage", R"("Key": 26, "Vis": false)",
              {el("TLumImage", R"("Key": 27, "Tag": "ACT", "Vis": true)"),
               el("TLumImage", R"("Key": 28, "Tag": "LOG", "Vis": true)")}),
           el("TLumText", R"("Key": 29, "Id": "Krist", "Vis": true)")}),
       el("TLumScreen", R"("Key": 3, "Id": "Level1Log", "exInit": "ENDCN := 100;")"),
       el("TLumScreen", R"("Key": 4, "Id": "Level2", "exInit": "ENDCN := 0; ENDAN := 0;")",
          {el("TLumImage", R"("Key": 40, "Id": "Krist", "Vis": false)")})},
      R"("exInit": "STARTS := 0;")");
}

class LevelProgress : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(game_.play(progressGame())) << game_.error(); }
  int64_t level(const std::string& name) { return game_.integer("LUMDB.LEVEL1." + name); }
  double scale(const std::string& bar) {
    ScriptValue v = game_.value(bar + ".SCALEX");
    return v.real();
  }
  void hide(int key) { game_.byKey(key)->SetVis(false); }
  SceneHarness game_;
};

TEST_F(LevelProgress, TheLevelCountsWhatItCanYieldAndWhichItemsAreInSight) {
  ASSERT_TRUE(game_.run("MagicLevProg(LUMDB.LEVEL1);"));
  EXPECT_EQ(level("ENDCN"), 26);
  EXPECT_EQ(level("ENDAN"), 0);
  EXPECT_EQ(level("A[1]"), 1);
  EXPECT_EQ(level("A[2]"), 0);  // its container is hidden
  EXPECT_EQ(level("LG[1]"), 0);
}

TEST_F(LevelProgress, TheBarShowsTheCollectedShareAndStartsTheAnimationOnceWhenFull) {
  ASSERT_TRUE(game_.run("MagicLevProg(LUMDB.LEVEL1);"));
  ASSERT_TRUE(game_.run("MagicGIProg(LUMDB.S.PANEL.BAR);"));
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.PANEL.BAR"), 0.0);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.PRB.VIS"), 1);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.PRF.VIS"), 1);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.BAR.HXTRANS"), 255);

  // The crystal (3), one thing found (1), one faded (1), the ACT item (5).
  hide(20);
  hide(22);
  ASSERT_TRUE(game_.run("LUMDB.LEVEL1.CHILD2.CHILD2.HXTRANS := 100;"));
  hide(25);
  ASSERT_TRUE(game_.run("MagicGIProg(LUMDB.S.PANEL.BAR);"));
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.PANEL.BAR"), 10.0 / 26);

  // The container comes into sight: its items are seen, not yet scored.
  game_.byKey(26)->SetVis(true);
  ASSERT_TRUE(game_.run("MagicGIProg(LUMDB.S.PANEL.BAR);"));
  EXPECT_EQ(level("A[2]"), 1);
  EXPECT_EQ(level("LG[1]"), 1);
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.PANEL.BAR"), 10.0 / 26);
  hide(23);
  hide(24);
  hide(27);
  hide(28);
  EXPECT_EQ(game_.integer("LUMDB.STARTS"), 0);
  ASSERT_TRUE(game_.run("MagicGIProg(LUMDB.S.PANEL.BAR);"));
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.PANEL.BAR"), 1.0);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.PRB.VIS"), 0);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.BAR.HXTRANS"), 0);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.PRAN.VIS"), 1);
  EXPECT_EQ(game_.integer("LUMDB.S.PANEL.PRAN.ACTIVE"), 1);
  EXPECT_EQ(game_.integer("LUMDB.STARTS"), 1);
  EXPECT_EQ(level("ENDAN"), 1);
  ASSERT_TRUE(game_.run("MagicGIProg(LUMDB.S.PANEL.BAR);"));
  EXPECT_EQ(game_.integer("LUMDB.STARTS"), 1);  // once per level
}

TEST_F(LevelProgress, TheMapAddsUpEveryLevelButNotTheLogScreens) {
  ASSERT_TRUE(game_.run("MagicLevProg(LUMDB.LEVEL1); MagicLevProg(LUMDB.LEVEL2);"));
  EXPECT_EQ(game_.integer("LUMDB.LEVEL2.ENDCN"), 3);
  ASSERT_TRUE(game_.run("MagicMapProg(LUMDB.S.MAP);"));
  // Level2's crystal is gone already: 3 of 26 + 3.
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.MAP"), 3.0 / 29);
  hide(20);
  ASSERT_TRUE(game_.run("MagicMapProg(LUMDB.S.MAP);"));
  EXPECT_DOUBLE_EQ(scale("LUMDB.S.MAP"), 6.0 / 29);
}

}  // namespace
}  // namespace lum
