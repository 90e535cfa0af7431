#include "platform/pictures_folder.h"

#include <gtest/gtest.h>

#include <map>

#include "temp_folder.h"

namespace lum {
namespace {

using testing::TempFolder;

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
  return [values](std::string_view name) -> std::optional<std::string> {
    auto it = values.find(std::string(name));
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

TEST(PicturesFolder, ReadsTheUserDirsFileAsXdgUserDirsDoes) {
  const std::filesystem::path home = "/home/ann";
  const char* text =
      "# written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      "  XDG_PICTURES_DIR=\"$HOME/Bilder\"\r\n";
  EXPECT_EQ(userDirFromText(text, "XDG_PICTURES_DIR", home), home / "Bilder");
  EXPECT_EQ(userDirFromText("XDG_PICTURES_DIR=\"/srv/pics\"", "XDG_PICTURES_DIR", home),
            std::filesystem::path("/srv/pics"));
  // The last usable line wins; relative paths and other variables are not usable.
  EXPECT_EQ(userDirFromText("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"b\"\n"
                            "XDG_PICTURES_DIR=\"$USER/c\"\n",
                            "XDG_PICTURES_DIR", home),
            std::filesystem::path("/a"));
  EXPECT_FALSE(userDirFromText("#XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIRX=\"/b\"",
                               "XDG_PICTURES_DIR", home));
  EXPECT_FALSE(userDirFromText("XDG_PICTURES_DIR", "XDG_PICTURES_DIR", home));
  EXPECT_FALSE(userDirFromText("", "XDG_PICTURES_DIR", home));
}

TEST(PicturesFolder, PrefersEnvironmentThenConfigThenPicturesBelowHome) {
  TempFolder temp;
  const std::string home = temp.path().string();
  EXPECT_EQ(findPicturesFolder(environmentOf({{"HOME", home}})), temp.path() / "Pictures");
  EXPECT_FALSE(findPicturesFolder(environmentOf({})));

  std::filesystem::create_directories(temp.path() / "cfg");
  temp.write("cfg/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
  EXPECT_EQ(findPicturesFolder(environmentOf({{"HOME", home}, {"XDG_CONFIG_HOME", home + "/cfg"}})),
            temp.path() / "Fotos");
  // A relative configuration folder is ignored: ~/.config holds nothing here.
  EXPECT_EQ(findPicturesFolder(environmentOf({{"HOME", home}, {"XDG_CONFIG_HOME", "cfg"}})),
            temp.path() / "Pictures");
  EXPECT_EQ(findPicturesFolder(environmentOf({{"HOME", home},
                                              {"XDG_CONFIG_HOME", home + "/cfg"},
                                              {"XDG_PICTURES_DIR", "/elsewhere"}})),
            std::filesystem::path("/elsewhere"));
}

}  // namespace
}  // namespace lum
