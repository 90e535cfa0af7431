#include "script/error_log.h"

#include <cstdio>

namespace lum {

void ErrorLog::Append(std::string_view line) {
  if (!saveErr_) return;
  if (keepLines_) kept_.emplace_back(line);
  if (path_.empty()) return;
  std::FILE* file = std::fopen(path_.c_str(), "ab");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fputs("\r\n", file);
  std::fclose(file);
}

}  // namespace lum
