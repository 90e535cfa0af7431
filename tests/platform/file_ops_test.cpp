#include "platform/file_ops.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "platform/user_data.h"
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

TEST(FileOps, ReadsWholeFilesUpToTheCap) {
  TempFolder temp;
  const auto file = temp.write("data.bin", std::string("a\0b", 3));
  auto bytes = readFileBytes(file, 3);
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(bytes.value(), std::string("a\0b", 3));
  EXPECT_FALSE(readFileBytes(file, 2).ok());
  auto missing = readFileBytes(temp.path() / "missing", 10);
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("missing"), std::string::npos);
  EXPECT_FALSE(readFileBytes(temp.path(), 10).ok());
}

TEST(FileOps, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  TempFolder temp;
  const auto file = temp.path() / "save.dat";
  ASSERT_TRUE(writeFileAtomically(file, "first").ok());
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  ASSERT_TRUE(writeFileAtomically(file, "second").ok());
  EXPECT_EQ(temp.read("save.dat"), "second");
  EXPECT_EQ(folderNames(temp.path()), std::vector<std::string>{"save.dat"});
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  EXPECT_FALSE(writeFileAtomically(temp.path() / "no-folder" / "x", "x").ok());
}

TEST(FileOps, WriteKeepingBackupMovesTheOldFileAside) {
  TempFolder temp;
  const auto file = temp.path() / "progress.dat";
  const auto backup = temp.path() / "progress.dat.bak";
  ASSERT_TRUE(writeFileKeepingBackup(file, backup, "one").ok());
  EXPECT_EQ(temp.read("progress.dat"), "one");
  EXPECT_FALSE(std::filesystem::exists(backup));
  ASSERT_TRUE(writeFileKeepingBackup(file, backup, "two").ok());
  ASSERT_TRUE(writeFileKeepingBackup(file, backup, "three").ok());
  EXPECT_EQ(temp.read("progress.dat"), "three");
  EXPECT_EQ(temp.read("progress.dat.bak"), "two");
  auto names = folderNames(temp.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"progress.dat", "progress.dat.bak"}));
  // When the old file cannot move aside it stays, unchanged.
  EXPECT_FALSE(writeFileKeepingBackup(file, temp.path() / "none" / "x.bak", "four").ok());
  EXPECT_EQ(temp.read("progress.dat"), "three");
  EXPECT_EQ(folderNames(temp.path()).size(), 2u);
}

TEST(FileOps, AtomicWriteRemovesTemporariesThatKilledWritersLeft) {
  TempFolder temp;
  const auto file = temp.path() / "settings.ini";
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {".settings.ini.tmp-Ab12Cd", ".settings.ini.tmp-zzzzzz",
                           ".settings.ini.tmp-locked", ".settings.ini.tmp-short",
                           ".other.ini.tmp-Ab12Cd"}) {
    temp.write(name, "partial");
    std::filesystem::last_write_time(temp.path() / name, old);
  }
  temp.write(".settings.ini.tmp-Fresh1", "being written now");
  // A writer that is still at work holds a lock on its temporary file.
  const int busy = ::open((temp.path() / ".settings.ini.tmp-locked").c_str(), O_RDONLY);
  ASSERT_GE(busy, 0);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);

  ASSERT_TRUE(writeFileAtomically(file, "[Def]\n").ok());
  ::close(busy);
  auto left = folderNames(temp.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".other.ini.tmp-Ab12Cd", ".settings.ini.tmp-Fresh1",
                                            ".settings.ini.tmp-locked",
                                            ".settings.ini.tmp-short", "settings.ini"}));
}

TEST(FileOps, AppendsLinesAndDeletesFiles) {
  TempFolder temp;
  const auto log = temp.path() / "lumware.err";
  ASSERT_TRUE(appendLine(log, "first").ok());
  ASSERT_TRUE(appendLine(log, "second").ok());
  EXPECT_EQ(temp.read("lumware.err"), "first\nsecond\n");
  EXPECT_TRUE(deleteFile(log).ok());
  EXPECT_FALSE(std::filesystem::exists(log));
  EXPECT_FALSE(deleteFile(log).ok());
  EXPECT_FALSE(deleteFile(temp.path()).ok());
  EXPECT_TRUE(std::filesystem::exists(temp.path()));
}

