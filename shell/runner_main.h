#pragma once

namespace lum {

// The whole runner behind main(): reads the command line, finds and loads
// the game, and plays it or reports on it. Returns the exit status.
int runnerMain(int argc, char** argv);

}  // namespace lum
