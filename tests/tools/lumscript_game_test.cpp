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

}  // namespace
}  // namespace lum::test
