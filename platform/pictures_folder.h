#pragma once
// The user's pictures folder, where screenshots go: the XDG user
// directory XDG_PICTURES_DIR (from the environment, else from
// user-dirs.dirs in the configuration folder), else ~/Pictures.
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/user_data.h"

namespace lum {

// The value of one key of a user-dirs.dirs text: lines KEY="VALUE" where
// VALUE is "$HOME/..." or an absolute path; anything else is ignored, as
// xdg-user-dirs does. Nothing when the key is absent or unusable.
std::optional<std::filesystem::path> userDirFromText(std::string_view text, std::string_view key,
                                                     const std::filesystem::path& home);

// Nothing when neither HOME nor an absolute XDG_PICTURES_DIR is known.
std::optional<std::filesystem::path> findPicturesFolder(
    const EnvironmentLookup& environment = processEnvironment);

}  // namespace lum
