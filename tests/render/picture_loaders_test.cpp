#include "render/picture_loaders.h"

#include <gtest/gtest.h>

#include "archive_test_util.h"
#include "picture_test_files.h"

namespace lum {
namespace {

const std::vector<uint32_t> kSix = {0xFF0000FF, 0x8000FF00, 0x00FF0000,
                                    0xFF102030, 0x40FFFFFF, 0xC0000000};

void expectPixels(const Picture& p, const std::vector<uint32_t>& argb, bool keepAlpha) {
  ASSERT_EQ(size_t(p.width) * size_t(p.height), argb.size());
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint32_t want = argb[size_t(y * p.width + x)];
      EXPECT_EQ(p.pixel(x, y), keepAlpha ? want : (want | 0xFF000000u)) << x << "," << y;
    }
}

TEST(PictureKind, ChosenByExtensionIgnoringCase) {
  EXPECT_EQ(pictureKindForName("a.TGA"), PictureKind::Tga);
  EXPECT_EQ(pictureKindForName("pics\\a.Jpeg"), PictureKind::Jpeg);
  EXPECT_EQ(pictureKindForName("a.jpg"), PictureKind::Jpeg);
  EXPECT_EQ(pictureKindForName("a.PNG"), PictureKind::Png);
  EXPECT_EQ(pictureKindForName("a.bmp"), PictureKind::Bitmap);
  EXPECT_EQ(pictureKindForName("a.gif"), PictureKind::Bitmap);
  EXPECT_EQ(pictureKindForName("png"), PictureKind::Bitmap);
  EXPECT_FALSE(loadPicture({}, PictureKind::ByExtension));
}

TEST(TgaLoader, AllOrientationsAndDepthsGiveTheSamePicture) {
  for (int type : {2, 10})
    for (int depth : {24, 32})
      for (uint8_t descriptor : {0x00, 0x10, 0x20, 0x30}) {
        test::TgaLayout layout;
        layout.type = type;
        layout.depth = depth;
        layout.descriptor = descriptor;
        layout.imageId = {1, 2, 3};
        auto p = loadTgaPicture(test::makeTga(3, 2, kSix, layout));
        ASSERT_TRUE(p) << p.error().text();
        EXPECT_EQ(p->bitsPerPixel, depth) << type << " " << int(descriptor);
        EXPECT_EQ(p->hasAlpha(), depth == 32);
        expectPixels(*p, kSix, depth == 32);
      }
}

TEST(TgaLoader, RunsMayCrossRowEnds) {
  // One repeat packet of 6 pixels covering both rows of a 3 x 2 picture.
  std::vector<uint8_t> bytes(18, 0);
  bytes[2] = 10, bytes[12] = 3, bytes[14] = 2, bytes[16] = 24, bytes[17] = 0x20;
  bytes.insert(bytes.end(), {0x85, 0x11, 0x22, 0x33});
  auto p = loadTgaPicture(bytes);
  ASSERT_TRUE(p) << p.error().text();
  expectPixels(*p, std::vector<uint32_t>(6, 0xFF332211), true);
}

TEST(TgaLoader, RefusesWhatItDoesNotHandle) {
  test::TgaLayout colourMapped;
  colourMapped.type = 1;
  EXPECT_FALSE(loadTgaPicture(test::makeTga(3, 2, kSix, colourMapped)));
  test::TgaLayout withMap;
  withMap.colourMapType = 1;
  EXPECT_FALSE(loadTgaPicture(test::makeTga(3, 2, kSix, withMap)));
  test::TgaLayout sixteen;
  sixteen.depth = 16;
  EXPECT_FALSE(loadTgaPicture(test::makeTga(3, 2, kSix, sixteen)));
  test::TgaLayout grey;
  grey.type = 3;
  EXPECT_FALSE(loadTgaPicture(test::makeTga(3, 2, kSix, grey)));
}

TEST(TgaLoader, TruncatedDataFails) {
  for (int type : {2, 10}) {
    test::TgaLayout layout;
    layout.type = type;
    auto bytes = test::makeTga(3, 2, kSix, layout);
    for (size_t cut : {size_t(1), size_t(5), bytes.size() - 18})
      EXPECT_FALSE(loadTgaPicture(std::span(bytes).first(bytes.size() - cut))) << type << " " << cut;
  }
  test::TgaLayout longId;
  longId.imageId.assign(200, 7);
  auto bytes = test::makeTga(1, 1, {0}, longId);
  EXPECT_FALSE(loadTgaPicture(std::span(bytes).first(100)));
}

TEST(TgaLoader, ZeroSizeFails) {
  EXPECT_FALSE(loadTgaPicture(test::makeTga(0, 2, {}, {})));
}

TEST(PngLoader, AlphaChannelIsKept) {
  auto p = loadPngPicture(test::makePng(3, 2, kSix, PNG_FORMAT_RGBA));
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_TRUE(p->hasAlpha());
  EXPECT_EQ(p->bitsPerPixel, 32);
  expectPixels(*p, kSix, true);
}

TEST(PngLoader, GreyWithAlphaKeepsAlpha) {
  const std::vector<uint32_t> grey = {0x80404040, 0xFFFFFFFF};
  auto p = loadPngPicture(test::makePng(2, 1, grey, PNG_FORMAT_GA));
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_TRUE(p->hasAlpha());
  expectPixels(*p, grey, true);
}

TEST(PngLoader, NoAlphaChannelMeansOpaque) {
  auto rgb = loadPngPicture(test::makePng(3, 2, kSix, PNG_FORMAT_RGB));
  ASSERT_TRUE(rgb) << rgb.error().text();
  EXPECT_FALSE(rgb->hasAlpha());
  expectPixels(*rgb, kSix, false);
  // Palette transparency (tRNS) is ignored.
  auto palette = loadPngPicture(test::makePng(3, 2, kSix, PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP));
  ASSERT_TRUE(palette) << palette.error().text();
  EXPECT_FALSE(palette->hasAlpha());
  expectPixels(*palette, kSix, false);
}

TEST(PngLoader, DamagedFilesFail) {
  auto bytes = test::makePng(3, 2, kSix, PNG_FORMAT_RGBA);
  EXPECT_FALSE(loadPngPicture(std::span(bytes).first(bytes.size() / 2)));
  EXPECT_FALSE(loadPngPicture(std::span(bytes).first(7)));
  auto flipped = bytes;
  flipped[20] ^= 0xFF;  // inside IHDR: the CRC no longer matches
  EXPECT_FALSE(loadPngPicture(flipped));
}

TEST(JpegLoader, DecodesOpaque) {
  auto p = loadJpegPicture(test::makeJpeg(16, 8, 0xFF2080C0));
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 8);
  EXPECT_EQ(p->bitsPerPixel, 24);
  EXPECT_FALSE(p->hasAlpha());
  const uint32_t c = p->pixel(5, 5);
  EXPECT_EQ(c >> 24, 0xFFu);
  EXPECT_NEAR(int((c >> 16) & 0xFF), 0x20, 3);
  EXPECT_NEAR(int((c >> 8) & 0xFF), 0x80, 3);
  EXPECT_NEAR(int(c & 0xFF), 0xC0, 3);
}

