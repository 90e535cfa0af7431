// lumf check: the demo is clean; a small broken game shows each kind of
// finding once, in text and JSON, with the exit statuses 0, 1 and 2.
#include <gtest/gtest.h>

#include <set>

#include "game_run.h"
#include "tool_runner.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;

// Every fault on purpose, each once.
const char* kBrokenGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Broken", "InitScreen": 1, "LoadingScreen": 44,
                 "Lang": "eng.lng", "SoundFile": "sounds.ini", "FileFonts": "fonts.asdb"},
  "children": [
    {"class": "TLumScreen",
     "properties": {"Key": 1, "Id": "Menu", "ImBack": "pics\\menu.png",
                    "exInit": "x := \"Menu.Gone\"; Nope(1); Nope(2); PlaySnd('Fx.Click'); PlaySnd('Fx.Boom'); y := GetText('Menu.Title') + GetText('Menu.Lost');",
                    "exShow": "include 'lib.inc';"},
     "children": [
       {"class": "TLumImage",
        "properties": {"Key": 2, "Id": "Sky", "imImage": "pics\\sky.jpg",
                       "exMouseDown": "begin x := 1;"}},
       {"class": "TLumText",
        "properties": {"Key": 3, "Id": "Title", "Font": "Title", "TextId": "Menu.Title"}},
       {"class": "TLumEffect", "properties": {"Key": 4, "Id": "Sparks", "EffectFN": "fx\\sparks.eff"}},
       {"class": "TLumExScreen", "properties": {"Key": 5, "Id": "Inset", "obScreen": 2}},
       {"class": "TLumImage", "properties": {"Key": 2, "Id": "Twin", "imImage": "pics\\button.png"}}
     ]}
  ]})";

