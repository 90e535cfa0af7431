#include "platform/pictures_folder.h"

#include <string>

#include "platform/file_ops.h"

namespace lum {
namespace {

constexpr std::uintmax_t kMaxUserDirsBytes = 64 * 1024;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// "$HOME/x" or "/x"; nothing for other forms (relative paths, other
// variables), which the XDG rules leave undefined.
std::optional<std::filesystem::path> expandUserDir(std::string_view value,
                                                   const std::filesystem::path& home) {
  constexpr std::string_view kHome = "$HOME";
  if (value.substr(0, kHome.size()) == kHome) {
    std::string_view rest = value.substr(kHome.size());
    if (rest.empty()) return home;
    if (rest.front() != '/') return std::nullopt;
    if (home.empty()) return std::nullopt;
    return home / std::filesystem::path(std::string(rest.substr(1)));
  }
  if (!value.empty() && value.front() == '/') return std::filesystem::path(std::string(value));
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> userDirFromText(std::string_view text, std::string_view key,
                                                     const std::filesystem::path& home) {
  std::optional<std::filesystem::path> found;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || trimmed(line.substr(0, eq)) != key) continue;
    std::string_view value = trimmed(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    // The last assignment wins, as when the shell reads the file.
    if (auto path = expandUserDir(value, home)) found = path;
  }
  return found;
}

std::optional<std::filesystem::path> findPicturesFolder(const EnvironmentLookup& environment) {
  std::filesystem::path home;
  if (auto h = environment("HOME"); h && !h->empty()) home = *h;
  if (auto direct = environment("XDG_PICTURES_DIR"); direct && !direct->empty()) {
    if (auto path = expandUserDir(*direct, home)) return path;
  }
  std::filesystem::path config;
  if (auto xdg = environment("XDG_CONFIG_HOME"); xdg && !xdg->empty() && xdg->front() == '/') {
    config = *xdg;
  } else if (!home.empty()) {
    config = home / ".config";
  }
  if (!config.empty()) {
    if (Result<std::string> text = readFileBytes(config / "user-dirs.dirs", kMaxUserDirsBytes)) {
      if (auto path = userDirFromText(*text, "XDG_PICTURES_DIR", home)) return path;
    }
  }
  if (home.empty()) return std::nullopt;
  return home / "Pictures";
}

}  // namespace lum
