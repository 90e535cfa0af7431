#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace lum {
namespace {

using testing::TempFolder;

std::vector<std::string> folderNames(const std::filesystem::path& folder) {
  std::vector<std::string> out;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    out.push_back(entry.path().filename().string());
  }
  return out;
}

TEST(IniFile, LooksUpWithoutCaseAndFallsBackWhenAbsent) {
  auto ini = IniFile::fromBytes("[Def]\r\nSnd = 80\r\nEmpty=\r\n[Main]\nPath=C:\\Games\\x.lumf\n");
  EXPECT_EQ(ini.getString("def", "SND", "100"), "80");
  EXPECT_EQ(ini.getString("MAIN", "path", ""), "C:\\Games\\x.lumf");
  EXPECT_EQ(ini.getString("Def", "Muz", "50"), "50");
  EXPECT_EQ(ini.getString("Nope", "Snd", "d"), "d");
  EXPECT_EQ(ini.getString("Def", "Empty", "d"), "");
  EXPECT_FALSE(ini.find("Def", "Muz").has_value());
}

TEST(IniFile, ValuesReadLikeWindowsProfiles) {
  auto ini = IniFile::fromBytes(
      "[S]\n"
      "a=\"quoted value\"\n"
      "b='single'\n"
      "c=\"unbalanced\n"
      "d=\"\"\n"
      "e=text ; not a comment\n"
      "f=  padded  \n"
      "g=\"in\"side\"\n"
      "dup=first\n"
      "DUP=second\n"
      "; comment=no\n"
      "# hash=no\n"
      "no equals sign\n");
  EXPECT_EQ(ini.getString("S", "a", ""), "quoted value");
  EXPECT_EQ(ini.getString("S", "b", ""), "single");
  EXPECT_EQ(ini.getString("S", "c", ""), "\"unbalanced");
  EXPECT_EQ(ini.getString("S", "d", "x"), "");
  EXPECT_EQ(ini.getString("S", "e", ""), "text ; not a comment");
  EXPECT_EQ(ini.getString("S", "f", ""), "padded");
  EXPECT_EQ(ini.getString("S", "g", ""), "in\"side");
  EXPECT_EQ(ini.getString("S", "dup", ""), "first");
  EXPECT_FALSE(ini.find("S", "; comment").has_value());
  EXPECT_FALSE(ini.find("S", "no equals sign").has_value());
}

TEST(IniFile, IntegersReadLikeWindows) {
  auto ini = IniFile::fromBytes(
      "[N]\nplain=42\nneg= -7\nplus=+5\ntail=12abc\nword=abc\nhex=0x1F\nHEX=0X1F\n"
      "bin=0b101\noct=0o17\nempty=\nbig=4294967295\nquoted=\"9\"\n");
  EXPECT_EQ(ini.getInt("N", "plain", -1), 42);
  EXPECT_EQ(ini.getInt("N", "neg", -1), -7);
  EXPECT_EQ(ini.getInt("N", "plus", -1), 5);
  EXPECT_EQ(ini.getInt("N", "tail", -1), 12);
  EXPECT_EQ(ini.getInt("N", "word", -1), 0);
  EXPECT_EQ(ini.getInt("N", "hex", -1), 31);
  EXPECT_EQ(ini.getInt("N", "bin", -1), 5);
  EXPECT_EQ(ini.getInt("N", "oct", -1), 15);
  EXPECT_EQ(ini.getInt("N", "empty", -1), -1);
  EXPECT_EQ(ini.getInt("N", "missing", 77), 77);
  EXPECT_EQ(ini.getInt("N", "big", 0), -1);
  EXPECT_EQ(ini.getInt("N", "quoted", 0), 9);
}

TEST(IniFile, GarbageNeverCrashesAndKeepsWhatItCanRead) {
  std::string garbage = "[ok]\nkey=value\n[unterminated\n=novalue\n]]]\n\xFF\xFE\x01[x\n";
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>((i * 37) & 0xFF);
  auto ini = IniFile::fromBytes(garbage);
  EXPECT_EQ(ini.getString("ok", "key", ""), "value");
  auto empty = IniFile::fromBytes("");
  EXPECT_EQ(empty.getString("a", "b", "c"), "c");
}

TEST(IniFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  auto ini = IniFile::open(path);
  EXPECT_EQ(ini.getString("Def", "Snd", "100"), "100");
  ASSERT_TRUE(ini.setString("Def", "Snd", "30").ok());
  EXPECT_EQ(temp.read("settings.ini"), "[Def]\nSnd=30\n");
  EXPECT_EQ(IniFile::open(path).getInt("def", "snd", 0), 30);
  EXPECT_EQ(folderNames(temp.path()), std::vector<std::string>{"settings.ini"});
}