TEST(JpegLoader, GreyscaleBecomesOpaqueGrey) {
  auto p = loadJpegPicture(test::makeJpeg(8, 8, 0xFF006000, 95, true));
  ASSERT_TRUE(p) << p.error().text();
  const uint32_t c = p->pixel(3, 3);
  EXPECT_EQ(c >> 24, 0xFFu);
  EXPECT_NEAR(int((c >> 16) & 0xFF), 0x60, 2);
  EXPECT_EQ((c >> 16) & 0xFF, c & 0xFF);
}

TEST(JpegLoader, DamagedFilesFail) {
  auto bytes = test::makeJpeg(16, 8, 0xFF2080C0);
  EXPECT_FALSE(loadJpegPicture(std::span(bytes).first(20)));
  EXPECT_FALSE(loadJpegPicture({}));
  EXPECT_FALSE(loadJpegPicture(test::bytesOf("definitely not a jpeg")));
}

TEST(BitmapLoader, IndexedBitmapKeepsPaletteIndices) {
  auto p = loadBitmapPicture(test::makeIndexedBmp(5, 3));  // odd width: padded rows
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_EQ(p->bitsPerPixel, 8);
  ASSERT_TRUE(p->hasPaletteIndices());
  ASSERT_EQ(p->paletteIndices.size(), 15u);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(p->paletteIndices[size_t(i)], i);
  EXPECT_EQ(p->pixel(2, 1), 0xFF000000u | 7u << 16 | 14u << 8 | 21u);
}

// Indices 0 to 255 over a palette of two colours.
uint8_t rampIndex(int x, int y) { return uint8_t(x + y * 16); }

