// The pipe puzzle: turning tiles, water that reaches the exit, and a leak.
#include <map>
#include <string>
#include <vector>

#include "puzzle_game.h"
#include "scene/image.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

// Tile (r, c) has key 200 + 6 r + c, its overlay 300 + 6 r + c. Tags not
// given are "0000". The board (key 180) holds the puzzle P (key 190), the
// overlay LL (or LLL), END (400) and the leak marker PROT (401).
std::string pipes(const std::map<int, std::string>& tags, bool secondGame = false) {
  std::vector<std::string> rows, overlay;
  for (int r = 0; r < 6; ++r) {
    std::vector<std::string> tiles, shown;
    for (int c = 0; c < 6; ++c) {
      const int i = r * 6 + c;
      const auto tag = tags.count(i) ? tags.at(i) : std::string("0000");
      tiles.push_back(el("TLumImage", R"("Key": )" + std::to_string(200 + i) + R"(, "Tag": ")" +
                                          tag + R"(", "Anim": 1)"));
      shown.push_back(el("TLumImage", R"("Key": )" + std::to_string(300 + i) + R"(, "hxTrans": 77)"));
    }
    rows.push_back(el("TLumImage", R"("Vis": true)", tiles));
    overlay.push_back(el("TLumImage", R"("Vis": true)", shown));
  }
  if (secondGame) {
    rows.push_back(el("TLumImage", R"("Id": "GI")",
                      {el("TLumText", R"("Key": 410, "Id": "CNT", "Text": "5")")}));
  }
  return gameOf(
      {el("TLumImage", R"("Key": 180, "Id": "Board", "exInit": "CNN := 5;")",
          {el("TLumImage", R"("Key": 190, "Id": "P")", rows),
           el("TLumImage", std::string(R"("Id": ")") + (secondGame ? "LLL" : "LL") + R"(")", overlay),
           el("TLumImage", R"("Key": 400, "Id": "END", "hxTrans": 77)"),
           el("TLumImage", R"("Key": 401, "Id": "PROT", "hxTrans": 77)")})},
      {el("TLumScreen", R"("Key": 2, "Id": "LogInterface", "exInit": "WIN := 0;")")});
}

// Down the first column, along the last row, out through the bottom.
std::map<int, std::string> throughPath() {
  std::map<int, std::string> tags{{30, "1001"}, {35, "0110"}};
  for (int r = 0; r < 5; ++r) tags[r * 6] = "0101";
  for (int c = 1; c < 5; ++c) tags[30 + c] = "1010";
  return tags;
}

TLumImage& imageOf(SceneHarness& game, int key) {
  return *dynamic_cast<TLumImage*>(game.byKey(key));
}
int trans(SceneHarness& game, int key) { return static_cast<int>(imageOf(game, key).colour >> 24); }

TEST(Pipes, APathToTheExitIsFilledAndSolvesThePuzzle) {
  SceneHarness game;
  const std::string json = pipes(throughPath());
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("MagicLev12Log(LUMDB.S.BOARD.P);"));
  for (int i : {0, 6, 12, 18, 24, 30, 31, 32, 33, 34, 35}) EXPECT_EQ(trans(game, 300 + i), 255) << i;
  EXPECT_EQ(trans(game, 301), 0);
  EXPECT_EQ(trans(game, 328), 0);
  EXPECT_EQ(imageOf(game, 300).Anim, 7);  // the tile's frame + 6
  EXPECT_EQ(trans(game, 400), 255);
  EXPECT_EQ(trans(game, 401), 0);  // nothing leaks
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 1);
}

TEST(Pipes, AnOpenSideAgainstAClosedOneLeaksAndTheExitStaysDry) {
  SceneHarness game;
  std::map<int, std::string> tags = throughPath();
  tags[35] = "0011";  // the last tile opens up instead of down
  const std::string json = pipes(tags);
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("MagicLev12Log(LUMDB.S.BOARD.P);"));
  EXPECT_EQ(trans(game, 335), 255);
  EXPECT_EQ(trans(game, 400), 0);
  EXPECT_EQ(trans(game, 401), 255);
  EXPECT_EQ(imageOf(game, 401).Angle(), 270);  // leaking upwards
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 0);
}

TEST(Pipes, NoWaterWhenTheFirstTileIsClosedAtTheTop) {
  SceneHarness game;
  std::map<int, std::string> tags = throughPath();
  tags[0] = "0100";
  const std::string json = pipes(tags);
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("MagicLev12Log(LUMDB.S.BOARD.P);"));
  EXPECT_EQ(trans(game, 300), 0);
  EXPECT_EQ(trans(game, 401), 0);
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 0);
}

TEST(Pipes, ATileTurnsInStepsOf10AndItsSidesTurnWithIt) {
  SceneHarness game;
  const std::string json = pipes({{15, "1000"}});
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.BOARD.P.CHILD3.CHILD4.ANGLE := 10;"));
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(game.run("MagicLev12Log(LUMDB.S.BOARD.P);"));
  EXPECT_EQ(imageOf(game, 215).Angle(), 90);
  EXPECT_EQ(game.byKey(215)->Tag, "0100");  // open to the right, now down
  EXPECT_EQ(imageOf(game, 315).Angle(), 90);
  ASSERT_TRUE(game.run("MagicLev12Log(LUMDB.S.BOARD.P);"));
  EXPECT_EQ(imageOf(game, 215).Angle(), 90);  // at rest
}

TEST(Pipes, TheSecondGameCountsDownInsteadOfWinning) {
  SceneHarness game;
  const std::string json = pipes(throughPath(), true);
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("Bramble2Lev12Log(LUMDB.S.BOARD.P);"));
  EXPECT_EQ(trans(game, 335), 255);
  EXPECT_EQ(game.integer("LUMDB.S.BOARD.CNN"), 0);
  EXPECT_EQ(game.text("LUMDB.S.BOARD.P.GI.CNT.TEXT"), "0");
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 0);
}

}  // namespace
}  // namespace lum
