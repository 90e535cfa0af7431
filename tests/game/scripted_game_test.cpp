// A game built from JSON, alive without a screen: scripts prepared while the
// file is read, variables from exInit, property paths between elements,
// languages, sounds, settings and cheats through the real root.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "media/sound.h"
#include "platform/ini_file.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "scene/screen.h"
#include "scene/text.h"
#include "scene_harness.h"
#include "script/pool.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class ScriptedGame : public ::testing::Test {
 protected:
  void write(const std::string& name, const std::string& text) { game_.writeFile(name, text); }
  // Builds the game file from JSON and loads it through the root.
  TLumDB& load(const std::string& json, bool testMode = false) {
    game_.writeGame(json);
    testing::HarnessOptions options;
    options.testMode = testMode;
    EXPECT_TRUE(game_.start(options)) << game_.error();
    return game_.root();
  }
  ScriptValue read(TLumElement& e, const char* name) {
    ScriptValue v;
    EXPECT_TRUE(e.GetValue(name, v)) << name;
    return v;
  }
  TLumElement* byKey(int32_t key) { return game_.byKey(key); }
  GameState& state() { return game_.state(); }
  Sound& sound() { return game_.host().services().sound; }

  testing::SceneHarness game_;
};

const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Quest", "InitScreen": 1,
                 "exInit": "Lives := 3; Name := 'hero';"},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "Menu",
       "exInit": "Count := LUMDB.Lives * 2;"},
     "children": [
       {"class": "TLumImage", "properties": {"Key": 2, "Id": "Button", "Order": 1,
          "exInit": "Clicks := 0;",
          "exProcess": "Clicks := Clicks + 1;",
          "exMouseDown": "PARENT.Count := PARENT.Count + 10; SELF.Order := '12';"}},
       {"class": "TLumImage", "properties": {"Key": 3, "Id": "X"}},
       {"class": "TLumText", "properties": {"Key": 4, "Id": "Label"}}
     ]},
    {"class": "TLumScreen", "properties": {"Key": 5, "Id": "Later", "AutoInit": false,
       "exInit": "Seen := 1;"},
     "children": [{"class": "TLumImage", "properties": {"Key": 6, "exInit": "Seen := 1;"}}]}
  ]})";

TEST_F(ScriptedGame, InitRunsOnceAndLeavesEachElementItsVariables) {
  TLumDB& db = load(kGame);
  db.Init();
  EXPECT_EQ(read(db, "LIVES").whole(), 3);
  EXPECT_EQ(read(*byKey(1), "COUNT").whole(), 6);  // read through LUMDB from the screen
  // A variable named like a property answers before the property.
  byKey(2)->variables()->AddVar(TVar{"VIS", ScriptValue::Integer(5)});
  EXPECT_EQ(read(*byKey(2), "VIS").whole(), 5);
  EXPECT_TRUE(byKey(2)->Vis());
  // A screen without AutoInit is left out, with its subtree.
  EXPECT_EQ(byKey(5)->variables(), nullptr);
  EXPECT_EQ(byKey(6)->variables(), nullptr);
  // A second Init does not run the scripts again.
  byKey(2)->SetValue("CLICKS", ScriptValue::Integer(9));
  db.Init();
  EXPECT_EQ(read(*byKey(2), "CLICKS").whole(), 9);
  // InitPr on the held-back screen runs both scripts.
  byKey(5)->InitPr();
  EXPECT_EQ(read(*byKey(6), "SEEN").whole(), 1);
  // The root's InitPr initialises everything again.
  db.InitPr();
  EXPECT_EQ(read(*byKey(2), "CLICKS").whole(), 0);
}

