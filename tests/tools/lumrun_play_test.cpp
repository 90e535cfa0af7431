// lumrun end to end: small games built with lumf played headless, driven by
// recorded input, checked by screenshots and by the state dump.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"
#include "render/picture_loaders.h"

namespace lum::test {
namespace {

// The published properties of the element with the key.
Json propertiesOf(const Json& node, int key) {
  if (node["properties"]["Key"] == key) return node["properties"];
  for (const Json& c : node["children"]) {
    Json found = propertiesOf(c, key);
    if (!found.is_null()) return found;
  }
  return Json();
}

// Whether pixel (x, y) of a screenshot is within `tolerance` of the colour
// on each channel (the OpenGL renderer filters a little differently).
::testing::AssertionResult pixelNear(const std::filesystem::path& png, int x, int y,
                                     uint32_t rgb, int tolerance) {
  Result<Picture> picture = loadPictureFile(png.string(), PictureKind::Png);
  if (!picture) return ::testing::AssertionFailure() << png << ": " << picture.error().text();
  const uint32_t got = picture->pixel(x, y);
  for (int shift : {16, 8, 0}) {
    const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((rgb >> shift) & 0xFF);
    if (std::abs(a - b) > tolerance) {
      return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                           << (got & 0xFFFFFF) << ", expected about " << rgb;
    }
  }
  return ::testing::AssertionSuccess();
}

// The demo's walk on the puzzle screen has ended before tick 320: the
// walker rests at the last key, the sun has become the moon, the walk's stop
// script ran once, and the compass plays on.
void checkTheWalk(const Json& state, const std::filesystem::path& solvedShot, int tolerance) {
  std::map<std::string, std::pair<std::string, std::string>> vars = varsOf(state, 0);
  EXPECT_EQ(vars["WALKED"].second, "1");
  const Json walk = propertiesOf(state, 41);
  EXPECT_EQ(walk["Pos"], 62);
  EXPECT_EQ(walk["Active"], false);
  const Json compass = propertiesOf(state, 51);
  EXPECT_EQ(compass["Active"], true);
  EXPECT_GE(compass["Pos"].get<int>(), 0);
  EXPECT_LT(compass["Pos"].get<int>(), 32);
  EXPECT_TRUE(pixelNear(solvedShot, 884, 726, 0xE67828, tolerance));  // the walker's body
  EXPECT_TRUE(pixelNear(solvedShot, 934, 150, 0xC8D2F0, tolerance));  // the moon
}

const char* kGame = R"({
  "class": "TLumDB",
  "properties": {"Key": 0, "Id": "Tiny", "InitScreen": 1, "exInit": "Presses := 0; LastKey := 0;",
                 "exKeyDown": "LastKey := KEYDOWNED;"},
  "children": [
    {"class": "TLumScreen", "properties": {"Key": 1, "Id": "One"},
     "children": [
       {"class": "TLumShape", "properties": {"Key": 2, "Id": "Button", "rX": 100, "rY": 100,
          "SizeX": 50, "SizeY": 50, "hxColor": 255, "Order": 1,
          "exMouseDown": "LUMDB.Presses := LUMDB.Presses + 1; SetScreen(LUMDB.Two);"}}
     ]},
    {"class": "TLumScreen", "properties": {"Key": 3, "Id": "Two", "exInit": "Shown := 0;", "exShow": "Shown := 1;"},
     "children": [
       {"class": "TLumShape", "properties": {"Key": 4, "rX": 0, "rY": 0, "SizeX": 1024,
          "SizeY": 768, "hxColor": 65280}}
     ]}
  ]})";

TEST(LumrunPlay, PressChangesScreenAndTheDumpShowsTheVariables) {
  auto dir = scratchFolder("lumrun-play");
  writeFile(dir / "game.json", kGame);
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  // A press 2 pixels beside the button still reaches it.
  writeFile(dir / "input.txt", "# press beside the button\n110 mousedown 152 120\n111 mouseup 152 120\n"
                               "120 key 65\n");
  ToolResult run = runTool(lumrunPath() + " --headless --ticks 140 --input " +
                           quoted(dir / "input.txt") + " --save-dir " + quoted(dir / "save") +
                           " --screenshot 105:" + quoted(dir / "before.png") +
                           " --screenshot 139:" + quoted(dir / "after.png") + " --dump-state " +
                           quoted(dir / "state.json") + " " + quoted(dir));
  ASSERT_EQ(run.status, 0) << run.out;
  Json state = Json::parse(readFile(dir / "state.json"));
  EXPECT_EQ(varsOf(state, 0)["PRESSES"], std::make_pair(std::string("int"), std::string("1")));
  EXPECT_EQ(varsOf(state, 0)["LASTKEY"].second, "65");
  EXPECT_EQ(varsOf(state, 3)["SHOWN"].second, "1");
  // Before: the red button on black; after: the green second screen.
  std::string before = readFile(dir / "before.png"), after = readFile(dir / "after.png");
  EXPECT_FALSE(before.empty());
  EXPECT_FALSE(after.empty());
  EXPECT_NE(before, after);
  std::filesystem::remove_all(dir);
}

