#include "platform/user_data.h"

#include <cstdint>
#include <cstdio>
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

namespace {

constexpr size_t kMaxFolderNameBytes = 200;  // leaves room below NAME_MAX for the hash

bool isUnsafeByte(unsigned char c) { return c == '/' || c == '\\' || c < 0x20 || c == 0x7F; }

uint32_t fnv1a(std::string_view bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

}  // namespace

std::string saveFolderName(std::string_view id) {
  std::string name;
  const bool dotsOnly = id == "." || id == "..";
  bool changed = dotsOnly;
  for (unsigned char c : id) {
    changed = changed || isUnsafeByte(c);
    name.push_back(dotsOnly || isUnsafeByte(c) ? '_' : char(c));
  }
  if (!changed && name.size() <= kMaxFolderNameBytes) return name;
  if (name.size() > kMaxFolderNameBytes) {
    size_t cut = kMaxFolderNameBytes;
    // Never split a UTF-8 sequence: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  char hash[16];
  std::snprintf(hash, sizeof hash, "~%08x", fnv1a(id));
  return name + hash;
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
