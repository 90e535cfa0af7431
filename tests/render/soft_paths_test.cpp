// The fast software paths against the first rasteriser (kept in
// reference_raster.cpp): seeded random scenes drawn both ways, every
// instruction set and band split giving the same bytes, and the integer
// blends against the floating-point ones for every input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/backend_soft_fragment.h"
#include "render/backend_soft_raster.h"
#include "render/backend_soft_spans.h"
#include "render/render_stack.h"
#include "tests/render/reference_raster.h"

namespace lum {
namespace {

// A small deterministic generator, the same on every standard library.
class Random {
 public:
  explicit Random(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return uint32_t(s_ >> 11);
  }
  int upTo(int n) { return int(next() % uint32_t(n)); }
  float range(float lo, float hi) { return lo + (hi - lo) * float(next() % 1000001) / 1e6f; }
  bool chance(int percent) { return upTo(100) < percent; }

 private:
  uint64_t s_;
};

// A texture with the wrapped border the soft backend keeps around its
// texels.
struct Texture {
  int width, height;
  std::vector<uint32_t> texels;
  SoftTextureView view;
  Texture(Random& r, int w, int h) : width(w), height(h), texels(size_t(w + 2) * (h + 2)) {
    std::vector<uint32_t> plain(size_t(w) * h);
    for (uint32_t& t : plain) {
      const int kind = r.upTo(4);
      const uint32_t alpha = kind == 0 ? 0 : kind == 1 ? 255 : r.next() & 255;
      t = (alpha << 24) | (r.next() & 0xFFFFFF);
    }
    for (int y = -1; y <= h; ++y)
      for (int x = -1; x <= w; ++x)
        texels[size_t(y + 1) * (w + 2) + size_t(x + 1)] =
            plain[size_t((y + h) % h) * w + size_t((x + w) % w)];
    view = SoftTextureView{texels.data() + w + 3, w, h, w + 2, 1};
  }
};

constexpr uint32_t kEffects[] = {0x1, 0x504, 0x504, 0x504, 0x104, 0x104, 0x10104, 0x20104,
                                 0x30101, 0x40101, 0x302, 0x800, 0x906, 0x70A, 0x605, 0x10504};

struct Draw {
  SoftRasterState state;
  int texture = -1;
  bool quad = true;
  Vertex v[4];
};

struct Scene {
  int width = 96, height = 72;
  uint32_t background[2];
  std::vector<Texture> textures;
  std::vector<Draw> draws;
};

// `rounding`: whether the scene may use bilinear sampling and colours
// that vary over a primitive, which round differently from before.
Scene makeScene(uint64_t seed, bool rounding) {
  Random r(seed);
  Scene s;
  s.background[0] = r.next();
  s.background[1] = r.next() | 0xFF000000u;
  const int textureCount = 1 + r.upTo(3);
  s.textures.reserve(size_t(textureCount));
  for (int i = 0; i < textureCount; ++i) s.textures.emplace_back(r, 1 + r.upTo(40), 1 + r.upTo(40));
  const int drawCount = 6 + r.upTo(20);
  for (int i = 0; i < drawCount; ++i) {
    Draw d;
    const uint32_t effect = kEffects[r.upTo(std::size(kEffects))] |
                            (r.chance(50) ? kModulateBit : 0u);
    d.state.blend = decodeEffect(effect, r.chance(85));
    d.state.linearFilter = rounding && r.chance(50);
    d.state.clip = r.chance(70) ? Viewport{0, 0, s.width, s.height}
                                : Viewport{r.upTo(40), r.upTo(30), r.upTo(80), r.upTo(60)};
    d.texture = r.chance(75) ? r.upTo(textureCount) : -1;
    const Texture* t = d.texture >= 0 ? &s.textures[size_t(d.texture)] : nullptr;
    // Colour: white, one colour, or four (only where rounding may differ).
    const int colourKind = r.upTo(rounding ? 3 : 2);
    const uint32_t one = r.chance(30) ? (r.next() & 0x00FFFFFF) : r.next();
    uint32_t colours[4];
    for (uint32_t& c : colours) c = colourKind == 0 ? 0xFFFFFFFFu : colourKind == 1 ? one : r.next();
    // Geometry: an upright quad at whole, half or any position and scale,
    // a turned one, or a triangle.
    const int shape = r.upTo(4);
    float x0 = float(r.upTo(100) - 10), y0 = float(r.upTo(80) - 10);
    if (shape != 0) x0 += r.chance(50) ? 0.5f : r.range(0, 1), y0 += r.chance(50) ? 0.5f : r.range(0, 1);
    const int tw = t ? t->width : 16, th = t ? t->height : 16;
    const float scale = r.chance(40) ? 1.0f : float(1 + r.upTo(8)) / float(1 + r.upTo(4));
    const float w = float(r.upTo(tw) + 1) * scale, h = float(r.upTo(th) + 1) * scale;
    const float px = float(r.upTo(tw)), py = float(r.upTo(th));
    float u0 = px / float(tw), v0 = py / float(th), u1 = (px + w / scale) / float(tw),
          v1 = (py + h / scale) / float(th);
    if (r.chance(15)) std::swap(u0, u1);  // mirrored
    if (r.chance(10)) u1 += 1.0f, v1 += 2.0f;  // repeated: wraps
    Point2 corners[4] = {{x0, y0}, {x0 + w, y0}, {x0 + w, y0 + h}, {x0, y0 + h}};
    if (shape == 2) {
      const float a = r.range(-3.2f, 3.2f), c = std::cos(a), sn = std::sin(a);
      const float cx = x0 + w / 2, cy = y0 + h / 2;
      for (Point2& p : corners) {
        const float dx = p.x - cx, dy = p.y - cy;
        p = {dx * c - dy * sn + cx, dx * sn + dy * c + cy};
      }
    }
    const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    for (int k = 0; k < 4; ++k)
      d.v[k] = Vertex{corners[k].x - 0.5f, corners[k].y - 0.5f, 0, 1, colours[k], us[k], vs[k]};
    if (shape == 3) {
      d.quad = false;
      d.v[2].x += r.range(-20, 20);
      d.v[1].y += r.range(-20, 20);
    }
    s.draws.push_back(d);
  }
  return s;
}

struct Picture32 {
  std::vector<uint32_t> pixels;
  SoftSurface surface;
};

Picture32 blankFor(const Scene& s) {
  Picture32 p;
  p.pixels.resize(size_t(s.width) * s.height);
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = s.background[(i / 7) % 2];
  p.surface = SoftSurface{p.pixels.data(), s.width, s.height};
  return p;
}

SoftRasterState stateFor(const Scene& s, const Draw& d, SoftSimd simd) {
  SoftRasterState st = d.state;
  st.texture = d.texture >= 0 ? &s.textures[size_t(d.texture)].view : nullptr;
  st.simd = simd;
  return st;
}

std::vector<uint32_t> drawFast(const Scene& s, SoftSimd simd, int bands) {
  Picture32 p = blankFor(s);
  for (int b = 0; b < bands; ++b) {
    const SoftBand band{s.height * b / bands, s.height * (b + 1) / bands};
    for (const Draw& d : s.draws) {
      const SoftRasterState st = stateFor(s, d, simd);
      if (d.quad) softDrawQuad(p.surface, st, d.v, band);
      else softDrawTriangle(p.surface, st, d.v[0], d.v[1], d.v[2], band);
    }
  }
  return p.pixels;
}

std::vector<uint32_t> drawReference(const Scene& s) {
  Picture32 p = blankFor(s);
  for (const Draw& d : s.draws) {
    const SoftRasterState st = stateFor(s, d, SoftSimd::Scalar);
    if (d.quad) {
      reference::drawTriangle(p.surface, st, d.v[0], d.v[1], d.v[3]);
      reference::drawTriangle(p.surface, st, d.v[1], d.v[2], d.v[3]);
    } else {
      reference::drawTriangle(p.surface, st, d.v[0], d.v[1], d.v[2]);
    }
  }
  return p.pixels;
}

int channelDifference(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int k = 0; k < 32; k += 8)
    worst = std::max(worst, std::abs(int((a >> k) & 255) - int((b >> k) & 255)));
  return worst;
}

std::vector<SoftSimd> instructionSets() {
  std::vector<SoftSimd> sets{SoftSimd::Scalar};
#if defined(__x86_64__) || defined(__i386__)
  sets.push_back(SoftSimd::Sse2);
  if (spans::avx2Usable()) sets.push_back(SoftSimd::Avx2);
#endif
  return sets;
}

TEST(SoftPathsTest, SharpScenesAreDrawnExactlyAsBefore) {
  // Point sampling, fills, one colour per primitive, every blend code,
  // clipping, turned, mirrored, repeated and scaled patterns.
  int drawnPixels = 0;
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    const Scene scene = makeScene(seed, false);
    const std::vector<uint32_t> want = drawReference(scene);
    for (SoftSimd simd : instructionSets()) {
      const std::vector<uint32_t> got = drawFast(scene, simd, 1);
      int differing = 0, first = -1;
      for (size_t i = 0; i < want.size(); ++i)
        if (want[i] != got[i] && differing++ == 0) first = int(i);
      ASSERT_EQ(differing, 0) << "seed " << seed << " set " << int(simd) << ": first at "
                              << first % scene.width << "," << first / scene.width << " want "
                              << std::hex << want[size_t(first)] << " got " << got[size_t(first)];
    }
    const std::vector<uint32_t> blank = blankFor(scene).pixels;
    for (size_t i = 0; i < want.size(); ++i) drawnPixels += want[i] != blank[i];
  }
  EXPECT_GT(drawnPixels, 300 * 500);  // the scenes do draw something
}

