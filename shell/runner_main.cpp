#include "shell/runner_main.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/user_data.h"
#include "scene/db.h"
#include "scene/game_file.h"
#include "scene/runtime.h"
#include "scene/tree_outline.h"
#include "shell/command_line.h"
#include "shell/game_discovery.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

fs::path executablePath(const char* argv0) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self;
  return fs::absolute(argv0, ec);
}

int printInfo(const TLumDB& root, const GameLocation& where, const CodePage& cp) {
  std::cout << "game: " << (where.folder / where.fileName).string() << '\n';
  writeOutline(std::cout, root, cp);
  std::cout << "elements by class:\n";
  for (const auto& [name, count] : countClasses(root)) {
    std::cout << "  " << name << ' ' << count << '\n';
  }
  return 0;
}

}  // namespace

int runnerMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kRunnerUsage;
      return 0;
    }
  }
  Result<CommandLine> parsed = parseCommandLine(args);
  if (!parsed) {
    std::cerr << "lumrun: " << parsed.error().text() << '\n' << kRunnerUsage;
    return 2;
  }
  const CommandLine& cl = *parsed;
  CodePage cp;
  if (!cl.codePage.empty()) {
    Result<CodePage> chosen = CodePage::create(cl.codePage);
    if (!chosen) {
      std::cerr << "lumrun: " << chosen.error().text() << '\n';
      return 2;
    }
    cp = *chosen;
  }

  GameLocation where;
  if (cl.game) {
    Result<GameLocation> found = locateGameArgument(*cl.game, cp);
    if (!found) {
      std::cerr << "lumrun: " << found.error().text() << '\n';
      return 2;
    }
    where = *found;
  } else {
    std::vector<fs::path> iniFolders;
    if (auto data = findUserDataFolder(std::nullopt)) iniFolders.push_back(*data);
    where = locateGameBesideExecutable(executablePath(argv[0]), iniFolders, cp);
  }

  Runtime runtime;
  runtime.TestMode = cl.testMode;
  TLumDB root(&runtime);
  fs::path gameFile = where.folder / where.fileName;
  std::error_code ec;
  if (!where.fileName.empty() && fs::exists(gameFile, ec)) {
    Status loaded = loadGameFile(root, gameFile);
    if (!loaded) {
      std::cerr << "lumrun: cannot load the game: " << loaded.error().text() << '\n';
      return 2;
    }
  } else if (cl.info) {
    std::cerr << "lumrun: no game file found\n";
    return 2;
  }
  if (cl.info) return printInfo(root, where, cp);
  std::cerr << "lumrun: playing is not available yet; use --info\n";
  return 1;
}

}  // namespace lum
