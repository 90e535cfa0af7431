#pragma once
// The runner's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace lum {

struct Screenshot {
  uint32_t tick = 0;  // taken of the frame drawn after this many logic ticks
  std::string file;
};

struct CommandLine {
  bool testMode = false;      // "/TESTMODE" as the first argument, any case
  bool info = false;          // print the tree summary and stop
  std::string codePage;       // the game's 8-bit code page, default Windows-1251
  std::optional<std::string> game;  // a game folder or .lumf file

  std::string renderer = "gl";
  bool rendererChosen = false;  // --renderer given: no fallback to soft
  bool fullscreen = false;
  bool windowed = false;
  int scale = 1;
  bool headless = false;
  bool mute = false;
  std::optional<uint32_t> ticks;
  uint32_t seed = 0;
  std::optional<std::string> inputFile;
  std::vector<Screenshot> screenshots;
  std::optional<std::string> screenshotDir;  // where F12 screenshots go
  std::optional<std::string> saveDir;
  std::optional<std::string> dumpState;
  std::optional<uint64_t> scriptBudget;  // statements per script run, 0 = no limit
};

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args);

extern const char* const kRunnerUsage;

}  // namespace lum
