// The player's progress: what SaveState writes, what LoadState restores,
// the backup beside the file, and files that are cut or damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "library/engine/game_routines.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/progress_file.h"
#include "scene/runtime.h"
#include "scene_harness.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Root 0 with screen 1; image 10 (a picture with variables of every kind);
// image 20 with NotSave and its child 21; animation 30 with a key 31 and
// the key's image 32; shape 40 and text 50.
const char* kGame = R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Keeper",
    "FileRS": "progress.dat", "InitScreen": 1,
    "exInit": "Loads := 0; Note := 'start';",
    "exAfterLoad": "Loads := Loads + 1;"},
  "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"},
    "children": [
      {"class": "TLumImage", "properties": {"Key": 10, "Id": "Pic", "X": 5, "Y": 6,
        "exInit": "Count := 1; Ratio := 0.5; Other := LUMDB.S.Hidden; None := NIL; W := DayOfWeek(EncodeDate(2024, 1, 1)); B := TRUE; D := EncodeDate(2024, 1, 1);",
        "exAfterLoad": "LUMDB.Loads := LUMDB.Loads + 1;"}},
      {"class": "TLumImage", "properties": {"Key": 20, "Id": "Hidden", "NotSave": true,
        "exInit": "Secret := 1;"},
       "children": [{"class": "TLumImage", "properties": {"Key": 21, "Id": "Inner",
         "exInit": "Kept := 1;"}}]},
      {"class": "TLumAnim", "properties": {"Key": 30, "Id": "An"},
       "children": [{"class": "TLumAnKey", "properties": {"Key": 31},
         "children": [{"class": "TLumImage", "properties": {"Key": 32, "Id": "Pose"}}]}]},
      {"class": "TLumShape", "properties": {"Key": 40, "Id": "Box", "X": 3}},
      {"class": "TLumText", "properties": {"Key": 50, "Id": "Label", "X": 4}}
    ]}]})";

