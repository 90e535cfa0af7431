#include <gtest/gtest.h>

#include <cmath>

#include "device_test_support.h"
#include "render/archive_records.h"
#include "render/image.h"

namespace lum {
namespace {

using testing::makePicture;
using testing::softBackend;
using testing::softStack;

TEST(TextureTest, CellsAreLaidOutOnePatternPerSmallTexture) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({66, 34});
  image->SetPatternSize({64, 32});
  image->SetVisibleSize({64, 32});
  image->SetPatternCount(8);
  const Picture p = makePicture(256, 64, [](int x, int y) { return 0xFF000000u | (x / 64 + 4 * (y / 32)); });
  ASSERT_TRUE(image->UploadBitmap(p, false, 0, 0));
  EXPECT_EQ(image->TextureCount(), 8);
  EXPECT_EQ(image->PatternsPerTexture(), 1);
  // Cell order is row by row: cell 5 is the second row's second cell.
  EXPECT_EQ(image->GetPixel(5, 10, 10), swapRedBlue(0xFF000005u));
  // Padding right of the cell: alpha 0, colour of the cell's edge.
  EXPECT_EQ(image->GetPixel(5, 64, 3) >> 24, 0u);
}

TEST(TextureTest, PatternCoordinatesCentreTheVisiblePart) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({64, 64});
  image->SetPatternSize({32, 32});
  image->SetVisibleSize({28, 24});
  ASSERT_TRUE(image->UploadBitmap(makePicture(64, 128, [](int, int) { return 0xFFFFFFFFu; }), false, 0, 0));
  EXPECT_EQ(image->TextureCount(), 2);
  EXPECT_EQ(image->PatternCount(), 8);
  int index = -1;
  Quad uv;
  ASSERT_TRUE(image->TextureCoordinates(PatternDesc{7}, index, uv));
  EXPECT_EQ(index, 1);
  // Pattern 3 of its texture: left 2 + 32, top 4 + 32.
  EXPECT_FLOAT_EQ(uv[0].x, 34.0f / 64);
  EXPECT_FLOAT_EQ(uv[0].y, 36.0f / 64);
  EXPECT_FLOAT_EQ(uv[2].x, 62.0f / 64);
  EXPECT_FLOAT_EQ(uv[2].y, 60.0f / 64);
  // A sub-rectangle, mirrored left to right and top to bottom.
  ASSERT_TRUE(image->TextureCoordinates(PatternDesc{0, 1, 2, 4, 5, 0x101}, index, uv));
  EXPECT_EQ(index, 0);
  EXPECT_FLOAT_EQ(uv[0].x, 7.0f / 64);
  EXPECT_FLOAT_EQ(uv[1].x, 3.0f / 64);
  EXPECT_FLOAT_EQ(uv[0].y, 11.0f / 64);
  EXPECT_FLOAT_EQ(uv[3].y, 6.0f / 64);
  // Out-of-range patterns clamp to the last and the first.
  ASSERT_TRUE(image->TextureCoordinates(PatternDesc{99}, index, uv));
  EXPECT_EQ(index, 1);
  ASSERT_TRUE(image->TextureCoordinates(PatternDesc{-3}, index, uv));
  EXPECT_EQ(index, 0);
  EXPECT_FLOAT_EQ(uv[0].x, 2.0f / 64);
}

TEST(TextureTest, NoTexturesNoCoordinates) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  int index = 0;
  Quad uv;
  EXPECT_FALSE(image->TextureCoordinates(PatternDesc{0}, index, uv));
}

TEST(TextureTest, GetPixelExpandsFourBitChannels) {
  auto s = softStack();
  testing::softBackend(*s).setAcceptedFormats({PixelFormat::A4R4G4B4});
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({2, 1});
  ASSERT_TRUE(image->UploadBitmap(makePicture(2, 1, [](int x, int) { return x ? 0x80FF8010u : 0xFF000000u; }),
                                  false, 0, 0));
  EXPECT_EQ(image->Format(), PixelFormat::A4R4G4B4);
  const auto lock = image->Lock(0, nullptr, true);
  ASSERT_TRUE(lock);
  EXPECT_EQ(lock->bits[0] | lock->bits[1] << 8, 0xF000);
  image->Unlock(0);
  EXPECT_EQ(image->GetPixel(0, 0, 0), 0xFF000000u);
  EXPECT_EQ(image->GetPixel(0, 1, 0), swapRedBlue(0x88FF8811u));
  EXPECT_EQ(image->GetPixel(0, 5, 0), 0u);  // outside
}

