// Progress files end to end: a runner killed while it saves leaves a file
// that loads whole, and lumf prints what a save holds.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "game_run.h"

extern char** environ;

namespace lum::test {
namespace {

namespace fs = std::filesystem;
using Var = std::pair<std::string, std::string>;

// The screen saves on every tick; A and C are set together before each
// save, so a file cut anywhere would show them apart (C is written after A).
std::string savingGame() {
  const std::string pad(3000, 'p');
  Json game = {
      {"class", "TLumDB"},
      {"properties",
       {{"Key", 0}, {"Id", "Killed"}, {"FileRS", "progress.dat"}, {"InitScreen", 1},
        {"exInit", "A := 0; Pad := '" + pad + "'; C := 0; LoadedA := -1; LoadedC := -2;"}}},
      {"children",
       {{{"class", "TLumScreen"},
         {"properties",
          {{"Key", 1}, {"Id", "S"},
           // The root's variables exist once its exInit has run.
           {"exInit", "LoadState; LUMDB.LoadedA := LUMDB.A; LUMDB.LoadedC := LUMDB.C;"},
           {"exProcess", "LUMDB.A := LUMDB.A + 1; LUMDB.C := LUMDB.A; SaveState;"}}}}}}};
  return game.dump();
}

pid_t startRunner(const fs::path& dir, const fs::path& save) {
  const std::string program = lumrunPath();
  std::vector<std::string> args = {program, "--headless", "--ticks", "100000000", "--save-dir",
                                   save.string(), dir.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// The root's A in the progress file as lumf prints it; -1 when the file
// cannot be read whole.
long savedA(const fs::path& file) {
  ToolResult shown = runTool(lumfPath() + " progress " + quoted(file));
  if (shown.status != 0) return -1;
  const std::string line = "\n0 A I ";
  const size_t at = shown.out.find(line);
  return at == std::string::npos ? 0 : std::stol(shown.out.substr(at + line.size()));
}

TEST(ProgressPlay, ASaveKilledAnywhereLeavesAFileThatLoadsWhole) {
  auto dir = scratchFolder("progress-kill");
  ASSERT_EQ(buildGame(dir, savingGame()).status, 0);
  const fs::path save = dir / "save";
  const fs::path file = save / "Lumware" / "Killed" / "progress.dat";
  fs::path backup = file;
  backup += ".bak";
  // A save cut between moving the old file aside and putting the new one in
  // its place leaves no file; loading then reads the backup.
  auto current = [&] { return fs::exists(file) ? file : backup; };
  for (int delayMs : {0, 3, 17, 41}) {
    const long before = std::max(0L, savedA(current()));
    const pid_t pid = startRunner(dir, save);
    ASSERT_GT(pid, 0);
    // Once the runner has saved, let it go on a little and kill it, most
    // likely in the middle of a save.
    bool saved = false;
    const auto started = std::chrono::steady_clock::now();
    while (!saved && std::chrono::steady_clock::now() - started < std::chrono::seconds(20)) {
      saved = savedA(file) > before;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(saved) << "the runner never saved";

    // The file reads to its end, and a new run loads both values.
    EXPECT_GT(savedA(current()), before) << delayMs;
    ASSERT_EQ(playHeadless(dir, 300, save).status, 0);
    auto vars = varsAfterPlay(dir, 0);
    EXPECT_EQ(vars["LOADEDA"], vars["LOADEDC"]) << delayMs;
    EXPECT_GT(std::stol(vars["LOADEDA"].second), before) << delayMs;
  }
  fs::remove_all(dir);
}

TEST(ProgressPlay, LumfPrintsASaveWithTheElementsOfItsGame) {
  auto dir = scratchFolder("progress-print");
  Json game = {{"class", "TLumDB"},
               {"properties",
                {{"Key", 0}, {"Id", "Shown"}, {"FileRS", "progress.dat"}, {"InitScreen", 1},
                 {"exInit", "Name := 'Анна'; Ratio := 0.25; Pic := LUMDB.Pic; None := NIL;"}}},
               {"children",
                {{{"class", "TLumScreen"},
                  {"properties", {{"Key", 1}, {"Id", "Pic"}, {"exShow", "SaveState;"}}}}}}};
  ASSERT_EQ(buildGame(dir, game.dump()).status, 0);
  ASSERT_EQ(playHeadless(dir, 300, dir / "save").status, 0);
  const fs::path file = dir / "save" / "Lumware" / "Shown" / "progress.dat";
  ToolResult plain = runTool(lumfPath() + " progress " + quoted(file));
  EXPECT_EQ(plain.status, 0) << plain.out;
  EXPECT_NE(plain.out.find("0 RATIO E 0.25\n"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("0 PIC O -> 1\n"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("0 NONE O NIL\n"), std::string::npos) << plain.out;
  ToolResult withGame = runTool(lumfPath() + " progress " + quoted(file) + " --game " +
                                quoted(dir / "game.lumf") + " --codepage 1251");
  EXPECT_EQ(withGame.status, 0) << withGame.out;
  EXPECT_NE(withGame.out.find("0 TLumDB 'Shown' NAME S 'Анна'\n"), std::string::npos)
      << withGame.out;
  EXPECT_NE(withGame.out.find("0 TLumDB 'Shown' PIC O -> 1 TLumScreen 'Pic'\n"), std::string::npos)
      << withGame.out;
  EXPECT_NE(withGame.out.find("1 TLumScreen 'Pic' VIS I"), std::string::npos) << withGame.out;
  // A cut file prints what is whole and fails.
  const std::string bytes = readFile(file);
  writeFile(dir / "cut.dat", bytes.substr(0, bytes.size() - 3));
  ToolResult cut = runTool(lumfPath() + " progress " + quoted(dir / "cut.dat"));
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.out.find("broken entry at byte"), std::string::npos) << cut.out;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
