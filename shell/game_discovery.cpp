#include "shell/game_discovery.h"

#include <algorithm>
#include <system_error>

#include "platform/ini_file.h"
#include "platform/wildcard.h"
#include "platform/windows_path.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// The first "*.lumf" of the folder. Directory order is whatever the system
// gives; we sort by name so that the choice is the same on every run.
std::optional<std::string> firstGameFile(const fs::path& folder, const CodePage& cp) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (matchesWildcard(cp.fromUtf8(name), "*.lumf", cp) && isFile(it->path())) {
      found.push_back(name);
    }
  }
  if (found.empty()) return std::nullopt;
  return *std::min_element(found.begin(), found.end());
}

std::optional<GameLocation> fromEditorIni(const std::vector<fs::path>& iniFolders,
                                          const CodePage& cp) {
  for (const fs::path& folder : iniFolders) {
    fs::path ini = folder / "Lumforge.ini";
    if (!isFile(ini)) continue;
    IniFile file = IniFile::open(ini, cp);
    std::string value = file.getString("Main", "Path", "");
    if (value.empty()) return std::nullopt;
    std::string folderPart(windowsFolderPart(value));
    std::string namePart(windowsFileName(value));
    std::replace(folderPart.begin(), folderPart.end(), '\\', '/');
    while (folderPart.size() > 1 && folderPart.back() == '/') folderPart.pop_back();
    return GameLocation{fs::path(cp.toUtf8(folderPart)), cp.toUtf8(namePart)};
  }
  return std::nullopt;
}

}  // namespace

Result<GameLocation> locateGameArgument(const fs::path& argument, const CodePage& cp) {
  std::error_code ec;
  if (fs::is_directory(argument, ec)) {
    fs::path folder = fs::absolute(argument, ec);
    std::optional<std::string> name = firstGameFile(folder, cp);
    if (!name) return Error{"no .lumf game file in " + argument.string()};
    return GameLocation{folder, *name};
  }
  if (isFile(argument)) {
    fs::path full = fs::absolute(argument, ec);
    return GameLocation{full.parent_path(), full.filename().string()};
  }
  return Error{"no such game file or folder: " + argument.string()};
}

GameLocation locateGameBesideExecutable(const fs::path& executable,
                                        const std::vector<fs::path>& iniFolders,
                                        const CodePage& cp) {
  fs::path folder = executable.parent_path();
  std::string own = executable.stem().string() + ".lumf";
  if (isFile(folder / own)) return GameLocation{folder, own};
  if (std::optional<std::string> first = firstGameFile(folder, cp)) {
    return GameLocation{folder, *first};
  }
  if (std::optional<GameLocation> viaIni = fromEditorIni(iniFolders, cp)) return *viaIni;
  return GameLocation{folder, ""};
}

}  // namespace lum
