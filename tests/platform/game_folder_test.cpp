#include "platform/game_folder.h"

#include <gtest/gtest.h>

#include "platform/wildcard.h"
#include "platform/windows_path.h"
#include "temp_folder.h"

namespace lum {
namespace {

using testing::TempFolder;

std::vector<std::string> names(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& entry : entries) out.push_back(entry.name);
  return out;
}

TEST(WindowsPath, SplitsNormalisesAndConfines) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(splitWindowsName("Pics\\A.bmp"), (Parts{"Pics", "A.bmp"}));
  EXPECT_EQ(splitWindowsName("pics//sub/./x.png\\"), (Parts{"pics", "sub", "x.png"}));
  EXPECT_EQ(splitWindowsName("a\\b\\..\\c"), (Parts{"a", "c"}));
  EXPECT_EQ(splitWindowsName("\\Pics\\a.bmp"), (Parts{"Pics", "a.bmp"}));
  EXPECT_EQ(splitWindowsName("name.txt. . "), (Parts{"name.txt"}));
  EXPECT_EQ(splitWindowsName(""), Parts{});
  EXPECT_FALSE(splitWindowsName("..\\x").has_value());
  EXPECT_FALSE(splitWindowsName("a\\..\\..\\x").has_value());
  EXPECT_FALSE(splitWindowsName("C:\\Windows\\win.ini").has_value());
  EXPECT_FALSE(splitWindowsName("c:x").has_value());
  EXPECT_FALSE(splitWindowsName("\\\\server\\share\\x").has_value());
  EXPECT_FALSE(splitWindowsName(std::string("a\0b", 3)).has_value());
}

TEST(WindowsPath, FileAndFolderParts) {
  EXPECT_EQ(windowsFileName("C:\\Games\\Demo\\demo.lumf"), "demo.lumf");
  EXPECT_EQ(windowsFolderPart("C:\\Games\\Demo\\demo.lumf"), "C:\\Games\\Demo\\");
  EXPECT_EQ(windowsFileName("C:demo.lumf"), "demo.lumf");
  EXPECT_EQ(windowsFileName("demo.lumf"), "demo.lumf");
  EXPECT_EQ(windowsFolderPart("demo.lumf"), "");
}

TEST(Wildcard, MatchesLikeWindowsSearches) {
  CodePage cp;
  EXPECT_TRUE(matchesWildcard("Game.LUMF", "*.lumf", cp));
  EXPECT_FALSE(matchesWildcard("game.lumf.bak", "*.lumf", cp));
  EXPECT_TRUE(matchesWildcard("logo1.jpg", "logo?.jpg", cp));
  EXPECT_FALSE(matchesWildcard("logo10.jpg", "logo?.jpg", cp));
  EXPECT_TRUE(matchesWildcard("README", "*.*", cp));
  EXPECT_TRUE(matchesWildcard("a.b.c", "*.*.*", cp));
  EXPECT_TRUE(matchesWildcard(cp.fromUtf8("Игра.lumf"), cp.fromUtf8("иГРА.*"), cp));
  EXPECT_TRUE(matchesWildcard("", "*", cp));
  EXPECT_FALSE(matchesWildcard("", "?", cp));
  // Backtracking stays cheap on a pattern made to be slow.
  const std::string name(5000, 'a');
  EXPECT_FALSE(matchesWildcard(name, "*a*a*a*a*a*a*b", cp));
}

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp.write("Pics/Title.BMP", "bmp");
    temp.write("pics/Sub Dir/x.png", "png");  // a second "pics", differing in case
    temp.write("sounds/Click.wav", "wav");
    temp.write("Меню/Фон.jpg", "jpg");
    temp.write("game.lumf", "lumf");
    temp.write("Other.LUMF", "lumf2");
  }
  TempFolder temp;
};

TEST_F(GameFolderTest, ResolvesWithoutRegardToCaseOrSeparator) {
  GameFolder folder(temp.path());
  EXPECT_EQ(folder.resolve("PICS\\title.bmp"), temp.path() / "Pics" / "Title.BMP");
  EXPECT_EQ(folder.resolve("Sounds/CLICK.WAV"), temp.path() / "sounds" / "Click.wav");
  EXPECT_EQ(folder.resolve("pics\\sub dir\\X.PNG"), temp.path() / "pics" / "Sub Dir" / "x.png");
  EXPECT_EQ(folder.resolve("Sounds\\.\\..\\game.lumf\\"), temp.path() / "game.lumf");
  EXPECT_EQ(folder.resolve("\\game.lumf"), temp.path() / "game.lumf");
  EXPECT_EQ(folder.readFile("Pics\\Title.bmp"), "bmp");
}

