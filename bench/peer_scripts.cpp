// Runs script files as events of an empty game's root, with every routine
// a game has, and prints the best of three wall-clock times of each:
// "NAME SECONDS" per line. bench/peers/run.sh compares them with Lua.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "library/engine/game_routines.h"
#include "platform/user_data.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "script/pool.h"

int main(int argc, char** argv) {
  using namespace lum;
  namespace fs = std::filesystem;
  if (argc < 2) {
    std::cerr << "usage: bench_peer_scripts SCRIPT.pas...\n";
    return 2;
  }
  const fs::path empty = fs::temp_directory_path() / "lumrun-peer-scripts";
  fs::create_directories(empty);
  HostOptions host;
  host.folder = empty;
  host.errorLogPath = "";
  Result<std::unique_ptr<GameHost>> made = GameHost::Create(std::move(host), makeGameRoutines);
  if (!made) {
    std::cerr << made.error().text() << '\n';
    return 2;
  }
  GameHost& game = *made.value();
  (void)game.LoadGame("none.lumf");  // no file: an empty game, the root alone
  TLumDB& root = game.root();
  InterpreterPool& pool = game.services().pool;
  pool.Environment().statementBudget = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    TPasCalc& preparer = pool.Current();
    const ScriptText script{source, preparer.PrepareScript(source)};
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
      root.SetX(0);
      const auto start = std::chrono::steady_clock::now();
      const bool ran = root.RunEvent(script, "Bench");
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (!ran) {
        TPasCalc& runner = pool.At(pool.Depth());
        std::cerr << argv[i] << ": " << runner.ErrorMessage() << '\n';
        return 1;
      }
      best = std::min(best, seconds);
    }
    std::printf("%s %.4f\n", fs::path(argv[i]).stem().c_str(), best);
  }
  fs::remove_all(empty);
  return 0;
}
