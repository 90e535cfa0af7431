// The graph puzzles: crossing tests of both graphs, their drawing, and
// nodes dragged inside their board.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "puzzle_game.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

// Ring nodes 0 ... 7 on a circle of radius 200 about (400, 300); the first
// graph's node 8 lies inside beside nodes 0 ... 3, node 9 beside 4 ... 7;
// the second graph's node 8 is the centre. Node positions are top-left
// corners of 50-pixel nodes.
std::vector<std::pair<int, int>> layout(bool first) {
  std::vector<std::pair<int, int>> at;
  for (int i = 0; i < 8; ++i) {
    const double a = i * std::numbers::pi / 4;
    at.emplace_back(static_cast<int>(400 + 200 * std::cos(a)) - 25,
                    static_cast<int>(300 + 200 * std::sin(a)) - 25);
  }
  if (first) {
    at.emplace_back(static_cast<int>(400 + 80 * std::cos(3 * std::numbers::pi / 8)) - 25,
                    static_cast<int>(300 + 80 * std::sin(3 * std::numbers::pi / 8)) - 25);
    at.emplace_back(static_cast<int>(400 - 80 * std::cos(3 * std::numbers::pi / 8)) - 25,
                    static_cast<int>(300 - 80 * std::sin(3 * std::numbers::pi / 8)) - 25);
  } else {
    at.emplace_back(375, 275);
  }
  return at;
}

std::string graphGame(const std::vector<std::pair<int, int>>& at) {
  std::vector<std::string> nodes;
  for (size_t i = 0; i < at.size(); ++i) {
    nodes.push_back(el("TLumImage", R"("Key": )" + std::to_string(20 + i) + R"(, "rX": )" +
                                        std::to_string(at[i].first) + R"(, "rY": )" +
                                        std::to_string(at[i].second)));
  }
  return gameOf({el("TLumImage", R"("Key": 10, "Id": "G", "exInit": "WIN := 5; DT := 10;")",
                    {el("TLumImage", R"("Id": "Nodes")", nodes)})});
}

void swapNodes(SceneHarness& game, int a, int b) {
  const std::string na = "LUMDB.S.G.NODES.CHILD" + std::to_string(a + 1);
  const std::string nb = "LUMDB.S.G.NODES.CHILD" + std::to_string(b + 1);
  ASSERT_TRUE(game.run("X1 := " + na + ".X; Y1 := " + na + ".Y; MoveTo(" + na + ", " + nb +
                       ".X, " + nb + ".Y); MoveTo(" + nb + ", X1, Y1);"));
}

TEST(Graphs, AnUntangledFirstGraphWinsAndASwapOfTwoNodesCrossesLinks) {
  SceneHarness game;
  ASSERT_TRUE(game.play(graphGame(layout(true)))) << game.error();
  ASSERT_TRUE(game.run("MagicLev6Log_Upd(LUMDB.S.G);"));
  EXPECT_EQ(game.integer("LUMDB.S.G.WIN"), 1);
  swapNodes(game, 0, 4);
  ASSERT_TRUE(game.run("MagicLev6Log_Upd(LUMDB.S.G);"));
  EXPECT_EQ(game.integer("LUMDB.S.G.WIN"), 0);
}

TEST(Graphs, TheSecondGraphIsAWheel) {
  SceneHarness game;
  ASSERT_TRUE(game.play(graphGame(layout(false)))) << game.error();
  ASSERT_TRUE(game.run("MagicLev4InLog_Upd(LUMDB.S.G);"));
  EXPECT_EQ(game.integer("LUMDB.S.G.WIN"), 1);
  swapNodes(game, 1, 5);
  ASSERT_TRUE(game.run("MagicLev4InLog_Upd(LUMDB.S.G);"));
  EXPECT_EQ(game.integer("LUMDB.S.G.WIN"), 0);
}

TEST(Graphs, LinksAreDrawnGreenWhenUncrossedAndRedWhenCrossed) {
  SceneHarness game;
  // The graph draws itself from the screen's render script.
  std::string json = graphGame(layout(false));
  json.replace(json.find(R"("Id": "S")"), 9, R"("Id": "S", "exRender": "MagicLev4InLog_Rend(SELF.G);")");
  ASSERT_TRUE(game.play(json)) << game.error();
  // The middle of the link from node 0 (600, 300) to the hub (400, 300).
  const uint32_t uncrossed = game.pixel(500, 300);
  EXPECT_GT((uncrossed >> 8) & 0xFF, (uncrossed >> 16) & 0xFF) << std::hex << uncrossed;
  swapNodes(game, 1, 5);
  const uint32_t crossed = game.pixel(500, 300);
  EXPECT_GT((crossed >> 16) & 0xFF, (crossed >> 8) & 0xFF) << std::hex << crossed;
}

// A node N1 dragged inside a 400 x 400 board at (100, 100) with a second
// node N2 at (300, 200).
TEST(Graphs, ANodeFollowsTheMouseButKeepsItsDistanceAndStaysOnTheBoard) {
  SceneHarness game;
  testing::writeSolid(game, "board.png", 400, 400);
  const std::string json = gameOf({el(
      "TLumImage", R"("Key": 10, "Id": "Board", "Vis": true, "rX": 100, "rY": 100, "imImage": "board.png")",
      {el("TLumImage", R"("Key": 11, "Id": "N1", "rX": 200, "rY": 200, "exInit": "MOUSEINDOWN := 1;")"),
       el("TLumImage", R"("Key": 12, "Id": "N2", "rX": 300, "rY": 200)")})});
  ASSERT_TRUE(game.play(json)) << game.error();
  game.move(350, 300);
  ASSERT_TRUE(game.run("MagicLev6_3(LUMDB.S.BOARD.N1);"));
  EXPECT_DOUBLE_EQ(game.byKey(11)->rX, 250);  // 50 from N2: allowed
  game.move(390, 300);
  ASSERT_TRUE(game.run("MagicLev6_3(LUMDB.S.BOARD.N1);"));
  EXPECT_DOUBLE_EQ(game.byKey(11)->rX, 250);  // every step closer comes too near N2
  game.move(100, 300);
  ASSERT_TRUE(game.run("MagicLev6_3(LUMDB.S.BOARD.N1);"));
  const double x = game.byKey(11)->rX, y = game.byKey(11)->rY;
  EXPECT_LT(std::hypot(x - 200, y - 200), 150);  // inside the circle of radius 200 - 50
  EXPECT_LT(x, 250);
  ASSERT_TRUE(game.run("MOUSEINDOWN := 0;", 11));
  game.move(300, 300);
  ASSERT_TRUE(game.run("MagicLev6_3(LUMDB.S.BOARD.N1);"));
  EXPECT_DOUBLE_EQ(game.byKey(11)->rX, x);  // not held: stays
  ASSERT_TRUE(game.run("MOUSEINDOWN := 1;", 11));
  game.move(100 + 200, 100 + 380);
  ASSERT_TRUE(game.run("MagicLev4In_3(LUMDB.S.BOARD.N1);"));
  const double ex = game.byKey(11)->rX - 200, ey = game.byKey(11)->rY - 200;
  EXPECT_LT(4 * ex * ex / 160000 + 4 * ey * ey / 160000, 0.8);
  EXPECT_GT(ey, 0);
}

}  // namespace
}  // namespace lum
