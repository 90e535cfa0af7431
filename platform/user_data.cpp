#include "platform/user_data.h"

#include <cstdlib>
#include <system_error>

namespace lum {

std::optional<std::string> processEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::optional<std::filesystem::path> findUserDataFolder(
    const std::optional<std::filesystem::path>& overrideFolder,
    const EnvironmentLookup& environment) {
  if (overrideFolder && !overrideFolder->empty()) return overrideFolder;
  // A relative XDG_DATA_HOME is invalid by the XDG rules and must be ignored.
  if (auto xdg = environment("XDG_DATA_HOME"); xdg && !xdg->empty() && xdg->front() == '/') {
    return std::filesystem::path(*xdg);
  }
  if (auto home = environment("HOME"); home && !home->empty()) {
    return std::filesystem::path(*home) / ".local" / "share";
  }
  return std::nullopt;
}

Status createDirectories(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    return Error{"cannot create folder \"" + folder.string() + "\": " + error.message()};
  }
  if (!std::filesystem::is_directory(folder, error)) {
    return Error{"cannot create folder \"" + folder.string() + "\": a file of that name exists"};
  }
  return {};
}

}  // namespace lum
