// Start-up of lumscript on a trivial script beside an empty program
// (/bin/true) and beside the game mode's helper answering --version, which
// loads every library a game needs (as lumscript did before its game mode
// moved there): each started anew many times, in turn, each start timed
// from spawn to exit. Prints the median and mean of each and the ratios of
// the medians to /bin/true's; never fails on a figure.
//
//   bench_lumscript_start [RUNS [LUMSCRIPT [LUMSCRIPT_GAME]]]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Seconds from spawn to exit, output to /dev/null; negative when it failed.
double timedRun(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

struct Figures {
  double median = 0, mean = 0;
};

Figures figuresOf(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], std::accumulate(times.begin(), times.end(), 0.0) / times.size()};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  const std::string lumscript = argc > 2 ? argv[2] : LUMSCRIPT_PATH;
  const std::string helper = argc > 3 ? argv[3] : LUMSCRIPT_GAME_PATH;
  const std::filesystem::path script =
      std::filesystem::temp_directory_path() / ("lumscript-start-" + std::to_string(getpid()) + ".pas");
  std::ofstream(script) << "X := 1;\n";

  std::vector<double> light, empty, game;
  for (int i = 0; i < runs; ++i) {
    const double a = timedRun({lumscript, "--log", "/dev/null", script.string()});
    const double b = timedRun({"/bin/true"});
    const double c = timedRun({helper, "--version"});
    if (a < 0 || b < 0 || c < 0) {
      std::fprintf(stderr, "lumscript_start: a run failed (%s, %s)\n", lumscript.c_str(), helper.c_str());
      std::filesystem::remove(script);
      return 1;
    }
    light.push_back(a);
    empty.push_back(b);
    game.push_back(c);
  }
  std::filesystem::remove(script);
  const Figures s = figuresOf(light), t = figuresOf(empty), g = figuresOf(game);
  std::printf("%d starts each\n", runs);
  std::printf("lumscript, trivial script:    median %6.2f ms, mean %6.2f ms, %5.1f x /bin/true\n",
              s.median * 1e3, s.mean * 1e3, s.median / t.median);
  std::printf("lumscript-game --version:     median %6.2f ms, mean %6.2f ms, %5.1f x /bin/true\n",
              g.median * 1e3, g.mean * 1e3, g.median / t.median);
  std::printf("/bin/true:                    median %6.2f ms, mean %6.2f ms\n", t.median * 1e3,
              t.mean * 1e3);
  return 0;
}
