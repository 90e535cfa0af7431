// lumscript-game: lumscript's game mode, as a program of its own so that
// lumscript without a game loads none of the libraries a game needs.
// lumscript hands it its whole command line.
#include <iostream>
#include <string>

#include "command_line.h"
#include "game_mode.h"

int main(int argc, char** argv) {
  using namespace lum;
  Options options;
  if (std::optional<int> answered = ReadCommandLine(argc, argv, options)) return *answered;
  if (!options.runsInGame() || options.scriptFile.empty()) return Usage();
  std::string source;
  int error = 0;
  if (!ReadWhole(options.scriptFile, source, error)) {
    std::cerr << "lumscript: cannot read " << options.scriptFile << " (error " << error << ")\n";
    return 2;
  }
  options.game.scriptFile = options.scriptFile;
  options.game.logPath = options.logPath;
  options.game.scriptBudget = options.scriptBudget;
  return RunInGame(options.game, source);
}
