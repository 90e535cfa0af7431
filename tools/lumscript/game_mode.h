#pragma once
// lumscript --game: a script run as an event of an element of a loaded game.
#include <cstdint>
#include <optional>
#include <string>

namespace lum {

struct GameModeOptions {
  std::string gameFile;
  bool init = false;     // start as the game does: Init, then the first screen's resources
  int32_t asKey = 0;     // the element the script runs as (the root by default)
  bool dump = false;     // print the tree with variables afterwards
  std::string scriptFile;
  std::string logPath = "lumware.err";
  std::optional<uint64_t> scriptBudget;  // statements per run; none: the default
};

// Prints the variables, errors and dump as lumscript does; returns the exit
// status.
int RunInGame(const GameModeOptions& options, const std::string& source);

}  // namespace lum
