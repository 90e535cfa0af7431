#pragma once
// The runner's command line.
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace lum {

struct CommandLine {
  bool testMode = false;      // "/TESTMODE" as the first argument, any case
  bool info = false;          // print the tree summary and stop
  std::string codePage;       // the game's 8-bit code page, default Windows-1251
  std::optional<std::string> game;  // a game folder or .lumf file
};

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args);

extern const char* const kRunnerUsage;

}  // namespace lum
