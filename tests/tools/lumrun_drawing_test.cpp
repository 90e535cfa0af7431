// What lumrun draws, read back from its screenshots: pictures whose alpha
// comes from a mask bitmap, and texts drawn in the system font in Unicode
// mode (Russian, Chinese, typed), with the widths scripts read for them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../render/picture_test_files.h"
#include "render/picture_loaders.h"
#include "tool_runner.h"

namespace lum::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// The variable of the element with the key, as {KIND, VALUE}.
std::pair<std::string, std::string> varOf(const Json& node, int key, const std::string& name) {
  if (node["properties"]["Key"] == key && node.contains("vars")) {
    for (const Json& v : node["vars"])
      if (v[0] == name) return {v[1], v[2]};
  }
  for (const Json& c : node["children"]) {
    auto found = varOf(c, key, name);
    if (!found.first.empty()) return found;
  }
  return {};
}

void writeBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
  writeFile(p, std::string(bytes.begin(), bytes.end()));
}

// Builds game.json into game.lumf, plays it headless for `ticks` and takes
// one screenshot at the last tick; the state goes to state.json.
Picture play(const fs::path& dir, int ticks, const std::string& input = "") {
  EXPECT_EQ(runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                    quoted(dir / "game.lumf")).status, 0);
  std::string inputOption;
  if (!input.empty()) {
    writeFile(dir / "input.txt", input);
    inputOption = " --input " + quoted(dir / "input.txt");
  }
  ToolResult run = runTool(lumrunPath() + " --headless --ticks " + std::to_string(ticks) +
                           inputOption + " --save-dir " + quoted(dir / "save") + " --screenshot " +
                           std::to_string(ticks) + ":" + quoted(dir / "shot.png") +
                           " --dump-state " + quoted(dir / "state.json") + " " + quoted(dir));
  EXPECT_EQ(run.status, 0) << run.out;
  auto shot = loadPictureFile((dir / "shot.png").string(), PictureKind::Png);
  EXPECT_TRUE(shot) << shot.error().text();
  return shot ? std::move(shot.value()) : Picture{};
}

// The box around the pixels of a region that pass `lit`; empty when none.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

template <typename Lit>
Box litBox(const Picture& p, int x0, int y0, int x1, int y1, Lit lit) {
  Box b;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (!lit(p.pixel(x, y))) continue;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  return b;
}

int red(uint32_t argb) { return int(argb >> 16 & 0xFF); }
int green(uint32_t argb) { return int(argb >> 8 & 0xFF); }
int blue(uint32_t argb) { return int(argb & 0xFF); }
bool whiteish(uint32_t c) { return red(c) > 128 && green(c) > 128 && blue(c) > 128; }
bool yellowish(uint32_t c) { return red(c) > 128 && green(c) > 128 && blue(c) < 64; }

TEST(LumrunDrawing, MaskBitmapsWithShortPalettesStillCutOutTheirPicture) {
  auto dir = scratchFolder("draw-mask");
  fs::create_directories(dir / "pics");
  // The mask's palette holds two greys, its right half uses index 255.
  writeBytes(dir / "pics" / "gem.bmp",
             makeShortPaletteBmp(64, 64, {0x000000, 0x808080},
                                 [](int x, int) { return uint8_t(x < 32 ? 0 : 255); }));
  writeBytes(dir / "pics" / "gem_.jpg", makeJpeg(64, 64, 0xFFF01010));
  writeFile(dir / "game.json", R"({"class": "TLumDB",
    "properties": {"Key": 0, "Id": "Mask", "InitScreen": 1},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1},
      "children": [{"class": "TLumImage", "properties": {"Key": 2, "Order": 1, "rX": 600, "rY": 100,
        "imImage": "pics\\gem.bmp"}}]}]})");
  const Picture shot = play(dir, 120);
  ASSERT_EQ(shot.width, 1024);
  const uint32_t cut = shot.pixel(600 + 16, 100 + 32), kept = shot.pixel(600 + 48, 100 + 32);
  EXPECT_LT(red(cut), 16) << std::hex << cut;  // alpha 0: the black screen shows
  EXPECT_GT(red(kept), 200) << std::hex << kept;
  EXPECT_LT(green(kept), 64) << std::hex << kept;
  fs::remove_all(dir);
}

// A text of four Chinese characters (U+4F60 U+597D U+4E16 U+754C) in the
// game's escape: byte 1, then the low and the high byte of each.
constexpr const char* kChinese =
    R"(\u0001\u0060\u004f\u0001\u007d\u0059\u0001\u0016\u004e\u0001\u004c\u0075)";

bool someFontHasChinese() {
  return !runTool("fc-list ':charset=4f60 597d 4e16 754c' file").out.empty();
}

class SystemFontTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = scratchFolder("draw-sysfont");
    fs::create_directories(dir / "unicode");
    // No glyphs of its own; the line after them names the system font.
    writeFile(dir / "unicode" / "unicode.fnt", "0\r\nDejaVu Sans\r\n");
    const std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_EQ(runTool(lumfPath() + " font " + font + " --size 20 --key Main -o " +
                      quoted(dir / "fonts.asdb")).status, 0);
  }
  void TearDown() override { fs::remove_all(dir); }

  // A text in a 400 x 100 box at (100, top), centred on (300, top + 50).
  static std::string text(int key, int top, const std::string& more,
                          const std::string& process = "W := TEXTSZ;") {
    return R"({"class": "TLumText", "properties": {"Key": )" + std::to_string(key) +
           R"(, "Order": 1, "rX": 100, "rY": )" + std::to_string(top) +
           R"(, "SizeX": 400, "SizeY": 100, "Font": "Main", "PosHor": "phCenter",
              "PosVert": "pvCenter", "exInit": "W0 := TEXTSZ; W := -1;",
              "exProcess": ")" + process + "\", " + more + "}}";
  }
  std::string game(const std::string& texts) const {
    return R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "SysFont", "InitScreen": 1,
      "FileFonts": "fonts.asdb"}, "children": [{"class": "TLumScreen", "properties": {"Key": 1},
      "children": [)" + texts + "]}]}";
  }
  Json state() const { return Json::parse(readFile(dir / "state.json")); }
  double width(int key) const { return std::stod(varOf(state(), key, "W").second); }

  fs::path dir;
};

TEST_F(SystemFontTexts, RussianAndChineseAreDrawnCentredOnTheirAnchorAtTheWidthScriptsRead) {
  writeFile(dir / "game.json",
            game(text(10, 100, R"("Uni": true, "Text": "Привет, мир")") + "," +
                 text(11, 300, std::string(R"("Uni": true, "hxColor1": 65535, "Text": ")") + kChinese +
                                   "\"") + "," +
                 text(12, 500, R"("Text": "Привет")")));
  const Picture shot = play(dir, 120);
  ASSERT_EQ(shot.width, 1024);
  const Json s = state();
  // Before the first draw a system-font text has no width: the byte 0.
  EXPECT_EQ(varOf(s, 10, "W0"), std::make_pair(std::string("byte"), std::string("0")));
  EXPECT_EQ(varOf(s, 10, "W").first, "real");
  // The bitmap-font text measures in its font as always.
  EXPECT_EQ(varOf(s, 12, "W0").first, "real");

  const double ru = width(10);
  const Box ruBox = litBox(shot, 0, 100, 1024, 200, whiteish);
  ASSERT_FALSE(ruBox.empty());
  EXPECT_GT(ru, 100);
  EXPECT_LE(ruBox.width(), ru + 2);
  EXPECT_GE(ruBox.width(), ru * 0.85);
  EXPECT_NEAR((ruBox.left + ruBox.right) / 2.0, 300, 4);
  EXPECT_NEAR((ruBox.top + ruBox.bottom) / 2.0, 150, 6);
  // Without Uni the text takes the glyph sheet, which has no glyphs here.
  EXPECT_TRUE(litBox(shot, 0, 500, 1024, 600, whiteish).empty());

  if (!someFontHasChinese()) {
    GTEST_SKIP() << "no installed font has Chinese characters (scripts/setup.sh installs one)";
  }
  const double zh = width(11);
  const Box zhBox = litBox(shot, 0, 300, 1024, 400, yellowish);  // colour 1: yellow
  ASSERT_FALSE(zhBox.empty());
  EXPECT_GT(zh, 60);
  EXPECT_LE(zhBox.width(), zh + 2);
  EXPECT_GE(zhBox.width(), zh * 0.85);
  EXPECT_NEAR((zhBox.left + zhBox.right) / 2.0, 300, 4);
  // Four distinct glyphs, not four empty boxes: many lit pixels per glyph.
  int lit = 0;
  for (int y = zhBox.top; y <= zhBox.bottom; ++y)
    for (int x = zhBox.left; x <= zhBox.right; ++x) lit += yellowish(shot.pixel(x, y)) ? 1 : 0;
  EXPECT_GT(lit, 4 * 40);
}

TEST_F(SystemFontTexts, TheTextBeingTypedIntoIsDrawnInTheSystemFont) {
  writeFile(dir / "game.json",
            game(text(10, 100, R"("Text": "")", "W := TEXTSZ; SetFocus(SELF);")));
  // "Дом" typed: characters beyond 127 go in as escapes.
  const Picture shot = play(dir, 125, "110 char 1044\n111 char 1086\n112 char 1084\n");
  ASSERT_EQ(shot.width, 1024);
  const Box box = litBox(shot, 0, 100, 1024, 200, whiteish);
  ASSERT_FALSE(box.empty());
  const double w = width(10);
  EXPECT_GT(w, 30);
  EXPECT_LE(box.width(), w + 2);
  EXPECT_NEAR((box.left + box.right) / 2.0, 300, 4);
}

}  // namespace
}  // namespace lum::test
