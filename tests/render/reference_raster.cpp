// The first software rasteriser, all in floating point, one fragment call
// per pixel. Slow, but it defines the pictures: the fast paths of the soft
// backend are checked against it.
#include "tests/render/reference_raster.h"

#include <algorithm>
#include <cmath>

namespace lum::reference {

namespace {

struct Rgba {
  float r, g, b, a;  // 0 ... 255
};

Rgba unpack(uint32_t c) {
  return {float((c >> 16) & 255), float((c >> 8) & 255), float(c & 255), float(c >> 24)};
}

// Rounds to nearest with halves to even, like lrint in the default mode, but
// inline: adding and removing 1.5 * 2^23 leaves the rounded value.
float roundEven(float v) { return (v + 12582912.0f) - 12582912.0f; }

uint8_t toByte(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint8_t>(roundEven(v));
}

int floorToInt(float v) {
  if (!(v > -1e9f && v < 1e9f)) return 0;  // NaN or far away: any texel will do
  const int i = static_cast<int>(v);
  return v < float(i) ? i - 1 : i;
}

uint32_t pack(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

int wrap(int i, int n) {
  if (unsigned(i) < unsigned(n)) return i;  // the usual case: inside
  const int m = i % n;
  return m < 0 ? m + n : m;
}

Rgba samplePoint(const SoftTextureView& t, float u, float v) {
  const int x = wrap(floorToInt(u * t.width), t.width);
  const int y = wrap(floorToInt(v * t.height), t.height);
  return unpack(t.texels[size_t(y) * t.rowStride() + x]);
}

Rgba sampleLinear(const SoftTextureView& t, float u, float v) {
  const float fx = u * t.width - 0.5f, fy = v * t.height - 0.5f;
  const float x0f = std::floor(fx), y0f = std::floor(fy);
  const float wx = fx - x0f, wy = fy - y0f;
  const int x0 = wrap(int(x0f), t.width), x1 = wrap(int(x0f) + 1, t.width);
  const int y0 = wrap(int(y0f), t.height), y1 = wrap(int(y0f) + 1, t.height);
  const Rgba c00 = unpack(t.texels[size_t(y0) * t.rowStride() + x0]);
  const Rgba c10 = unpack(t.texels[size_t(y0) * t.rowStride() + x1]);
  const Rgba c01 = unpack(t.texels[size_t(y1) * t.rowStride() + x0]);
  const Rgba c11 = unpack(t.texels[size_t(y1) * t.rowStride() + x1]);
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

// Shades and writes one fragment: stage colour, alpha test, blend.
void shadeFragment(uint32_t& dest, const SoftRasterState& st, const Rgba& diffuse, float u,
                   float v) {
  Rgba c = diffuse;
  if (st.texture) {
    const Rgba t = st.linearFilter ? sampleLinear(*st.texture, u, v)
                                   : samplePoint(*st.texture, u, v);
    if (st.blend.modulate) {
      c = {t.r * diffuse.r / 255.0f, t.g * diffuse.g / 255.0f, t.b * diffuse.b / 255.0f,
           t.a * diffuse.a / 255.0f};
    } else {
      c = t;
    }
  }
  const uint8_t sr = toByte(c.r), sg = toByte(c.g), sb = toByte(c.b), sa = toByte(c.a);
  if (st.blend.alphaTest && sa < 1) return;
  if (!st.blend.blending) {
    dest = pack(sr, sg, sb, sa);
    return;
  }
  const float k = 1.0f / 255.0f;
  if (st.blend.source == BlendFactor::SrcAlpha && st.blend.op == BlendOp::Add &&
      (st.blend.dest == BlendFactor::InvSrcAlpha || st.blend.dest == BlendFactor::One)) {
    // The two blends nearly everything uses, without the general table walk;
    // the arithmetic is the same as below.
    const float a = sa * k, ia = st.blend.dest == BlendFactor::One ? 1.0f : 1.0f - a;
    const Rgba d0 = unpack(dest);
    const auto mixc = [&](uint8_t sc, float dc, float sf) {
      return toByte(std::clamp(sc * k * sf + dc * k * ia, 0.0f, 1.0f) * 255.0f);
    };
    dest = pack(mixc(sr, d0.r, a), mixc(sg, d0.g, a), mixc(sb, d0.b, a), mixc(sa, d0.a, a));
    return;
  }
  const float s[4] = {sr * k, sg * k, sb * k, sa * k};
  const Rgba d0 = unpack(dest);
  const float d[4] = {d0.r * k, d0.g * k, d0.b * k, d0.a * k};
  uint8_t out[4];
  for (int i = 0; i < 4; ++i) {
    const float v = blendChannel(st.blend, s[i], s[3], d[i], d[3], i == 3);
    out[i] = toByte(std::clamp(v, 0.0f, 1.0f) * 255.0f);
  }
  dest = pack(out[0], out[1], out[2], out[3]);
}

struct ClipBox {
  int x0, y0, x1, y1;  // half-open
};

ClipBox clipBox(const SoftSurface& t, const Viewport& v) {
  return {std::max(0, v.x), std::max(0, v.y), std::min(t.width, v.x + v.width),
          std::min(t.height, v.y + v.height)};
}

// Coordinates beyond this are refused rather than overflow the fixed point;
// nothing on a 1024 x 768 screen needs them.
constexpr float kMaxCoordinate = 1e7f;

bool usable(const Vertex& v) {
  return std::fabs(v.x) <= kMaxCoordinate && std::fabs(v.y) <= kMaxCoordinate;
}

constexpr int kSubBits = 8;
constexpr float kSub = 1 << kSubBits;

int64_t toFixed(float v) { return std::llrint(double(v) * kSub); }

}  // namespace

void drawTriangle(SoftSurface& target, const SoftRasterState& st, const Vertex& a,
                      const Vertex& b0, const Vertex& c0) {
  if (!usable(a) || !usable(b0) || !usable(c0)) return;
  const Vertex* pa = &a;
  const Vertex* pb = &b0;
  const Vertex* pc = &c0;
  int64_t ax = toFixed(pa->x), ay = toFixed(pa->y);
  int64_t bx = toFixed(pb->x), by = toFixed(pb->y);
  int64_t cx = toFixed(pc->x), cy = toFixed(pc->y);
  int64_t area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  if (area == 0) return;
  if (area < 0) {  // make the winding the one whose inside is positive
    std::swap(pb, pc);
    std::swap(bx, cx);
    std::swap(by, cy);
    area = -area;
  }
  const ClipBox box = clipBox(target, st.clip);
  const auto fl = [](int64_t v) { return int(v >= 0 ? v >> kSubBits : -((-v + 255) >> kSubBits)); };
  const int minX = std::max(box.x0, fl(std::min({ax, bx, cx})));
  const int maxX = std::min(box.x1 - 1, fl(std::max({ax, bx, cx})) + 1);
  const int minY = std::max(box.y0, fl(std::min({ay, by, cy})));
  const int maxY = std::min(box.y1 - 1, fl(std::max({ay, by, cy})) + 1);
  if (minX > maxX || minY > maxY) return;

  // Edge p->q; pixels exactly on an edge belong to it only for top or left
  // edges, so that shared edges are drawn once.
  struct Edge {
    int64_t dx, dy, px, py, bias;
    int64_t at(int64_t x, int64_t y) const { return dx * (y - py) - dy * (x - px); }
  };
  const auto makeEdge = [](int64_t px, int64_t py, int64_t qx, int64_t qy) {
    const int64_t dx = qx - px, dy = qy - py;
    const bool topLeft = (dy == 0 && dx > 0) || dy < 0;
    return Edge{dx, dy, px, py, topLeft ? 0 : -1};
  };
  const Edge eab = makeEdge(ax, ay, bx, by), ebc = makeEdge(bx, by, cx, cy),
             eca = makeEdge(cx, cy, ax, ay);
  const Rgba ca = unpack(pa->color), cb = unpack(pb->color), cc = unpack(pc->color);
  const double inv = 1.0 / double(area);
  // Edge values step by a constant per pixel along a row.
  const int64_t stepA = -ebc.dy << kSubBits, stepB = -eca.dy << kSubBits,
                stepC = -eab.dy << kSubBits;
  // The pixels k steps right of minX with w + bias + k * step >= 0.
  const auto narrow = [](int64_t w, int64_t step, int64_t& lo, int64_t& hi) {
    if (step > 0) lo = std::max(lo, w >= 0 ? 0 : (-w + step - 1) / step);
    else if (step < 0) hi = std::min(hi, w < 0 ? -1 : w / -step);
    else if (w < 0) hi = -1;
  };
  for (int y = minY; y <= maxY; ++y) {
    const int64_t fy = int64_t(y) << kSubBits;
    const int64_t fx0 = int64_t(minX) << kSubBits;
    const int64_t a0 = ebc.at(fx0, fy), b0 = eca.at(fx0, fy), c0 = eab.at(fx0, fy);
    int64_t lo = 0, hi = maxX - minX;
    narrow(a0 + ebc.bias, stepA, lo, hi);
    narrow(b0 + eca.bias, stepB, lo, hi);
    narrow(c0 + eab.bias, stepC, lo, hi);
    if (lo > hi) continue;
    int64_t wa = a0 + (lo - 1) * stepA, wb = b0 + (lo - 1) * stepB, wc = c0 + (lo - 1) * stepC;
    uint32_t* row = target.pixels + size_t(y) * target.width;
    for (int x = minX + int(lo); x <= minX + int(hi); ++x) {
      wa += stepA;
      wb += stepB;
      wc += stepC;
      if (wa + ebc.bias < 0 || wb + eca.bias < 0 || wc + eab.bias < 0) continue;
      const float la = float(wa * inv), lb = float(wb * inv), lc = float(wc * inv);
      const Rgba d{ca.r * la + cb.r * lb + cc.r * lc, ca.g * la + cb.g * lb + cc.g * lc,
                   ca.b * la + cb.b * lb + cc.b * lc, ca.a * la + cb.a * lb + cc.a * lc};
      const float u = pa->u * la + pb->u * lb + pc->u * lc;
      const float v = pa->v * la + pb->v * lb + pc->v * lc;
      shadeFragment(row[x], st, d, u, v);
    }
  }
}

void drawLine(SoftSurface& target, const SoftRasterState& st, const Vertex& a,
                  const Vertex& b) {
  if (!usable(a) || !usable(b)) return;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const bool xMajor = std::fabs(dx) >= std::fabs(dy);
  const float major0 = xMajor ? a.x : a.y, major1 = xMajor ? b.x : b.y;
  const float length = major1 - major0;
  if (length == 0.0f) return;
  // A pixel is lit when the line leaves its diamond: from the start's pixel up
  // to, not including, the end's pixel.
  int first, last, step;
  if (length > 0) {
    first = int(std::floor(major0 + 0.5f));
    last = int(std::floor(major1 + 0.5f)) - 1;
    step = 1;
  } else {
    first = int(std::ceil(major0 - 0.5f));
    last = int(std::ceil(major1 - 0.5f)) + 1;
    step = -1;
  }
  if ((last - first) * step < 0) return;
  const ClipBox box = clipBox(target, st.clip);
  // Only the part of the line inside the clip box can light anything.
  const int lo = (xMajor ? box.x0 : box.y0) - 1, hi = xMajor ? box.x1 : box.y1;
  if (step > 0) {
    first = std::max(first, lo);
    last = std::min(last, hi);
  } else {
    first = std::min(first, hi);
    last = std::max(last, lo);
  }
  if ((last - first) * step < 0) return;
  const Rgba ca = unpack(a.color), cb = unpack(b.color);
  for (int m = first;; m += step) {
    const float t = (float(m) - major0) / length;
    const float minor = xMajor ? a.y + t * dy : a.x + t * dx;
    const int n = int(std::floor(minor + 0.5f));
    const int x = xMajor ? m : n, y = xMajor ? n : m;
    if (x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1) {
      const float tt = std::clamp(t, 0.0f, 1.0f);
      const Rgba d{ca.r + (cb.r - ca.r) * tt, ca.g + (cb.g - ca.g) * tt,
                   ca.b + (cb.b - ca.b) * tt, ca.a + (cb.a - ca.a) * tt};
      shadeFragment(target.pixels[size_t(y) * target.width + x], st, d, a.u + (b.u - a.u) * tt,
                    a.v + (b.v - a.v) * tt);
    }
    if (m == last) break;
  }
}

}  // namespace lum::reference