TEST_F(GameFolderTest, ResolvesCodePageNames) {
  GameFolder folder(temp.path());
  const CodePage& cp = folder.codePage();
  EXPECT_EQ(folder.resolve(cp.fromUtf8("мЕНЮ\\фОН.JPG")), temp.path() / "Меню" / "Фон.jpg");
  EXPECT_EQ(folder.readFile(cp.fromUtf8("МЕНЮ\\ФОН.jpg")), "jpg");
}

TEST_F(GameFolderTest, ExactCaseWinsAmongNamesDifferingInCase) {
  GameFolder folder(temp.path());
  EXPECT_EQ(folder.resolve("pics"), temp.path() / "pics");
  EXPECT_EQ(folder.resolve("Pics"), temp.path() / "Pics");
  // "PICS" matches both; the first in byte order is taken.
  EXPECT_EQ(folder.resolve("PICS"), temp.path() / "Pics");
  // Each component settles on one folder; the others are not searched.
  EXPECT_FALSE(folder.resolve("PICS\\sub dir\\x.png").has_value());
}

TEST_F(GameFolderTest, MissingNamesAreNothing) {
  GameFolder folder(temp.path());
  EXPECT_FALSE(folder.resolve("Pics\\nope.bmp").has_value());
  EXPECT_FALSE(folder.resolve("nope\\Title.bmp").has_value());
  EXPECT_FALSE(folder.resolve("game.lumf\\x").has_value());  // a file used as a folder
  EXPECT_FALSE(folder.resolve("..\\etc\\passwd").has_value());
  EXPECT_FALSE(folder.resolve("C:\\Windows\\win.ini").has_value());
  EXPECT_FALSE(folder.readFile("nothing").has_value());
  EXPECT_FALSE(folder.readFile("Pics").has_value());          // a folder is not a file
  EXPECT_FALSE(folder.readFile("game.lumf", 2).has_value());  // over the size cap
  EXPECT_TRUE(folder.exists("GAME.lumf"));
  EXPECT_FALSE(folder.exists("pics"));
  EXPECT_TRUE(folder.folderExists("SOUNDS\\"));

  GameFolder absent(temp.path() / "no-such-folder");
  EXPECT_FALSE(absent.resolve("x").has_value());
  EXPECT_TRUE(absent.list("", "*").empty());
}

TEST_F(GameFolderTest, ListsMatchesSortedWithoutCase) {
  GameFolder folder(temp.path());
  EXPECT_EQ(names(folder.list("", "*.lumf")),
            (std::vector<std::string>{"game.lumf", "Other.LUMF"}));
  EXPECT_EQ(names(folder.list("SOUNDS", "*")), (std::vector<std::string>{"Click.wav"}));
  EXPECT_TRUE(folder.list("missing", "*").empty());
  const auto all = folder.list("", "*.*");
  EXPECT_EQ(names(all), (std::vector<std::string>{"game.lumf", "Other.LUMF", "Pics", "pics",
                                                  "sounds", folder.codePage().fromUtf8("Меню")}));
  EXPECT_FALSE(all[0].isFolder);
  EXPECT_TRUE(all[2].isFolder);
}

TEST_F(GameFolderTest, ListingCacheNeedsInvalidate) {
  GameFolder folder(temp.path());
  EXPECT_EQ(folder.list("", "*.lumf").size(), 2u);
  temp.write("third.lumf", "x");
  EXPECT_EQ(folder.list("", "*.lumf").size(), 2u);
  EXPECT_FALSE(folder.resolve("THIRD.lumf").has_value());
  folder.invalidate();
  EXPECT_EQ(folder.list("", "*.lumf").size(), 3u);
  EXPECT_TRUE(folder.resolve("THIRD.lumf").has_value());

  std::filesystem::remove(temp.path() / "third.lumf");
  EXPECT_FALSE(folder.resolve("third.lumf").has_value());  // never a stale path
}