TEST(LumrunPlay, SameInputGivesTheSameFrames) {
  auto dir = scratchFolder("lumrun-repeat");
  writeFile(dir / "game.json", kGame);
  ASSERT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  for (const char* name : {"a.png", "b.png"}) {
    ASSERT_EQ(runTool(lumrunPath() + " --headless --ticks 110 --save-dir " + quoted(dir / "save") +
                      " --screenshot 109:" + quoted(dir / name) + " " + quoted(dir)).status, 0);
  }
  EXPECT_EQ(readFile(dir / "a.png"), readFile(dir / "b.png"));
  std::filesystem::remove_all(dir);
}

TEST(LumrunPlay, BadGamesAndCommandLinesAreRefusedClearly) {
  auto dir = scratchFolder("lumrun-bad");
  writeFile(dir / "game.lumf", std::string("\x06\x00\x00\x00TLumDB\x21\x00\x00\x00", 14));
  ToolResult bad = runTool(lumrunPath() + " --headless --ticks 5 " + quoted(dir));
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.out.find("lumrun:"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find("at byte"), std::string::npos) << bad.out;
  EXPECT_EQ(runTool(lumrunPath() + " --headless --ticks x " + quoted(dir)).status, 2);
  EXPECT_EQ(runTool(lumrunPath() + " --screenshot nope " + quoted(dir)).status, 2);
  writeFile(dir / "input.txt", "12 jump 1 2\n");
  ToolResult input = runTool(lumrunPath() + " --headless --input " + quoted(dir / "input.txt") +
                             " " + quoted(dir));
  EXPECT_EQ(input.status, 2);
  EXPECT_NE(input.out.find("input line 1"), std::string::npos) << input.out;
  std::filesystem::remove_all(dir);
}

TEST(LumrunPlay, OutputsThatCannotBeWrittenExitWithStatusTwoAndAMessage) {
  auto dir = scratchFolder("lumrun-outputs");
  ASSERT_EQ(buildGame(dir, kGame).status, 0);
  const std::string run = lumrunPath() + " --headless --ticks 5 --save-dir " + quoted(dir / "save");
  ToolResult dump = runTool(run + " --dump-state " + quoted(dir / "no" / "state.json") + " " + quoted(dir));
  EXPECT_EQ(dump.status, 2) << dump.out;
  EXPECT_NE(dump.out.find("lumrun: " + (dir / "no" / "state.json").string()), std::string::npos)
      << dump.out;
  ToolResult shot = runTool(run + " --screenshot 2:" + quoted(dir / "no" / "a.png") + " " + quoted(dir));
  EXPECT_EQ(shot.status, 2) << shot.out;
  EXPECT_NE(shot.out.find("lumrun: " + (dir / "no" / "a.png").string()), std::string::npos)
      << shot.out;
  // A target that cannot be written (here a folder) is found out when writing.
  std::filesystem::create_directories(dir / "taken");
  ToolResult late = runTool(run + " --dump-state " + quoted(dir / "taken") + " " + quoted(dir));
  EXPECT_EQ(late.status, 2) << late.out;
  EXPECT_NE(late.out.find("cannot write the state"), std::string::npos) << late.out;
  std::filesystem::remove_all(dir);
}

TEST(DemoGame, ScriptedPlayThroughSolvesThePuzzle) {
  const std::filesystem::path game = binaryDir() + "/games/demo";
  auto dir = scratchFolder("demo-play");
  ToolResult run = runTool(lumrunPath() + " --headless --ticks 420 --input " +
                           quoted(std::filesystem::path(LUMRUN_SOURCE_DIR) / "games/demo/playthrough.txt") +
                           " --save-dir " + quoted(dir / "save") + " --screenshot 235:" +
                           quoted(dir / "menu.png") + " --screenshot 320:" +
                           quoted(dir / "solved.png") + " --dump-state " +
                           quoted(dir / "state.json") + " " + quoted(game));
  ASSERT_EQ(run.status, 0) << run.out;
  Json state = Json::parse(readFile(dir / "state.json"));
  EXPECT_EQ(varsOf(state, 0)["SOLVED"].second, "1");
  EXPECT_EQ(varsOf(state, 0)["CLICKS"].second, "1");
  EXPECT_FALSE(readFile(dir / "solved.png").empty());
  checkTheWalk(state, dir / "solved.png", 0);
  std::filesystem::remove_all(dir);
}

