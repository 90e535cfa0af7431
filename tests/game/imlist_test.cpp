// Image lists played in small games: the cell layout, hit testing with
// cells, gaps and leftover pixels, the hovered item and its zoom, mouse
// events, "ELEMENTS" and "SELEL", the list commands, and the drawing with
// the hovered image on top.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/png_writer.h"
#include "scene/imlist.h"
#include "scene_harness.h"

namespace lum {
namespace {

using testing::SceneHarness;

void writeSolid(SceneHarness& game, const std::string& name, int w, int h, uint32_t argb) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, argb);
  ASSERT_TRUE(savePng((game.gameFolder() / name).string(), pixels, w, h, true).ok());
}

std::string image(int key, const std::string& id, const std::string& picture,
                  const std::string& extra = "") {
  return R"({"class": "TLumImage", "properties": {"Key": )" + std::to_string(key) +
         R"(, "Id": ")" + id + R"(", "imImage": ")" + picture + "\"" + extra + "}}";
}

// A list at (100, 100) on screen S; three gems (keys 21 to 23, 40 x 40
// red, green, blue) and a shape (key 24) on screen Store; `extra` are more
// children of S after the list.
std::string listGame(const std::string& listProperties, const std::string& extra = "") {
  return R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1, "SaveErr": true,
    "exInit": "Events := '';"},
    "children": [
      {"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"}, "children": [
        {"class": "TLumImList", "properties": {"Key": 10, "Id": "L", "X": 100, "Y": 100, )" +
         listProperties + R"(}})" + (extra.empty() ? "" : ", " + extra) + R"(]},
      {"class": "TLumScreen", "properties": {"Key": 2, "Id": "Store"}, "children": [)" +
         image(21, "Ruby", "red.png", R"(, "exMouseDown": "LUMDB.Events := LUMDB.Events + 'ruby ';")") +
         ", " + image(22, "Emerald", "green.png") + ", " + image(23, "Sapphire", "blue.png") +
         R"(, {"class": "TLumShape", "properties": {"Key": 24, "Id": "Box"}}]}]})";
}

const char* kGrid =
    R"("SizeX": 300, "SizeY": 100, "ColCount": 3, "RowCount": 1, "Space": 10, "Scale": 1.5,
       "exMouseIn": "LUMDB.Events := LUMDB.Events + 'in ';",
       "exMouseOut": "LUMDB.Events := LUMDB.Events + 'out ';",
       "exMouseDown": "LUMDB.Events := LUMDB.Events + 'list ';")";

class ImageLists : public ::testing::Test {
 protected:
  bool play(const std::string& properties, const std::string& extra = "") {
    writeSolid(game_, "red.png", 40, 40, 0xFFFF0000u);
    writeSolid(game_, "green.png", 40, 40, 0xFF00FF00u);
    writeSolid(game_, "blue.png", 40, 40, 0xFF0000FFu);
    if (!game_.play(listGame(properties, extra))) return false;
    list_ = dynamic_cast<TLumImList*>(game_.byKey(10));
    return list_ != nullptr;
  }
  bool fill() { return game_.run("LUMDB.S.L.ELEMENTS := '21;22;23';"); }
  int64_t selected() {
    ScriptValue v = game_.value("LUMDB.S.L.SELEL");
    if (v.kind() != ValueKind::Ref) return v.whole() == 0 ? 0 : -1;
    return game_.integer("LUMDB.S.L.SELEL.KEY");
  }
  std::string events() { return game_.text("LUMDB.EVENTS"); }

  SceneHarness game_;
  TLumImList* list_ = nullptr;
};

TEST_F(ImageLists, CellsShareTheAreaLessTheGapsAndAnEmptyGridHasNone) {
  ASSERT_TRUE(play(kGrid)) << game_.error();
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELWIDTH"), 93);  // (300 - 2 * 10) div 3
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELHEIGHT"), 100);
  ASSERT_TRUE(game_.run("LUMDB.S.L.ELWIDTH := 5; LUMDB.S.L.SPACE := 0;"));
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELWIDTH"), 100);  // derived, never written
  ASSERT_TRUE(game_.run("LUMDB.S.L.COLCOUNT := 0;"));
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELWIDTH"), 0);
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELHEIGHT"), 0);
  ASSERT_TRUE(fill());
  game_.move(110, 110);  // no cells: nothing hovered, no division by zero
  EXPECT_EQ(selected(), 0);
  ASSERT_TRUE(game_.run("LUMDB.S.L.SCROLLPOS := 2;"));
  EXPECT_EQ(game_.integer("LUMDB.S.L.SCROLLPOS"), 0);
  // A grid of two billion rows of a pixel draws its three items and stops.
  ASSERT_TRUE(game_.run("LUMDB.S.L.COLCOUNT := 1; LUMDB.S.L.SPACE := 0; "
                        "LUMDB.S.L.SIZEY := 2147483647; LUMDB.S.L.ROWCOUNT := 2147483647;"));
  EXPECT_EQ(game_.integer("LUMDB.S.L.ELHEIGHT"), 1);
  game_.tick(1);
  EXPECT_EQ(list_->items().size(), 3u);
}

TEST_F(ImageLists, ElementsTextListsKeysAndWritingItAddsOnlyImagesItNames) {
  ASSERT_TRUE(play(kGrid)) << game_.error();
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "");
  ASSERT_TRUE(game_.run("LUMDB.S.L.ELEMENTS := '22; x ;23';"));
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "22;23;");
  // Writing empties the list first; shapes, the list itself and unknown
  // keys are skipped; "$15" is 21.
  ASSERT_TRUE(game_.run("LUMDB.S.L.ELEMENTS := '24;10;99;;$15;';"));
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "21;");
  ASSERT_EQ(list_->items().size(), 1u);
  EXPECT_EQ(list_->itemElement(0), game_.byKey(21));
  EXPECT_EQ(list_->items()[0].zoom, 1.0);
}

