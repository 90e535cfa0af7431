// Finding the game file beside the executable, on the command line, and
// through the authoring tool's ini file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/command_line.h"
#include "shell/game_discovery.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class GameDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumrun-discovery-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "ini");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void touch(const fs::path& p, const std::string& text = "x") { std::ofstream(p) << text; }

  fs::path dir_;
  CodePage cp_;
};

TEST_F(GameDiscovery, TheExecutablesOwnNameWinsOverOtherGames) {
  touch(dir_ / "bin" / "aaa.lumf");
  touch(dir_ / "bin" / "lumrun.lumf");
  GameLocation g = locateGameBesideExecutable(dir_ / "bin" / "lumrun", {}, cp_);
  EXPECT_EQ(g.folder, dir_ / "bin");
  EXPECT_EQ(g.fileName, "lumrun.lumf");
}

TEST_F(GameDiscovery, OtherwiseTheFirstGameFileOfAnyCase) {
  touch(dir_ / "bin" / "zeta.LUMF");
  touch(dir_ / "bin" / "beta.lumf");
  touch(dir_ / "bin" / "notes.txt");
  GameLocation g = locateGameBesideExecutable(dir_ / "bin" / "lumrun", {}, cp_);
  EXPECT_EQ(g.fileName, "beta.lumf");
}

TEST_F(GameDiscovery, OtherwiseTheEditorsIniNamesTheGame) {
  touch(dir_ / "ini" / "Lumforge.ini", "[Main]\nPath=" + (dir_ / "games").string() + "\\my.lumf\n");
  GameLocation g = locateGameBesideExecutable(dir_ / "bin" / "lumrun", {dir_ / "ini"}, cp_);
  EXPECT_EQ(g.folder, dir_ / "games");
  EXPECT_EQ(g.fileName, "my.lumf");
  // Nothing anywhere: no file name, and no error.
  fs::remove(dir_ / "ini" / "Lumforge.ini");
  g = locateGameBesideExecutable(dir_ / "bin" / "lumrun", {dir_ / "ini"}, cp_);
  EXPECT_EQ(g.fileName, "");
}

TEST_F(GameDiscovery, CommandLineTakesAFolderOrAFile) {
  touch(dir_ / "bin" / "game.lumf");
  Result<GameLocation> byFolder = locateGameArgument(dir_ / "bin", cp_);
  ASSERT_TRUE(byFolder.ok());
  EXPECT_EQ(byFolder->fileName, "game.lumf");
  Result<GameLocation> byFile = locateGameArgument(dir_ / "bin" / "game.lumf", cp_);
  ASSERT_TRUE(byFile.ok());
  EXPECT_EQ(byFile->folder, dir_ / "bin");
  EXPECT_FALSE(locateGameArgument(dir_ / "ini", cp_).ok());
  EXPECT_FALSE(locateGameArgument(dir_ / "nothing", cp_).ok());
}

TEST(CommandLine, TestModeIsTheFirstArgumentInAnyCase) {
  Result<CommandLine> a = parseCommandLine({"/testMode", "game"});
  ASSERT_TRUE(a.ok());
  EXPECT_TRUE(a->testMode);
  EXPECT_EQ(a->game, "game");
  Result<CommandLine> b = parseCommandLine({"game", "/TESTMODE"});
  EXPECT_FALSE(b.ok() && b->testMode);
  EXPECT_FALSE(parseCommandLine({"--codepage"}).ok());
  EXPECT_FALSE(parseCommandLine({"a", "b"}).ok());
}

}  // namespace
}  // namespace lum
