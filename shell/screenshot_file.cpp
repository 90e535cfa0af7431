#include "shell/screenshot_file.h"

#include <ctime>

#include "platform/pictures_folder.h"
#include "platform/user_data.h"

namespace lum {

std::filesystem::path screenshotPath(const std::filesystem::path& folder,
                                     std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  const std::string base = std::string("lumrun-") + stamp;
  std::filesystem::path path = folder / (base + ".png");
  std::error_code ec;
  // Several shots in one second keep their own files.
  for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n) {
    path = folder / (base + "-" + std::to_string(n) + ".png");
  }
  return path;
}

Result<std::filesystem::path> screenshotFolder(const std::optional<std::string>& chosen) {
  std::filesystem::path folder;
  if (chosen) {
    std::error_code ec;
    folder = std::filesystem::absolute(*chosen, ec);
  } else if (auto pictures = findPicturesFolder()) {
    folder = *pictures;
  } else {
    return Error{"no pictures folder known (HOME is not set); use --screenshot-dir"};
  }
  if (Status made = createDirectories(folder); !made) return made.error();
  return folder;
}

}  // namespace lum