class Progress : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(game_.play(kGame)) << game_.error(); }

  std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  const fs::path& file() { return game_.root().progressFile(); }

  // Entries of the saved file as "key NAME tag".
  std::vector<std::string> entries() {
    std::vector<std::string> out;
    const std::string bytes = fileBytes(file());
    ProgressReader reader(bytes);
    ProgressEntry e;
    while (reader.next(e)) out.push_back(std::to_string(e.key) + " " + e.name + " " + char(e.tag));
    EXPECT_TRUE(reader.atEnd());
    return out;
  }
  bool has(const std::vector<std::string>& list, const std::string& entry) {
    return std::find(list.begin(), list.end(), entry) != list.end();
  }
  bool anyOfKey(const std::vector<std::string>& list, int key) {
    const std::string prefix = std::to_string(key) + " ";
    for (const auto& e : list) {
      if (e.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }

  testing::SceneHarness game_;
};

TEST_F(Progress, SavesWhatTakesPartInTreeOrder) {
  ASSERT_FALSE(file().empty());
  ASSERT_TRUE(game_.run("SaveState;"));
  const auto list = entries();
  ASSERT_FALSE(list.empty());
  // The root first, its variables after its properties.
  EXPECT_EQ(list.front().rfind("0 ", 0), 0u);
  EXPECT_TRUE(has(list, "0 LOADS I"));
  EXPECT_TRUE(has(list, "0 INITSCREEN I"));
  for (const char* never : {"0 KEY I", "0 ID S", "0 FILERS S", "0 CURKEY I", "0 NOTSAVE I",
                            "0 EXINIT S", "10 MSKEEP I", "30 INTERPOL I"}) {
    EXPECT_FALSE(has(list, never)) << never;
  }
  // Pictures, shapes and texts keep their real position, never X and Y.
  for (int key : {10, 40, 50}) {
    EXPECT_TRUE(has(list, std::to_string(key) + " RX E")) << key;
    EXPECT_TRUE(has(list, std::to_string(key) + " RY E")) << key;
    EXPECT_FALSE(has(list, std::to_string(key) + " X I")) << key;
  }
  // A screen keeps its X as the integer it is.
  EXPECT_TRUE(has(list, "1 X I"));
  // Variables by kind: integer, real, element, NIL, word, boolean.
  for (const char* entry : {"10 COUNT I", "10 RATIO E", "10 OTHER O", "10 NONE O", "10 W W",
                            "10 B I", "10 D E"}) {
    EXPECT_TRUE(has(list, entry)) << entry;
  }
  // NotSave: nothing of the element's own, its child's all the same.
  EXPECT_FALSE(anyOfKey(list, 20));
  EXPECT_TRUE(has(list, "21 KEPT I"));
  // Animation keys and what they hold are never saved.
  EXPECT_TRUE(anyOfKey(list, 30));
  EXPECT_FALSE(anyOfKey(list, 31));
  EXPECT_FALSE(anyOfKey(list, 32));
  // Parent before children.
  auto at = [&](const std::string& e) { return std::find(list.begin(), list.end(), e) - list.begin(); };
  EXPECT_LT(at("0 LOADS I"), at("1 X I"));
  EXPECT_LT(at("1 X I"), at("10 COUNT I"));
  EXPECT_LT(at("10 COUNT I"), at("21 KEPT I"));

  // Saving again without a change gives the same bytes; the previous file
  // is the backup.
  const std::string first = fileBytes(file());
  ASSERT_TRUE(game_.run("SaveState;"));
  EXPECT_EQ(fileBytes(file()), first);
  EXPECT_EQ(fileBytes(game_.root().progressBackup()), first);
}

TEST_F(Progress, LoadingRestoresValuesVariablesAndReferences) {
  ASSERT_TRUE(game_.run("Note := 'saved'; Big := Round(5000000000.0); "
                        "LUMDB.S.Pic.rX := 12.25; LUMDB.S.Pic.Count := 9; "
                        "LUMDB.S.Pic.Ratio := 1/3; LUMDB.S.Pic.Other := LUMDB.S.Box; "
                        "LUMDB.S.Hidden.Inner.Kept := 4; LUMDB.S.Box.Vis := TRUE;"));
  ASSERT_TRUE(game_.run("SaveState;"));
  ASSERT_TRUE(game_.run("Note := 'changed'; Big := 0; LUMDB.S.Pic.rX := 0; "
                        "LUMDB.S.Pic.Count := 0; LUMDB.S.Pic.Ratio := 0; "
                        "LUMDB.S.Pic.Other := NIL; LUMDB.S.Pic.None := LUMDB.S; "
                        "LUMDB.S.Hidden.Inner.Kept := 0; LUMDB.S.Hidden.Secret := 8; "
                        "LUMDB.S.Box.Vis := FALSE; Loads := 0;"));
  ASSERT_TRUE(game_.run("LoadState;"));
  EXPECT_EQ(game_.text("LUMDB.NOTE"), "saved");
  EXPECT_EQ(game_.value("LUMDB.BIG").real(), 5000000000.0);
  EXPECT_EQ(game_.value("LUMDB.S.PIC.RX").real(), 12.25);
  EXPECT_EQ(game_.integer("LUMDB.S.PIC.X"), 12);
  EXPECT_EQ(game_.integer("LUMDB.S.PIC.COUNT"), 9);
  EXPECT_EQ(game_.value("LUMDB.S.PIC.RATIO").real(), 1.0 / 3.0);
  EXPECT_EQ(game_.value("LUMDB.S.PIC.OTHER"), ScriptValue::Ref(game_.byKey(40)->handle()));
  EXPECT_EQ(game_.value("LUMDB.S.PIC.NONE"), ScriptValue::Ref(0));
  EXPECT_EQ(game_.value("LUMDB.S.PIC.W"), ScriptValue::Word(2));
  // A date-time comes back as the real day count it is.
  EXPECT_EQ(game_.value("LUMDB.S.PIC.D").real(), 45292.0);
  EXPECT_EQ(game_.integer("LUMDB.S.HIDDEN.INNER.KEPT"), 4);
  EXPECT_EQ(game_.integer("LUMDB.S.BOX.VIS"), 1);
  // NotSave elements keep what they have.
  EXPECT_EQ(game_.integer("LUMDB.S.HIDDEN.SECRET"), 8);
  // Every exAfterLoad ran once; the flags are back.
  EXPECT_EQ(game_.integer("LUMDB.LOADS"), 2);
  EXPECT_FALSE(game_.state().readingData);
  EXPECT_TRUE(game_.state().frame.ImLoadEnabled);
}

TEST_F(Progress, AnEmptyFileStillRunsEveryAfterLoad) {
  writeBytes(file(), "");
  ASSERT_TRUE(game_.run("Note := 'kept'; LoadState;"));
  EXPECT_EQ(game_.integer("LUMDB.LOADS"), 2);
  EXPECT_EQ(game_.text("LUMDB.NOTE"), "kept");
}

TEST_F(Progress, TheBackupIsReadOnlyWhenTheFileIsMissing) {
  ASSERT_TRUE(game_.run("Note := 'old'; SaveState; Note := 'new'; SaveState; Note := 'x';"));
  ASSERT_TRUE(game_.run("LoadState;"));
  EXPECT_EQ(game_.text("LUMDB.NOTE"), "new");
  // A save cut between moving the old file aside and renaming the new one.
  fs::remove(file());
  ASSERT_TRUE(game_.run("LoadState;"));
  EXPECT_EQ(game_.text("LUMDB.NOTE"), "old");
  // An empty main file is a file: the backup is not read.
  writeBytes(file(), "");
  ASSERT_TRUE(game_.run("Note := 'x'; LoadState;"));
  EXPECT_EQ(game_.text("LUMDB.NOTE"), "x");
}

TEST_F(Progress, DamagedFilesLoadTheirWholeEntriesAndTheGameGoesOn) {
  ASSERT_TRUE(game_.run("Note := 'saved'; LUMDB.S.Pic.Count := 9; SaveState;"));
  const std::string good = fileBytes(file());
  // Every cut of the file loads without harm; the entries before the cut
  // are applied.
  for (size_t cut = 0; cut < good.size(); cut += 7) {
    writeBytes(file(), good.substr(0, cut));
    ASSERT_TRUE(game_.run("Note := 'x'; Loads := 0; LoadState;")) << cut;
    EXPECT_EQ(game_.integer("LUMDB.LOADS"), 2) << cut;
  }
  // A huge and a negative name length, and a huge string length, stop
  // reading at once.
  auto entry = [](int32_t key, int32_t nameLength, const std::string& rest) {
    std::string b;
    for (int32_t v : {key, nameLength}) {
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    }
    return b + rest;
  };
  const std::string note = entry(0, 4, "NOTEI") + std::string("\x07\0\0\0", 4);
  for (const std::string& tail :
       {entry(0, 0x7FFFFFFF, "NOTE"), entry(0, -1, "NOTE"),
        entry(0, 4, "NOTES") + std::string("\xFF\xFF\xFF\x7F", 4) + "abc",
        entry(0, 4, "NOTES") + std::string("\xF0\xFF\xFF\xFF", 4) + "abc"}) {
    writeBytes(file(), note + tail);
    ASSERT_TRUE(game_.run("Note := 'x'; LoadState;"));
    EXPECT_EQ(game_.integer("LUMDB.NOTE"), 7);
  }
  // An unknown tag is passed over without a value; reading goes on after it.
  writeBytes(file(), entry(0, 4, "NOTEZ") + note);
  ASSERT_TRUE(game_.run("Note := 'x'; LoadState;"));
  EXPECT_EQ(game_.integer("LUMDB.NOTE"), 7);
  // Entries of keys no element has, and names no element takes, do nothing.
  writeBytes(file(), entry(999, 4, "NOTEI") + std::string("\x01\0\0\0", 4) +
                         entry(10, 5, "BOGUSI") + std::string("\x01\0\0\0", 4) + note);
  ASSERT_TRUE(game_.run("Note := 'x'; LoadState;"));
  EXPECT_EQ(game_.integer("LUMDB.NOTE"), 7);
  // A reference to a key no element has reads back as NIL.
  writeBytes(file(), entry(10, 5, "OTHERO") + std::string("\xE7\x03\0\0", 4));
  ASSERT_TRUE(game_.run("LoadState;"));
  EXPECT_EQ(game_.value("LUMDB.S.PIC.OTHER"), ScriptValue::Ref(0));
}

TEST(ProgressWithoutFile, SavingAndLoadingDoNothing) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "NoFile",
      "exInit": "Loads := 0;", "exAfterLoad": "Loads := Loads + 1;"}})"))
      << game.error();
  game.state().frame.ImLoadEnabled = false;
  ASSERT_TRUE(game.run("SaveState; LoadState;"));
  EXPECT_EQ(game.integer("LUMDB.LOADS"), 0);
  EXPECT_FALSE(game.state().frame.ImLoadEnabled);
  EXPECT_FALSE(fs::exists(game.dataFolder() / "Lumware"));
}

