#include "shell/runner_main.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

#include <SDL.h>

#include <fstream>

#include "platform/code_page.h"
#include "platform/file_ops.h"
#include "platform/user_data.h"
#include "scene/db.h"
#include "scene/game_file.h"
#include "scene/state_dump.h"
#include "scene/tree_outline.h"
#include "script/pool.h"
#include "script/value_text.h"
#include "shell/command_line.h"
#include "shell/game_discovery.h"
#include "shell/game_session.h"
#include "shell/play.h"

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

// Shows a start-up failure the way the player sees it: a line on standard
// error, and a message box where there is a screen.
void reportStartupFailure(const std::string& message, bool headless) {
  std::cerr << "lumrun: " << message << '\n';
  if (!headless && std::getenv("DISPLAY")) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "lumrun", message.c_str(), nullptr);
  }
}

Status checkGameFound(const GameLocation& where, bool named) {
  std::error_code ec;
  if (!where.fileName.empty() && fs::is_regular_file(where.folder / where.fileName, ec)) return {};
  if (!where.fileName.empty()) {
    return Error{"no game: " + (where.folder / where.fileName).string() + " does not exist"};
  }
  return Error{std::string("no game found: ") +
               (named ? "" : "no .lumf file beside lumrun in " + where.folder.string() +
                                 " and no Lumforge.ini naming one; ") +
               "give a game folder or .lumf file, as in: lumrun path/to/game"};
}

std::string absolute(const std::string& p) {
  std::error_code ec;
  return fs::absolute(p, ec).string();
}

// An output file asked for on the command line must have a folder to go
// to; finding out at the end of a long play would lose it.
Status checkOutputFolder(const std::string& file) {
  std::error_code ec;
  const fs::path folder = fs::path(file).parent_path();
  if (fs::is_directory(folder, ec)) return {};
  return Error{file + ": no such folder " + folder.string()};
}

Status writeStateDump(GameSession& session, const std::string& file) {
  GameHost& host = session.host();
  OrderedJson state = stateToJson(host.root(), host.services().codePage,
                                  host.services().pool.Environment().elements);
  std::ofstream out(file);
  out << state.dump(2) << '\n';
  if (!out.flush()) return Error{file + ": cannot write the state"};
  return {};
}

int play(CommandLine cl, const GameLocation& where) {
  // Paths on the command line are the user's, relative to where lumrun ran.
  for (Screenshot& s : cl.screenshots) s.file = absolute(s.file);
  if (cl.dumpState) cl.dumpState = absolute(*cl.dumpState);
  std::vector<std::string> outputs;
  for (const Screenshot& s : cl.screenshots) outputs.push_back(s.file);
  if (cl.dumpState) outputs.push_back(*cl.dumpState);
  for (const std::string& file : outputs) {
    if (Status ok = checkOutputFolder(file); !ok) {
      std::cerr << "lumrun: " << ok.error().text() << '\n';
      return 2;
    }
  }
  std::vector<InputEvent> events;
  if (cl.inputFile) {
    Result<std::string> text = readFileBytes(*cl.inputFile, 16u << 20);
    if (!text) {
      std::cerr << "lumrun: " << text.error().text() << '\n';
      return 2;
    }
    Result<std::vector<InputEvent>> parsed = parseInputScript(*text);
    if (!parsed) {
      std::cerr << "lumrun: " << *cl.inputFile << ": " << parsed.error().text() << '\n';
      return 2;
    }
    events = std::move(parsed.value());
  }
  GameSession session(cl, where.folder, where.fileName);
  Status started = session.Start();
  if (!started) {
    reportStartupFailure(started.error().text(), cl.headless);
    return 2;
  }
  int status = cl.headless ? playHeadless(session, cl, events) : playInWindow(session, cl, events);
  if (cl.dumpState) {
    if (Status written = writeStateDump(session, *cl.dumpState); !written) {
      std::cerr << "lumrun: " << written.error().text() << '\n';
      status = 2;
    }
  }
  session.Stop();
  return status;
}

}  // namespace

int runnerMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kRunnerUsage;
      return 0;
    }
    if (a == "--version") {
      std::cout << "lumrun " << LUMRUN_VERSION << '\n';
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
  // Without a game there is nothing to show; say what was looked for
  // rather than open an empty window.
  if (Status found = checkGameFound(where, cl.game.has_value()); !found) {
    reportStartupFailure(found.error().text(), cl.headless || cl.info);
    return 2;
  }

  fs::path gameFile = where.folder / where.fileName;
  if (cl.info) {
    TLumDB root;
    Status loaded = loadGameFile(root, gameFile);
    if (!loaded) {
      std::cerr << "lumrun: cannot load the game: " << loaded.error().text() << '\n';
      return 2;
    }
    return printInfo(root, where, cp);
  }
  return play(cl, where);
}

}  // namespace lum
