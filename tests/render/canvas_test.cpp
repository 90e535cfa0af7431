#include <gtest/gtest.h>

#include "device_test_support.h"
#include "render/canvas.h"

namespace lum {
namespace {

using testing::at;
using testing::drawFrame;
using testing::makePicture;
using testing::softStack;

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A 4 x 4 picture of distinct opaque texels, with texel (3, 3) fully
// transparent.
TAsphyreImage* addTexelImage(RenderStack& s) {
  TAsphyreImage* image = s.images.Add();
  image->SetTextureSize({4, 4});
  const Picture p = makePicture(4, 4, [](int x, int y) {
    return x == 3 && y == 3 ? 0x00123456u : 0xFF000000u | uint32_t(x * 60) << 16 | uint32_t(y * 60) << 8;
  });
  EXPECT_TRUE(image->UploadBitmap(p, false, 0, 0));
  return image;
}

TEST(CanvasTest, BatchesBreakOnKindEffectAndTexture) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  int64_t before = 0;
  drawFrame(*s, [&] {
    before = s->canvas.DrawCalls();
    s->canvas.DrawPattern(image, 0, 0, 0, kWhite, kEffectAlphaBlend);
    s->canvas.DrawPattern(image, 10, 0, 0, kWhite, kEffectAlphaBlend);
    s->canvas.Line({0, 20}, {50, 20}, kWhite, kWhite, kEffectAlphaBlend);
    s->canvas.DrawPattern(image, 20, 0, 0, kWhite, kEffectAlphaBlend);
  });
  EXPECT_EQ(s->canvas.DrawCalls() - before, 3);
  EXPECT_EQ(s->canvas.BatchCount(), 3);
}

TEST(CanvasTest, ModulateBitFollowsTheCornerColours) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  const PatternDesc p{0};
  const Quad q{Point2{0, 0}, Point2{4, 0}, Point2{4, 4}, Point2{0, 4}};
  int64_t before = 0;
  drawFrame(*s, [&] {
    before = s->canvas.DrawCalls();
    s->canvas.TexturedQuad(image, q, p, {kWhite, kWhite, kWhite, kWhite}, kEffectAlphaBlend);
    s->canvas.TexturedQuad(image, q, p, {kWhite, kWhite, kWhite, kWhite}, kEffectAlphaBlend);
  });
  EXPECT_EQ(s->canvas.DrawCalls() - before, 1);
  drawFrame(*s, [&] {
    before = s->canvas.DrawCalls();
    s->canvas.TexturedQuad(image, q, p, {kWhite, kWhite, kWhite, kWhite}, kEffectAlphaBlend);
    s->canvas.TexturedQuad(image, q, p, {kWhite, 0xFFFFFFFE, kWhite, kWhite}, kEffectAlphaBlend);
  });
  EXPECT_EQ(s->canvas.DrawCalls() - before, 2);
}

TEST(CanvasTest, A683rdQuadFlushesTheBatch) {
  auto s = softStack();
  int64_t before = 0;
  drawFrame(*s, [&] {
    before = s->canvas.DrawCalls();
    for (int i = 0; i < 682; ++i) s->canvas.FillRect(i % 100, 0, 1, 1, 0xFF00FF00, 1);
  });
  EXPECT_EQ(s->canvas.DrawCalls() - before, 1);
  drawFrame(*s, [&] {
    before = s->canvas.DrawCalls();
    for (int i = 0; i < 683; ++i) s->canvas.FillRect(i % 100, 0, 1, 1, 0xFF00FF00, 1);
  });
  EXPECT_EQ(s->canvas.DrawCalls() - before, 2);
}

TEST(CanvasTest, VertexCacheRoundsAndClamps) {
  TAsphyreCanvas c;
  c.SetVertexCache(1000);
  EXPECT_EQ(c.VertexCache(), 1000);
  c.SetVertexCache(1001);
  EXPECT_EQ(c.VertexCache(), 1004);
  c.SetVertexCache(100);
  EXPECT_EQ(c.VertexCache(), 512);
  c.SetVertexCache(100000);
  EXPECT_EQ(c.VertexCache(), 65536);
  auto s = softStack();
  s->canvas.SetVertexCache(1000);  // ignored while initialised
  EXPECT_EQ(s->canvas.VertexCache(), 4096);
}

