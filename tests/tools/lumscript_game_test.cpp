// lumscript --game: scripts run as events of elements of a game built with
// lumf, reading what exInit left through paths from other elements.
#include <gtest/gtest.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace lum::test {
namespace {

const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Paths", "exInit": "Score := 40; Name := 'root';",
                 "Lang": "eng.lng"},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "Menu", "exInit": "Doubled := LUMDB.Score * 2;"},
     "children": [{"class": "TLumImage", "properties": {"Key": 2, "Id": "Icon", "Order": 3,
                     "exInit": "Mine := PARENT.Doubled + 1;"}}]}
  ]})";

TEST(LumscriptGame, VariablesFromInitAreReadThroughPaths) {
  auto dir = scratchFolder("lumscript-game");
  writeFile(dir / "game.json", kGame);
  writeFile(dir / "eng.lng", "[Default]\nGreeting=Hello\n");
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  writeFile(dir / "read.pas",
            "A := LUMDB.Menu.Doubled; B := LUMDB.Menu.Icon.Mine; C := PARENT.Doubled;\n"
            "D := Order; E := GetText('Greeting'); F := Length(LUMDB.Name);\n");
  ToolResult r = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf") +
                         " --init --as 2 " + quoted(dir / "read.pas"));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("A = int:80\nB = int:81\nC = int:80\nD = int:3\nE = str:'Hello'\nF = int:4\n"),
            std::string::npos)
      << r.out;

  // Without --init nothing has run yet: the path fails and says so.
  ToolResult cold = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf") + " " +
                            quoted(dir / "read.pas"));
  EXPECT_EQ(cold.status, 1) << cold.out;

  // --dump adds the tree with each element's variables.
  writeFile(dir / "none.pas", "X := 1;");
  ToolResult dumped = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf") +
                              " --init --dump " + quoted(dir / "none.pas"));
  ASSERT_EQ(dumped.status, 0) << dumped.out;
  auto json = nlohmann::ordered_json::parse(dumped.out.substr(dumped.out.find('{')));
  EXPECT_EQ(json["vars"][0], nlohmann::ordered_json::array({"SCORE", "int", "40"}));
  EXPECT_EQ(json["children"][0]["children"][0]["vars"][0][2], "81");
  std::filesystem::remove_all(dir);
}

// A walk of two keys (Count 3, then 0) on the first screen: its table needs
// the picture loaded, as the game's start loads the first screen.
const char* kWalk = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Walks", "InitScreen": 1},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "Menu"},
     "children": [{"class": "TLumAnim", "properties": {"Key": 2, "Id": "Walk", "X": 100, "Y": 10, "Pos": 2},
       "children": [
         {"class": "TLumAnKey", "properties": {"Key": 3, "Count": 3},
          "children": [{"class": "TLumImage", "properties": {"Key": 4, "Id": "Dot", "imImage": "dot.tga", "rX": 0}}]},
         {"class": "TLumAnKey", "properties": {"Key": 5, "Count": 0},
          "children": [{"class": "TLumImage", "properties": {"Key": 6, "Id": "Dot", "imImage": "dot.tga", "rX": 40}}]}]}]}
  ]})";

// An uncompressed 32-bit TGA, 4 x 2, white.
std::string whiteTga() {
  std::string tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 2, 0, 32, 0x28};
  tga.append(4 * 2 * 4, static_cast<char>(0xFF));
  return tga;
}

TEST(LumscriptGame, AnAnimationOfTheFirstScreenReadsItsFramesAfterInit) {
  auto dir = scratchFolder("lumscript-walk");
  writeFile(dir / "game.json", kWalk);
  writeFile(dir / "dot.tga", whiteTga());
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  writeFile(dir / "read.pas", "C := LUMDB.Menu.Walk.COUNT; KX := LUMDB.Menu.Walk.KEYX; P := Pos;\n");
  ToolResult r = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf") +
                         " --init --as 2 " + quoted(dir / "read.pas"));
  ASSERT_EQ(r.status, 0) << r.out;
  // Frame 2 of 5: halfway along 40 pixels, plus the picture's half width.
  EXPECT_NE(r.out.find("C = int:5\nKX = real:122\nP = int:2\n"), std::string::npos) << r.out;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