std::set<std::string> lines(const std::string& text) {
  std::set<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.insert(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

fs::path brokenGame() {
  auto dir = scratchFolder("check-broken");
  EXPECT_EQ(buildGame(dir, kBrokenGame).status, 0);
  fs::create_directories(dir / "Pics");
  fs::create_directories(dir / "unicode");
  writeFile(dir / "Pics" / "MENU.PNG", "not read");  // found in any letter case
  writeFile(dir / "Pics" / "button.png", "");
  writeFile(dir / "eng.lng", "[Menu]\nTitle=Menu\n");
  writeFile(dir / "sounds.ini", "[Fx]\nClick=80:click.wav\n");
  writeFile(dir / "unicode" / "unicode.fnt", "0\nArial\n");
  writeFile(dir / "unicode" / "unicode.lng", "[Menu]\n");
  return dir;
}

TEST(LumfCheck, TheDemoHasNoFindings) {
  const fs::path demo = binaryDir() + "/games/demo";
  ToolResult text = runTool(lumfPath() + " check " + quoted(demo));
  EXPECT_EQ(text.status, 0) << text.out;
  EXPECT_EQ(text.out, demo.string() + ": no findings\n");
  ToolResult json = runTool(lumfPath() + " check --json " + quoted(demo / "demo.lumf"));
  EXPECT_EQ(json.status, 0) << json.out;
  EXPECT_TRUE(Json::parse(json.out)["findings"].empty()) << json.out;
}

TEST(LumfCheck, ABrokenGameShowsEveryKindOfFindingGroupedAndSorted) {
  const fs::path dir = brokenGame();
  ToolResult r = runTool(lumfPath() + " check " + quoted(dir));
  EXPECT_EQ(r.status, 1) << r.out;
  const std::string expected =
      "missing files (9):\n"
      "  Unicode font set file \"unicode\\unicode.png\"\n"
      "    at key 0 \"Broken\" TLumDB Broken\n"
      "  font archive (FileFonts) \"fonts.asdb\"\n"
      "    at key 0 \"Broken\" TLumDB Broken\n"
      "  particle sheet \"particles.bmp\"\n"
      "    at key 0 \"Broken\" TLumDB Broken\n"
      "  sound \"sounds\\click.wav\" (sound list sounds.ini, [Fx] Click)\n"
      "    at key 0 \"Broken\" TLumDB Broken\n"
      "  include file \"lib.inc\" (exShow)\n"
      "    at key 1 \"Menu\" TLumScreen Broken/Menu\n"
      "  sound key \"Fx.Boom\" (exInit, PLAYSND) is not in the sound list sounds.ini\n"
      "    at key 1 \"Menu\" TLumScreen Broken/Menu\n"
      "  picture \"pics\\sky.jpg\" (imImage)\n"
      "    at key 2 \"Sky\" TLumImage Broken/Menu/Sky\n"
      "  effect file \"fx\\sparks.eff\" (EffectFN)\n"
      "    at key 4 \"Sparks\" TLumEffect Broken/Menu/Sparks\n"
      "  font \"Title\" is not in the font archive \"fonts.asdb\"\n"
      "    at key 3 \"Title\" TLumText Broken/Menu/Title\n";
  EXPECT_EQ(r.out.substr(0, expected.size()), expected) << r.out;
  const std::set<std::string> got = lines(r.out);
  for (const char* line : {
           "scripts that do not prepare (1):",
           "  exMouseDown: END expected",
           "calls of unknown routines (1):",
           "  exInit: NOPE",
           "references to no element or the wrong kind (2):",
           "  LoadingScreen 44 names no element",
           "  obScreen 2 names TLumImage \"Sky\", not a TLumScreen",
           "duplicate keys (1):",
           "  key 2 is also the key of TLumImage \"Sky\"",
           "    at key 2 \"Twin\" TLumImage Broken/Menu/Twin",
           "language keys missing (2):",
           "  \"Menu.Gone\" (exInit) is not in eng.lng",
           "  \"Menu.Lost\" (exInit, GETTEXT) is not in eng.lng",
       }) {
    EXPECT_EQ(got.count(line), 1u) << line << "\n" << r.out;
  }
  EXPECT_NE(r.out.find("\n" + dir.string() + ": 16 findings\n"), std::string::npos) << r.out;
  fs::remove_all(dir);
}

TEST(LumfCheck, JsonNamesTheKindAndTheElement) {
  const fs::path dir = brokenGame();
  ToolResult r = runTool(lumfPath() + " check " + quoted(dir / "game.lumf") + " --json");
  EXPECT_EQ(r.status, 1) << r.out;
  Json doc = Json::parse(r.out);
  std::set<std::string> kinds;
  for (const Json& f : doc["findings"]) kinds.insert(f["kind"].get<std::string>());
  EXPECT_EQ(kinds, (std::set<std::string>{"missing-file", "script-not-prepared", "unknown-routine",
                                           "bad-reference", "duplicate-key",
                                           "missing-language-key"}));
  const Json& sky = doc["findings"][6];
  EXPECT_EQ(sky["kind"], "missing-file");
  EXPECT_EQ(sky["key"], 2);
  EXPECT_EQ(sky["id"], "Sky");
  EXPECT_EQ(sky["class"], "TLumImage");
  EXPECT_EQ(sky["path"], Json::array({"Broken", "Menu", "Sky"}));
  EXPECT_EQ(sky["message"], "picture \"pics\\sky.jpg\" (imImage)");
  fs::remove_all(dir);
}

TEST(LumfCheck, UnreadableGamesAndCommandLinesExitWithStatusTwo) {
  auto dir = scratchFolder("check-unreadable");
  writeFile(dir / "bad.lumf", "not a game file");
  ToolResult bad = runTool(lumfPath() + " check " + quoted(dir / "bad.lumf"));
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.out.find("lumf: cannot read the game: "), std::string::npos) << bad.out;
  fs::create_directories(dir / "empty");
  EXPECT_EQ(runTool(lumfPath() + " check " + quoted(dir / "empty")).status, 2);
  EXPECT_EQ(runTool(lumfPath() + " check " + quoted(dir / "nothing-here")).status, 2);
  EXPECT_EQ(runTool(lumfPath() + " check").status, 2);
  EXPECT_EQ(runTool(lumfPath() + " check " + quoted(dir) + " --bogus").status, 2);
  // Checking writes nothing beside the game.
  EXPECT_EQ(folderContents(dir).size(), 1u);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
