#pragma once
// The line the runner writes to standard error when a game has started, so
// that a player (or a bug report) knows what runs and where its files go.
#include <string>

namespace lum {

struct StartupFacts {
  std::string title;           // the window title (UTF-8)
  std::string gameFile;        // full path of the game file
  std::string renderer;        // the backend drawing
  std::string rendererNotice;  // why the one asked for did not start, or empty
  std::string sound;           // the audio backend, "null" when silent
  std::string soundNotice;     // why it is silent, or empty
  std::string saveFolder;      // where settings and progress go; empty: nowhere
  std::string errorLog;        // where script errors go, or empty for nowhere
};

std::string startupLine(const StartupFacts& facts);

}  // namespace lum
