#include "platform/game_folder.h"

#include <algorithm>
#include <system_error>

#include "platform/file_ops.h"
#include "platform/real_path.h"
#include "platform/user_data.h"
#include "platform/wildcard.h"
#include "platform/windows_path.h"

namespace lum {

GameFolder::GameFolder(std::filesystem::path root, CodePage codePage)
    : root_(std::move(root)), codePage_(std::move(codePage)) {}

const GameFolder::Listing& GameFolder::listing(const std::filesystem::path& folder) const {
  if (auto it = listings_.find(folder); it != listings_.end()) return it->second;
  Listing entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string diskName = it->path().filename().string();
    auto name = codePage_.fromUtf8Exact(diskName);
    if (!name) continue;
    std::error_code typeError;
    entries.push_back(Entry{codePage_.upper(*name), *name, diskName, it->is_directory(typeError)});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.diskName < b.diskName;
  });
  return listings_.emplace(folder, std::move(entries)).first->second;
}

const GameFolder::Entry* GameFolder::find(const std::filesystem::path& folder,
                                          std::string_view component, bool foldersOnly) const {
  const Listing& entries = listing(folder);
  const std::string key = codePage_.upper(component);
  auto first =
      std::lower_bound(entries.begin(), entries.end(), key,
                       [](const Entry& entry, const std::string& k) { return entry.key < k; });
  const Entry* chosen = nullptr;
  for (auto it = first; it != entries.end() && it->key == key; ++it) {
    if (foldersOnly && !it->isFolder) continue;
    if (it->name == component) return &*it;
    if (!chosen) chosen = &*it;
  }
  return chosen;
}

std::optional<std::filesystem::path> GameFolder::resolve(std::string_view windowsName) const {
  const auto components = splitWindowsName(windowsName);
  if (!components) return std::nullopt;
  std::filesystem::path current = root_;
  for (size_t i = 0; i < components->size(); ++i) {
    const bool last = i + 1 == components->size();
    const Entry* entry = find(current, (*components)[i], !last);
    if (!entry) return std::nullopt;
    current /= entry->diskName;
  }
  std::error_code error;
  if (!std::filesystem::exists(current, error)) return std::nullopt;  // stale cache
  return current;
}

bool GameFolder::exists(std::string_view windowsName) const {
  const auto path = resolve(windowsName);
  std::error_code error;
  return path && std::filesystem::is_regular_file(*path, error);
}

bool GameFolder::folderExists(std::string_view windowsName) const {
  const auto path = resolve(windowsName);
  std::error_code error;
  return path && std::filesystem::is_directory(*path, error);
}

std::optional<std::string> GameFolder::readFile(std::string_view windowsName,
                                                std::uintmax_t maxBytes) const {
  const auto path = resolve(windowsName);
  if (!path) return std::nullopt;
  auto bytes = readFileBytes(*path, maxBytes);
  if (!bytes) return std::nullopt;
  return std::move(bytes.value());
}

std::vector<FolderEntry> GameFolder::list(std::string_view windowsFolder,
                                          std::string_view pattern) const {
  std::vector<FolderEntry> matches;
  const auto folder = resolve(windowsFolder);
  std::error_code error;
  if (!folder || !std::filesystem::is_directory(*folder, error)) return matches;
  for (const Entry& entry : listing(*folder)) {
    if (matchesWildcard(entry.name, pattern, codePage_))
      matches.push_back({entry.name, entry.isFolder});
  }
  return matches;
}

std::optional<std::filesystem::path> GameFolder::pathForCreate(std::string_view windowsName) const {
  const auto components = splitWindowsName(windowsName);
  if (!components || components->empty()) return std::nullopt;
  std::filesystem::path current = root_;
  bool matching = true;
  for (size_t i = 0; i < components->size(); ++i) {
    const std::string& component = (*components)[i];
    const bool last = i + 1 == components->size();
    const Entry* entry = matching ? find(current, component, !last) : nullptr;
    if (entry) {
      current /= entry->diskName;
    } else {
      matching = false;
      current /= codePage_.toUtf8(component);
    }
  }
  return current;
}

std::optional<std::filesystem::path> GameFolder::pathForWrite(std::string_view windowsName,
                                                              bool createFolders) {
  const auto path = pathForCreate(windowsName);
  if (!path) return std::nullopt;
  std::error_code error;
  const std::filesystem::path realRoot = std::filesystem::canonical(root_, error);
  if (error) return std::nullopt;
  auto inside = [&](const std::filesystem::path& p) -> std::optional<std::filesystem::path> {
    auto real = realWriteTarget(p);
    if (!real || !isInsideFolder(*real, realRoot)) return std::nullopt;
    return real;
  };
  if (createFolders) {
    const auto folder = inside(path->parent_path());
    if (!folder) return std::nullopt;
    const bool made = createDirectories(*folder).ok();
    invalidate();
    if (!made) return std::nullopt;
  }
  return inside(*path);
}

Status GameFolder::writeFile(std::string_view windowsName, std::string_view bytes) {
  const auto path = pathForWrite(windowsName);
  if (!path)
    return Error{"cannot write \"" + std::string(windowsName) +
                 "\": not a name in the game folder"};
  Status written = writeFileAtomically(*path, bytes);
  invalidate();
  return written;
}

Status GameFolder::removeFile(std::string_view windowsName) {
  const auto path = resolve(windowsName);
  if (!path) return Error{"cannot delete \"" + std::string(windowsName) + "\": no such file"};
  std::error_code error;
  const std::filesystem::path realRoot = std::filesystem::canonical(root_, error);
  const auto real = realDeleteTarget(*path);
  if (error || !real || !isInsideFolder(real->parent_path(), realRoot)) {
    return Error{"cannot delete \"" + std::string(windowsName) +
                 "\": it lies outside the game folder"};
  }
  Status removed = deleteFile(*real);
  invalidate();
  return removed;
}

}  // namespace lum
