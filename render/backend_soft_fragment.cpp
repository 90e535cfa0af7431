#include "render/backend_soft_fragment.h"

#include <algorithm>
#include <cmath>

namespace lum {

namespace {

int floorToInt(float v) {
  if (!(v > -1e9f && v < 1e9f)) return 0;  // NaN or far away: any texel will do
  const int i = static_cast<int>(v);
  return v < float(i) ? i - 1 : i;
}

int wrap(int i, int n) {
  if (unsigned(i) < unsigned(n)) return i;  // the usual case: inside
  const int m = i % n;
  return m < 0 ? m + n : m;
}

uint32_t texel(const SoftTextureView& t, int x, int y) {
  return t.texels[size_t(y) * size_t(t.rowStride()) + size_t(x)];
}

SoftRgba samplePoint(const SoftTextureView& t, float u, float v) {
  const int x = wrap(floorToInt(u * t.width), t.width);
  const int y = wrap(floorToInt(v * t.height), t.height);
  return softUnpack(texel(t, x, y));
}

SoftRgba sampleLinear(const SoftTextureView& t, float u, float v) {
  const float fx = u * t.width - 0.5f, fy = v * t.height - 0.5f;
  const float x0f = std::floor(fx), y0f = std::floor(fy);
  const float wx = fx - x0f, wy = fy - y0f;
  const int ix = floorToInt(x0f), iy = floorToInt(y0f);
  const int x0 = wrap(ix, t.width), x1 = wrap(ix + 1, t.width);
  const int y0 = wrap(iy, t.height), y1 = wrap(iy + 1, t.height);
  const SoftRgba c00 = softUnpack(texel(t, x0, y0)), c10 = softUnpack(texel(t, x1, y0));
  const SoftRgba c01 = softUnpack(texel(t, x0, y1)), c11 = softUnpack(texel(t, x1, y1));
  auto mix = [&](float a, float b, float c, float d) {
    return (a * (1 - wx) + b * wx) * (1 - wy) + (c * (1 - wx) + d * wx) * wy;
  };
  return {mix(c00.r, c10.r, c01.r, c11.r), mix(c00.g, c10.g, c01.g, c11.g),
          mix(c00.b, c10.b, c01.b, c11.b), mix(c00.a, c10.a, c01.a, c11.a)};
}

// One blend factor for the colour channels (rgb) or alpha, everything in 0..1.
float factor(BlendFactor f, float s, float sa, float d, float da, bool alphaChannel) {
  switch (f) {
    case BlendFactor::Zero: return 0;
    case BlendFactor::One: return 1;
    case BlendFactor::SrcColor: return s;
    case BlendFactor::InvSrcColor: return 1 - s;
    case BlendFactor::SrcAlpha: return sa;
    case BlendFactor::InvSrcAlpha: return 1 - sa;
    case BlendFactor::DestAlpha: return da;
    case BlendFactor::InvDestAlpha: return 1 - da;
    case BlendFactor::DestColor: return d;
    case BlendFactor::InvDestColor: return 1 - d;
    case BlendFactor::SrcAlphaSat: return alphaChannel ? 1 : std::min(sa, 1 - da);
  }
  return 0;
}

float blendChannel(const BlendState& b, float s, float sa, float d, float da, bool alpha) {
  const float fs = factor(b.source, s, sa, d, da, alpha);
  const float fd = factor(b.dest, s, sa, d, da, alpha);
  switch (b.op) {
    case BlendOp::Add: return s * fs + d * fd;
    case BlendOp::RevSubtract: return d * fd - s * fs;
    case BlendOp::Subtract: return s * fs - d * fd;
    case BlendOp::Min: return std::min(s, d);
    case BlendOp::Max: return std::max(s, d);
  }
  return s;
}

}  // namespace

void softBlendPixel(uint32_t& dest, const BlendState& blend, uint32_t src) {
  const uint8_t sa = uint8_t(src >> 24);
  if (blend.alphaTest && sa < 1) return;
  if (!blend.blending) {
    dest = src;
    return;
  }
  const float k = 1.0f / 255.0f;
  const SoftRgba s0 = softUnpack(src), d0 = softUnpack(dest);
  const float s[4] = {s0.r * k, s0.g * k, s0.b * k, s0.a * k};
  const float d[4] = {d0.r * k, d0.g * k, d0.b * k, d0.a * k};
  uint8_t out[4];
  for (int i = 0; i < 4; ++i) {
    const float v = blendChannel(blend, s[i], s[3], d[i], d[3], i == 3);
    out[i] = softToByte(std::clamp(v, 0.0f, 1.0f) * 255.0f);
  }
  dest = softPack(out[0], out[1], out[2], out[3]);
}

void softShadeFragment(uint32_t& dest, const SoftRasterState& st, const SoftRgba& diffuse,
                       float u, float v) {
  SoftRgba c = diffuse;
  if (st.texture) {
    const SoftRgba t = st.linearFilter ? sampleLinear(*st.texture, u, v)
                                       : samplePoint(*st.texture, u, v);
    if (st.blend.modulate) {
      c = {t.r * diffuse.r / 255.0f, t.g * diffuse.g / 255.0f, t.b * diffuse.b / 255.0f,
           t.a * diffuse.a / 255.0f};
    } else {
      c = t;
    }
  }
  softBlendPixel(dest, st.blend,
                 softPack(softToByte(c.r), softToByte(c.g), softToByte(c.b), softToByte(c.a)));
}

}  // namespace lum