TEST_F(ScriptedGame, EventsReadAndWriteThroughPaths) {
  TLumDB& db = load(kGame);
  db.Init();
  TLumElement* button = byKey(2);
  button->MouseDown();
  EXPECT_EQ(read(*byKey(1), "COUNT").whole(), 16);
  EXPECT_EQ(button->Order(), 12);  // a string assigned to an ordinal property
  EXPECT_EQ(db.maxOrder(), 12);
  button->SetValue("ORDER", ScriptValue::String("abc"));
  EXPECT_EQ(button->Order(), 0);
  // Process runs for visible elements, and for invisible ones only with
  // MousedNotVis.
  button->Process();
  EXPECT_EQ(read(*button, "CLICKS").whole(), 1);
  button->SetVis(false);
  button->Process();
  EXPECT_EQ(read(*button, "CLICKS").whole(), 1);
  button->MousedNotVis = true;
  button->Process();
  EXPECT_EQ(read(*button, "CLICKS").whole(), 2);
}

TEST_F(ScriptedGame, SpecialNamesAnswerInTheirOrder) {
  TLumDB& db = load(kGame);
  TLumElement* menu = byKey(1);
  // The property X wins over the child whose Id is X.
  EXPECT_EQ(read(*menu, "X").kind(), ValueKind::Integer);
  EXPECT_EQ(read(*menu, "BUTTON").ref(), byKey(2)->handle());
  EXPECT_EQ(read(*menu, "CLASS").text(), "TLUMSCREEN");
  EXPECT_EQ(read(*menu, "CHILDCOUNT").whole(), 3);
  EXPECT_EQ(read(*menu, "CHILD[0]").ref(), 0u);
  EXPECT_EQ(read(*menu, "CHILD[99]").ref(), 0u);
  EXPECT_EQ(read(*menu, "CHILD2").ref(), byKey(3)->handle());
  EXPECT_EQ(read(*menu, "CHILD[$3]").ref(), byKey(4)->handle());
  ScriptValue v;
  EXPECT_FALSE(menu->GetValue("CHILD[x]", v));
  EXPECT_FALSE(db.GetValue("PARENT", v));
  EXPECT_EQ(read(*byKey(3), "PARPOS").whole(), 2);
  EXPECT_EQ(read(db, "VOLSND").whole(), 100);
  EXPECT_EQ(read(db, "CURSORATNIL").whole(), 1);
  EXPECT_FALSE(db.GetValue("NO_SUCH_NAME", v));
}

TEST_F(ScriptedGame, LanguagesSoundsAndSettingsFiles) {
  write("eng.lng", "[Default]\nTitle=The Quest\n[Menu]\nStart = Begin \n");
  write("sounds.ini", "[Fx]\nClick=80:click.wav\nBoom=boom.ogg\nOdd=x1:odd.wav\n");
  write("game.ini", "[Def]\nSnd=40\nMuz=70\nFS=1\n");
  TLumDB& db = load(R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Quest",
      "FileRS": "progress.dat", "Lang": "missing.lng", "IniFile": "game.ini",
      "SoundFile": "sounds.ini"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1},
       "children": [{"class": "TLumText", "properties": {"Key": 2, "TextId": "Menu.Start",
                      "Text": "ignored"}}]}]})");
  EXPECT_EQ(db.Lang(), "eng.lng");  // the missing file falls back to eng.lng
  EXPECT_EQ(db.LangText("Title"), "The Quest");
  EXPECT_EQ(db.LangText(" Menu . Start "), "Begin");
  EXPECT_EQ(db.LangText("Menu."), "");
  EXPECT_EQ(static_cast<TLumText*>(byKey(2))->Text(), "Begin");
  std::string file;
  int32_t volume = -1;
  db.SoundByKey("Fx.Click", file, volume);
  EXPECT_EQ(file, "click.wav");
  EXPECT_EQ(volume, 80);
  db.SoundByKey("Fx.Boom", file, volume);
  EXPECT_EQ(file, "boom.ogg");
  EXPECT_EQ(volume, 100);
  db.SoundByKey("Fx.Odd", file, volume);
  EXPECT_EQ(file, "odd.wav");
  EXPECT_EQ(volume, 100);  // not a number: left as it was
  EXPECT_EQ(sound().effectsVolume(), 40);
  EXPECT_EQ(sound().musicVolume(), 70);
  EXPECT_TRUE(state().fullScreenWanted);
  // The save folder is made under the user data folder, named by the Id.
  EXPECT_TRUE(fs::exists(game_.dataFolder() / "Lumware" / "Quest" / "progress.dat"));
  // Script writes go to the settings file in the save folder.
  ASSERT_TRUE(db.SetValue("VOLSND", ScriptValue::Integer(55)));
  EXPECT_EQ(IniFile::open(game_.dataFolder() / "Lumware" / "Quest" / "game.ini").getInt("Def", "Snd", 0),
            55);
  // A text property given a quoted language key takes the text; an unknown
  // key keeps the string with its quotes.
  byKey(2)->SetValue("TEXTID", ScriptValue::String(""));
  byKey(2)->SetValue("TEXT", ScriptValue::String("\"Default.Title\""));
  EXPECT_EQ(static_cast<TLumText*>(byKey(2))->Text(), "The Quest");
  byKey(2)->SetValue("TEXT", ScriptValue::String("\"Nope.Nothing\""));
  EXPECT_EQ(static_cast<TLumText*>(byKey(2))->Text(), "\"Nope.Nothing\"");
}