TEST(IniFile, WriteKeepsOtherEntriesAndComments) {
  TempFolder temp;
  const auto path = temp.write("game.ini",
                               "; settings of the game\n\n"
                               "[Def]\n"
                               "; volume of effects\n"
                               "Snd=100\n"
                               "Muz=50\n"
                               "\n"
                               "; the display\n"
                               "[Video]\n"
                               "FS=1\n");
  auto ini = IniFile::open(path);
  ASSERT_TRUE(ini.setString("DEF", "snd", "20").ok());
  ASSERT_TRUE(ini.setString("Extra", "New", "yes").ok());
  const std::string text = temp.read("game.ini");
  for (const char* kept : {"; settings of the game", "; volume of effects", "; the display",
                           "Muz=50", "FS=1", "New=yes"}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept;
  }
  EXPECT_EQ(text.find("Snd=100"), std::string::npos);
  auto reread = IniFile::open(path);
  EXPECT_EQ(reread.getString("Def", "Snd", ""), "20");
  EXPECT_EQ(reread.getString("Video", "FS", ""), "1");
  EXPECT_LT(text.find("Muz=50"), text.find("[Video]"));  // entries stay in place
}

TEST(IniFile, RewritingKeepsTrailingCommentsAndSettles) {
  TempFolder temp;
  const auto path = temp.write("s.ini", "[Def]\r\nSnd=1\r\n\r\n; the end\r\n; really\r\n");
  std::string previous;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(IniFile::open(path).setString("Def", "Snd", "2").ok());
    const std::string text = temp.read("s.ini");
    EXPECT_NE(text.find("; the end\n; really\n"), std::string::npos);
    if (round > 0) {
      EXPECT_EQ(text, previous);  // the file does not grow
    }
    previous = text;
  }
}

TEST(IniFile, WriteReplacesOnlyTheFirstOfDuplicates) {
  TempFolder temp;
  const auto path = temp.write("dup.ini", "[S]\nk=1\nk=2\nother=x\n");
  auto ini = IniFile::open(path);
  ASSERT_TRUE(ini.setString("S", "K", "3").ok());
  EXPECT_EQ(IniFile::open(path).getString("S", "k", ""), "3");
  EXPECT_EQ(ini.getString("S", "other", ""), "x");
}

TEST(IniFile, ValuesCannotInjectLinesAndBadNamesAreRefused) {
  TempFolder temp;
  const auto path = temp.path() / "s.ini";
  auto ini = IniFile::open(path);
  ASSERT_TRUE(ini.setString("Def", "Snd", "1\n[Evil]\r\nx=1").ok());
  auto reread = IniFile::open(path);
  EXPECT_FALSE(reread.find("Evil", "x").has_value());
  EXPECT_EQ(reread.getString("Def", "Snd", ""), "1 [Evil]  x=1");
  EXPECT_FALSE(ini.setString("Def", "a=b", "1").ok());
  EXPECT_FALSE(ini.setString("De]f", "a", "1").ok());
  EXPECT_FALSE(ini.setString("", "a", "1").ok());
  EXPECT_FALSE(ini.setString("Def", "", "1").ok());
  EXPECT_FALSE(ini.setString("Def", "a\nb", "1").ok());
}

TEST(IniFile, SeesChangesMadeByOthers) {
  TempFolder temp;
  const auto path = temp.write("s.ini", "[Def]\nFS=1\n");
  auto first = IniFile::open(path);
  auto second = IniFile::open(path);
  ASSERT_TRUE(second.setString("Def", "Snd", "5").ok());
  EXPECT_EQ(first.getString("Def", "Snd", ""), "5");
  ASSERT_TRUE(first.setString("Def", "FS", "0").ok());
  EXPECT_EQ(second.getString("Def", "Snd", ""), "5");
  EXPECT_EQ(second.getString("Def", "FS", ""), "0");
}

TEST(IniFile, NeverOverwritesWhatItCouldNotRead) {
  TempFolder temp;
  const auto binary = temp.write("bin.ini", std::string("[S]\nk=v\n\0rest of data", 21));
  auto ini = IniFile::open(binary);
  EXPECT_EQ(ini.getString("S", "k", ""), "v");
  EXPECT_FALSE(ini.setString("S", "k", "w").ok());
  EXPECT_EQ(temp.read("bin.ini").size(), 21u);

  std::filesystem::create_directory(temp.path() / "folder.ini");
  auto folder = IniFile::open(temp.path() / "folder.ini");
  EXPECT_EQ(folder.getString("S", "k", "d"), "d");
  EXPECT_FALSE(folder.setString("S", "k", "w").ok());
}

