#pragma once
// The per-user folder where games keep settings and progress: the Linux
// counterpart of the Windows application-data folder. Games add their own
// sub-folders below it.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace lum {

// Reads an environment variable; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The real process environment.
std::optional<std::string> processEnvironment(std::string_view name);

// The folder given on the command line when there is one; else
// $XDG_DATA_HOME when it is an absolute path; else $HOME/.local/share.
// Nothing when none of them is known, which callers treat like Windows'
// "no application-data folder".
std::optional<std::filesystem::path> findUserDataFolder(
    const std::optional<std::filesystem::path>& overrideFolder,
    const EnvironmentLookup& environment = processEnvironment);

// The name of the folder, below the user data folder, where a game with
// this Id (UTF-8) keeps its files. An ordinary Id is the name as it is, so
// saves made before are found again. An Id that is not one safe file name
// (separators of either kind, control characters, "." or "..", or longer
// than a file name may be) has those characters replaced by "_", is
// shortened, and ends in "~" and a hash of the whole Id, so that different
// Ids keep different folders. An empty Id stays empty (the files then lie
// in the parent folder itself).
std::string saveFolderName(std::string_view id);

// Creates the folder and all its missing parents; an existing folder is
// success.
Status createDirectories(const std::filesystem::path& folder);

}  // namespace lum
