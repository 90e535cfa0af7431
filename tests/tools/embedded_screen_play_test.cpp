// Embedded screens in a played game: the player clicks what is drawn.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"

namespace lum::test {
namespace {

// A 200 x 100 screen embedded by its bottom-right corner at (600, 300), so
// it is drawn over 400..600 x 200..300; its only element counts presses.
const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Embed", "InitScreen": 1, "exInit": "Hits := 0;"},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "Main", "Vis": true},
     "children": [{"class": "TLumExScreen", "properties": {"Key": 2, "Vis": true, "X": 600,
       "Y": 300, "PosHor": "phRight", "PosVert": "pvBottom", "obScreen": 5}}]},
    {"class": "TLumScreen", "properties": {"Key": 5, "Id": "Panel", "Vis": true, "SizeX": 200,
       "SizeY": 100},
     "children": [{"class": "TLumShape", "properties": {"Key": 6, "Vis": true, "MousedVis": true,
       "SizeX": 200, "SizeY": 100, "hxColor": 255,
       "exMouseDown": "LUMDB.Hits := LUMDB.Hits + 1;"}}]}
  ]})";

int hitsAfterPressAt(const std::filesystem::path& dir, int x, int y) {
  writeFile(dir / "input.txt", "110 mousedown " + std::to_string(x) + " " + std::to_string(y) +
                                   "\n111 mouseup " + std::to_string(x) + " " +
                                   std::to_string(y) + "\n");
  ToolResult run = playHeadless(dir, 120, dir / "save", "--input " + quoted(dir / "input.txt"));
  EXPECT_EQ(run.status, 0) << run.out;
  return std::stoi(varsAfterPlay(dir, 0)["HITS"].second);
}

TEST(EmbeddedScreenPlay, AnchoredScreensAreHitWhereTheyAreDrawn) {
  auto dir = scratchFolder("embedded-hit");
  ASSERT_EQ(buildGame(dir, kGame).status, 0);
  EXPECT_EQ(hitsAfterPressAt(dir, 450, 250), 1);  // inside the drawn panel
  EXPECT_EQ(hitsAfterPressAt(dir, 590, 290), 1);
  EXPECT_EQ(hitsAfterPressAt(dir, 650, 350), 0);  // beyond its anchor point
  EXPECT_EQ(hitsAfterPressAt(dir, 380, 250), 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