TEST(TextureTest, NoAcceptableFormatFailsTheUpload) {
  auto s = softStack();
  testing::softBackend(*s).setAcceptedFormats({PixelFormat::R5G6B5});
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({2, 2});
  EXPECT_FALSE(image->UploadBitmap(makePicture(2, 2, [](int, int) { return 0xFFFFFFFFu; }), false, 0, 0));
  EXPECT_EQ(image->State(), TextureState::None);
}

TEST(TextureTest, ColourKeyFadesNearTheKey) {
  EXPECT_DOUBLE_EQ(colorKeyAlpha(0, 0, 0, 0, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(colorKeyAlpha(0.1, 0, 0, 0, 0, 0, 0), 1.0);
  EXPECT_NEAR(colorKeyAlpha(0.0125, 0, 0, 0, 0, 0, 0), 0.5, 1e-9);
  // Tolerance widens the threshold: 57.735 % of the diagonal is 1.0 more.
  EXPECT_LT(colorKeyAlpha(0.5, 0, 0, 0, 0, 0, 57.73502692), 1.0);

  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({3, 1});
  const uint32_t texels[3] = {0xFF000000, 0xFF020000, 0xFF808080};
  ASSERT_TRUE(image->UploadBitmap(makePicture(3, 1, [&](int x, int) { return texels[x]; }), true, 0,
                                  0xFF000000));
  EXPECT_EQ(image->GetPixel(0, 0, 0), 0x00000000u);
  const uint32_t near = image->GetPixel(0, 1, 0);
  EXPECT_EQ(near & 0xFFFFFF, 0x000002u);  // colour kept
  const double d = 2 / 255.0 / 0.025;
  EXPECT_EQ(near >> 24, uint32_t(std::lrint((1 - std::cos(M_PI * d)) / 2 * 255)));
  EXPECT_EQ(image->GetPixel(0, 2, 0), 0xFF808080u);
}

TEST(TextureTest, PaddingCopiesEdgesWithoutAlpha) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({4, 4});
  image->SetPatternSize({2, 2});
  image->SetVisibleSize({2, 2});
  // Two cells side by side in the picture; texture holds 2 x 2 cells but
  // only the top row is used.
  const Picture p = makePicture(4, 2, [](int x, int y) { return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1); });
  ASSERT_TRUE(image->UploadBitmap(p, false, 0, 0));
  EXPECT_EQ(image->TextureCount(), 1);
  EXPECT_EQ(image->GetPixel(0, 3, 1), swapRedBlue(0xFF040002u));
  EXPECT_EQ(image->GetPixel(0, 0, 2), 0u);  // an empty cell slot stays transparent black
}

TEST(TextureTest, PaddingColumnsAndRows) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({5, 5});
  image->SetPatternSize({3, 3});
  image->SetVisibleSize({3, 3});
  const Picture p = makePicture(3, 3, [](int x, int y) { return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8; });
  ASSERT_TRUE(image->UploadBitmap(p, false, 0, 0));
  // Column 3 repeats column 2 without alpha; the last column repeats column 0.
  EXPECT_EQ(image->GetPixel(0, 3, 1), swapRedBlue(0x00030200u));
  EXPECT_EQ(image->GetPixel(0, 4, 1), swapRedBlue(0x00010200u));
  EXPECT_EQ(image->GetPixel(0, 1, 3), swapRedBlue(0x00020300u));
  EXPECT_EQ(image->GetPixel(0, 1, 4), swapRedBlue(0x00020100u));
}

ArchiveImage storedImage(PixelFormat format, int count) {
  ArchiveImage a;
  a.format = format;
  a.patternSize = {2, 2};
  a.visibleSize = {2, 2};
  a.patternCount = 2 * count;
  a.textureSize = {4, 2};
  a.textureCount = count;
  a.pixels.assign(a.textureBytes() * size_t(count), 0);
  return a;
}

