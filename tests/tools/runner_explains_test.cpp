// What the programs say about themselves: versions, the start-up line,
// screenshots taken with F12, and a plain refusal when there is no game.
#include <gtest/gtest.h>

#include <regex>

#include "game_run.h"
#include "tool_runner.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;

const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Explained", "InitScreen": 1, "FileRS": "progress.dat"},
  "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Only"}}]})";

std::vector<fs::path> pngsIn(const fs::path& folder) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".png") out.push_back(entry.path());
  }
  return out;
}

TEST(RunnerExplains, EveryToolNamesItsVersion) {
  const std::regex version("^(lumrun|lumf|lumscript) [0-9]+\\.[0-9]+\\.[0-9]+\n$");
  for (const std::string& tool : {lumrunPath(), lumfPath(), lumscriptPath()}) {
    ToolResult r = runTool(tool + " --version");
    EXPECT_EQ(r.status, 0) << tool;
    EXPECT_TRUE(std::regex_match(r.out, version)) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find(' ')), fs::path(tool).filename().string());
  }
}

TEST(RunnerExplains, StartUpLineNamesGameRendererSoundAndFolders) {
  auto dir = scratchFolder("explain-start");
  ASSERT_EQ(buildGame(dir, kGame).status, 0);
  ToolResult run = playHeadless(dir, 2, dir / "saves");
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string expected = "lumrun: playing \"Explained\" from " + (dir / "game.lumf").string() +
                               "; renderer soft; sound off (headless); saves in " +
                               (dir / "saves" / "Lumware" / "Explained").string() +
                               "; error log " + (dir / "lumware.err").string() + "\n";
  EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;

  // A game that keeps nothing says so.
  auto bare = scratchFolder("explain-bare");
  ASSERT_EQ(buildGame(bare, R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Bare"}})").status, 0);
  ToolResult quiet = runTool(lumrunPath() + " --headless --ticks 1 --save-dir " +
                             quoted(dir / "saves") + " " + quoted(bare));
  EXPECT_EQ(quiet.status, 0) << quiet.out;
  EXPECT_NE(quiet.out.find("; no saves (the game keeps no settings or progress); error log " +
                           (bare / "lumware.err").string() + "\n"),
            std::string::npos)
      << quiet.out;
  fs::remove_all(bare);
  fs::remove_all(dir);
}

TEST(RunnerExplains, F12SavesATimedPngWhereAskedOrInThePicturesFolder) {
  auto dir = scratchFolder("explain-shot");
  ASSERT_EQ(buildGame(dir, kGame).status, 0);
  writeFile(dir / "input.txt", "3 key 123\n4 key 123\n");
  ToolResult run = playHeadless(dir, 6, dir / "saves",
                                "--input " + quoted(dir / "input.txt") + " --screenshot-dir " +
                                    quoted(dir / "shots" / "new"));
  ASSERT_EQ(run.status, 0) << run.out;
  std::vector<fs::path> shots = pngsIn(dir / "shots" / "new");
  ASSERT_EQ(shots.size(), 2u) << run.out;
  const std::regex name("lumrun-[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}(-2)?\\.png");
  for (const fs::path& shot : shots) {
    EXPECT_TRUE(std::regex_match(shot.filename().string(), name)) << shot;
    EXPECT_NE(run.out.find("lumrun: screenshot saved to " + shot.string() + "\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(readFile(shot).substr(1, 3), "PNG");
  }

  // Without the option: the XDG pictures folder of the user's configuration.
  fs::create_directories(dir / "home" / "cfg");
  writeFile(dir / "home" / "cfg" / "user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  ToolResult xdg = runTool("env -u XDG_PICTURES_DIR HOME=" + quoted(dir / "home") +
                           " XDG_CONFIG_HOME=" + quoted(dir / "home" / "cfg") + " " +
                           lumrunPath() + " --headless --ticks 5 --save-dir " +
                           quoted(dir / "saves") + " --input " + quoted(dir / "input.txt") + " " +
                           quoted(dir));
  ASSERT_EQ(xdg.status, 0) << xdg.out;
  EXPECT_EQ(pngsIn(dir / "home" / "Bilder").size(), 2u) << xdg.out;

  // In a window (on the test's off-screen or dummy video driver) the key
  // takes the frame drawn next in the same way. Real time may run both
  // ticks of the input before one frame, so this run presses it once.
  writeFile(dir / "once.txt", "3 key 123\n");
  ToolResult window = runTool(lumrunPath() + " --renderer soft --windowed --mute --ticks 30 --save-dir " +
                              quoted(dir / "saves") + " --input " + quoted(dir / "once.txt") +
                              " --screenshot-dir " + quoted(dir / "window") + " " + quoted(dir));
  ASSERT_EQ(window.status, 0) << window.out;
  EXPECT_EQ(pngsIn(dir / "window").size(), 1u) << window.out;
  fs::remove_all(dir);
}

TEST(RunnerExplains, NoGameIsSaidPlainly) {
  auto dir = scratchFolder("explain-nogame");
  // Beside a copy of the runner in a folder without a game, with no
  // authoring-tool settings to name one.
  fs::create_directories(dir / "bin");
  fs::copy_file(lumrunPath(), dir / "bin" / "lumrun");
  fs::permissions(dir / "bin" / "lumrun", fs::perms::owner_exec, fs::perm_options::add);
  ToolResult bare = runTool("env -u DISPLAY HOME=" + quoted(dir) + " XDG_DATA_HOME=" +
                            quoted(dir / "data") + " " + quoted(dir / "bin" / "lumrun") +
                            " --headless");
  EXPECT_EQ(bare.status, 2);
  EXPECT_NE(bare.out.find("lumrun: no game found: no .lumf file beside lumrun in " +
                          (dir / "bin").string()),
            std::string::npos)
      << bare.out;

  fs::create_directories(dir / "empty");
  ToolResult named = runTool(lumrunPath() + " --headless " + quoted(dir / "empty"));
  EXPECT_EQ(named.status, 2);
  EXPECT_NE(named.out.find("no .lumf game file in"), std::string::npos) << named.out;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
