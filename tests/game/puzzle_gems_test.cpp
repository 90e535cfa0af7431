// Falling gems and the labelling of equal groups on the 9 x 9 board.
#include <string>
#include <vector>

#include "puzzle_game.h"
#include "scene/image.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

TLumImage& imageOf(SceneHarness& game, int key) {
  return *dynamic_cast<TLumImage*>(game.byKey(key));
}

// ---- Group labels ----

// Rows L1 ... L9 of 9 cells (key 100 + 9 r + c) in a checkerboard of frames
// 0 and 1, so that no two neighbours are equal; G (key 90) is labelled.
std::string board(const std::vector<std::pair<int, int>>& frames) {
  std::vector<std::string> rows;
  for (int r = 0; r < 9; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 9; ++c) {
      int frame = (r + c) % 2;
      for (auto [index, f] : frames) {
        if (index == r * 9 + c) frame = f;
      }
      cells.push_back(el("TLumImage", R"("Key": )" + std::to_string(100 + r * 9 + c) +
                                          R"(, "Tag": "old", "Anim": )" + std::to_string(frame)));
    }
    rows.push_back(el("TLumImage", R"("Id": "L)" + std::to_string(r + 1) + R"(")", cells));
  }
  rows.push_back(el("TLumImage", R"("Key": 90, "Id": "G", "exInit": "MMX := 0; MOVED := 0;", "exMouseMove": "MOVED := MMX;")"));
  return gameOf(rows);
}

TEST(GroupLabels, PairsAndLonersGetXAndALineOfThreeKeepsOneLabel) {
  SceneHarness game;
  // A pair at (0,0)-(0,1), a row of three at (4,2)-(4,4), a column of three
  // at (6,7)-(8,7), and a marked cell (frame 6) at (2,2) that goes back to 0.
  const std::string json = board({{0, 5}, {1, 5}, {38, 3}, {39, 3}, {40, 3},
                               {61, 4}, {70, 4}, {79, 4}, {20, 6}});
  ASSERT_TRUE(game.play(json))
      << game.error();
  ASSERT_TRUE(game.run("MagicLev6_2(LUMDB.S.G);"));
  auto tag = [&](int r, int c) { return game.byKey(100 + r * 9 + c)->Tag; };
  EXPECT_EQ(tag(0, 0), "x");
  EXPECT_EQ(tag(0, 1), "x");
  EXPECT_EQ(tag(4, 2), "22");  // the first cell's index, row + column * 9
  EXPECT_EQ(tag(4, 3), "22");
  EXPECT_EQ(tag(4, 4), "22");
  EXPECT_EQ(tag(6, 7), "69");
  EXPECT_EQ(tag(7, 7), "69");
  EXPECT_EQ(tag(8, 7), "69");
  int loners = 0;
  for (int i = 0; i < 81; ++i) loners += game.byKey(100 + i)->Tag == "x";
  EXPECT_EQ(loners, 75);
  EXPECT_EQ(imageOf(game, 120).Anim, 0);
  EXPECT_EQ(game.integer("LUMDB.S.G.MMX"), -1);
  EXPECT_EQ(game.integer("LUMDB.S.G.MOVED"), -1);  // its mouse-move script ran
}

TEST(GroupLabels, AnLShapeMergesIntoTheLargerLabel) {
  // (1,1), (1,2) and (2,2) equal: one group of three.
  SceneHarness other;
  const std::string json = board({{10, 3}, {19, 3}, {20, 3}});
  ASSERT_TRUE(other.play(json)) << other.error();
  ASSERT_TRUE(other.run("MagicLev6_2(LUMDB.S.G);"));
  const std::string label = other.byKey(110)->Tag;
  EXPECT_NE(label, "x");
  EXPECT_EQ(other.byKey(119)->Tag, label);
  EXPECT_EQ(other.byKey(120)->Tag, label);
}

// ---- Falling gems ----

// Board (key 40, COLS 4) holds the column C (key 50, Tag "1") and the
// bonus flag B1; cell n (key 60 + n) has a hidden first child and a marker
// (key 70 + n). Cells are listed from the bottom up.
std::string column(const std::vector<std::string>& cellProps, const std::string& routineBoard = "") {
  std::vector<std::string> cells;
  for (size_t n = 0; n < cellProps.size(); ++n) {
    cells.push_back(el("TLumImage", R"("Key": )" + std::to_string(60 + n) + ", " + cellProps[n],
                       {el("TLumImage", R"("Vis": false)"),
                        el("TLumImage", R"("Key": )" + std::to_string(70 + n))}));
  }
  const std::string boardEl = el(
      "TLumImage", R"("Key": 40, "Id": "Board", "exInit": "COLS := 4; MOVING := 0;")",
      {el("TLumImage", R"("Key": 50, "Id": "C", "Tag": "1", "exInit": "MOVING := 0;")", cells),
       el("TLumImage", R"("Key": 41, "Id": "B1", "Vis": false)")});
  if (routineBoard.empty()) return gameOf({boardEl});
  return gameOf({el("TLumImage", R"("Key": 39, "Id": "Outer", "exInit": )" + routineBoard, {boardEl})});
}

