#pragma once
// Finding the game file to play: named on the command line (a folder or a
// .lumf file), else beside the executable: the executable's base name with
// ".lumf", else the first "*.lumf" of that folder, else the game named by
// the authoring tool's Lumforge.ini (section Main, key Path).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/result.h"

namespace lum {

struct GameLocation {
  std::filesystem::path folder;  // becomes the working directory
  std::string fileName;          // the game file inside it (may not exist)
};

// From a command-line argument: a folder (searched as above, without the
// executable-name step) or a game file.
Result<GameLocation> locateGameArgument(const std::filesystem::path& argument,
                                        const CodePage& codePage);

// Beside the executable. iniFolders are searched in order for
// Lumforge.ini when the folder holds no game file. Finding nothing is not an
// error: the location then names no existing file and the root stays empty.
GameLocation locateGameBesideExecutable(const std::filesystem::path& executable,
                                        const std::vector<std::filesystem::path>& iniFolders,
                                        const CodePage& codePage);

}  // namespace lum
