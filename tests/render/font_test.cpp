#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <filesystem>

#include "device_test_support.h"
#include "render/archive.h"
#include "render/archive_writer.h"
#include "render/fonts.h"

namespace lum {
namespace {

using testing::at;
using testing::drawFrame;
using testing::softStack;

// Glyphs 'A', 'B', 'C' with advances 10, 12, 14 and heights 16, 18, 20 on a
// sheet of 16 x 20 patterns; every glyph texel is opaque white.
FontRecord makeFontRecord() {
  FontRecord f;
  f.firstChar = 'A';
  f.spacing = 1;
  f.glyphs = {{10, 16}, {12, 18}, {14, 20}};
  ArchiveImage& a = f.sheet;
  a.format = PixelFormat::A8R8G8B8;
  a.patternSize = {16, 20};
  a.visibleSize = {16, 20};
  a.patternCount = 3;
  a.textureSize = {64, 20};
  a.textureCount = 1;
  a.pixels.assign(a.textureBytes(), 0xFF);
  return f;
}

struct FontRig {
  std::unique_ptr<RenderStack> stack = softStack();
  TAsphyreFont* font = stack->fonts.Add();
  FontRig() { EXPECT_TRUE(font->LoadFromRecord(makeFontRecord(), TAsphyreQuality::aqHigh, TAlphaLevel::alFull)); }
};

TEST(FontTest, MeasuresAdvancesSpacingScaleAndInterleave) {
  FontRig r;
  EXPECT_DOUBLE_EQ(r.font->TextWidth("AB"), 24.0);
  EXPECT_DOUBLE_EQ(r.font->TextHeight("AB"), 18.0);
  r.font->Scale = 2.0;
  EXPECT_DOUBLE_EQ(r.font->TextWidth("AB"), 48.0);
  EXPECT_DOUBLE_EQ(r.font->TextHeight("CA"), 40.0);
  r.font->Scale = 1.0;
  r.font->Interleave = 0.5;
  EXPECT_DOUBLE_EQ(r.font->TextWidth("AB"), 25.0);
  EXPECT_DOUBLE_EQ(r.font->TextHeight("xyz"), 0.0);
}

TEST(FontTest, CharactersWithoutGlyphsAdvanceByTheSpaceFactor) {
  FontRig r;
  EXPECT_DOUBLE_EQ(r.font->TextWidth(" "), 0.3 * 16);
  EXPECT_DOUBLE_EQ(r.font->TextWidth("D"), 0.3 * 16);
  const auto px = drawFrame(*r.stack, [&] { r.font->TextOut(" ", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504); });
  EXPECT_EQ(at(px, 5, 5), 0xFF000000u);
}

TEST(FontTest, ColourCodesNeedElevenMoreCharacters) {
  FontRig r;
  // The code and exactly one more character: not a code, all 11 measured.
  EXPECT_DOUBLE_EQ(r.font->TextWidth("#$FF0000FFA"), 10 * 4.8 + 11);
  // Two more: the code is taken out and only "AB" remains.
  EXPECT_DOUBLE_EQ(r.font->TextWidth("#$FF0000FFAB"), 24.0);
  EXPECT_DOUBLE_EQ(r.font->TextWidth("&$FF0000FFAB"), 24.0);
  EXPECT_DOUBLE_EQ(r.font->TextWidth("0xFF0000FFAB"), 24.0);
  // A number that does not parse is still taken out.
  EXPECT_DOUBLE_EQ(r.font->TextWidth("#$FFZZ00FFAB"), 24.0);
  r.font->Markup = false;
  EXPECT_DOUBLE_EQ(r.font->TextWidth("#$FF0000FFAB"), 10 * 4.8 + 24);
}

TEST(FontTest, ColourCodesTintTopAndBottom) {
  FontRig r;
  const auto px = drawFrame(*r.stack, [&] {
    r.font->TextOut("#$FF0000FF&$FFFF0000AB", 100, 100, 0xFFFFFFFF, 0xFFFFFFFF, 1);
  });
  // A vertical gradient sampled at pixel centres: nearly red on the top
  // row, nearly blue on the bottom one.
  const auto red = [](uint32_t c) { return (c >> 16) & 0xFF; };
  const auto blue = [](uint32_t c) { return c & 0xFF; };
  EXPECT_GT(red(at(px, 105, 100)), 240u);
  EXPECT_LT(blue(at(px, 105, 100)), 10u);
  EXPECT_LT(red(at(px, 105, 119)), 10u);
  EXPECT_GT(blue(at(px, 105, 119)), 240u);
  // 'B' starts after A's advance 10 + spacing 1 and keeps the colours.
  EXPECT_GT(red(at(px, 111 + 15, 100)), 240u);
  EXPECT_EQ(at(px, 111 + 16, 100), 0xFF000000u);
}

TEST(FontTest, WholeStringIsOneDrawCall) {
  FontRig r;
  int64_t before = 0;
  drawFrame(*r.stack, [&] {
    before = r.stack->canvas.DrawCalls();
    r.font->TextOut("ABCABC", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
  });
  EXPECT_EQ(r.stack->canvas.DrawCalls() - before, 1);
}

TEST(FontTest, ShadowIsDrawnBelowAndRight) {
  FontRig r;
  r.font->SetStyle(TFontStyleFx::feShadow, true);
  r.font->ShadowColor = 0x0000FF;  // red
  const auto px = drawFrame(*r.stack, [&] { r.font->TextOut("A", 100, 100, 0xFFFFFFFF, 0xFFFFFFFF, 0x504); });
  EXPECT_EQ(at(px, 100, 100), 0xFFFFFFFFu);
  EXPECT_EQ(at(px, 117, 121) & 0xFFFFFF, 0x800000u);  // shadow only: half-opaque red over black
  EXPECT_EQ(at(px, 116, 100), 0xFF000000u);
}

TEST(FontTest, EmbossMovesTheGlyphUpLeft) {
  FontRig r;
  r.font->SetStyle(TFontStyleFx::feEmboss, true);
  r.font->EmbossColor = 0xFF0000;  // blue
  const auto px = drawFrame(*r.stack, [&] { r.font->TextOut("A", 100, 100, 0xFFFFFFFF, 0xFFFFFFFF, 0x504); });
  EXPECT_EQ(at(px, 99, 99), 0xFFFFFFFFu);            // the glyph, moved by (-1, -1)
  EXPECT_EQ(at(px, 115, 119) & 0xFFFFFF, 0x0000CCu);  // emboss at (+1, +1) of that, 0.8 blue
}

TEST(FontTest, BoldWidensAndItalicSlants) {
  FontRig r;
  r.font->SetStyle(TFontStyleFx::feBold, true);
  auto px = drawFrame(*r.stack, [&] { r.font->TextOut("A", 100, 100, 0xFFFFFFFF, 0xFFFFFFFF, 0x504); });
  EXPECT_EQ(at(px, 99, 110), 0xFFFFFFFFu);
  EXPECT_EQ(at(px, 116, 110), 0xFFFFFFFFu);
  r.font->ClearStyles();
  r.font->SetStyle(TFontStyleFx::feItalic, true);
  px = drawFrame(*r.stack, [&] { r.font->TextOut("A", 100, 100, 0xFFFFFFFF, 0xFFFFFFFF, 0x504); });
  EXPECT_EQ(at(px, 100, 100), 0xFF000000u);  // the top moved right by 2
  EXPECT_EQ(at(px, 102, 100), 0xFFFFFFFFu);
  EXPECT_EQ(at(px, 98, 119), 0xFFFFFFFFu);   // the bottom left by 2
}

TEST(FontTest, DrawingNeedsAnOwnerWithACanvas) {
  FontRig r;
  r.stack->fonts.Canvas = nullptr;
  const Status noCanvas = r.font->TextOut("A", 0, 0, 0, 0, 1);
  ASSERT_FALSE(noCanvas.ok());
  EXPECT_EQ(noCanvas.error().message, "TAsphyreFont: Unassigned Owner.Canvas property.");
  TAsphyreFont orphan(nullptr);
  EXPECT_TRUE(orphan.TextOut("A", 0, 0, 0, 0, 1).ok());  // not loaded: nothing at all
  EXPECT_EQ(orphan.TextWidth("AB"), 0.0);
  EXPECT_FALSE(orphan.LoadFromRecord(makeFontRecord(), TAsphyreQuality::aqHigh, TAlphaLevel::alFull));
}

TEST(FontTest, ListNamesAndFindsFonts) {
  auto s = softStack();
  EXPECT_EQ(s->fonts.Add()->Name, "Font00");
  EXPECT_EQ(s->fonts.Add()->Name, "Font01");
  s->fonts.Item(1)->Name = "Title";
  EXPECT_EQ(s->fonts.Find("tITLE"), s->fonts.Item(1));
  EXPECT_EQ(s->fonts.Find("none"), nullptr);
  s->fonts.Clear();
  EXPECT_EQ(s->fonts.Add()->Name, "Font02");
}

class FontArchiveTest : public ::testing::Test {
 protected:
  std::string path = (std::filesystem::temp_directory_path() /
                      ("font_test_" + std::to_string(::getpid()) + ".asdb")).string();
  void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(FontArchiveTest, LoadsEveryFontRecordInTableOrder) {
  ArchiveWriter w = ArchiveWriter::openOrCreate(path).value();
  const std::vector<uint8_t> body = encodeFontRecord(makeFontRecord());
  w.add("SMALL", 3, body);
  w.add("PICTURE.PNG", 0, std::vector<uint8_t>{1, 2, 3});
  w.add("BIG", 3, body);
  ASSERT_TRUE(w.save(path).ok());
  auto s = softStack();
  TASDb archive;
  archive.setFileName(path);
  archive.setOpenMode(TOpenModes::opReadOnly);
  ASSERT_TRUE(s->fonts.LoadFromASDb(archive));
  ASSERT_EQ(s->fonts.Count(), 2);
  EXPECT_EQ(s->fonts.Item(0)->Name, "SMALL");
  EXPECT_EQ(s->fonts.Item(1)->Name, "BIG");
  EXPECT_TRUE(s->fonts.Find("big")->Loaded());
}

TEST_F(FontArchiveTest, ABrokenFontStopsTheLoading) {
  ArchiveWriter w = ArchiveWriter::openOrCreate(path).value();
  std::vector<uint8_t> body = encodeFontRecord(makeFontRecord());
  w.add("GOOD", 3, body);
  body.resize(40);
  w.add("BROKEN", 3, body);
  w.add("LATER", 3, encodeFontRecord(makeFontRecord()));
  ASSERT_TRUE(w.save(path).ok());
  auto s = softStack();
  TASDb archive;
  archive.setFileName(path);
  archive.setOpenMode(TOpenModes::opReadOnly);
  EXPECT_FALSE(s->fonts.LoadFromASDb(archive));
  ASSERT_EQ(s->fonts.Count(), 2);
  EXPECT_TRUE(s->fonts.Item(0)->Loaded());
  EXPECT_FALSE(s->fonts.Item(1)->Loaded());
  EXPECT_EQ(s->fonts.Item(1)->Name, "Font01");
}

TEST_F(FontArchiveTest, MissingArchiveLoadsNothing) {
  auto s = softStack();
  TASDb archive;
  archive.setFileName(path + ".absent");
  archive.setOpenMode(TOpenModes::opReadOnly);
  EXPECT_FALSE(s->fonts.LoadFromASDb(archive));
  EXPECT_EQ(s->fonts.Count(), 0);
}

}  // namespace
}  // namespace lum

namespace lum {
namespace {

TEST(FontTest, ArbitraryTextNeverLeavesTheString) {
  FontRig r;
  // Every prefix of strings dense in code starts: the markup walker must stop
  // at the end whatever it was in the middle of.
  const std::string samples[] = {"#$&$0x#$&$0x#$&$0x", "#$FFFFFFFF&$FFFFFFFF0xFFFFFFFF",
                                 std::string("A\0B#$12345678", 13), "0x0x0x0x0x0x0x0x0x0x0x0xA"};
  drawFrame(*r.stack, [&] {
    for (const std::string& s : samples)
      for (size_t n = 0; n <= s.size(); ++n) {
        const std::string_view text(s.data(), n);
        EXPECT_GE(r.font->TextWidth(text), 0.0);
        EXPECT_TRUE(r.font->TextOut(text, 10, 10, 0xFFFFFFFF, 0xFFFFFFFF, 0x504).ok());
      }
  });
}

}  // namespace
}  // namespace lum