TEST_F(GameFolderTest, PathForCreateMatchesExistingPartsAndKeepsTheRest) {
  GameFolder folder(temp.path());
  const CodePage& cp = folder.codePage();
  EXPECT_EQ(folder.pathForCreate("SOUNDS\\New.wav"), temp.path() / "sounds" / "New.wav");
  EXPECT_EQ(folder.pathForCreate("sounds\\click.WAV"), temp.path() / "sounds" / "Click.wav");
  EXPECT_EQ(folder.pathForCreate("Saves\\Slot1\\a.sav"), temp.path() / "Saves" / "Slot1" / "a.sav");
  EXPECT_EQ(folder.pathForCreate(cp.fromUtf8("меню\\Новый.txt")),
            temp.path() / "Меню" / "Новый.txt");
  EXPECT_FALSE(folder.pathForCreate("..\\escape.txt").has_value());
  EXPECT_FALSE(folder.pathForCreate("").has_value());
  EXPECT_FALSE(folder.pathForCreate("D:\\x.txt").has_value());
}

TEST_F(GameFolderTest, WritesAndRemovesKeepTheCacheInStep) {
  GameFolder folder(temp.path());
  EXPECT_FALSE(folder.exists("SOUNDS\\new.wav"));
  ASSERT_TRUE(folder.writeFile("SOUNDS\\New.wav", "data").ok());
  EXPECT_EQ(folder.readFile("sounds\\NEW.WAV"), "data");
  ASSERT_TRUE(folder.writeFile("sounds\\new.WAV", "more").ok());  // same file, replaced
  EXPECT_EQ(temp.read("sounds/New.wav"), "more");
  EXPECT_EQ(folder.list("sounds", "*.wav").size(), 2u);
  ASSERT_TRUE(folder.removeFile("Sounds\\NEW.wav").ok());
  EXPECT_FALSE(folder.exists("sounds\\new.wav"));
  EXPECT_FALSE(folder.removeFile("sounds\\new.wav").ok());
  EXPECT_FALSE(folder.removeFile("Pics").ok());
  EXPECT_TRUE(folder.folderExists("Pics"));
  EXPECT_FALSE(folder.writeFile("no-folder\\x.txt", "x").ok());
  EXPECT_FALSE(folder.writeFile("..\\x.txt", "x").ok());
}

// Links inside the game folder that lead elsewhere: writes and deletes
// through them are refused, and the files they reach stay as they were.
TEST_F(GameFolderTest, WritesAndDeletesNeverFollowLinksOutOfTheFolder) {
  TempFolder outside;
  const auto canary = outside.write("canary.ini", "[Def]\nFS=0\n");
  std::filesystem::create_directory_symlink(outside.path(), temp.path() / "Away");
  std::filesystem::create_symlink(canary, temp.path() / "settings.ini");
  std::filesystem::create_symlink(temp.path() / "nowhere", temp.path() / "dangling.ini");
  std::filesystem::create_directory_symlink(temp.path() / "sounds", temp.path() / "Noises");
  GameFolder folder(temp.path());

  EXPECT_FALSE(folder.pathForWrite("away\\canary.ini").has_value());
  EXPECT_FALSE(folder.pathForWrite("Away\\New\\x.ini", true).has_value());
  EXPECT_FALSE(folder.pathForWrite("SETTINGS.INI").has_value());
  EXPECT_FALSE(folder.pathForWrite("dangling.ini").has_value());
  EXPECT_FALSE(folder.writeFile("Away\\canary.ini", "gone").ok());
  EXPECT_FALSE(folder.removeFile("AWAY\\canary.ini").ok());
  EXPECT_FALSE(std::filesystem::exists(outside.path() / "New"));
  EXPECT_FALSE(std::filesystem::exists(temp.path() / "nowhere"));
  EXPECT_EQ(outside.read("canary.ini"), "[Def]\nFS=0\n");

  // A link that stays inside is followed to its real place.
  const auto realSounds = std::filesystem::canonical(temp.path() / "sounds");
  EXPECT_EQ(folder.pathForWrite("noises\\click.wav"), realSounds / "Click.wav");
  EXPECT_EQ(folder.pathForWrite("Saves\\Slot1\\a.sav", true),
            std::filesystem::canonical(temp.path()) / "Saves" / "Slot1" / "a.sav");
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "Saves" / "Slot1"));
  // Removing a link removes the link, never the file it names.
  EXPECT_TRUE(folder.removeFile("settings.ini").ok());
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp.path() / "settings.ini")));
  EXPECT_EQ(outside.read("canary.ini"), "[Def]\nFS=0\n");
}

TEST_F(GameFolderTest, UnspellableDiskNamesAreLeftOut) {
  temp.write("日本.txt", "jp");
  temp.write("bad\xFF.txt", "raw");
  GameFolder folder(temp.path());
  EXPECT_EQ(folder.list("", "*.txt").size(), 0u);
  EXPECT_FALSE(folder.resolve("??.txt").has_value());
}

}  // namespace
}  // namespace lum
