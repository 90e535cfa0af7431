// The second game's pair matching and inventory counters.
#include <string>

#include "puzzle_game.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

// Pairs (key 10) holds objects O1, O2 (both a.png) and O3 (b.png), each
// with a hidden selection mark (second child) and a hidden done mark (third
// child); the room (key 5) counts the objects left in CNN.
class PairMatching : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::writeSolid(game_, "a.png", 10, 10, 0xFFFF0000u);
    testing::writeSolid(game_, "b.png", 10, 10, 0xFF00FF00u);
    auto object = [](int key, const std::string& picture, int x) {
      return el("TLumImage",
                R"("Key": )" + std::to_string(key) + R"(, "Vis": true, "imImage": ")" + picture +
                    R"(", "rX": )" + std::to_string(x) + R"(, "rY": 40)",
                {el("TLumImage", R"("Vis": true)"), el("TLumImage", R"("Vis": true)"),
                 el("TLumImage", R"("Vis": false)")});
    };
    const std::string json = gameOf({el(
        "TLumImage", R"("Key": 5, "Id": "Room", "exInit": "CNN := 6;")",
        {el("TLumImage", R"("Key": 10, "Id": "Pairs")",
            {object(11, "a.png", 100), object(12, "a.png", 200), object(13, "b.png", 300),
             el("TLumImage", R"("Id": "GI")", {el("TLumText", R"("Key": 20, "Id": "CNT", "Text": "6")")})}),
         el("TLumImage", R"("Key": 6, "Id": "MS", "exInit": "OB1 := 0; OB2 := 0; OBC := 0;")"),
         el("TLumImage", R"("Key": 7, "Id": "O")")})});
    ASSERT_TRUE(game_.play(json)) << game_.error();
  }
  void choose(int a, int b, int count) {
    ASSERT_TRUE(game_.run("OB1 := PARENT.PAIRS.CHILD" + std::to_string(a) + "; OB2 := PARENT.PAIRS.CHILD" +
                              std::to_string(b) + "; OBC := " + std::to_string(count) + ";",
                          6));
  }
  bool shown(int key, size_t child) { return game_.byKey(key)->child(child)->Vis(); }
  SceneHarness game_;
};

TEST_F(PairMatching, TwoEqualPicturesAreMatchedAndCountedDown) {
  choose(1, 2, 2);
  ASSERT_TRUE(game_.run("BrambleLevel2LogPr(LUMDB.S.ROOM.PAIRS);"));
  for (int key : {11, 12}) {
    EXPECT_FALSE(shown(key, 1));
    EXPECT_TRUE(shown(key, 2));
  }
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.CNN"), 4);
  EXPECT_EQ(game_.text("LUMDB.S.ROOM.PAIRS.GI.CNT.TEXT"), "4");
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.MS.OBC"), 0);
}

TEST_F(PairMatching, DifferentPicturesAreOnlyLetGo) {
  choose(1, 3, 2);
  ASSERT_TRUE(game_.run("BrambleLevel2LogPr(LUMDB.S.ROOM.PAIRS);"));
  EXPECT_FALSE(shown(11, 2));
  EXPECT_FALSE(shown(13, 2));
  EXPECT_FALSE(shown(11, 1));
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.CNN"), 6);
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.MS.OBC"), 0);
}

TEST_F(PairMatching, TheFirstChoiceIsMarked) {
  choose(3, 3, 1);
  ASSERT_TRUE(game_.run("BrambleLevel2LogPr(LUMDB.S.ROOM.PAIRS);"));
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.O.X"), 300);
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.O.Y"), 40);
  EXPECT_EQ(game_.integer("LUMDB.S.ROOM.MS.OBC"), 1);  // waiting for the second
}

TEST(Inventory, CountersListAndFirstEntryFollowTheItems) {
  SceneHarness game;
  const std::string json = gameOf({el(
      "TLumImage", R"("Key": 5, "Id": "Panel")",
      {el("TLumImage", R"("Key": 10, "Id": "Inv", "exInit": "CNTS := 0; CNTH := 0;")",
          {el("TLumImage", R"("Id": "Gone", "Vis": false)"), el("TLumImage", R"("Id": "Cup", "Vis": true)"),
           el("TLumImage", R"("Id": "Bell", "Vis": true)"), el("TLumImage", R"("Id": "front", "Vis": true)"),
           el("TLumImage", R"("Id": "Deco", "Tag": "f", "Vis": false)")}),
       el("TLumText", R"("Id": "CNTS")"), el("TLumText", R"("Id": "CNTH")"),
       el("TLumImage", R"("Key": 11, "Id": "IMLIST", "Vis": false)"),
       el("TLumImage", R"("Id": "L", "exInit": "L := 0;")")})});
  ASSERT_TRUE(game.play(json)) << game.error();
  ASSERT_TRUE(game.run("BrambleGIListUpdate(LUMDB.S.PANEL.INV);"));
  EXPECT_EQ(game.integer("LUMDB.S.PANEL.INV.CNTS"), 2);
  EXPECT_EQ(game.integer("LUMDB.S.PANEL.INV.CNTH"), 1);
  EXPECT_EQ(game.text("LUMDB.S.PANEL.CNTS.TEXT"), "2");
  EXPECT_EQ(game.text("LUMDB.S.PANEL.CNTH.TEXT"), "1");
  EXPECT_TRUE(game.byKey(11)->Vis());
  EXPECT_EQ(game.integer("LUMDB.S.PANEL.L.L"), 2);
  ASSERT_TRUE(game.run("LUMDB.S.PANEL.INV.CHILD2.VIS := 0; LUMDB.S.PANEL.INV.CHILD3.VIS := 0; BrambleGIListUpdate(LUMDB.S.PANEL.INV);"));
  EXPECT_EQ(game.integer("LUMDB.S.PANEL.INV.CNTS"), 0);
  EXPECT_FALSE(game.byKey(11)->Vis());
  EXPECT_EQ(game.integer("LUMDB.S.PANEL.L.L"), 0);
  EXPECT_EQ(game.text("LUMDB.S.PANEL.CHILD5.ID"), "L");  // the entry keeps its own Id
}

}  // namespace
}  // namespace lum