TEST_F(ImageLists, ListCommandsAddExactlyImagesToExactlyListsAndRemoveByIdOrElement) {
  ASSERT_TRUE(play(kGrid)) << game_.error();
  EXPECT_TRUE(game_.run("ListAdd(LUMDB.S, LUMDB.Store.Ruby);"));  // a screen: nothing
  EXPECT_TRUE(game_.run("ListAdd(LUMDB.S.L, LUMDB.Store.Box);"));  // a shape: nothing
  EXPECT_TRUE(game_.run("ListAdd(LUMDB.S.L, 7); ListAdd(LUMDB.S.L); ListAdd(3, 4);"));
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "");
  EXPECT_TRUE(game_.run("ListAdd(LUMDB.S.L, LUMDB.Store.Ruby); ListAdd(LUMDB.S.L, "
                        "LUMDB.Store.Emerald); ListAdd(LUMDB.S.L, LUMDB.Store.Sapphire); "
                        "ListAdd(LUMDB.S.L, LUMDB.Store.Ruby);"));
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "21;22;23;21;");
  EXPECT_TRUE(game_.run("ListDel(LUMDB.S.L, 'emerald');"));  // Ids compare exactly
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "21;22;23;21;");
  EXPECT_TRUE(game_.run("ListDel(LUMDB.S.L, 'Emerald'); ListDel(LUMDB.S.L, LUMDB.Store.Ruby);"));
  EXPECT_EQ(game_.text("LUMDB.S.L.ELEMENTS"), "23;21;");
  EXPECT_FALSE(game_.run("ListAdd(NIL, LUMDB.Store.Ruby);"));
  EXPECT_FALSE(game_.run("ListDel(NIL, 'Ruby');"));
}

TEST_F(ImageLists, HoverFollowsCellsAndGapsAndRunsMouseEventsOnlyOverOccupiedCells) {
  ASSERT_TRUE(play(kGrid)) << game_.error();
  ASSERT_TRUE(game_.run("LUMDB.S.L.ELEMENTS := '21;22';"));
  game_.move(120, 150);
  EXPECT_EQ(selected(), 21);
  game_.move(198, 150);  // in the gap after the first cell: still the first
  EXPECT_EQ(selected(), 21);
  game_.move(210, 150);
  EXPECT_EQ(selected(), 22);
  game_.move(350, 150);  // the third cell is empty
  EXPECT_EQ(selected(), 0);
  game_.move(600, 150);
  EXPECT_EQ(events(), "in out in out ");

  // A press over an occupied cell reaches the image's script, then the
  // list's own; over an empty cell neither.
  game_.click(120, 150);
  EXPECT_EQ(events(), "in out in out in ruby list ");
  game_.click(350, 150);
  EXPECT_EQ(events(), "in out in out in ruby list out ");
}

