#include "render/pixel_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace lum {
namespace {

uint32_t roundTrip(uint32_t argb, PixelFormat f) {
  uint8_t buf[4] = {};
  writePixel(argb, buf, f);
  return readPixel(buf, f);
}

TEST(PixelFormat, TableMatchesArchiveIndices) {
  EXPECT_EQ(pixelBytes(PixelFormat::R3G3B2), 1);
  EXPECT_EQ(pixelBytes(PixelFormat::A8R3G3B2), 2);
  EXPECT_EQ(pixelBytes(PixelFormat::None), 1);
  EXPECT_EQ(pixelFormatFromIndex(5), PixelFormat::A8R8G8B8);
  EXPECT_EQ(pixelFormatFromIndex(10), PixelFormat::A8);
  EXPECT_FALSE(pixelFormatFromIndex(11));  // unknown has no pixels
  EXPECT_FALSE(pixelFormatFromIndex(-1));
  EXPECT_FALSE(pixelFormatFromIndex(200));
  EXPECT_TRUE(hasAlphaChannel(PixelFormat::A1R5G5B5));
  EXPECT_FALSE(hasAlphaChannel(PixelFormat::X1R5G5B5));
}

TEST(PixelFormat, ReadingExpandsChannelsByWidth) {
  // Stored 0xF000 in A4R4G4B4: alpha 15, colour 0 -> opaque black.
  const uint8_t a4[2] = {0x00, 0xF0};
  EXPECT_EQ(readPixel(a4, PixelFormat::A4R4G4B4), 0xFF000000u);
  // R5G6B5 pure green (6 bits all set) and a middle value.
  const uint8_t g[2] = {0xE0, 0x07};
  EXPECT_EQ(readPixel(g, PixelFormat::R5G6B5), 0xFF00FF00u);
  const uint8_t r1[2] = {0x00, 0x08};  // red = 1 of 31 -> round(255/31) = 8
  EXPECT_EQ(readPixel(r1, PixelFormat::R5G6B5), 0xFF080000u);
  // R3G3B2 keeps blue in the low 3 bits and red in the top 2.
  const uint8_t rgb332[1] = {0xC7};
  EXPECT_EQ(readPixel(rgb332, PixelFormat::R3G3B2), 0xFFFF00FFu);
  const uint8_t three[1] = {0x03};  // blue 3 of 7 -> round(109.29) = 109
  EXPECT_EQ(readPixel(three, PixelFormat::R3G3B2) & 0xFF, 109u);
  // A1R5G5B5 with the alpha bit clear reads transparent.
  const uint8_t a1[2] = {0xFF, 0x7F};
  EXPECT_EQ(readPixel(a1, PixelFormat::A1R5G5B5), 0x00FFFFFFu);
  // The "none" format packs four 2-bit channels.
  const uint8_t none[1] = {0b01'10'11'00};  // a=1, r=2, g=3, b=0
  EXPECT_EQ(readPixel(none, PixelFormat::None), 0x55AAFF00u);
}

TEST(PixelFormat, SpecialFormats) {
  const uint8_t x8[4] = {1, 2, 3, 0};
  EXPECT_EQ(readPixel(x8, PixelFormat::X8R8G8B8), 0xFF030201u);
  const uint8_t a8[1] = {0x40};
  EXPECT_EQ(readPixel(a8, PixelFormat::A8), 0x40FFFFFFu);
  uint8_t out[4] = {};
  writePixel(0x12345678, out, PixelFormat::X8R8G8B8);
  EXPECT_EQ(out[3], 0xFF);
  writePixel(0x12345678, out, PixelFormat::A8);
  EXPECT_EQ(out[0], 0x12);
}

TEST(PixelFormat, WritingKeepsTopBits) {
  uint8_t out[2] = {};
  writePixel(0x80FF8040, out, PixelFormat::A4R4G4B4);
  EXPECT_EQ(out[0] | out[1] << 8, 0x8F84);
  writePixel(0xFFFFFFFF, out, PixelFormat::X1R5G5B5);
  EXPECT_EQ(out[0] | out[1] << 8, 0x7FFF);  // no alpha bit without alpha
  writePixel(0xFF0000FF, out, PixelFormat::R5G6B5);
  EXPECT_EQ(out[0] | out[1] << 8, 0x001F);
  writePixel(0x7F00FF00, out, PixelFormat::A8R3G3B2);
  EXPECT_EQ(out[0] | out[1] << 8, 0x7F38);
}

TEST(PixelFormat, FullRangeValuesSurviveEveryFormat) {
  for (int i = 0; i <= 10; ++i) {
    const auto f = *pixelFormatFromIndex(i);
    EXPECT_EQ(roundTrip(0xFFFFFFFF, f), 0xFFFFFFFFu) << i;
    const uint32_t black = roundTrip(0xFF000000, f);
    if (f == PixelFormat::A8)
      EXPECT_EQ(black, 0xFFFFFFFFu);  // A8 has no colour: it reads white
    else
      EXPECT_EQ(black, 0xFF000000u) << i;
  }
}

TEST(PixelFormat, RowsConvertBothWays) {
  const std::vector<uint32_t> argb = {0xFF102030, 0x80FFFFFF, 0x00000000};
  std::vector<uint8_t> stored(argb.size() * 2);
  writePixels(argb.data(), stored.data(), PixelFormat::A4R4G4B4, argb.size());
  std::vector<uint32_t> back(argb.size());
  readPixels(stored.data(), PixelFormat::A4R4G4B4, back.data(), back.size());
  EXPECT_EQ(back[0], 0xFF112233u);
  EXPECT_EQ(back[1], 0x88FFFFFFu);
  EXPECT_EQ(back[2], 0u);
}

TEST(PixelFormat, RowsCopyOnlyBetweenMatchingLayouts) {
  EXPECT_TRUE(rowsCopyAsStored(PixelFormat::A8R8G8B8, PixelFormat::A8R8G8B8));
  EXPECT_TRUE(rowsCopyAsStored(PixelFormat::X8R8G8B8, PixelFormat::A8R8G8B8));
  EXPECT_TRUE(rowsCopyAsStored(PixelFormat::A4R4G4B4, PixelFormat::X4R4G4B4));
  EXPECT_FALSE(rowsCopyAsStored(PixelFormat::A1R5G5B5, PixelFormat::X1R5G5B5));
  EXPECT_FALSE(rowsCopyAsStored(PixelFormat::A4R4G4B4, PixelFormat::A8R8G8B8));
}

}  // namespace
}  // namespace lum
