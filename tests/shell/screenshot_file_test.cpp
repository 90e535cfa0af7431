#include "shell/screenshot_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace lum {
namespace {

namespace fs = std::filesystem;

TEST(ScreenshotFile, NamedAfterTheMomentWithoutOverwriting) {
  const fs::path folder =
      fs::temp_directory_path() / ("lumrun-shots-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  ASSERT_TRUE(screenshotFolder(folder.string()));  // made when missing
  ASSERT_TRUE(fs::is_directory(folder));
  const auto when = std::chrono::system_clock::now();
  const fs::path first = screenshotPath(folder, when);
  EXPECT_EQ(first.parent_path(), folder);
  EXPECT_EQ(first.filename().string().rfind("lumrun-", 0), 0u);
  EXPECT_EQ(first.extension(), ".png");
  std::ofstream(first) << "x";
  const fs::path second = screenshotPath(folder, when);
  EXPECT_EQ(second.filename().string(), first.stem().string() + "-2.png");
  std::ofstream(second) << "x";
  EXPECT_EQ(screenshotPath(folder, when).filename().string(), first.stem().string() + "-3.png");

  // A file where the folder should be is refused with the reason.
  std::ofstream(folder / "file") << "x";
  EXPECT_FALSE(screenshotFolder((folder / "file").string()));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lum