TEST(SoftPathsTest, SmoothScenesDifferOnlyInRounding) {
  // Bilinear weights and interpolated colours are exact now where the first
  // renderer carried single-precision error: a level here and there, a few
  // where later blends of the destination's own colour or alpha compound
  // one level with another.
  int64_t pixels = 0, differing = 0, beyondOne = 0;
  for (uint64_t seed = 1000; seed < 1300; ++seed) {
    const Scene scene = makeScene(seed, true);
    const std::vector<uint32_t> want = drawReference(scene);
    const std::vector<uint32_t> got = drawFast(scene, SoftSimd::Scalar, 1);
    for (size_t i = 0; i < want.size(); ++i) {
      const int d = channelDifference(want[i], got[i]);
      ASSERT_LE(d, 3) << "seed " << seed << " at " << i % size_t(scene.width) << ","
                      << i / size_t(scene.width) << std::hex << " want " << want[i] << " got "
                      << got[i];
      differing += d != 0;
      beyondOne += d > 1;
    }
    pixels += int64_t(want.size());
  }
  std::printf("smooth scenes: %.4f %% of pixels differ, %.4f %% by more than one level\n",
              100.0 * double(differing) / double(pixels), 100.0 * double(beyondOne) / double(pixels));
  EXPECT_LT(double(differing) / double(pixels), 0.01);
  EXPECT_LT(double(beyondOne) / double(pixels), 0.0005);
}

