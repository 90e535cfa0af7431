// Texts drawn in the system font in Unicode mode: which texts take that
// path, the picture built once per text, its scale from the element's font,
// its anchoring in the box and the width scripts read as TEXTSZ.
#include <gtest/gtest.h>

#include "render/archive_writer.h"
#include "render/image.h"
#include "scene/runtime.h"
#include "scene/text.h"
#include "scene_harness.h"

namespace lum {
namespace {

using testing::SceneHarness;

// A font of one glyph, "W", 20 pixels high: the system-font picture is
// scaled to 1.5 times that, 30 pixels, at the element's Scale 1.
std::string fontArchive() {
  FontRecord f;
  f.firstChar = 'W';
  f.glyphs = {{18, 20}};
  ArchiveImage& a = f.sheet;
  a.patternSize = a.visibleSize = a.textureSize = {20, 20};
  a.patternCount = a.textureCount = 1;
  a.pixels.assign(a.textureBytes(), 0xFF);
  ArchiveWriter writer;
  writer.add("Main", 3, encodeFontRecord(f));
  const std::vector<uint8_t> bytes = writer.bytes();
  return std::string(bytes.begin(), bytes.end());
}

const char* kGame = R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1,
  "FileFonts": "fonts.asdb"},
  "children": [{"class": "TLumScreen", "properties": {"Key": 1}, "children": [
    {"class": "TLumText", "properties": {"Key": 2, "Order": 1, "rX": 100, "rY": 100, "SizeX": 400,
       "SizeY": 200, "Font": "Main", "Uni": true, "PosHor": "phRight", "PosVert": "pvBottom",
       "hxColor1": 65280, "Text": "Вода"}},
    {"class": "TLumText", "properties": {"Key": 3, "Order": 1, "rX": 100, "rY": 500, "SizeX": 400,
       "SizeY": 100, "Font": "Main", "Text": "WW"}}]}]})";

class SystemFontText : public ::testing::Test {
 protected:
  void SetUp() override {
    game.writeFile("unicode/unicode.fnt", "0\r\nDejaVu Sans\r\n");
    game.writeFile("fonts.asdb", fontArchive());
    ASSERT_TRUE(game.play(kGame)) << game.error();
    uni = dynamic_cast<TLumText*>(game.byKey(2));
    plain = dynamic_cast<TLumText*>(game.byKey(3));
    ASSERT_TRUE(uni && plain);
  }
  double scaleOf(const TLumText& t) const { return 20.0 / t.systemTextSize()->height * 1.5; }

  SceneHarness game;
  TLumText* uni = nullptr;
  TLumText* plain = nullptr;
};

TEST_F(SystemFontText, ThePictureIsBuiltOnDrawAndOnlyAgainWhenTheTextChanges) {
  EXPECT_TRUE(uni->usesSystemFont());
  game.frame();
  ASSERT_NE(uni->systemTextTexture(), nullptr);
  const uint64_t first = uni->systemTextTexture()->Serial();  // unique per texture made
  const SizeI size = *uni->systemTextSize();
  ASSERT_GT(size.width, 0);
  EXPECT_EQ(uni->systemTextTexture()->PatternSize(), size);
  EXPECT_EQ(uni->systemTextTexture()->TextureSize(), size);
  // TEXTSZ: the picture's width at the scale it is drawn with.
  EXPECT_DOUBLE_EQ(game.value("LUMDB.CHILD1.CHILD1.TEXTSZ").real(), size.width * scaleOf(*uni));
  game.tick(3);
  uni->SetText(std::string(uni->Text()));
  game.frame();
  EXPECT_EQ(uni->systemTextTexture()->Serial(), first);
  uni->SetText(uni->Text() + " - W");
  EXPECT_DOUBLE_EQ(*uni->TextSize(), size.width * (20.0 / size.height * 1.5));  // until drawn
  game.frame();
  EXPECT_NE(uni->systemTextTexture()->Serial(), first);
  EXPECT_GT(uni->systemTextSize()->width, size.width);
}

TEST_F(SystemFontText, ThePictureIsCentredOnTheAnchorAndTintedWithColourOne) {
  const std::vector<uint32_t> pixels = game.frame();
  const double w = *uni->TextSize();
  EXPECT_DOUBLE_EQ(uni->systemTextSize()->height * scaleOf(*uni), 30.0);
  // phRight, pvBottom: centred on the box's bottom right corner (500, 300).
  int left = 1024, right = -1, top = 768, bottom = -1, stray = 0;
  for (int y = 0; y < 450; ++y)
    for (int x = 0; x < 1024; ++x) {
      const uint32_t p = pixels[size_t(y) * 1024 + size_t(x)];
      if ((p & 0xFF) > 64 || (p >> 16 & 0xFF) > 64) ++stray;  // anything but green
      if ((p >> 8 & 0xFF) < 128) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  EXPECT_EQ(stray, 0);
  ASSERT_GE(right, 0);
  EXPECT_GE(left, 500 - w / 2 - 1);
  EXPECT_LE(right, 500 + w / 2 + 1);
  EXPECT_GE(top, 300 - 15 - 1);
  EXPECT_LE(bottom, 300 + 15 + 1);
  EXPECT_NEAR((left + right) / 2.0, 500, 3);
}

TEST_F(SystemFontText, OnlyUniTextsAndTheTextBeingTypedIntoTakeTheSystemFont) {
  EXPECT_FALSE(plain->usesSystemFont());
  EXPECT_DOUBLE_EQ(game.value("LUMDB.CHILD1.CHILD2.TEXTSZ").real(), 36.0);  // two W
  game.state().focusedText = plain;
  EXPECT_TRUE(plain->usesSystemFont());
  // Not drawn in the system font yet: scripts read the byte 0.
  const ScriptValue before = game.value("LUMDB.CHILD1.CHILD2.TEXTSZ");
  EXPECT_EQ(before.kind(), ValueKind::Byte);
  EXPECT_EQ(before.whole(), 0);
  game.frame();
  ASSERT_NE(plain->systemTextTexture(), nullptr);
  EXPECT_GT(*plain->TextSize(), 0);
  game.state().focusedText = nullptr;
  EXPECT_DOUBLE_EQ(*plain->TextSize(), 36.0);
}

}  // namespace
}  // namespace lum