void expectRampBeyondTwoColours(const Picture& p) {
  EXPECT_EQ(p.bitsPerPixel, 8);
  ASSERT_TRUE(p.hasPaletteIndices());
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint8_t i = rampIndex(x, y);
      EXPECT_EQ(p.paletteIndices[size_t(y * p.width + x)], i) << x << "," << y;
      const uint32_t want = i == 0 ? 0xFFFF0000u : i == 1 ? 0xFF00FF00u : 0xFF000000u;
      EXPECT_EQ(p.pixel(x, y), want) << x << "," << y;
    }
}

TEST(BitmapLoader, IndicesBeyondThePaletteReadAsBlackAndKeepTheirValues) {
  const std::vector<uint32_t> twoColours = {0xFF0000, 0x00FF00};
  auto plain = loadBitmapPicture(test::makeShortPaletteBmp(16, 16, twoColours, rampIndex));
  ASSERT_TRUE(plain) << plain.error().text();
  expectRampBeyondTwoColours(*plain);
  auto packed = loadBitmapPicture(test::makeShortPaletteBmp(16, 16, twoColours, rampIndex, 8, true));
  ASSERT_TRUE(packed) << packed.error().text();
  expectRampBeyondTwoColours(*packed);
  // Four bits per pixel: indices 0 to 15 over the same two colours.
  auto nibbles = loadBitmapPicture(test::makeShortPaletteBmp(
      16, 1, twoColours, [](int x, int) { return uint8_t(x); }, 4));
  ASSERT_TRUE(nibbles) << nibbles.error().text();
  EXPECT_EQ(nibbles->pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(nibbles->pixel(9, 0), 0xFF000000u);
  EXPECT_EQ(nibbles->paletteIndices[9], 9);
  // A palette that the file cuts short fails as before.
  auto cut = test::makeShortPaletteBmp(16, 16, twoColours, rampIndex);
  cut.resize(14 + 40 + 4);
  EXPECT_FALSE(loadBitmapPicture(cut));
}

TEST(BitmapLoader, TwentyFourBitIsOpaque) {
  auto p = loadBitmapPicture(test::makeTrueColourBmp(3, 2, kSix, false));
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_FALSE(p->hasAlpha());
  EXPECT_FALSE(p->hasPaletteIndices());
  expectPixels(*p, kSix, false);
}

TEST(BitmapLoader, ThirtyTwoBitWithAlphaMaskKeepsAlpha) {
  auto p = loadBitmapPicture(test::makeTrueColourBmp(3, 2, kSix, true));
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_TRUE(p->hasAlpha());
  EXPECT_EQ(p->bitsPerPixel, 32);
  expectPixels(*p, kSix, true);
}

TEST(BitmapLoader, ThirtyTwoBitWithoutAlphaIsOpaque) {
  // A plain 40-byte header, 32 bits, no masks: the fourth byte is padding,
  // here zero, which must not make the picture invisible.
  std::vector<uint8_t> bmp(54 + 2 * 4, 0);
  bmp[0] = 'B', bmp[1] = 'M';
  test::putU32(bmp, 2, uint32_t(bmp.size()));
  test::putU32(bmp, 10, 54);
  test::putU32(bmp, 14, 40);
  test::putU32(bmp, 18, 2);  // width
  test::putU32(bmp, 22, 1);  // height
  bmp[26] = 1, bmp[28] = 32;
  const uint8_t pixels[8] = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x00};
  std::copy(pixels, pixels + 8, bmp.begin() + 54);
  auto p = loadBitmapPicture(bmp);
  ASSERT_TRUE(p) << p.error().text();
  EXPECT_EQ(p->pixel(0, 0), 0xFF302010u);
  EXPECT_EQ(p->pixel(1, 0), 0xFF605040u);
}

TEST(BitmapLoader, DamagedFilesFail) {
  auto bytes = test::makeTrueColourBmp(3, 2, kSix, false);
  EXPECT_FALSE(loadBitmapPicture(std::span(bytes).first(30)));
  EXPECT_FALSE(loadBitmapPicture(test::bytesOf("BM")));
  auto huge = bytes;
  test::putU32(huge, 18, 100000);  // width far beyond what we accept
  EXPECT_FALSE(loadBitmapPicture(huge));
}

TEST(PictureFile, LoadsByExtension) {
  const std::string path = test::tempPath("pic.TGA");
  test::writeFile(path, test::makeTga(3, 2, kSix, {}));
  auto p = loadPictureFile(path, PictureKind::ByExtension);
  ASSERT_TRUE(p) << p.error().text();
  expectPixels(*p, kSix, true);
  EXPECT_FALSE(loadPictureFile(path, PictureKind::Png));
  EXPECT_FALSE(loadPictureFile(test::tempPath("missing.png"), PictureKind::ByExtension));
}

}  // namespace
}  // namespace lum