TEST(FileOps, WritableFolderIsTriedNotGuessed) {
  TempFolder temp;
  EXPECT_TRUE(isFolderWritable(temp.path()));
  EXPECT_TRUE(folderNames(temp.path()).empty());
  EXPECT_FALSE(isFolderWritable(temp.path() / "missing"));
}

TEST(UserData, OverrideThenXdgThenHome) {
  const auto environment = [](std::optional<std::string> xdg, std::optional<std::string> home) {
    return [=](std::string_view name) -> std::optional<std::string> {
      if (name == "XDG_DATA_HOME") return xdg;
      if (name == "HOME") return home;
      return std::nullopt;
    };
  };
  EXPECT_EQ(findUserDataFolder(std::nullopt, environment("/data", "/home/me")),
            std::filesystem::path("/data"));
  EXPECT_EQ(findUserDataFolder(std::nullopt, environment(std::nullopt, "/home/me")),
            std::filesystem::path("/home/me/.local/share"));
  EXPECT_EQ(findUserDataFolder(std::nullopt, environment("", "/home/me")),
            std::filesystem::path("/home/me/.local/share"));
  EXPECT_EQ(findUserDataFolder(std::nullopt, environment("relative/dir", "/home/me")),
            std::filesystem::path("/home/me/.local/share"));
  EXPECT_EQ(findUserDataFolder(std::filesystem::path("/saves"), environment("/data", "/home/me")),
            std::filesystem::path("/saves"));
  EXPECT_FALSE(findUserDataFolder(std::nullopt, environment(std::nullopt, std::nullopt)));
}

TEST(UserData, SaveFolderNamesAreOneSafeNameAndOrdinaryIdsStayAsTheyAre) {
  EXPECT_EQ(saveFolderName("Tiny"), "Tiny");
  EXPECT_EQ(saveFolderName("My Game 2: The Return!"), "My Game 2: The Return!");
  EXPECT_EQ(saveFolderName("Игра"), "Игра");
  EXPECT_EQ(saveFolderName(""), "");
  for (std::string_view id : {"..", ".", "../../x", "/tmp/abs", "a\\..\\b", "line\nbreak",
                              "a/b"}) {
    const std::string name = saveFolderName(id);
    EXPECT_EQ(name.find_first_of("/\\\n"), std::string::npos) << id;
    EXPECT_NE(name, ".") << id;
    EXPECT_NE(name, "..") << id;
    EXPECT_FALSE(name.empty()) << id;
  }
  // Ids that differ keep different folders even when their characters are
  // replaced alike.
  EXPECT_NE(saveFolderName("a/b"), saveFolderName("a_b"));
  EXPECT_NE(saveFolderName("a/b"), saveFolderName("a\\b"));
  EXPECT_EQ(saveFolderName("a/b"), saveFolderName("a/b"));
  // Long Ids are shortened without splitting a character.
  std::string longId;
  for (int i = 0; i < 300; ++i) longId += "я";
  const std::string shortened = saveFolderName(longId);
  EXPECT_LE(shortened.size(), 255u);
  EXPECT_EQ(shortened.rfind("я~", 200), shortened.find('~') - 2);
}

TEST(UserData, CreatesDirectoriesAndReportsFailure) {
  TempFolder temp;
  const auto deep = temp.path() / "Lumware" / "Demo";
  EXPECT_TRUE(createDirectories(deep).ok());
  EXPECT_TRUE(createDirectories(deep).ok());
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  temp.write("file", "x");
  const Status blocked = createDirectories(temp.path() / "file" / "sub");
  ASSERT_FALSE(blocked.ok());
  EXPECT_NE(blocked.error().message.find("file"), std::string::npos);
}

}  // namespace
}  // namespace lum
