// Event scripts inside a running game (lumrun and lumscript --game): include
// files found in the game's folder, language keys in operators, and
// scripts that initialise their own element again while they run.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

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

TEST(GameScripts, IncludesThatMultiplyAreRefusedQuicklyAndInLittleMemory) {
  auto dir = scratchFolder("game-include-bomb");
  ASSERT_EQ(buildGame(dir, R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Bomb"}})").status, 0);
  // Seven files of about 200 bytes, each including the next ten times.
  for (int n = 1; n <= 7; ++n) {
    std::string text;
    if (n == 7) {
      while (text.size() < 190) text += "X := X + 1; ";
    } else {
      for (int i = 0; i < 10; ++i) text += "INCLUDE 'f" + std::to_string(n + 1) + ".pas';";
    }
    writeFile(dir / ("f" + std::to_string(n) + ".pas"), text);
  }
  writeFile(dir / "bomb.pas", "X := 0; INCLUDE 'f1.pas';");
  const auto start = std::chrono::steady_clock::now();
  ToolResult run = runTool("HOME=" + quoted(dir) + " " + lumscriptPath() + " --game " +
                           quoted(dir / "game.lumf") + " " + quoted(dir / "bomb.pas"));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("prepare-error 30: Include files too large: f7.pas (more than 1048576 "
                         "bytes in one script)"),
            std::string::npos)
      << run.out;
  EXPECT_LT(seconds, 10.0);                   // about 11 s without the bound
  EXPECT_LT(usage.ru_maxrss, 600L * 1024);  // kilobytes; 1.7 GB without the bound
  std::filesystem::remove_all(dir);
}

TEST(GameScripts, AnEndlessLoopEndsItsRunWithALoggedErrorAndTheGameGoesOn) {
  auto dir = scratchFolder("game-endless");
  ASSERT_EQ(buildGame(dir, R"({
    "class": "TLumDB",
    "properties": {"Key": 0, "Id": "Spin", "InitScreen": 1, "SaveErr": true, "exInit": "Ticks := 0;"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S",
      "exProcess": "LUMDB.Ticks := LUMDB.Ticks + 1; WHILE 1 = 1 DO Spin := 1;"}}]
  })").status, 0);
  // The first screen is processed after the opening logo time.
  ToolResult run = playHeadless(dir, 110, dir / "save", "--script-budget 20000");
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string ticks = varsAfterPlay(dir, 0)["TICKS"].second;
  ASSERT_FALSE(ticks.empty());
  EXPECT_GE(std::stoi(ticks), 3);
  const std::string log = readFile(dir / "lumware.err");
  int lines = 0;
  for (size_t at = 0; (at = log.find("Statement limit reached (", at)) != std::string::npos; ++at) ++lines;
  EXPECT_EQ(lines, std::stoi(ticks)) << log;
  EXPECT_NE(log.find(" in S <TLumScreen>) "), std::string::npos) << log;

  // The option takes a whole number.
  ToolResult bad = playHeadless(dir, 1, dir / "save", "--script-budget many");
  EXPECT_EQ(bad.status, 2) << bad.out;
  EXPECT_NE(bad.out.find("--script-budget takes a whole number"), std::string::npos) << bad.out;

  // lumscript --game ends the same loop with the default budget, and with
  // a budget of its own.
  writeFile(dir / "loop.pas", "N := 0; WHILE 1 = 1 DO N := N + 1;");
  const std::string game = lumscriptPath() + " --game " + quoted(dir / "game.lumf");
  ToolResult script = runTool("HOME=" + quoted(dir) + " " + game + " " + quoted(dir / "loop.pas"));
  EXPECT_EQ(script.status, 1) << script.out;
  EXPECT_NE(script.out.find("error 30: Statement limit reached"), std::string::npos) << script.out;
  ToolResult small = runTool("HOME=" + quoted(dir) + " " + game + " --script-budget 100 " +
                             quoted(dir / "loop.pas"));
  EXPECT_NE(small.out.find("N = int:49\n"), std::string::npos) << small.out;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
