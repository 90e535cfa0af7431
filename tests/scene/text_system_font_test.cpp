// Texts drawn in the system font in Unicode mode: which texts take that
// path, the picture built once per text, its scale from the element's font,
// its anchoring in the box and the width scripts read as TEXTSZ.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../render/device_test_support.h"
#include "platform/game_folder.h"
#include "render/font.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/game_json.h"
#include "scene/runtime.h"
#include "scene/text.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// One glyph, "W", 20 pixels high: the system-font picture is scaled to 1.5
// times that, 30 pixels, at the element's Scale 1.
FontRecord letterW() {
  FontRecord f;
  f.firstChar = 'W';
  f.glyphs = {{18, 20}};
  ArchiveImage& a = f.sheet;
  a.patternSize = a.visibleSize = a.textureSize = {20, 20};
  a.patternCount = a.textureCount = 1;
  a.pixels.assign(a.textureBytes(), 0xFF);
  return f;
}

const char* kGame = R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1},
  "children": [{"class": "TLumScreen", "properties": {"Key": 1}, "children": [
    {"class": "TLumText", "properties": {"Key": 2, "Order": 1, "rX": 100, "rY": 100, "SizeX": 400,
       "SizeY": 200, "Font": "Main", "Uni": true, "PosHor": "phRight", "PosVert": "pvBottom",
       "Text": "Вода"}},
    {"class": "TLumText", "properties": {"Key": 3, "Order": 1, "rX": 100, "rY": 400, "SizeX": 400,
       "SizeY": 100, "Font": "Main", "Text": "WW"}}]}]})";

class SystemFontText : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumrun-sysfont-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "unicode");
    std::ofstream(dir_ / "unicode" / "unicode.fnt") << "0\r\nDejaVu Sans\r\n";
    folder_ = std::make_unique<GameFolder>(dir_);
    TAsphyreFont* font = stack_->fonts.Add();
    ASSERT_TRUE(font->LoadFromRecord(letterW(), TAsphyreQuality::aqHigh, TAlphaLevel::alFull));
    font->Name = "Main";
    rt_.folder = folder_.get();
    rt_.canvas = &stack_->canvas;
    rt_.fonts = &stack_->fonts;
    rt_.textures = &stack_->images;
    Result<std::string> bytes = gameFileFromJson(OrderedJson::parse(kGame), CodePage());
    ASSERT_TRUE(bytes.ok()) << bytes.error().text();
    std::ofstream(dir_ / "game.lumf", std::ios::binary) << *bytes;
    folder_->invalidate();
    root_ = std::make_unique<TLumDB>(&rt_);
    ASSERT_TRUE(root_->LoadGame("game.lumf").ok());
    ASSERT_TRUE(root_->unicodeMode());
    uni_ = static_cast<TLumText*>(root_->FindByKey(2));
    plain_ = static_cast<TLumText*>(root_->FindByKey(3));
  }
  void TearDown() override {
    root_.reset();
    fs::remove_all(dir_);
  }
  std::vector<uint32_t> draw(TLumText& text) {
    return testing::drawFrame(*stack_, [&] { text.Draw(1, 0xFFFFFFFF, 0, 0, 0); });
  }

  fs::path dir_;
  std::unique_ptr<RenderStack> stack_ = testing::softStack();
  std::unique_ptr<GameFolder> folder_;
  Runtime rt_;
  std::unique_ptr<TLumDB> root_;
  TLumText* uni_ = nullptr;
  TLumText* plain_ = nullptr;
};

TEST_F(SystemFontText, ThePictureIsBuiltOnDrawAndOnlyAgainWhenTheTextChanges) {
  EXPECT_TRUE(uni_->usesSystemFont());
  EXPECT_FALSE(uni_->TextSize().has_value());  // scripts read the byte 0
  draw(*uni_);
  ASSERT_NE(uni_->systemTextTexture(), nullptr);
  const uint64_t first = uni_->systemTextTexture()->Serial();  // unique per texture made
  const SizeI size = *uni_->systemTextSize();
  ASSERT_GT(size.width, 0);
  EXPECT_EQ(uni_->systemTextTexture()->PatternSize(), size);
  EXPECT_EQ(uni_->systemTextTexture()->TextureSize(), size);
  // TEXTSZ: the picture's width at the scale it is drawn with.
  EXPECT_DOUBLE_EQ(*uni_->TextSize(), size.width * (20.0 / size.height * 1.5));
  draw(*uni_);
  uni_->SetText(std::string(uni_->Text()));
  draw(*uni_);
  EXPECT_EQ(uni_->systemTextTexture()->Serial(), first);
  uni_->SetText(uni_->Text() + " - W");
  EXPECT_DOUBLE_EQ(*uni_->TextSize(), size.width * (20.0 / size.height * 1.5));  // until drawn
  draw(*uni_);
  EXPECT_NE(uni_->systemTextTexture()->Serial(), first);
  EXPECT_GT(uni_->systemTextSize()->width, size.width);
  EXPECT_GT(*uni_->TextSize(), size.width * (20.0 / size.height * 1.5));
}

TEST_F(SystemFontText, ThePictureIsCentredOnTheAnchorAndTintedWithColourOne) {
  uni_->colour1 = 0xFF00FF00;  // green, canvas order
  const auto pixels = draw(*uni_);
  const double w = *uni_->TextSize();
  const double h = uni_->systemTextSize()->height * (20.0 / uni_->systemTextSize()->height * 1.5);
  EXPECT_DOUBLE_EQ(h, 30.0);
  // phRight, pvBottom: centred on the box's bottom right corner (500, 300).
  int left = 1024, right = -1, top = 768, bottom = -1;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      const uint32_t p = testing::at(pixels, x, y);
      if ((p & 0xFF) > 64 || (p >> 16 & 0xFF) > 64) ADD_FAILURE() << "not green at " << x << "," << y;
      if ((p >> 8 & 0xFF) < 128) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      if (::testing::Test::HasFailure()) return;
    }
  ASSERT_GE(right, 0);
  EXPECT_GE(left, 500 - w / 2 - 1);
  EXPECT_LE(right, 500 + w / 2 + 1);
  EXPECT_GE(top, 300 - 15 - 1);
  EXPECT_LE(bottom, 300 + 15 + 1);
  EXPECT_NEAR((left + right) / 2.0, 500, 3);
}

TEST_F(SystemFontText, OnlyUniTextsAndTheTextBeingTypedIntoTakeTheSystemFont) {
  EXPECT_FALSE(plain_->usesSystemFont());
  EXPECT_DOUBLE_EQ(*plain_->TextSize(), 36.0);  // two W of the bitmap font
  rt_.focusedText = plain_;
  EXPECT_TRUE(plain_->usesSystemFont());
  EXPECT_FALSE(plain_->TextSize().has_value());
  draw(*plain_);
  EXPECT_NE(plain_->systemTextTexture(), nullptr);
  rt_.focusedText = nullptr;
  EXPECT_DOUBLE_EQ(*plain_->TextSize(), 36.0);
}

}  // namespace
}  // namespace lum
