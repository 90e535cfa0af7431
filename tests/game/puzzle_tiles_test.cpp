// Tile rows that slide and wrap, and tiles that fade in and line up.
#include <string>

#include "puzzle_game.h"
#include "scene/image.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

TEST(TileRows, ARowSlidesWrapsRoundAndThePuzzleIsSolvedInOrder) {
  SceneHarness game;
  auto row = [](int first) {
    std::vector<std::string> tiles;
    for (int i = 0; i < 3; ++i) {
      tiles.push_back(el("TLumImage", R"("Key": )" + std::to_string(first + i) + R"(, "rX": )" +
                                          std::to_string(i * 82)));
    }
    return el("TLumImage", R"("Vis": true, "exInit": "DX := 0;")", tiles);
  };
  const std::string json = gameOf({el("TLumImage", R"("Key": 10, "Id": "T")", {row(20), row(30)})},
                                   {el("TLumScreen", R"("Key": 2, "Id": "LogInterface", "exInit": "WIN := 0;")")});
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.T.CHILD1.DX := -82;"));
  for (int i = 0; i < 9; ++i) ASSERT_TRUE(game.run("MagicLev6InLog(LUMDB.S.T);"));
  EXPECT_EQ(game.integer("LUMDB.S.T.CHILD1.DX"), 0);
  EXPECT_EQ(game.byKey(20)->X(), 164);  // wrapped round to the right end
  EXPECT_EQ(game.byKey(21)->X(), 0);
  EXPECT_EQ(game.byKey(22)->X(), 82);
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 0);
  ASSERT_TRUE(game.run("LUMDB.S.T.CHILD1.DX := 82;"));
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(game.run("MagicLev6InLog(LUMDB.S.T);"));
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 0);  // still sliding
  ASSERT_TRUE(game.run("MagicLev6InLog(LUMDB.S.T);"));
  EXPECT_EQ(game.byKey(20)->X(), 0);
  EXPECT_EQ(game.integer("LUMDB.LOGINTERFACE.WIN"), 1);
}

TEST(TileRows, ATileFadesInWithoutWrappingAndStopsBesideThePreviousOne) {
  SceneHarness game;
  const std::string json = gameOf(
      {el("TLumImage", R"("Key": 10, "rX": 40)"),
       el("TLumImage", R"("Key": 11, "Id": "O", "rX": 300, "hxTrans": 10, "exInit": "S := PARENT.SH;")"),
       el("TLumImage", R"("Key": 12, "Id": "SH", "hxTrans": 0)"),
       el("TLumImage", R"("Key": 13, "Id": "First", "rX": 30, "hxTrans": 255)")});
  ASSERT_TRUE(game.play(json)) << game.error();
  auto trans = [&](int key) { return dynamic_cast<TLumImage*>(game.byKey(key))->colour >> 24; };
  for (int i = 0; i < 9; ++i) ASSERT_TRUE(game.run("MagicLev6InLogO(LUMDB.S.O);"));
  EXPECT_EQ(trans(11), 235u);
  EXPECT_EQ(trans(12), 235u / 4);
  ASSERT_TRUE(game.run("MagicLev6InLogO(LUMDB.S.O);"));
  EXPECT_EQ(trans(11), 255u);  // held at 255, not wrapped to 4
  EXPECT_EQ(trans(12), 63u);
  EXPECT_EQ(game.byKey(11)->X(), 300 - 10 * 17);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(game.run("MagicLev6InLogO(LUMDB.S.O);"));
  EXPECT_EQ(game.byKey(11)->X(), 40 + 85);  // beside the child before it
  // The first child slides to x 10.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(game.run("MagicLev6InLogO(LUMDB.S.FIRST);"));
  EXPECT_EQ(game.byKey(13)->X(), 30);  // its target is beside SH: 0 + 85
  ASSERT_TRUE(game.run("MoveTo(LUMDB.S.FIRST, 200, 0); ToFront(LUMDB.S.FIRST);"));
  ASSERT_TRUE(game.run("ToFront(LUMDB.S.CHILD1); ToFront(LUMDB.S.CHILD1); ToFront(LUMDB.S.CHILD1);"));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(game.run("MagicLev6InLogO(LUMDB.S.FIRST);"));
  EXPECT_EQ(game.byKey(13)->X(), 10);
}

}  // namespace
}  // namespace lum