TEST(SoftPathsTest, InstructionSetsAndBandsGiveTheSameBytes) {
  for (uint64_t seed = 2000; seed < 2150; ++seed) {
    const Scene scene = makeScene(seed, true);
    const std::vector<uint32_t> want = drawFast(scene, SoftSimd::Scalar, 1);
    for (SoftSimd simd : instructionSets())
      for (int bands : {1, 2, 5})
        ASSERT_EQ(drawFast(scene, simd, bands), want)
            << "seed " << seed << " set " << int(simd) << " bands " << bands;
  }
}

TEST(SoftPathsTest, IntegerBlendsMatchTheFloatingPointOnesForEveryInput) {
  // Every source colour and alpha over every destination level, one
  // channel at a time (the channels do not interact).
  std::vector<uint32_t> src, dest;
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t c = 0; c < 256; ++c)
      for (uint32_t d = 0; d < 256; ++d) {
        src.push_back((a << 24) | (c << 16) | (a << 8) | c);
        dest.push_back((d << 24) | (d << 16) | (255 - d) << 8 | d);
      }
  for (uint32_t effect : {kEffectAlphaBlend, kEffectAdditive}) {
    const BlendState blend = decodeEffect(effect, true);
    std::vector<uint32_t> want = dest;
    for (size_t i = 0; i < want.size(); ++i) softBlendPixel(want[i], blend, src[i]);
    for (SoftSimd simd : instructionSets()) {
      const SpanKernel k = chooseSpanKernel(simd, SpanSource::Fill, SpanColour::Constant, false,
                                            spanBlendKind(blend));
      SpanSetup setup;
      setup.blend = blend;
      std::vector<uint32_t> got = dest;
      // Odd lengths, so that every kernel's tail is used too.
      for (size_t i = 0; i < got.size();) {
        const int n = int(std::min<size_t>(got.size() - i, size_t(kSpanChunk - (i / 7) % 13)));
        k.blend(setup, src.data() + i, got.data() + i, n);
        i += size_t(n);
      }
      for (size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << std::hex << "effect " << effect << " set " << int(simd)
                                   << " src " << src[i] << " dest " << dest[i];
    }
  }
}

}  // namespace
}  // namespace lum