TEST(CanvasTest, FrameRectOutlinesTheInclusiveCorners) {
  auto s = softStack();
  const auto px = drawFrame(*s, [&] { s->canvas.FrameRect(10, 20, 5, 3, kWhite, 1); });
  for (int y = 19; y <= 23; ++y)
    for (int x = 9; x <= 15; ++x) {
      const bool outline = (y == 20 || y == 22 || x == 10 || x == 14) && x >= 10 && x <= 14 &&
                           y >= 20 && y <= 22;
      EXPECT_EQ(at(px, x, y), outline ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
}

TEST(CanvasTest, FillRectCoversExactlyItsPixels) {
  auto s = softStack();
  const auto px = drawFrame(*s, [&] {
    s->canvas.FillRect(10, 10, 4, 3, 0xFF0000FF, 1);
    s->canvas.FillRect(14, 10, 2, 3, 0x80FF0000, kEffectAdditive);  // abutting, no overlap
  });
  EXPECT_EQ(at(px, 9, 10), 0xFF000000u);
  EXPECT_EQ(at(px, 10, 10), 0xFFFF0000u);
  EXPECT_EQ(at(px, 13, 12), 0xFFFF0000u);
  EXPECT_EQ(at(px, 13, 13), 0xFF000000u);
  EXPECT_EQ(at(px, 14, 10), 0xFF000080u);  // blue at half strength added to black
  EXPECT_EQ(at(px, 16, 10), 0xFF000000u);
}

TEST(CanvasTest, DrawPatternMapsTexelsOntoPixels) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  const auto px = drawFrame(*s, [&] { s->canvas.DrawPattern(image, 100, 50, 0, kWhite, 1); });
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if (!(x == 3 && y == 3)) {
        EXPECT_EQ(at(px, 100 + x, 50 + y), 0xFF000000u | uint32_t(x * 60) << 16 | uint32_t(y * 60) << 8);
      }
  // Effect 1 copies even the transparent texel.
  EXPECT_EQ(at(px, 103, 53), 0x00123456u);
  EXPECT_EQ(at(px, 104, 50), 0xFF000000u);
}

TEST(CanvasTest, AlphaBlendingSkipsTransparentTexels) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  const auto px = drawFrame(*s, [&] { s->canvas.DrawPattern(image, 100, 50, 0, kWhite, 0x504); },
                            0xFF0000FF);
  EXPECT_EQ(at(px, 103, 53), 0xFFFF0000u);  // the clear colour stays
  EXPECT_EQ(at(px, 101, 51), 0xFF3C3C00u);
}

TEST(CanvasTest, RotatedPatternTurnsClockwise) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  // A quarter turn about the centre (102, 52): texel (0, 0) lands top-right.
  const auto px = drawFrame(*s, [&] {
    s->canvas.DrawPatternRotated(image, 102, 52, 1.5707963f, 1.0f, 0, kWhite, 1);
  });
  EXPECT_EQ(at(px, 103, 50), 0xFF000000u);                      // texel (0, 0)
  EXPECT_EQ(at(px, 100, 50), 0xFF000000u | 180u << 8);          // texel (0, 3)
  EXPECT_EQ(at(px, 103, 53), 0xFF000000u | 180u << 16);         // texel (3, 0)
}

TEST(CanvasTest, ModulateTintsTexturesAndPlainColourShowsOnFills) {
  auto s = softStack();
  TAsphyreImage* image = addTexelImage(*s);
  const auto px = drawFrame(*s, [&] {
    s->canvas.DrawPattern(image, 100, 50, 2, 0xFF0000FF, 1);  // red tint
    s->canvas.FillRect(0, 0, 2, 2, 0xFF00FF00, 1);
  });
  EXPECT_EQ(at(px, 102, 51), 0xFF780000u);  // texel (2, 1) = 0x78 red, 0x3C green -> red only
  EXPECT_EQ(at(px, 0, 0), 0xFF00FF00u);
}

TEST(CanvasTest, ClipRectLimitsDrawing) {
  auto s = softStack();
  IntRect seen;
  const auto px = drawFrame(*s, [&] {
    s->canvas.SetClipRect({10, 10, 20, 20});
    seen = s->canvas.GetClipRect();
    s->canvas.FillRect(0, 0, 100, 100, kWhite, 1);
    s->canvas.Line({0, 15}, {100, 15}, 0xFF0000FF, 0xFF0000FF, 1);
    s->canvas.SetClipRect({0, 0, 1024, 768});
  });
  EXPECT_EQ(seen, (IntRect{10, 10, 20, 20}));
  EXPECT_EQ(at(px, 9, 15), 0xFF000000u);
  EXPECT_EQ(at(px, 10, 10), 0xFFFFFFFFu);
  EXPECT_EQ(at(px, 15, 15), 0xFFFF0000u);
  EXPECT_EQ(at(px, 20, 15), 0xFF000000u);
  TAsphyreCanvas detached;
  EXPECT_EQ(detached.GetClipRect(), IntRect{});
}

TEST(CanvasTest, DrawingWhileLostDoesNothing) {
  auto s = softStack();
  const auto px = drawFrame(*s, [&] {
    s->canvas.HandleNotice(NoticeLost);
    s->canvas.FillRect(0, 0, 4, 4, kWhite, 1);
    s->canvas.Flush();
    s->canvas.HandleNotice(NoticeRecovered);
    s->canvas.FillRect(10, 0, 4, 4, kWhite, 1);
  });
  EXPECT_EQ(at(px, 0, 0), 0xFF000000u);
  EXPECT_EQ(at(px, 10, 0), 0xFFFFFFFFu);
  EXPECT_FALSE(s->canvas.Lost());
}

TEST(CanvasTest, EffectCodesDecode) {
  const BlendState copy = decodeEffect(1, true);
  EXPECT_FALSE(copy.blending);
  EXPECT_FALSE(copy.alphaTest);
  const BlendState alpha = decodeEffect(0x504, true);
  EXPECT_TRUE(alpha.blending);
  EXPECT_TRUE(alpha.alphaTest);
  EXPECT_EQ(alpha.source, BlendFactor::SrcAlpha);
  EXPECT_EQ(alpha.dest, BlendFactor::InvSrcAlpha);
  EXPECT_FALSE(decodeEffect(0x504, false).alphaTest);
  const BlendState sub = decodeEffect(0x10000104 | 0x20000, true);
  EXPECT_EQ(sub.op, BlendOp::Subtract);
  EXPECT_TRUE(sub.modulate);
}

}  // namespace
}  // namespace lum