// An inventory list keeps its items, in their order, through a save: the
// images go back into it by key, and items added after the save are gone.
TEST(ProgressImageList, ItemsComeBackInTheirOrder) {
  testing::SceneHarness game;
  ASSERT_TRUE(game.play(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Bag",
      "FileRS": "progress.dat", "InitScreen": 1},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"},
      "children": [
        {"class": "TLumImList", "properties": {"Key": 60, "Id": "L", "SizeX": 300, "SizeY": 100}},
        {"class": "TLumImage", "properties": {"Key": 61, "Id": "A"}},
        {"class": "TLumImage", "properties": {"Key": 62, "Id": "B"}},
        {"class": "TLumImage", "properties": {"Key": 63, "Id": "C"}}]}]})"))
      << game.error();
  ASSERT_TRUE(game.run("LUMDB.S.L.ELEMENTS := '63;61'; SaveState; "
                       "LUMDB.S.L.ELEMENTS := '62;61;63'; LoadState;"));
  EXPECT_EQ(game.text("LUMDB.S.L.ELEMENTS"), "63;61;");
}

// Counts what the scene asks of the shell.
class CountingPort : public ShellPort {
 public:
  void drawFrameNow(bool) override {}
  void resetTimer() override { ++resets; }
  bool setFullScreen(bool) override { return false; }
  int resets = 0;
};

TEST(ProgressTimer, SavingAndLoadingForgetTheTimeTheyTook) {
  testing::SceneHarness files;
  files.writeGame(kGame);
  HostOptions options;
  options.folder = files.gameFolder();
  options.userDataFolder = files.dataFolder();
  CountingPort port;
  Result<std::unique_ptr<GameHost>> host = GameHost::Create(std::move(options), makeGameRoutines, &port);
  ASSERT_TRUE(host) << host.error().text();
  ASSERT_TRUE((*host)->LoadGame("game.lumf"));
  TLumDB& root = (*host)->root();
  int before = port.resets;
  root.SaveState();
  EXPECT_EQ(port.resets, before + 1);
  root.LoadState();
  EXPECT_EQ(port.resets, before + 2);
  // Without a progress file neither asks.
  root.SetFileRS("");
  root.SaveState();
  root.LoadState();
  EXPECT_EQ(port.resets, before + 2);
}

}  // namespace
}  // namespace lum
