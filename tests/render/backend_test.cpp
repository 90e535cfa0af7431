#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/backend_soft_raster.h"
#include "render/letterbox.h"

namespace lum {
namespace {

struct Target {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(16 * 16, 0xFF000000);
  SoftSurface surface{pixels.data(), 16, 16};
  uint32_t at(int x, int y) const { return pixels[size_t(y) * 16 + x]; }
};

SoftRasterState state(uint32_t effect, const SoftTextureView* texture = nullptr,
                      bool linear = false) {
  SoftRasterState s;
  s.blend = decodeEffect(effect, true);
  s.texture = texture;
  s.linearFilter = linear;
  s.clip = {0, 0, 16, 16};
  return s;
}

Vertex v(float x, float y, uint32_t color, float u = 0, float w = 0) {
  return Vertex{x, y, 0, 1, color, u, w};
}

TEST(BackendTest, SharedEdgesAreFilledOnce) {
  Target t;
  // Additive quarter-strength white; any pixel drawn twice would be brighter.
  const auto st = state(0x101);
  const uint32_t c = 0xFF404040;
  softDrawTriangle(t.surface, st, v(1.5f, 1.5f, c), v(13.25f, 2.0f, c), v(3.0f, 12.75f, c));
  softDrawTriangle(t.surface, st, v(13.25f, 2.0f, c), v(12.5f, 14.5f, c), v(3.0f, 12.75f, c));
  int lit = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t p = t.at(x, y);
      EXPECT_TRUE(p == 0xFF000000u || p == 0xFF404040u) << x << "," << y << " " << std::hex << p;
      lit += p != 0xFF000000u;
    }
  EXPECT_GT(lit, 100);
}

TEST(BackendTest, PixelCentresAndTopLeftRule) {
  Target t;
  // A square from 2 to 6 in pixel-centre coordinates shifted by half a pixel
  // covers exactly the four pixels 2..5 per side... with integer edges the
  // top and left edges own their pixels, the right and bottom do not.
  const auto st = state(1);
  const uint32_t c = 0xFFFFFFFF;
  softDrawTriangle(t.surface, st, v(2, 2, c), v(6, 2, c), v(2, 6, c));
  softDrawTriangle(t.surface, st, v(6, 2, c), v(6, 6, c), v(2, 6, c));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(t.at(x, y), (x >= 2 && x < 6 && y >= 2 && y < 6) ? c : 0xFF000000u) << x << "," << y;
}

TEST(BackendTest, BlendOperations) {
  const auto blendOnce = [](uint32_t effect, uint32_t dest, uint32_t src) {
    Target t;
    std::fill(t.pixels.begin(), t.pixels.end(), dest);
    softDrawTriangle(t.surface, state(effect), v(0, 0, src), v(8, 0, src), v(0, 8, src));
    return t.at(1, 1);
  };
  // reverse subtract: dest - src
  EXPECT_EQ(blendOnce(0x10101, 0xFF808080, 0xFF303030), 0x00505050u);
  // subtract: src - dest, clamped at 0
  EXPECT_EQ(blendOnce(0x20101, 0xFF808080, 0xFF303030), 0x00000000u);
  EXPECT_EQ(blendOnce(0x30101, 0xFF808080, 0xFF30A030), 0xFF308030u);
  EXPECT_EQ(blendOnce(0x40101, 0xFF808080, 0xFF30A030), 0xFF80A080u);
  // multiply: source times destination colour
  EXPECT_EQ(blendOnce(0x008, 0xFF808080, 0xFFFF8000), 0xFF804000u);
  // source alpha saturate with opaque destination: nothing of the source
  EXPECT_EQ(blendOnce(0x10A, 0xFF808080, 0x80FFFFFF), 0xFF808080u);
  // destination alpha
  EXPECT_EQ(blendOnce(0x006, 0x00808080, 0xFFFFFFFF), 0x00000000u);
}

TEST(BackendTest, AlphaTestSkipsOnlyZeroAlpha) {
  Target t;
  softDrawTriangle(t.surface, state(0x504), v(0, 0, 0x00FFFFFF), v(8, 0, 0x00FFFFFF), v(0, 8, 0x00FFFFFF));
  EXPECT_EQ(t.at(1, 1), 0xFF000000u);
  auto noTest = state(0x605);  // inverse source alpha, destination alpha
  noTest.blend.alphaTest = false;
  softDrawTriangle(t.surface, noTest, v(0, 0, 0x00FFFFFF), v(8, 0, 0x00FFFFFF), v(0, 8, 0x00FFFFFF));
  EXPECT_EQ(t.at(1, 1), 0xFFFFFFFFu);
}

TEST(BackendTest, PointAndLinearSampling) {
  const uint32_t texels[2] = {0xFF000000, 0xFFFFFFFF};
  const SoftTextureView tex{texels, 2, 1};
  Target point, linear;
  // 2 texels stretched over 8 pixels, texel centres at pixel centres 1.5 and 5.5.
  const auto quad = [&](Target& t, bool lin) {
    auto st = state(1, &tex, lin);
    softDrawTriangle(t.surface, st, v(-0.5f, -0.5f, 0, 0, 0), v(7.5f, -0.5f, 0, 1, 0), v(-0.5f, 3.5f, 0, 0, 1));
    softDrawTriangle(t.surface, st, v(7.5f, -0.5f, 0, 1, 0), v(7.5f, 3.5f, 0, 1, 1), v(-0.5f, 3.5f, 0, 0, 1));
  };
  quad(point, false);
  quad(linear, true);
  EXPECT_EQ(point.at(3, 1), 0xFF000000u);
  EXPECT_EQ(point.at(4, 1), 0xFFFFFFFFu);
  EXPECT_EQ(linear.at(1, 1) & 0xFF, 0x20u);  // wraps to the white texel at the left edge
  EXPECT_EQ(linear.at(3, 1) & 0xFF, 0x60u);
  EXPECT_EQ(linear.at(4, 1) & 0xFF, 0x9Fu);
}

TEST(BackendTest, LinesLeaveOutTheirLastPixel) {
  Target t;
  const auto st = state(1);
  softDrawLine(t.surface, st, v(2, 3, 0xFFFFFFFF), v(7, 3, 0xFFFFFFFF));
  softDrawLine(t.surface, st, v(9, 9, 0xFFFF0000), v(9, 4, 0xFFFF0000));
  for (int x = 0; x < 10; ++x) EXPECT_EQ(t.at(x, 3), x >= 2 && x < 7 ? 0xFFFFFFFFu : 0xFF000000u) << x;
  for (int y = 0; y < 12; ++y) EXPECT_EQ(t.at(9, y), y > 4 && y <= 9 ? 0xFFFF0000u : 0xFF000000u) << y;
}

TEST(BackendTest, ClipBoxLimitsAllPrimitives) {
  Target t;
  auto st = state(1);
  st.clip = {4, 4, 4, 4};
  softDrawTriangle(t.surface, st, v(-10, -10, 0xFFFFFFFF), v(40, -10, 0xFFFFFFFF), v(-10, 40, 0xFFFFFFFF));
  softDrawLine(t.surface, st, v(0, 5, 0xFFFFFFFF), v(16, 5, 0xFFFFFFFF));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(t.at(x, y), x >= 4 && x < 8 && y >= 4 && y < 8 ? 0xFFFFFFFFu : 0xFF000000u);
}

TEST(BackendTest, LetterboxKeepsTheAspect) {
  const Letterbox wide = fitLetterbox(1024, 768, 1920, 1080);
  EXPECT_EQ(wide.width, 1440);
  EXPECT_EQ(wide.height, 1080);
  EXPECT_EQ(wide.x, 240);
  EXPECT_EQ(wide.y, 0);
  const Letterbox tall = fitLetterbox(1024, 768, 1024, 1000);
  EXPECT_EQ(tall.y, 116);
  int sx = 0, sy = 0;
  EXPECT_FALSE(letterboxToScene(wide, 1024, 768, 100, 500, sx, sy));  // in the bar
  ASSERT_TRUE(letterboxToScene(wide, 1024, 768, 240 + 720, 540, sx, sy));
  EXPECT_EQ(sx, 512);
  EXPECT_EQ(sy, 384);
  const Letterbox same = fitLetterbox(1024, 768, 1024, 768);
  ASSERT_TRUE(letterboxToScene(same, 1024, 768, 1023, 767, sx, sy));
  EXPECT_EQ(sx, 1023);
  EXPECT_EQ(sy, 767);
}

}  // namespace
}  // namespace lum

namespace lum {
namespace {

TEST(BackendTest, AbsurdCoordinatesAreRefusedQuickly) {
  Target t;
  const auto st = state(1);
  const float nan = std::nanf("");
  softDrawTriangle(t.surface, st, v(nan, 0, 0xFFFFFFFF), v(8, 0, 0xFFFFFFFF), v(0, 8, 0xFFFFFFFF));
  softDrawTriangle(t.surface, st, v(-1e30f, -1e30f, 0xFFFFFFFF), v(1e30f, 0, 0xFFFFFFFF), v(0, 1e30f, 0xFFFFFFFF));
  softDrawLine(t.surface, st, v(-1e30f, 3, 0xFFFFFFFF), v(1e30f, 3, 0xFFFFFFFF));
  // A long but sane line only walks the visible part.
  softDrawLine(t.surface, st, v(-5e6f, 3, 0xFFFFFFFF), v(5e6f, 3, 0xFFFFFFFF));
  for (int x = 0; x < 16; ++x) EXPECT_EQ(t.at(x, 3), 0xFFFFFFFFu);
  EXPECT_EQ(t.at(1, 1), 0xFF000000u);
}

}  // namespace
}  // namespace lum
