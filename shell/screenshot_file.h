#pragma once
// Screenshots the player asks for (F12): a PNG named after the moment it
// was taken, in the folder given by --screenshot-dir or the user's pictures
// folder.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/result.h"

namespace lum {

// The key that takes a screenshot (F12's virtual-key code); the game does
// not see it.
inline constexpr int32_t kScreenshotKey = 123;

// "lumrun-YYYY-MM-DD_HH-MM-SS.png" in local time, with "-2", "-3", ...
// before ".png" when a file of that name exists already.
std::filesystem::path screenshotPath(const std::filesystem::path& folder,
                                     std::chrono::system_clock::time_point when);

// The folder screenshots go to: the chosen one, else the pictures folder;
// created when missing.
Result<std::filesystem::path> screenshotFolder(const std::optional<std::string>& chosen);

}  // namespace lum
