// Where a played game keeps its settings and progress: one folder per game
// below the user data folder, whatever its Id, progress file and settings
// file names say, and never anywhere else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "game_run.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;
using Var = std::pair<std::string, std::string>;

std::string gameJson(const std::string& id, const std::string& fileRS, const std::string& iniFile,
                     const std::string& init) {
  Json game = {{"class", "TLumDB"},
               {"properties",
                {{"Key", 0}, {"Id", id}, {"FileRS", fileRS}, {"IniFile", iniFile},
                 {"exInit", init}}}};
  return game.dump();
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(SaveFolderPlay, SettingsAreKeptWithoutAProgressFile) {
  auto dir = scratchFolder("save-settings");
  ASSERT_EQ(buildGame(dir, gameJson("Keeper", "", "settings.ini",
                                    "Before := GetIni('Player', 'Name', 'none'); "
                                    "SetIni('Player', 'Name', 'Ann'); LUMDB.VOLMUZ := 30; "
                                    "LUMDB.VOLSND := 40; LUMDB.FULLSCREEN := 0; "
                                    "After := GetIni('Player', 'Name', 'none');"))
                .status,
            0);
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  EXPECT_EQ(varsAfterPlay(dir, 0)["BEFORE"], Var("str", "'none'"));
  EXPECT_EQ(varsAfterPlay(dir, 0)["AFTER"], Var("str", "'Ann'"));
  const std::string saved = readFile(dir / "save" / "Lumware" / "Keeper" / "settings.ini");
  EXPECT_TRUE(contains(saved, "Name=Ann")) << saved;
  EXPECT_TRUE(contains(saved, "Muz=30")) << saved;
  EXPECT_TRUE(contains(saved, "Snd=40")) << saved;
  EXPECT_TRUE(contains(saved, "FS=0")) << saved;
  // The next run finds them.
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  EXPECT_EQ(varsAfterPlay(dir, 0)["BEFORE"], Var("str", "'Ann'"));
  std::filesystem::remove_all(dir);
}

TEST(SaveFolderPlay, UnicodeSettingsAreKeptWithoutAProgressFile) {
  auto dir = scratchFolder("save-unicode");
  ASSERT_EQ(buildGame(dir, gameJson("Wide", "", "settings.ini",
                                    "SetIni('Def', 'Name', 'Bob'); "
                                    "Got := GetIni('Def', 'Name', 'none');"))
                .status,
            0);
  fs::create_directories(dir / "unicode");
  writeFile(dir / "unicode" / "unicode.fnt", "0\nArial\n");
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  EXPECT_EQ(varsAfterPlay(dir, 0)["GOT"], Var("str", "'Bob'"));
  // The wide form goes to the copy in the game's folder.
  EXPECT_TRUE(contains(readFile(dir / "settings.ini"), "Name=#$#$426F62"));
  std::filesystem::remove_all(dir);
}

// The one folder below save/Lumware that a game made, and its files.
std::map<std::string, std::string> onlySaveFolder(const fs::path& saveDir, std::string& name) {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(saveDir / "Lumware")) folders.push_back(entry.path());
  if (folders.size() != 1) return {};
  name = folders[0].filename().string();
  return folderContents(folders[0]);
}

