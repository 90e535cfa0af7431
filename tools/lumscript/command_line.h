#pragma once
// lumscript's command line, read alike by lumscript and by the helper that
// runs its game mode, so both take and refuse the same arguments.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_mode.h"
#include "script/value.h"

namespace lum {

struct Options {
  std::string logPath = "lumware.err";
  std::vector<std::string> presets;
  std::string eval;
  bool evalMode = false;
  std::string tokensFile;
  std::string scriptFile;
  std::optional<uint64_t> scriptBudget;
  bool gameMode = false;
  GameModeOptions game;

  // --tokens comes first, and --eval needs no game even with --game.
  bool runsInGame() const { return tokensFile.empty() && gameMode && !evalMode; }
};

// Prints the usage; returns the exit status for it.
int Usage();

// Fills `options`; an exit status when the command line is answered
// already (--version) or wrong (after the usage).
std::optional<int> ReadCommandLine(int argc, char** argv, Options& options);

// A file's bytes, or standard input for "-"; false with the system's
// error number.
bool ReadWhole(const std::string& path, std::string& out, int& error);

// A --var value: an integer, a real with a point, else a string.
ScriptValue PresetValue(const std::string& text);

}  // namespace lum