TEST(IniFile, FailedWriteKeepsValueForThisRun) {
  TempFolder temp;
  auto ini = IniFile::open(temp.path() / "missing-folder" / "s.ini");
  EXPECT_FALSE(ini.setString("Def", "Snd", "7").ok());
  EXPECT_EQ(ini.getString("Def", "Snd", ""), "7");
}

TEST(IniFile, InMemoryFilesChangeOnlyInMemory) {
  auto ini = IniFile::fromBytes("[Default]\nTitle=Game\n");
  ASSERT_TRUE(ini.setString("Default", "Title", "Other").ok());
  EXPECT_EQ(ini.getString("default", "title", ""), "Other");
  EXPECT_FALSE(ini.path().has_value());
}

TEST(IniFile, UnicodeFilesReadThroughBothInterfaces) {
  TempFolder temp;
  const std::string utf16 =
      std::string("\xFF\xFE", 2) + std::string("[\0D\0]\0\n\0T\0=\0\x1F\x04\x40\x04!\0\n\0", 20);
  const auto path = temp.write("rus.lng", utf16);
  auto ini = IniFile::open(path);
  EXPECT_EQ(ini.encoding(), IniEncoding::Utf16);
  EXPECT_EQ(ini.getWide("d", "t", u""), u"Пр!");
  EXPECT_EQ(ini.getString("D", "T", ""), "\xCF\xF0!");  // in Windows-1251
  ASSERT_TRUE(ini.setWide("D", "New", u"日本").ok());
  auto reread = IniFile::open(path);
  EXPECT_EQ(reread.encoding(), IniEncoding::Utf16);
  EXPECT_EQ(reread.getWide("D", "New", u""), u"日本");
  EXPECT_EQ(reread.getString("D", "New", ""), "??");
  EXPECT_EQ(temp.read("rus.lng").substr(0, 2), "\xFF\xFE");

  auto utf8 = IniFile::fromBytes("\xEF\xBB\xBF[Default]\nTitle=Игра\n");
  EXPECT_EQ(utf8.encoding(), IniEncoding::Utf8);
  EXPECT_EQ(utf8.getWide("Default", "Title", u""), u"Игра");
}

TEST(IniFile, EightBitFilesAnswerWideReadsThroughTheCodePage) {
  auto ini = IniFile::fromBytes("[Default]\nTitle=\xC8\xE3\xF0\xE0\n");
  EXPECT_EQ(ini.getWide("Default", "Title", u""), u"Игра");
  EXPECT_EQ(ini.getWide("Default", "None", u"def"), u"def");
  ASSERT_TRUE(ini.setWide("Default", "Name", u"Ёж").ok());
  EXPECT_EQ(ini.getString("Default", "Name", ""), "\xA8\xE6");
}

TEST(IniFile, LocatesBareNamesInSearchFolders) {
  TempFolder first;
  TempFolder second;
  second.write("LUMFORGE.INI", "[Main]\nPath=C:\\x\\y.lumf\n");
  const auto found = locateIniFile("Lumforge.ini", {first.path(), second.path()});
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, second.path() / "LUMFORGE.INI");
  EXPECT_EQ(IniFile::open(*found).getString("Main", "Path", ""), "C:\\x\\y.lumf");
  EXPECT_FALSE(locateIniFile("Other.ini", {first.path(), second.path()}).has_value());
}

TEST(IniFile, ListsEveryEntryInFileOrderWithTheFirstOfDuplicates) {
  auto ini = IniFile::fromBytes("[Music]\nTheme=60:\"theme.ogg\"\n[Fx]\nZ=1\nA=2\nz=3\n");
  std::vector<IniEntry> all = ini.entries();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].section, "Music");
  EXPECT_EQ(all[0].value, "60:\"theme.ogg\"");
  EXPECT_EQ(all[1].key, "Z");
  EXPECT_EQ(all[1].value, "1");
  EXPECT_EQ(all[2].key, "A");
  auto utf8 = IniFile::fromBytes("\xEF\xBB\xBF[Меню]\nКлюч=Игра\n");
  ASSERT_EQ(utf8.entries().size(), 1u);
  EXPECT_EQ(utf8.entries()[0].section, "\xCC\xE5\xED\xFE");  // in Windows-1251
  EXPECT_TRUE(IniFile::fromBytes("").entries().empty());
}

}  // namespace
}  // namespace lum