TEST_F(ImageLists, LeftoverPixelsRightOfTheLastColumnHitNoItem) {
  // 302 wide, three columns of 100 without gaps: x 300 and 301 are left over.
  ASSERT_TRUE(play(R"("SizeX": 302, "SizeY": 200, "ColCount": 3, "RowCount": 2, "Scale": 1.5)"));
  ASSERT_TRUE(fill());
  ASSERT_TRUE(game_.run("ListAdd(LUMDB.S.L, LUMDB.Store.Sapphire);"));
  game_.move(100 + 301, 150);
  EXPECT_EQ(selected(), 0);  // not the next row's first item
  game_.move(100 + 299, 150);
  EXPECT_EQ(selected(), 23);
  game_.move(100 + 10, 100 + 150);
  EXPECT_EQ(selected(), 23);  // row 2, column 1: the fourth item
}

TEST_F(ImageLists, RemovingItemsNeverLeavesTheHoverPastTheEnd) {
  ASSERT_TRUE(play(kGrid)) << game_.error();
  ASSERT_TRUE(fill());
  game_.move(320, 150);
  EXPECT_EQ(selected(), 23);
  ASSERT_TRUE(game_.run("ListDel(LUMDB.S.L, 'Sapphire');"));
  EXPECT_EQ(selected(), 0);
  game_.click(320, 150);  // nothing hovered there now: no image's script
  game_.tick(2);
  EXPECT_EQ(game_.pixel(320, 150), 0xFF000000u);
  // An item before the hovered one goes: the hover stays on its item.
  game_.move(210, 150);
  EXPECT_EQ(selected(), 22);
  ASSERT_TRUE(game_.run("ListDel(LUMDB.S.L, LUMDB.Store.Ruby);"));
  EXPECT_EQ(selected(), 22);
  ASSERT_TRUE(game_.run("LUMDB.S.L.ELEMENTS := '21';"));
  EXPECT_EQ(selected(), 0);
}

TEST_F(ImageLists, TheHoveredImageGrowsToScaleAndShrinksBackWhenLeft) {
  // An image after the list covers part of its third cell and is hit
  // first there.
  ASSERT_TRUE(play(kGrid, image(30, "Cover", "red.png", R"(, "X": 330, "Y": 130, "MousedVis": true)")));
  ASSERT_TRUE(fill());
  game_.move(120, 150);
  game_.tick(5);
  EXPECT_NEAR(list_->items()[0].zoom, 1.25, 1e-9);
  game_.tick(10);
  EXPECT_NEAR(list_->items()[0].zoom, 1.5, 1e-9);  // stops at Scale
  EXPECT_EQ(list_->items()[1].zoom, 1.0);
  game_.move(210, 150);
  game_.tick(3);
  EXPECT_NEAR(list_->items()[0].zoom, 1.2, 1e-9);
  EXPECT_NEAR(list_->items()[1].zoom, 1.15, 1e-9);
  game_.tick(2);
  EXPECT_EQ(list_->items()[0].zoom, 1.0);  // 1.0 exactly, never below
  // Over the cover the list is not hit: its item stops growing.
  game_.move(350, 150);
  EXPECT_EQ(selected(), 0);
  game_.tick(5);
  EXPECT_EQ(list_->items()[1].zoom, 1.0);
}

TEST_F(ImageLists, TheHoveredImageIsDrawnZoomedOnTopOfItsNeighbours) {
  ASSERT_TRUE(play(R"("SizeX": 150, "SizeY": 40, "ColCount": 3, "RowCount": 1, "Space": 5,
                      "Scale": 2.0)"));
  ASSERT_TRUE(fill());
  game_.move(160, 120);  // the middle cell: 40 wide at 145 ... 185
  game_.tick(20);
  EXPECT_EQ(game_.pixel(140, 120), 0xFF00FF00u);  // green spreads over red
  EXPECT_EQ(game_.pixel(190, 120), 0xFF00FF00u);  // and over blue
  EXPECT_EQ(game_.pixel(110, 120), 0xFFFF0000u);
  EXPECT_EQ(game_.compareWithGolden("imlist_hovered"), "");
}

}  // namespace
}  // namespace lum
