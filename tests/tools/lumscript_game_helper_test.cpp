// lumscript hands a run with --game to its helper, found relative to where
// lumscript itself is (as in the build folder and once installed); every
// other command line stays with lumscript.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tool_runner.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;

// lumscript copied to DIR/bin, with or without its helper in DIR/libexec/lumrun.
fs::path installCopy(const fs::path& dir, bool withHelper) {
  fs::create_directories(dir / "bin");
  fs::copy_file(lumscriptPath(), dir / "bin/lumscript");
  if (withHelper) {
    fs::create_directories(dir / "libexec/lumrun");
    fs::copy_file(LUMSCRIPT_GAME_PATH, dir / "libexec/lumrun/lumscript-game");
  }
  return dir / "bin/lumscript";
}

TEST(LumscriptGameHelper, IsFoundBesideLumscriptAndItsAbsenceIsReported) {
  const fs::path dir = scratchFolder("lumscript-helper");
  writeFile(dir / "probe.pas", "X := 1;");
  const fs::path alone = installCopy(dir / "alone", false);
  ToolResult missing = runTool(quoted(alone) + " --game " + quoted(dir / "none.lumf") + " " +
                               quoted(dir / "probe.pas"));
  EXPECT_EQ(missing.status, 2) << missing.out;
  EXPECT_EQ(missing.out, "lumscript: cannot run " + (dir / "alone/libexec/lumrun/lumscript-game").string() +
                             ": No such file or directory\n");
  // Without --game, or when --eval or --tokens take the run, no helper is needed.
  EXPECT_EQ(runTool(quoted(alone) + " " + quoted(dir / "probe.pas")).out, "X = int:1\n");
  ToolResult eval = runTool(quoted(alone) + " --game " + quoted(dir / "none.lumf") + " --eval '1 + 1'");
  EXPECT_EQ(eval.status, 0);
  EXPECT_EQ(eval.out, "int:2\n");
  ToolResult tokens = runTool(quoted(alone) + " --game " + quoted(dir / "none.lumf") + " --tokens " +
                              quoted(dir / "probe.pas"));
  EXPECT_EQ(tokens.status, 0) << tokens.out;

  const fs::path paired = installCopy(dir / "paired", true);
  ToolResult noGame = runTool(quoted(paired) + " --game " + quoted(dir / "none.lumf") + " " +
                              quoted(dir / "probe.pas"));
  EXPECT_EQ(noGame.status, 2);
  EXPECT_EQ(noGame.out, "lumscript: no such game file: " + (dir / "none.lumf").string() + "\n");
  fs::remove_all(dir);
}

TEST(LumscriptGameHelper, TakesTheWholeCommandLineAndStandardInput) {
  const fs::path dir = scratchFolder("lumscript-helper-input");
  writeFile(dir / "game.json", R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "G",
                                   "exInit": "Base := 40;"}})");
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  // A script from standard input runs as the same script from a file does.
  writeFile(dir / "probe.pas", "X := LUMDB.Base + 2; Y := LUMDB.Missing.Z;");
  const std::string run = lumscriptPath() + " --log " + quoted(dir / "errors.log") + " --game " +
                          quoted(dir / "game.lumf") + " --init ";
  ToolResult piped = runTool(run + "- < " + quoted(dir / "probe.pas"));
  EXPECT_EQ(piped.status, 1) << piped.out;
  EXPECT_EQ(piped.out, "error 3: Variable not found: LUMDB.MISSING.Z\nsource: LUMDB.MISSING.Z  \n");
  ToolResult fromFile = runTool(run + quoted(dir / "probe.pas"));
  EXPECT_EQ(fromFile.status, 1);
  EXPECT_EQ(fromFile.out, piped.out);
  // The helper refuses what lumscript refuses, with lumscript's usage.
  ToolResult noScript = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf"));
  EXPECT_EQ(noScript.status, 2);
  EXPECT_EQ(noScript.out.rfind("usage: lumscript", 0), 0u) << noScript.out;
  ToolResult unreadable = runTool(lumscriptPath() + " --game " + quoted(dir / "game.lumf") + " " +
                                  quoted(dir / "missing.pas"));
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_EQ(unreadable.out, "lumscript: cannot read " + (dir / "missing.pas").string() + " (error 2)\n");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
