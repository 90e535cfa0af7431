// The tower puzzles played step by step: the lift, the carry, the landing
// rule in both directions and the solved state.
#include <string>

#include "puzzle_game.h"
#include "scene/element.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

// Disks: D1 60 wide, D2 and D3 40, D4 20, all 10 high, standing on a base
// 20 high at y 400. The puzzle element H (key 10) holds the state.
class Towers : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::writeSolid(game_, "d60.png", 60, 10);
    testing::writeSolid(game_, "d40.png", 40, 10);
    testing::writeSolid(game_, "d20.png", 20, 10);
    testing::writeSolid(game_, "base.png", 400, 20);
    auto disk = [](int key, const std::string& id, const std::string& picture) {
      return el("TLumImage", R"("Key": )" + std::to_string(key) + R"(, "Id": ")" + id +
                                 R"(", "Vis": true, "imImage": ")" + picture + R"(")");
    };
    const std::string game = gameOf(
        {el("TLumImage", R"("Key": 10, "Id": "H", "Vis": true, "exInit": "OBJ := 0; L := PARENT.CFG; V := 0; CX := 0; T := 0; TY := 0; S1 := PARENT.B; LL := PARENT.WIN;")"),
         el("TLumImage", R"("Key": 11, "Id": "Cfg", "exInit": "L := PARENT.D;")"),
         el("TLumImage", R"("Key": 12, "Id": "D", "Vis": true)",
            {disk(21, "D1", "d60.png"), disk(22, "D2", "d40.png"), disk(23, "D3", "d40.png"),
             disk(24, "D4", "d20.png")}),
         el("TLumImage", R"("Key": 13, "Id": "B", "Vis": true, "imImage": "base.png", "rY": 400)"),
         el("TLumImage", R"("Key": 14, "Id": "Win", "Vis": false)")},
        {el("TLumScreen", R"("Key": 2, "Id": "LogInterface", "exInit": "WIN := 0;")"),
         el("TLumScreen", R"("Key": 3, "Id": "Level7")",
            {el("TLumImage", R"("Key": 30, "Id": "HanoyLog", "Vis": true)")})});
    ASSERT_TRUE(game_.play(game)) << game_.error();
    ASSERT_EQ(game_.integer("LUMDB.S.D.D1.SZX"), 60);
  }

  // Places disk n at (x, y).
  void place(int n, int x, int y) {
    ASSERT_TRUE(game_.run("MoveTo(LUMDB.S.D.D" + std::to_string(n) + ", " + std::to_string(x) +
                          ", " + std::to_string(y) + ");"));
  }
  // Starts moving disk n to the column at x.
  void pick(int n, int cx) {
    ASSERT_TRUE(game_.run("OBJ := PARENT.D.D" + std::to_string(n) + "; CX := " +
                              std::to_string(cx) + "; V := 1; T := 1;",
                          10));
  }
  void step(const std::string& routine = "MagicLev7Log") {
    ASSERT_TRUE(game_.run(routine + "(SELF);", 10));
  }
  int64_t var(const std::string& name) { return game_.integer("LUMDB.S.H." + name); }
  int64_t diskX(int n) { return game_.integer("LUMDB.S.D.D" + std::to_string(n) + ".X"); }
  int64_t diskY(int n) { return game_.integer("LUMDB.S.D.D" + std::to_string(n) + ".Y"); }
  // Steps until the move ends (OBJ 0) or is refused (T back to 0 after 3).
  void stepUntilSettled(const std::string& routine = "MagicLev7Log") {
    for (int i = 0; i < 400; ++i) {
      const int64_t t = var("T");
      step(routine);
      if (var("OBJ") == 0 || (t == 3 && var("T") == 0)) return;
    }
    FAIL() << "the move never settled";
  }

  SceneHarness game_;
};

TEST_F(Towers, NothingMovesWithoutADisk) {
  place(4, 100, 360);
  ASSERT_TRUE(game_.run("CX := 500; V := 1; T := 1;", 10));
  for (int i = 0; i < 5; ++i) step();
  EXPECT_EQ(diskX(4), 100);
  EXPECT_EQ(diskY(4), 360);
  EXPECT_EQ(var("V"), 1);
  EXPECT_EQ(var("T"), 1);
}

