// Symbolic links in the game's folder and in the save folder never let a
// played game write or delete elsewhere: the files they lead to (canaries
// in a folder of their own) stay exactly as they were.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;
using Var = std::pair<std::string, std::string>;

struct Sandbox {
  fs::path root, game, outside, save;
  std::map<std::string, std::string> canaries;

  explicit Sandbox(const std::string& name)
      : root(scratchFolder(name)), game(root / "game"), outside(root / "outside"),
        save(root / "save") {
    fs::create_directories(game);
    fs::create_directories(outside / "folder");
    writeFile(outside / "victim.txt", "victim");
    writeFile(outside / "folder" / "victim.txt", "victim in a folder");
    writeFile(outside / "settings.ini", "[Def]\nMuz=1\n");
    writeFile(outside / "folder" / "s.ini", "[Def]\nMuz=2\n");
    writeFile(outside / "log.txt", "log\n");
    canaries = folderContents(outside);
  }
  ~Sandbox() { fs::remove_all(root); }

  ToolResult play(const std::string& json) {
    ToolResult built = buildGame(game, json);
    if (built.status != 0) return built;
    return playHeadless(game, 30, save);
  }
};

TEST(SandboxPlay, DelFileNeverDeletesThroughALink) {
  Sandbox box("sandbox-delete");
  fs::create_directory_symlink(box.outside / "folder", box.game / "Away");
  fs::create_symlink(box.outside / "victim.txt", box.game / "victim.txt");
  writeFile(box.game / "mine.txt", "the game's own");
  ToolResult run = box.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Del",
    "exInit": "DelFile('away\\victim.txt'); DelFile('AWAY/VICTIM.TXT'); DelFile('..\\outside\\victim.txt'); DelFile('victim.txt'); DelFile('mine.txt'); Done := 1;"}})");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(varsAfterPlay(box.game, 0)["DONE"], Var("int", "1"));
  EXPECT_EQ(folderContents(box.outside), box.canaries);
  // The game's own file and the link itself (inside the folder) may go.
  EXPECT_FALSE(fs::exists(box.game / "mine.txt"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(box.game / "victim.txt")));
}

TEST(SandboxPlay, AnErrorLogThatIsALinkIsNotWrittenThrough) {
  Sandbox box("sandbox-log");
  fs::create_symlink(box.outside / "log.txt", box.game / "lumware.err");
  ToolResult run = box.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Log",
    "SaveErr": true, "exInit": "Got := Nonsense(1);"}})");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(folderContents(box.outside), box.canaries);
  // The line goes to the runner's own place in the user data folder.
  EXPECT_NE(readFile(box.save / "lumrun" / "lumware.err").find("NONSENSE"), std::string::npos);
}

TEST(SandboxPlay, SettingsAreNeverWrittenThroughALink) {
  Sandbox box("sandbox-settings");
  // The copy in the game's folder (Unicode mode and the display choice)
  // as a link to a file, and a folder link as a way out.
  fs::create_symlink(box.outside / "settings.ini", box.game / "settings.ini");
  fs::create_directory_symlink(box.outside / "folder", box.game / "cfg");
  fs::create_directories(box.game / "unicode");
  writeFile(box.game / "unicode" / "unicode.fnt", "0\nArial\n");
  ToolResult run = box.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Links", "FileRS": "p.dat",
    "IniFile": "settings.ini", "exInit": "SetIni('Def', 'Muz', '9'); LUMDB.FULLSCREEN := 1; LUMDB.INIFILE := 'cfg\\s.ini'; SetIni('Def', 'Muz', '8'); Done := 1;"}})");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(varsAfterPlay(box.game, 0)["DONE"], Var("int", "1"));
  EXPECT_EQ(folderContents(box.outside), box.canaries);

  // The save folder's settings file, reached through a folder link there.
  fs::remove_all(box.game / "unicode");
  fs::create_directories(box.save / "Lumware" / "Saved");
  fs::create_directory_symlink(box.outside / "folder", box.save / "Lumware" / "Saved" / "sub");
  run = box.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Saved", "FileRS": "sub\\p.dat",
    "IniFile": "sub\\s.ini", "exInit": "LUMDB.VOLMUZ := 30; SetIni('Def', 'Muz', '7');"}})");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(folderContents(box.outside), box.canaries);
}

}  // namespace
}  // namespace lum::test
