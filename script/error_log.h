#pragma once
// The script error log: one line per failed script or suspicious variable
// access, appended to a text file while the game's SaveErr switch is on.
#include <string>
#include <string_view>
#include <vector>

namespace lum {

class ErrorLog {
 public:
  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }
  void SetSaveErr(bool on) { saveErr_ = on; }
  bool SaveErr() const { return saveErr_; }
  // Keeps written lines in memory as well (tests and tools read them back).
  void SetKeepLines(bool on) { keepLines_ = on; }
  const std::vector<std::string>& KeptLines() const { return kept_; }

  // Opens the file for appending, writes the line and a line break, closes
  // it again; nothing when the switch is off. A file that cannot be opened
  // loses the line: logging must never stop a script.
  void Append(std::string_view line);

 private:
  std::string path_ = "lumware.err";
  bool saveErr_ = false;
  bool keepLines_ = false;
  std::vector<std::string> kept_;
};

}  // namespace lum
