#pragma once
// Runs a piece of work in a forked child and reports how far the child's
// memory rose above what it had when it started: the peak of its address
// space and the peak of its resident memory. The child's address space is
// capped, so a fault that allocates without bound ends the child rather than
// starving the machine.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

namespace lum::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// A field of /proc/self/status in bytes ("VmPeak", "VmSize", "VmHWM", "VmRSS").
inline uint64_t statusBytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) return std::stoull(line.substr(prefix.size())) * 1024;
  }
  return 0;
}

struct ChildMemory {
  bool finished = false;  // the work ran to its end and returned true
  uint64_t addressRise = 0;   // peak address space above the start
  uint64_t residentRise = 0;  // peak resident memory above the start
};

// The kernel starts a forked child's peaks at its current sizes, so the
// rises belong to `work` alone. `addressCap` bounds the child's address
// space above its start (not under AddressSanitizer, which reserves far more
// address space than it uses).
inline ChildMemory measureInChild(const std::function<bool()>& work, uint64_t addressCap) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) {
    close(pipeEnds[0]);
    const uint64_t size0 = statusBytes("VmSize"), rss0 = statusBytes("VmRSS");
    if (!kAddressSanitizer) {
      const rlimit cap{size0 + addressCap, size0 + addressCap};
      setrlimit(RLIMIT_AS, &cap);
    }
    // Whatever happens, the child must not go back into the test runner.
    bool ok = false;
    try {
      ok = work();
    } catch (...) {
    }
    uint64_t report[3] = {ok ? 1u : 0u, statusBytes("VmPeak") - size0, statusBytes("VmHWM") - rss0};
    (void)!write(pipeEnds[1], report, sizeof report);
    _exit(0);
  }
  close(pipeEnds[1]);
  uint64_t report[3] = {};
  const bool got = read(pipeEnds[0], report, sizeof report) == ssize_t(sizeof report);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ChildMemory m;
  m.finished = got && report[0] == 1 && WIFEXITED(status);
  m.addressRise = report[1];
  m.residentRise = report[2];
  return m;
}

}  // namespace lum::test
