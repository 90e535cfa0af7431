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

// Creates the folder and all its missing parents; an existing folder is
// success.
Status createDirectories(const std::filesystem::path& folder);

}  // namespace lum
