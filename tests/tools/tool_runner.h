#pragma once
// Runs the built command-line programs for end-to-end checks.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace lum::test {

struct ToolResult {
  int status = -1;
  std::string out;  // standard output and standard error together
};

inline std::string binaryDir() { return LUMRUN_BINARY_DIR; }
inline std::string lumfPath() { return binaryDir() + "/tools/lumf"; }
inline std::string lumrunPath() { return binaryDir() + "/shell/lumrun"; }
inline std::string lumscriptPath() { return binaryDir() + "/tools/lumscript"; }

inline ToolResult runTool(const std::string& command) {
  ToolResult r;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
  int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// A fresh empty folder for one test.
inline std::filesystem::path scratchFolder(const std::string& name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("lumrun-test-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace lum::test