TEST(SaveFolderPlay, AnyIdGivesOneFolderBelowTheUserDataFolder) {
  auto dir = scratchFolder("save-id");
  const fs::path outside = dir / "outside";
  fs::create_directories(outside);

  // Ordinary names, Cyrillic ones included, are used as they are.
  ASSERT_EQ(buildGame(dir, gameJson("Моя игра 2", "progress.dat", "settings.ini",
                                    "LUMDB.VOLMUZ := 30;")).status, 0);
  ASSERT_EQ(playHeadless(dir, 30, dir / "save1").status, 0);
  EXPECT_TRUE(fs::exists(dir / "save1" / "Lumware" / "Моя игра 2" / "progress.dat"));
  EXPECT_TRUE(contains(readFile(dir / "save1" / "Lumware" / "Моя игра 2" / "settings.ini"),
                       "Muz=30"));

  // An Id that climbs, an absolute one, and one a script sets before naming
  // its files again.
  const std::vector<std::pair<std::string, std::string>> games = {
      {"../../outside", "LUMDB.VOLMUZ := 30;"},
      {(outside / "abs").string(), "LUMDB.VOLMUZ := 30;"},
      {"Plain", "LUMDB.ID := '../../outside'; LUMDB.FILERS := 'p2.dat'; "
                "LUMDB.INIFILE := 's2.ini'; LUMDB.VOLSND := 7;"}};
  int run = 2;
  for (const auto& [id, init] : games) {
    const fs::path save = dir / ("save" + std::to_string(run++));
    ASSERT_EQ(buildGame(dir, gameJson(id, "progress.dat", "settings.ini", init)).status, 0);
    ASSERT_EQ(playHeadless(dir, 30, save).status, 0);
    std::string name;
    auto files = onlySaveFolder(save, name);
    EXPECT_EQ(name.find('/'), std::string::npos);
    EXPECT_NE(name, "..");
    if (id == "Plain") {
      // The files named after the change went to the new Id's own folder.
      ASSERT_TRUE(fs::exists(save / "Lumware" / "Plain" / "progress.dat"));
      std::vector<fs::path> folders;
      for (const auto& e : fs::directory_iterator(save / "Lumware")) folders.push_back(e.path());
      EXPECT_EQ(folders.size(), 2u);
    } else {
      EXPECT_EQ(files.count("progress.dat"), 1u) << id;
      EXPECT_TRUE(contains(files["settings.ini"], "Muz=30")) << id;
    }
  }
  EXPECT_TRUE(folderContents(outside).empty());
  EXPECT_FALSE(fs::exists(dir / "outside" / "abs"));
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string n = entry.path().filename().string();
    EXPECT_TRUE(n == "outside" || n.rfind("save", 0) == 0 || n.rfind("game.", 0) == 0 ||
                n == "state.json")
        << n;
  }
  std::filesystem::remove_all(dir);
}

TEST(SaveFolderPlay, SettingsFileNamesStayInsideTheSaveFolder) {
  auto dir = scratchFolder("save-ini-name");
  const fs::path canary = dir / "outside" / "canary.ini";
  fs::create_directories(canary.parent_path());
  writeFile(canary, "[Def]\nMuz=1\n");
  writeFile(dir / "climb.ini", "[Def]\nMuz=2\n");
  const fs::path folder = dir / "save" / "Lumware" / "Names";

  // An absolute name counts from the save folder.
  ASSERT_EQ(buildGame(dir, gameJson("Names", "", canary.string(), "LUMDB.VOLMUZ := 30;")).status, 0);
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  EXPECT_EQ(readFile(canary), "[Def]\nMuz=1\n");
  EXPECT_TRUE(contains(readFile(folder / canary.relative_path()), "Muz=30"));

  // Backslashes separate folders; names that climb out are refused, from
  // the game file and from a script alike.
  ASSERT_EQ(buildGame(dir, gameJson("Names", "", "..\\..\\..\\climb.ini",
                                    "LUMDB.VOLMUZ := 30; A := GetIni('Def', 'Muz', 'none'); "
                                    "LUMDB.INIFILE := '../../../climb.ini'; SetIni('Def', 'Muz', '3'); "
                                    "LUMDB.INIFILE := 'Cfg\\Player.ini'; SetIni('Def', 'Muz', '4');"))
                .status,
            0);
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  EXPECT_EQ(readFile(dir / "climb.ini"), "[Def]\nMuz=2\n");
  EXPECT_EQ(varsAfterPlay(dir, 0)["A"], Var("str", "'none'"));
  EXPECT_TRUE(contains(readFile(folder / "Cfg" / "Player.ini"), "Muz=4"));
  for (const auto& entry : fs::recursive_directory_iterator(dir / "save")) {
    EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
  }
  std::filesystem::remove_all(dir);
}

TEST(SaveFolderPlay, TemporariesThatAKilledRunnerLeftAreRemovedOnTheNextWrite) {
  auto dir = scratchFolder("save-stale");
  const fs::path folder = dir / "save" / "Lumware" / "Stale";
  fs::create_directories(folder);
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {".settings.ini.tmp-Ab12Cd", ".settings.ini.tmp-9xYz00"}) {
    writeFile(folder / name, "[Def]\nMu");
    fs::last_write_time(folder / name, old);
  }
  writeFile(folder / "notes.txt", "mine");
  ASSERT_EQ(buildGame(dir, gameJson("Stale", "progress.dat", "settings.ini", "LUMDB.VOLMUZ := 30;"))
                .status,
            0);
  ASSERT_EQ(playHeadless(dir, 30, dir / "save").status, 0);
  auto files = folderContents(folder);
  EXPECT_EQ(files.size(), 3u);
  EXPECT_EQ(files.count("progress.dat"), 1u);
  EXPECT_EQ(files["notes.txt"], "mine");
  EXPECT_TRUE(contains(files["settings.ini"], "Muz=30"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