TEST(TextureTest, ArchiveRecordCopiesOrConvertsRows) {
  auto s = softStack();
  ArchiveImage a = storedImage(PixelFormat::A8R8G8B8, 2);
  writePixel(0x80112233, a.textureRow(1, 1) + 3 * 4, PixelFormat::A8R8G8B8);
  TAsphyreImage* image = s->images.Add();
  ASSERT_TRUE(image->UploadRecord(encodeArchiveImage(a)));
  EXPECT_EQ(image->TextureCount(), 2);
  EXPECT_EQ(image->PatternCount(), 4);
  EXPECT_EQ(image->VisibleSize(), (SizeI{2, 2}));
  EXPECT_EQ(image->GetPixel(1, 3, 1), swapRedBlue(0x80112233u));

  ArchiveImage b = storedImage(PixelFormat::R5G6B5, 1);
  writePixel(0xFFFF0000, b.textureRow(0, 0), PixelFormat::R5G6B5);
  TAsphyreImage* converted = s->images.Add();
  ASSERT_TRUE(converted->UploadRecord(encodeArchiveImage(b)));
  EXPECT_EQ(converted->GetPixel(0, 0, 0), 0xFF0000FFu);  // opaque red, canvas order
}

TEST(TextureTest, ShortRecordFailsAndLeavesNoTextures) {
  auto s = softStack();
  std::vector<uint8_t> bytes = encodeArchiveImage(storedImage(PixelFormat::A8R8G8B8, 2));
  bytes.resize(bytes.size() - 1);
  TAsphyreImage* image = s->images.Add();
  EXPECT_FALSE(image->UploadRecord(bytes));
  EXPECT_EQ(image->State(), TextureState::None);
  EXPECT_FALSE(image->UploadRecord({}));
}

TEST(TextureTest, ImageListOwnsItsImages) {
  auto s = softStack();
  TAsphyreImage* a = s->images.Add();
  TAsphyreImage* b = s->images.Add();
  EXPECT_EQ(a->Name, "[unnamed]");
  EXPECT_FALSE(a->MipMapping());  // the list's setting
  EXPECT_EQ(s->images.IndexOf(b), 1);
  s->images.RemoveAt(7);
  s->images.RemoveAt(-1);
  EXPECT_EQ(s->images.Count(), 2);
  s->images.RemoveAt(0);
  EXPECT_EQ(s->images.IndexOf(b), 0);
  EXPECT_EQ(s->images.IndexOf(a), -1);
  s->device.Finalize();
  EXPECT_EQ(s->images.Count(), 0);
}

TEST(TextureTest, SettingsAreFrozenOnceTexturesExist) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({2, 2});
  ASSERT_TRUE(image->UploadBitmap(makePicture(2, 2, [](int, int) { return 0xFFFFFFFFu; }), false, 0, 0));
  EXPECT_FALSE(image->SetTextureSize({4, 4}));
  EXPECT_FALSE(image->SetPatternCount(3));
  EXPECT_FALSE(image->UploadBitmap(makePicture(2, 2, [](int, int) { return 0u; }), false, 0, 0));
  // Device resets keep textures (they are never released on loss).
  s->device.SetWindowed(false);
  EXPECT_EQ(image->State(), TextureState::Ready);
  EXPECT_EQ(image->GetPixel(0, 1, 1), 0xFFFFFFFFu);
}

TEST(TextureTest, OversizedLayoutsAreRefused) {
  auto s = softStack();
  TAsphyreImage* image = s->images.Add();
  image->SetTextureSize({1024, 1024});
  image->SetPatternSize({1, 1});
  image->SetVisibleSize({1, 1});
  // 2^20 cells in textures that hold 2^20 each is fine...
  const Picture ok = makePicture(1024, 1024, [](int, int) { return 0xFFFFFFFFu; });
  EXPECT_TRUE(image->UploadBitmap(ok, false, 0, 0));
  // ...but a pattern bigger than the texture is not.
  TAsphyreImage* bad = s->images.Add();
  bad->SetTextureSize({8, 8});
  bad->SetPatternSize({16, 16});
  EXPECT_FALSE(bad->UploadBitmap(ok, false, 0, 0));
}

}  // namespace
}  // namespace lum