TEST_F(ScriptedGame, TestModeStartsWindowedWhateverTheSettingsSay) {
  write("game.ini", "[Def]\nFS=1\n");
  load(R"({"class": "TLumDB", "properties": {"Key": 0, "IniFile": "game.ini"}})", true);
  EXPECT_FALSE(state().fullScreenWanted);
}

TEST_F(ScriptedGame, CheatWordsRunForEveryMatchingSuffix) {
  TLumDB& db = load(R"({"class": "TLumDB", "properties": {"Key": 0, "Cheats": "god;money;od",
      "exCheat": "Hits := Hits + 1; Last := LUMDB.CHEAT;"}})");
  db.Init();
  db.SetValue("HITS", ScriptValue::Integer(0));
  ASSERT_TRUE(db.variables());
  db.variables()->AddVar(TVar{"HITS", ScriptValue::Integer(0)});
  for (char c : std::string("xxgod")) db.CharInput(static_cast<uint8_t>(c));
  EXPECT_EQ(db.lastCheat(), "od");  // "god" first, then the shorter "od"
  for (char c : std::string("0123456789abcde")) db.CharInput(static_cast<uint8_t>(c));
  EXPECT_EQ(db.typedBuffer(), "56789abcde");
}

TEST_F(ScriptedGame, TypingIntoAFocusedText) {
  TLumDB& db = load(kGame);
  auto* label = static_cast<TLumText*>(byKey(4));
  state().focusedText = label;
  for (uint32_t c : {uint32_t('a'), uint32_t('#'), uint32_t('$'), uint32_t(0xE9), uint32_t(8),
                     uint32_t('b')}) {
    db.CharInput(c);
  }
  EXPECT_EQ(label->Text(), "ab");
  EXPECT_EQ(db.typedBuffer(), "");  // typing into a text is not cheat input
}

TEST_F(ScriptedGame, UnicodeFontSetAndWideTexts) {
  write("unicode/unicode.fnt", "2\n41 17\n416 34\nDejaVu Sans\n");
  write("unicode/unicode.lng", "[Default]\nHello=Hi\n");
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[Default]\r\nTitle=\u0416x\r\n")) {
    utf16.push_back(static_cast<char>(c & 0xFF));
    utf16.push_back(static_cast<char>(c >> 8));
  }
  write("eng.lng", utf16);
  TLumDB& db = load(R"({"class": "TLumDB", "properties": {"Key": 0, "Lang": "eng.lng"}})");
  ASSERT_TRUE(db.unicodeMode());
  ASSERT_GT(db.glyphTable().size(), 0x416u);
  EXPECT_EQ(db.glyphTable()[0x41].width, 10);  // 17 / 1.7
  EXPECT_EQ(db.glyphTable()[0x416].index, 1);
  EXPECT_EQ(db.glyphTable()[0x416].width, 20);
  EXPECT_EQ(db.systemFontName(), "DejaVu Sans");
  EXPECT_EQ(db.LangText("Hello"), "Hi");
  EXPECT_EQ(db.LangText("Title"), std::string("\x01\x16\x04x", 4));
}

}  // namespace
}  // namespace lum