TEST_F(Towers, ADiskIsLiftedCarriedHighUpAndLetDownOntoTheBase) {
  place(4, 100, 360);
  pick(4, 500);
  step();
  EXPECT_EQ(diskY(4), 350);  // lifted 10 a step
  int64_t lowest = 0, highest = 1000;
  bool sawLanding = false;
  for (int i = 0; i < 400 && var("OBJ") != 0; ++i) {
    const int64_t x = diskX(4);
    step();
    const int64_t y = diskY(4);  // the lift comes before the carry in a step
    if (diskX(4) != x) {
      EXPECT_LE(y, 150) << "carried sideways while low";
    }
    if (var("V") == 2 || var("V") == 3) {
      lowest = std::max(lowest, y);
      highest = std::min(highest, y);
    }
    sawLanding = sawLanding || var("T") == 4;
  }
  EXPECT_TRUE(sawLanding);
  EXPECT_EQ(highest, 100);  // bobbing between 100 and 115 while carried
  EXPECT_EQ(lowest, 115);
  // 400 (base top at 20 + 400 - 20) less 2 and the disk's height / 1.276.
  EXPECT_EQ(diskX(4), 500);
  EXPECT_EQ(diskY(4), 390);
  EXPECT_EQ(var("T"), 0);
  EXPECT_EQ(var("TY"), 390);
  EXPECT_EQ(game_.integer("LUMDB.LOGINTERFACE.WIN"), 0);  // others are still on the left
}

TEST_F(Towers, ANarrowerDiskBelowRefusesTheMoveAndTheDiskRisesAgain) {
  place(4, 500, 390);
  place(2, 100, 360);
  pick(2, 500);
  stepUntilSettled();
  EXPECT_EQ(var("T"), 0);
  EXPECT_EQ(var("V"), 1);
  EXPECT_NE(var("OBJ"), 0);  // still held
  const int64_t y = diskY(2);
  step();
  EXPECT_EQ(diskY(2), y - 10);  // rising again
}

TEST_F(Towers, DisksOfEqualWidthStack) {
  place(3, 500, 390);
  place(2, 100, 360);
  pick(2, 500);
  stepUntilSettled();
  EXPECT_EQ(var("OBJ"), 0);
  EXPECT_EQ(diskX(2), 500);
  EXPECT_EQ(diskY(2), 380);  // on top of D3
}

TEST_F(Towers, SolvedOnlyWhenEveryDiskIsAcross) {
  place(1, 499, 390);
  place(2, 600, 380);
  place(3, 600, 370);
  place(4, 100, 360);
  pick(4, 500);
  stepUntilSettled();
  EXPECT_EQ(var("OBJ"), 0);
  EXPECT_EQ(game_.integer("LUMDB.LOGINTERFACE.WIN"), 0);
  EXPECT_FALSE(game_.byKey(14)->Vis());

  place(1, 700, 390);
  place(4, 100, 360);
  pick(4, 500);
  stepUntilSettled();
  EXPECT_EQ(game_.integer("LUMDB.LOGINTERFACE.WIN"), 1);
  EXPECT_TRUE(game_.byKey(14)->Vis());
  EXPECT_FALSE(game_.byKey(30)->Vis());
}

TEST_F(Towers, TheVariantLiftsHigherAndRefusesAWiderDiskBelow) {
  place(4, 100, 360);
  pick(4, 300);
  for (int i = 0; i < 37; ++i) step("MagicLev15Log");
  EXPECT_EQ(diskY(4), 0);  // lifted to 0 rather than 100
  EXPECT_EQ(var("V"), 2);

  place(2, 500, 390);
  place(4, 100, 360);
  pick(4, 500);
  stepUntilSettled("MagicLev15Log");
  EXPECT_EQ(var("T"), 0);
  EXPECT_EQ(var("V"), 1);  // refused: a wider disk lies in the column

  place(4, 600, 390);
  place(2, 100, 360);
  pick(2, 600);
  stepUntilSettled("MagicLev15Log");
  EXPECT_EQ(var("OBJ"), 0);  // a narrower disk below is fine here
  EXPECT_EQ(diskX(2), 600);
  place(1, 450, 0);
  place(3, 450, 0);
  place(4, 600, 390);
  place(2, 100, 360);
  pick(2, 600);
  stepUntilSettled("MagicLev15Log");
  EXPECT_EQ(game_.integer("LUMDB.LOGINTERFACE.WIN"), 1);  // 450 is across for the variant
}

}  // namespace
}  // namespace lum
