#include "render/archive_records.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive_test_util.h"
#include "render/truetype.h"

namespace lum {
namespace {

ArchiveImage smallImage(PixelFormat format, int textures) {
  ArchiveImage image;
  image.format = format;
  image.patternSize = {4, 2};
  image.visibleSize = {3, 2};
  image.patternCount = 5;
  image.textureSize = {8, 4};
  image.textureCount = textures;
  image.pixels.resize(image.textureBytes() * size_t(textures));
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(i * 7);
  return image;
}

TEST(ArchiveImageRecord, HeaderLayoutIsFixed) {
  const auto bytes = encodeArchiveImage(smallImage(PixelFormat::A4R4G4B4, 2));
  ASSERT_EQ(bytes.size(), kArchiveImageHeaderSize + 8 * 4 * 2 * 2);
  EXPECT_EQ(bytes[0], 7);   // A4R4G4B4
  EXPECT_EQ(bytes[1], 4);   // pattern width
  EXPECT_EQ(bytes[5], 2);   // pattern height
  EXPECT_EQ(bytes[9], 3);   // visible width
  EXPECT_EQ(bytes[17], 5);  // pattern count
  EXPECT_EQ(bytes[21], 8);  // texture width
  EXPECT_EQ(bytes[25], 4);  // texture height
  EXPECT_EQ(bytes[29], 2);  // texture count
}

TEST(ArchiveImageRecord, RoundTripsAndAddressesRows) {
  const ArchiveImage image = smallImage(PixelFormat::R5G6B5, 3);
  size_t consumed = 0;
  auto bytes = encodeArchiveImage(image);
  bytes.push_back(0xEE);  // trailing data is not the image's
  auto back = decodeArchiveImage(bytes, &consumed);
  ASSERT_TRUE(back) << back.error().text();
  EXPECT_EQ(consumed, bytes.size() - 1);
  EXPECT_EQ(back->format, PixelFormat::R5G6B5);
  EXPECT_EQ(back->patternSize, (SizeI{4, 2}));
  EXPECT_EQ(back->visibleSize, (SizeI{3, 2}));
  EXPECT_EQ(back->patternCount, 5);
  EXPECT_EQ(back->textureCount, 3);
  EXPECT_EQ(back->pixels, image.pixels);
  EXPECT_EQ(back->rowBytes(), 16u);
  EXPECT_EQ(back->textureRow(2, 1) - back->pixels.data(), 2 * 64 + 16);
}

TEST(ArchiveImageRecord, DamagedRecordsFail) {
  auto good = encodeArchiveImage(smallImage(PixelFormat::A8R8G8B8, 2));
  EXPECT_FALSE(decodeArchiveImage(std::span(good).first(good.size() - 1)));  // short pixels
  EXPECT_FALSE(decodeArchiveImage(std::span(good).first(20)));               // short header
  auto badFormat = good;
  badFormat[0] = 11;  // "unknown" has no pixel size
  EXPECT_FALSE(decodeArchiveImage(badFormat));
  auto negative = good;
  test::putU32(negative, 29, 0xFFFFFFFF);
  EXPECT_FALSE(decodeArchiveImage(negative));
  auto huge = good;
  test::putU32(huge, 29, 0x7FFFFFFF);  // far more textures than bytes
  EXPECT_FALSE(decodeArchiveImage(huge));
  auto wide = good;
  test::putU32(wide, 21, 1u << 20);
  EXPECT_FALSE(decodeArchiveImage(wide));
  auto zero = good;
  test::putU32(zero, 25, 0);
  EXPECT_FALSE(decodeArchiveImage(zero));
}

TEST(ArchiveImageRecord, PatternFieldsAreKeptAsStored) {
  // Zero or negative pattern sizes mean "the texture's": the texture code
  // resolves that, so decoding keeps them.
  ArchiveImage image = smallImage(PixelFormat::A8, 1);
  image.patternSize = {0, -1};
  image.patternCount = -3;
  auto back = decodeArchiveImage(encodeArchiveImage(image));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->patternSize, (SizeI{0, -1}));
  EXPECT_EQ(back->patternCount, -3);
}

TEST(FontRecordFormat, RoundTripsAndKeepsLowByteOfFirstChar) {
  FontRecord font;
  font.firstChar = 32;
  font.spacing = -2;
  font.glyphs = {{5, 12}, {7, 12}, {0, 0}};
  font.sheet = smallImage(PixelFormat::A8R8G8B8, 1);
  auto bytes = encodeFontRecord(font);
  ASSERT_EQ(bytes.size(), 16 + 3 * 8 + kArchiveImageHeaderSize + 8 * 4 * 4);
  bytes[1] = 0x01;  // first character 0x120: only 0x20 is kept
  auto back = decodeFontRecord(bytes);
  ASSERT_TRUE(back) << back.error().text();
  EXPECT_EQ(back->firstChar, 32);
  EXPECT_EQ(back->spacing, -2);
  EXPECT_EQ(back->glyphs, font.glyphs);
  EXPECT_EQ(back->sheet.pixels, font.sheet.pixels);
}

TEST(FontRecordFormat, DamagedRecordsFail) {
  FontRecord font;
  font.glyphs = {{5, 12}};
  font.sheet = smallImage(PixelFormat::A8R8G8B8, 1);
  auto bytes = encodeFontRecord(font);
  EXPECT_FALSE(decodeFontRecord(std::span(bytes).first(15)));
  EXPECT_FALSE(decodeFontRecord(std::span(bytes).first(bytes.size() - 1)));
  auto manyGlyphs = bytes;
  test::putU32(manyGlyphs, 12, 0x10000000);
  EXPECT_FALSE(decodeFontRecord(manyGlyphs));
  auto negative = bytes;
  test::putU32(negative, 12, 0xFFFFFFFF);
  EXPECT_FALSE(decodeFontRecord(negative));
}

const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TEST(TrueTypeRaster, DejaVuGivesAConsistentGlyphSheet) {
  if (!std::filesystem::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const auto ttf = test::readFile(kDejaVu);
  TrueTypeRasterOptions options;
  options.pixelSize = 20;
  options.codepage = "1252";
  auto font = rasteriseTrueType(ttf, options);
  ASSERT_TRUE(font) << font.error().text();
  EXPECT_EQ(font->firstChar, 32);
  ASSERT_EQ(font->glyphs.size(), 224u);
  const auto& sheet = font->sheet;
  EXPECT_EQ(sheet.patternCount, 224);
  EXPECT_EQ(sheet.patternSize.width, sheet.visibleSize.width + 2);
  EXPECT_EQ(sheet.patternSize.height, sheet.visibleSize.height + 2);
  const int perRow = sheet.textureSize.width / sheet.patternSize.width;
  const int perTexture = perRow * (sheet.textureSize.height / sheet.patternSize.height);
  EXPECT_GE(perTexture * sheet.textureCount, 224);

  const auto glyph = [&](char c) { return font->glyphs[size_t(uint8_t(c) - 32)]; };
  EXPECT_GT(glyph(' ').advance, 0);
  EXPECT_GT(glyph('W').advance, glyph('i').advance);
  EXPECT_EQ(glyph('A').height, sheet.visibleSize.height);
  EXPECT_EQ(font->glyphs[0x81 - 32].advance, 0);  // no character at 0x81 in CP1252
  EXPECT_GT(font->glyphs[0xE9 - 32].advance, 0);  // e acute

  // Coverage of a pattern: sum of alpha inside its visible part, and none in
  // the margin around it.
  const auto coverage = [&](int p, bool margin) {
    const int t = p / perTexture, q = p % perTexture;
    const int x0 = (q % perRow) * sheet.patternSize.width;
    const int y0 = (q / perRow) * sheet.patternSize.height;
    long sum = 0;
    for (int y = 0; y < sheet.patternSize.height; ++y)
      for (int x = 0; x < sheet.patternSize.width; ++x) {
        const bool inside = x >= 1 && y >= 1 && x <= sheet.visibleSize.width && y <= sheet.visibleSize.height;
        if (inside == margin) continue;
        sum += readPixel(sheet.textureRow(t, y0 + y) + size_t(x0 + x) * 4, sheet.format) >> 24;
      }
    return sum;
  };
  EXPECT_EQ(coverage(0, false), 0);          // space
  EXPECT_GT(coverage('W' - 32, false), 1000);
  EXPECT_GT(coverage('W' - 32, false), coverage('.' - 32, false));
  for (int p = 0; p < 224; ++p) EXPECT_EQ(coverage(p, true), 0) << p;

  // The sheet survives the trip through the record format.
  auto back = decodeFontRecord(encodeFontRecord(*font));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->sheet.pixels, sheet.pixels);
}

TEST(TrueTypeRaster, CodePageChoosesTheGlyphs) {
  if (!std::filesystem::exists(kDejaVu)) GTEST_SKIP() << "DejaVu Sans is not installed";
  const auto ttf = test::readFile(kDejaVu);
  TrueTypeRasterOptions options;
  options.firstChar = 0xC0;
  options.count = 64;
  options.codepage = "1251";
  auto cyrillic = rasteriseTrueType(ttf, options);
  ASSERT_TRUE(cyrillic) << cyrillic.error().text();
  options.codepage = "1252";
  auto latin = rasteriseTrueType(ttf, options);
  ASSERT_TRUE(latin);
  // 0xD8 is Cyrillic Sha in 1251 and O with stroke in 1252: different shapes.
  EXPECT_NE(cyrillic->sheet.pixels, latin->sheet.pixels);
}

TEST(TrueTypeRaster, BadInputIsRefused) {
  TrueTypeRasterOptions options;
  EXPECT_FALSE(rasteriseTrueType(test::bytesOf("not a font"), options));
  if (!std::filesystem::exists(kDejaVu)) return;
  const auto ttf = test::readFile(kDejaVu);
  options.firstChar = 200;
  options.count = 100;  // runs past 255
  EXPECT_FALSE(rasteriseTrueType(ttf, options));
  options = {};
  options.codepage = "no-such-code-page";
  EXPECT_FALSE(rasteriseTrueType(ttf, options));
  options = {};
  options.pixelSize = 0;
  EXPECT_FALSE(rasteriseTrueType(ttf, options));
}

}  // namespace
}  // namespace lum
