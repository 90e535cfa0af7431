#include "platform/real_path.h"

#include <iterator>
#include <system_error>
#include <vector>

namespace lum {
namespace fs = std::filesystem;

namespace {

bool isPlainName(const fs::path& name) { return !name.empty() && name != "." && name != ".."; }

}  // namespace

std::optional<fs::path> realWriteTarget(const fs::path& path) {
  std::vector<fs::path> missing;  // innermost first
  fs::path existing = path;
  for (;;) {
    std::error_code error;
    // symlink_status: a dangling link counts as existing, and is then
    // refused by canonical() below instead of being written through.
    const fs::file_status status = fs::symlink_status(existing, error);
    if (status.type() != fs::file_type::not_found) {
      if (error || status.type() == fs::file_type::none) return std::nullopt;
      break;
    }
    if (!isPlainName(existing.filename())) return std::nullopt;
    missing.push_back(existing.filename());
    existing = existing.parent_path();
    if (existing.empty()) existing = ".";
  }
  std::error_code error;
  fs::path real = fs::canonical(existing, error);
  if (error) return std::nullopt;
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) real /= *it;
  return real;
}

std::optional<fs::path> realDeleteTarget(const fs::path& path) {
  if (!isPlainName(path.filename())) return std::nullopt;
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  fs::path real = fs::canonical(folder, error);
  if (error) return std::nullopt;
  return real / path.filename();
}

bool isInsideFolder(const fs::path& realPath, const fs::path& realFolder) {
  auto p = realPath.begin();
  for (auto f = realFolder.begin(); f != realFolder.end(); ++f, ++p) {
    if (f->empty() && std::next(f) == realFolder.end()) break;  // trailing separator
    if (p == realPath.end() || *p != *f) return false;
  }
  return true;
}

}  // namespace lum