// The puzzle is saved when it is solved, and the next run loads it: it
// starts solved, with the values of the save, and draws its menu as before.
TEST(DemoGame, ASecondRunStartsSolved) {
  const std::filesystem::path game = binaryDir() + "/games/demo";
  auto dir = scratchFolder("demo-second");
  const std::string play = lumrunPath() + " --headless --save-dir " + quoted(dir / "save") + " ";
  ToolResult first = runTool(play + "--ticks 420 --input " +
                             quoted(std::filesystem::path(LUMRUN_SOURCE_DIR) / "games/demo/playthrough.txt") +
                             " --screenshot 210:" + quoted(dir / "menu1.png") + " " + quoted(game));
  ASSERT_EQ(first.status, 0) << first.out;
  const std::filesystem::path saved = dir / "save" / "Lumware" / "LumDemo" / "progress.dat";
  ToolResult shown = runTool(lumfPath() + " progress " + quoted(saved) + " --game " +
                             quoted(game / "demo.lumf") + " --codepage 1251");
  ASSERT_EQ(shown.status, 0) << shown.out;
  EXPECT_NE(shown.out.find("0 TLumDB 'LumDemo' SOLVED I 1\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("0 TLumDB 'LumDemo' CLICKS I 1\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("25 TLumText 'Done' VIS I 1\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("24 TLumImage 'Gem3' RX E "), std::string::npos) << shown.out;

  ToolResult second = runTool(play + "--ticks 211 --screenshot 210:" + quoted(dir / "menu2.png") +
                              " --dump-state " + quoted(dir / "state.json") + " " + quoted(game));
  ASSERT_EQ(second.status, 0) << second.out;
  Json state = Json::parse(readFile(dir / "state.json"));
  EXPECT_EQ(varsOf(state, 0)["SOLVED"].second, "1");
  EXPECT_EQ(varsOf(state, 0)["CLICKS"].second, "1");
  EXPECT_EQ(propertiesOf(state, 25)["Vis"], true);
  EXPECT_EQ(readFile(dir / "menu1.png"), readFile(dir / "menu2.png"));
  std::filesystem::remove_all(dir);
}

TEST(DemoGame, PlayThroughOnOpenGlEndsInTheSameState) {
  const std::filesystem::path game = binaryDir() + "/games/demo";
  auto dir = scratchFolder("demo-gl");
  ToolResult run = runTool(lumrunPath() + " --headless --renderer gl --ticks 420 --input " +
                           quoted(std::filesystem::path(LUMRUN_SOURCE_DIR) / "games/demo/playthrough.txt") +
                           " --save-dir " + quoted(dir / "save") + " --screenshot 320:" +
                           quoted(dir / "solved.png") + " --dump-state " +
                           quoted(dir / "state.json") + " " + quoted(game));
  if (run.status == 2 && run.out.find("Failed initializing") != std::string::npos) {
    std::filesystem::remove_all(dir);
    GTEST_SKIP() << "no OpenGL here: " << run.out;
  }
  ASSERT_EQ(run.status, 0) << run.out;
  Json state = Json::parse(readFile(dir / "state.json"));
  EXPECT_EQ(varsOf(state, 0)["SOLVED"].second, "1");
  EXPECT_EQ(varsOf(state, 0)["CLICKS"].second, "1");
  EXPECT_FALSE(readFile(dir / "solved.png").empty());
  checkTheWalk(state, dir / "solved.png", 24);
  std::filesystem::remove_all(dir);
}

TEST(DemoGame, StartsWithEveryOptionalFileRemoved) {
  const std::filesystem::path source = binaryDir() + "/games/demo";
  auto dir = scratchFolder("demo-bare");
  std::filesystem::copy_file(source / "demo.lumf", dir / "demo.lumf");
  std::filesystem::copy(source / "pics", dir / "pics", std::filesystem::copy_options::recursive);
  ToolResult run = runTool(lumrunPath() + " --headless --ticks 110 --save-dir " +
                           quoted(dir / "save") + " --screenshot 109:" + quoted(dir / "first.png") +
                           " " + quoted(dir));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_FALSE(readFile(dir / "first.png").empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