TEST(FallingGems, MarkersFadeBy50AndStopAtTheEnds) {
  SceneHarness game;
  const std::string json = column({R"("rY": 400, "hxTrans": 255)", R"("rY": 350, "hxTrans": 255)"});
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.BOARD.C.CHILD2.CHILD2.TAG := '*'; LUMDB.S.BOARD.C.CHILD2.CHILD2.HXTRANS := 230;"));
  std::vector<int64_t> fading;
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
    fading.push_back(game.integer("LUMDB.S.BOARD.C.CHILD1.CHILD2.HXTRANS"));
  }
  // From 255 down by 50, held at 0 rather than wrapping round.
  EXPECT_EQ(fading, (std::vector<int64_t>{205, 155, 105, 55, 5, 0, 0}));
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD2.CHILD2.HXTRANS"), 255);  // held at 255
  // Without MOVING nothing falls.
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD2.Y"), 350);
}

TEST(FallingGems, CellsFallUntilTheyRestOnTheCellBelow) {
  SceneHarness game;
  const std::string json = column({R"("rY": 400, "hxTrans": 255)", R"("rY": 350, "hxTrans": 255)",
                                R"("rY": 200, "hxTrans": 255)"});
  ASSERT_TRUE(game.play(json))
      << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.BOARD.C.MOVING := 1;"));
  ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD1.Y"), 400);  // at the row limit
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD2.Y"), 350);  // resting 50 above the first
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD3.Y"), 210);
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.MOVING"), 1);
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.MOVING"), 1);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.CHILD3.Y"), 300);
  // Once nothing moves, MOVING stays 0 and later calls change nothing.
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.C.MOVING"), 0);
}

TEST(FallingGems, AnEmptyCellIsRefilledAboveTheTopAndFadesIn) {
  SceneHarness game;
  const std::string json = column({R"("rY": 400, "hxTrans": 255)", R"("rY": 350, "hxTrans": 0)",
                                R"("rY": 300, "hxTrans": 255)"});
  ASSERT_TRUE(game.play(json))
      << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.BOARD.C.MOVING := 1;"));
  ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
  TLumImage& cell = imageOf(game, 61);
  EXPECT_EQ(cell.Y(), 260);  // 50 above the highest, which fell to 310 first
  EXPECT_EQ(cell.colour >> 24, 5u);
  EXPECT_LT(cell.Anim, 4);
  EXPECT_EQ(imageOf(game, 71).Anim, cell.Anim + 6);
  ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
  EXPECT_EQ(cell.colour >> 24, 30u);  // fading in by 25
  EXPECT_EQ(cell.Y(), 270);
}

TEST(FallingGems, ASpecialGemLeavesAtTheBottomAndRaisesItsFlag) {
  SceneHarness game;
  const std::string json = column({R"("rY": 440, "hxTrans": 255, "Anim": 12)"});
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.BOARD.C.MOVING := 1;"));
  ASSERT_TRUE(game.run("MagicLev6_1(LUMDB.S.BOARD.C);"));
  EXPECT_EQ(imageOf(game, 60).Y(), 450);
  EXPECT_EQ(imageOf(game, 60).colour >> 24, 0u);
  EXPECT_TRUE(game.byKey(41)->Vis());
}

TEST(FallingGems, TheSecondGameReadsItsColoursTwoLevelsUpAndStopsAt70) {
  SceneHarness game;
  const std::string json = column({R"("rY": 50, "hxTrans": 255)", R"("rY": 0, "hxTrans": 0)"},
                               R"("COLS := 1;")");
  ASSERT_TRUE(game.play(json))
      << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.OUTER.BOARD.C.MOVING := 1;"));
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(game.run("LUMDB.S.OUTER.BOARD.C.MOVING := 1; BrambleShar_1(LUMDB.S.OUTER.BOARD.C);"));
  }
  EXPECT_EQ(imageOf(game, 60).Y(), 70);
  EXPECT_EQ(imageOf(game, 61).Anim, 0);  // the only colour
}

}  // namespace
}  // namespace lum
