// Event scripts inside a running game (lumrun and lumscript --game): include
// files found in the game's folder, language keys in operators, and
// scripts that initialise their own element again while they run.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"

namespace lum::test {
namespace {

using Var = std::pair<std::string, std::string>;

TEST(GameScripts, IncludesAreReadFromTheGameFolderWithoutRegardToCase) {
  auto dir = scratchFolder("game-includes");
  ASSERT_EQ(buildGame(dir, R"({
    "class": "TLumDB",
    "properties": {"Key": 0, "Id": "Inc",
      "exInit": "INCLUDE 'scripts\\common.pas'; USES 'Scripts/Tools.pas'; Loaded := Base + 1; Twice := Double(Base);"}
  })").status, 0);
  std::filesystem::create_directories(dir / "Scripts");
  writeFile(dir / "Scripts" / "Common.PAS", "Base := 41;");
  writeFile(dir / "Scripts" / "tools.pas", "FUNCTION Double(N); BEGIN RESULT := N * 2; END;");

  ToolResult run = playHeadless(dir, 30, dir / "save");
  ASSERT_EQ(run.status, 0) << run.out;
  auto vars = varsAfterPlay(dir, 0);
  EXPECT_EQ(vars["BASE"], Var("int", "41"));
  EXPECT_EQ(vars["LOADED"], Var("int", "42"));
  EXPECT_EQ(vars["TWICE"], Var("int", "82"));

  // lumscript --game reads a script's includes from the game's folder too.
  writeFile(dir / "run.pas", "INCLUDE 'SCRIPTS\\COMMON.PAS'; Got := Base;");
  ToolResult script = runTool("HOME=" + quoted(dir) + " " + lumscriptPath() + " --game " +
                              quoted(dir / "game.lumf") + " " + quoted(dir / "run.pas"));
  EXPECT_EQ(script.status, 0) << script.out;
  EXPECT_NE(script.out.find("GOT = int:41"), std::string::npos) << script.out;

  // A missing include still fails the script with the system's reason.
  writeFile(dir / "missing.pas", "INCLUDE 'nowhere.pas'; Got := 1;");
  ToolResult missing = runTool("HOME=" + quoted(dir) + " " + lumscriptPath() + " --game " +
                               quoted(dir / "game.lumf") + " " + quoted(dir / "missing.pas"));
  EXPECT_EQ(missing.status, 1) << missing.out;
  EXPECT_NE(missing.out.find("Can't open file"), std::string::npos) << missing.out;
  EXPECT_NE(missing.out.find("error code 2"), std::string::npos) << missing.out;
  std::filesystem::remove_all(dir);
}

const char* kLanguageGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Words", "Lang": "eng.lng",
    "exInit": "A := \"Title\" + ''; B := \"Menu.Start\" + \"Missing\"; C := \"Title\"; D := GetText('Title');"}
})";

TEST(GameScripts, LanguageKeysInOperatorsAreTranslated) {
  auto dir = scratchFolder("game-language");
  ASSERT_EQ(buildGame(dir, kLanguageGame).status, 0);
  writeFile(dir / "eng.lng", "[Default]\nTitle=Hello\n[Menu]\nStart=Go\n");

  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  auto vars = varsAfterPlay(dir, 0);
  EXPECT_EQ(vars["A"], Var("str", "'Hello'"));
  // A key without a text keeps its quotes; a key used alone is not looked up.
  EXPECT_EQ(vars["B"], Var("str", "'Go\"Missing\"'"));
  EXPECT_EQ(vars["C"], Var("str", "'\"Title\"'"));
  EXPECT_EQ(vars["D"], Var("str", "'Hello'"));

  writeFile(dir / "run.pas", "E := \"Menu.Start\" + '!';");
  ToolResult script = runTool("HOME=" + quoted(dir) + " " + lumscriptPath() + " --game " +
                              quoted(dir / "game.lumf") + " " + quoted(dir / "run.pas"));
  EXPECT_EQ(script.status, 0) << script.out;
  EXPECT_NE(script.out.find("E = str:'Go!'"), std::string::npos) << script.out;
  std::filesystem::remove_all(dir);
}

TEST(GameScripts, InitOfTheRunningElementKeepsTheVariablesOfTheLatestInit) {
  auto dir = scratchFolder("game-reinit");
  // The screen's exInit initialises the screen again once: the inner run
  // replaces the variable list that the outer run still has to fill.
  ASSERT_EQ(buildGame(dir, R"({
    "class": "TLumDB",
    "properties": {"Key": 0, "Id": "Again", "InitScreen": 1, "exInit": "Again := 0;"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S",
      "exInit": "IF LUMDB.Again = 0 THEN BEGIN LUMDB.Again := 1; A1 := 1; A2 := 2; Init(SELF); First := 1; B1 := 1; B2 := 2; B3 := 3; END ELSE Second := 2;"}}]
  })").status, 0);
  writeFile(dir / "none.pas", "X := 1;");
  ToolResult script = runTool("HOME=" + quoted(dir) + " " + lumscriptPath() + " --game " +
                              quoted(dir / "game.lumf") + " --init --dump " +
                              quoted(dir / "none.pas"));
  ASSERT_EQ(script.status, 0) << script.out;
  Json state = Json::parse(script.out.substr(script.out.find('{')));
  std::map<std::string, Var> expected{{"SECOND", Var("int", "2")}};
  EXPECT_EQ(varsOf(state, 1), expected);

  // The same through lumrun: the screen-change event initialises the whole
  // game again while it runs with the root's own variables.
  ASSERT_EQ(buildGame(dir, R"({
    "class": "TLumDB",
    "properties": {"Key": 0, "Id": "Again", "InitScreen": 1, "exInit": "Runs := 1;",
      "exSetScreen": "Init(LUMDB); Later := 5; L1 := 1; L2 := 2; L3 := 3;"},
    "children": [
      {"class": "TLumScreen", "properties": {"Key": 1, "Id": "One", "exShow": "SetScreen(LUMDB.Two);"}},
      {"class": "TLumScreen", "properties": {"Key": 2, "Id": "Two", "exInit": "Shown := 0;",
        "exShow": "Shown := 1;"}}]
  })").status, 0);
  ToolResult run = playHeadless(dir, 130, dir / "save");
  ASSERT_EQ(run.status, 0) << run.out;
  std::map<std::string, Var> rootVars{{"RUNS", Var("int", "1")}};
  EXPECT_EQ(varsAfterPlay(dir, 0), rootVars);
  EXPECT_EQ(varsAfterPlay(dir, 2)["SHOWN"], Var("int", "1"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
