#include "render/backend_soft_spans.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "render/backend_soft_fragment.h"

namespace lum {

namespace {

// Channel k (0 blue ... 3 alpha) of a colour word.
inline uint32_t channel(uint32_t c, int k) { return (c >> (8 * k)) & 255; }

// t * c / 255 rounded to nearest: exactly what the floating-point modulate
// gives, since a product over 255 never ends in one half.
inline uint32_t modulateConstant(uint32_t t, uint32_t c) {
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k) out |= ((channel(t, k) * channel(c, k) + 127) / 255) << (8 * k);
  return out;
}

inline uint32_t modulateGradient(uint32_t t, const double* c) {
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k)
    out |= uint32_t(softToByte(float(channel(t, k)) * float(c[k]) / 255.0f)) << (8 * k);
  return out;
}

inline uint32_t gradientColour(const double* c) {
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k) out |= uint32_t(softToByte(float(c[k]))) << (8 * k);
  return out;
}

inline void stepColour(const SpanSetup& s, SpanCursor& cur) {
  for (int k = 0; k < 4; ++k) cur.c[k] += s.dc[k];
}

inline int wrapIndex(int64_t i, int n) {
  if (uint64_t(i) < uint64_t(n)) return int(i);
  const int64_t m = i % n;
  return int(m < 0 ? m + n : m);
}

template <SpanColour C>
const uint32_t* fetchFill(const SpanSetup& s, int64_t, int64_t, SpanCursor& cur, uint32_t* out,
                          int n) {
  if constexpr (C == SpanColour::Gradient) {
    for (int i = 0; i < n; ++i) {
      out[i] = gradientColour(cur.c);
      stepColour(s, cur);
    }
    return out;
  }
  if (s.colorRow) return s.colorRow;
  std::fill(out, out + n, s.color);
  return out;
}

template <SpanColour C>
inline uint32_t shadePoint(uint32_t t, const SpanSetup& s, const SpanCursor& cur) {
  if constexpr (C == SpanColour::White) return t;
  else if constexpr (C == SpanColour::Constant) return modulateConstant(t, s.color);
  else return modulateGradient(t, cur.c);
}

inline bool nearBoundary(int64_t p, int64_t near) {
  const int64_t f = p & (kTexelOne - 1);
  return f < near || f >= kTexelOne - near;
}

template <SpanColour C, bool Wrap>
const uint32_t* fetchPoint(const SpanSetup& s, int64_t u, int64_t v, SpanCursor& cur,
                           uint32_t* out, int n) {
  const SpanTieBreak* ties = s.ties;
  if constexpr (!Wrap && C == SpanColour::White) {
    // A plain row of the texel array: no copy at all.
    if (s.dv == 0 && s.du == kTexelOne &&
        !(ties && (nearBoundary(u, ties->nearU) || nearBoundary(v, ties->nearV))))
      return s.texels + (v >> kTexelShift) * s.stride + (u >> kTexelShift);
  }
  for (int i = 0; i < n; ++i) {
    int64_t x = u >> kTexelShift, y = v >> kTexelShift;
    if (ties && (nearBoundary(u, ties->nearU) || nearBoundary(v, ties->nearV))) {
      ties->texel(ties->context, cur.x + i, cur.y, x, y);
      x = wrapIndex(x, s.width);
      y = wrapIndex(y, s.height);
    } else if constexpr (Wrap) {
      x = wrapIndex(x, s.width);
      y = wrapIndex(y, s.height);
    }
    const uint32_t t = s.texels[y * s.stride + x];
    if (C == SpanColour::Gradient && s.clearIsNothing && (t >> 24) == 0) out[i] = 0;
    else out[i] = shadePoint<C>(t, s, cur);
    u += s.du;
    v += s.dv;
    if constexpr (C == SpanColour::Gradient) stepColour(s, cur);
  }
  return out;
}

// The bilinear mix as the floating-point shader does it, channel by channel,
// then the modulate and the rounding to bytes.
template <SpanColour C>
inline uint32_t mixLinear(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, float wx,
                          float wy, const SpanSetup& s, const SpanCursor& cur) {
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k) {
    const float a = float(channel(c00, k)), b = float(channel(c10, k));
    const float c = float(channel(c01, k)), d = float(channel(c11, k));
    float m = (a * (1 - wx) + b * wx) * (1 - wy) + (c * (1 - wx) + d * wx) * wy;
    if constexpr (C == SpanColour::Constant) m = m * float(channel(s.color, k)) / 255.0f;
    if constexpr (C == SpanColour::Gradient) m = m * float(cur.c[k]) / 255.0f;
    out |= uint32_t(softToByte(m)) << (8 * k);
  }
  return out;
}

inline float fraction(int64_t p) { return float(uint32_t(p) >> 8) * (1.0f / 16777216.0f); }

template <SpanColour C, bool Wrap>
const uint32_t* fetchLinear(const SpanSetup& s, int64_t u, int64_t v, SpanCursor& cur,
                            uint32_t* out, int n) {
  for (int i = 0; i < n; ++i) {
    const int64_t x = u >> kTexelShift, y = v >> kTexelShift;
    uint32_t c00, c10, c01, c11;
    if constexpr (Wrap) {
      const int x0 = wrapIndex(x, s.width), x1 = wrapIndex(x + 1, s.width);
      const int y0 = wrapIndex(y, s.height), y1 = wrapIndex(y + 1, s.height);
      const uint32_t* r0 = s.texels + int64_t(y0) * s.stride;
      const uint32_t* r1 = s.texels + int64_t(y1) * s.stride;
      c00 = r0[x0], c10 = r0[x1], c01 = r1[x0], c11 = r1[x1];
    } else {
      const uint32_t* p = s.texels + y * s.stride + x;
      c00 = p[0], c10 = p[1], c01 = p[s.stride], c11 = p[s.stride + 1];
    }
    if (C == SpanColour::Gradient && s.clearIsNothing && ((c00 | c10 | c01 | c11) >> 24) == 0)
      out[i] = 0;
    else
      out[i] = mixLinear<C>(c00, c10, c01, c11, fraction(u), fraction(v), s, cur);
    u += s.du;
    v += s.dv;
    if constexpr (C == SpanColour::Gradient) stepColour(s, cur);
  }
  return out;
}

void blendCopy(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  if (src != dest) std::memmove(dest, src, size_t(n) * sizeof(uint32_t));
}

// Source alpha, inverse source alpha, add, in integers: the same bytes as
// the floating-point blend (no result lies within its rounding error of a
// half). Alpha 0 leaves the pixel as it is, alpha 255 replaces it.
void blendAlpha(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  for (int i = 0; i < n; ++i) {
    const uint32_t s = src[i], sa = s >> 24;
    if (sa == 0) continue;
    if (sa == 255) {
      dest[i] = s;
      continue;
    }
    const uint32_t d = dest[i];
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
      out |= ((channel(s, k) * sa + channel(d, k) * (255 - sa) + 127) / 255) << (8 * k);
    dest[i] = out;
  }
}

// Source alpha, one, add.
void blendAdditive(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  for (int i = 0; i < n; ++i) {
    const uint32_t s = src[i], sa = s >> 24;
    if (sa == 0) continue;
    const uint32_t d = dest[i];
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
      out |= std::min(255u, channel(d, k) + (channel(s, k) * sa + 127) / 255) << (8 * k);
    dest[i] = out;
  }
}

void blendGeneral(const SpanSetup& s, const uint32_t* src, uint32_t* dest, int n) {
  for (int i = 0; i < n; ++i) softBlendPixel(dest[i], s.blend, src[i]);
}

template <SpanColour C>
SpanFetch scalarTextureFetch(SpanSource source, bool wrap) {
  if (source == SpanSource::Point) return wrap ? fetchPoint<C, true> : fetchPoint<C, false>;
  return wrap ? fetchLinear<C, true> : fetchLinear<C, false>;
}

SpanFetch scalarFetch(SpanSource source, SpanColour colour, bool wrap) {
  if (source == SpanSource::Fill)
    return colour == SpanColour::Gradient ? fetchFill<SpanColour::Gradient>
                                          : fetchFill<SpanColour::Constant>;
  switch (colour) {
    case SpanColour::White: return scalarTextureFetch<SpanColour::White>(source, wrap);
    case SpanColour::Constant: return scalarTextureFetch<SpanColour::Constant>(source, wrap);
    case SpanColour::Gradient: break;
  }
  return scalarTextureFetch<SpanColour::Gradient>(source, wrap);
}

SpanBlend scalarBlend(SpanBlendKind blend) {
  switch (blend) {
    case SpanBlendKind::Copy: return blendCopy;
    case SpanBlendKind::Alpha: return blendAlpha;
    case SpanBlendKind::Additive: return blendAdditive;
    case SpanBlendKind::General: break;
  }
  return blendGeneral;
}

}  // namespace

bool spans::avx2Usable() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

SoftSimd detectSoftSimd() {
  SoftSimd best = SoftSimd::Scalar;
#if defined(__x86_64__) || defined(__i386__)
  best = spans::avx2Usable() ? SoftSimd::Avx2 : SoftSimd::Sse2;
#endif
  if (const char* forced = std::getenv("LUMRUN_SOFT_SIMD")) {
    const std::string_view f = forced;
    if (f == "scalar") best = SoftSimd::Scalar;
    else if (f == "sse2" && best == SoftSimd::Avx2) best = SoftSimd::Sse2;
  }
  return best;
}

SpanBlendKind spanBlendKind(const BlendState& b) {
  if (!b.blending) return SpanBlendKind::Copy;
  if (b.source == BlendFactor::SrcAlpha && b.op == BlendOp::Add) {
    if (b.dest == BlendFactor::InvSrcAlpha) return SpanBlendKind::Alpha;
    if (b.dest == BlendFactor::One) return SpanBlendKind::Additive;
  }
  return SpanBlendKind::General;
}

SpanKernel chooseSpanKernel(SoftSimd simd, SpanSource source, SpanColour colour, bool wrap,
                            SpanBlendKind blend) {
  SpanKernel k{scalarFetch(source, colour, wrap), scalarBlend(blend)};
  SpanFetch f = nullptr;
  SpanBlend b = nullptr;
  if (simd == SoftSimd::Avx2) {
    f = spans::avx2Fetch(source, colour, wrap);
    b = spans::avx2Blend(blend);
  }
  if (simd == SoftSimd::Avx2 || simd == SoftSimd::Sse2) {
    if (!f) f = spans::sse2Fetch(source, colour, wrap);
    if (!b) b = spans::sse2Blend(blend);
  }
  if (f) k.fetch = f;
  if (b) k.blend = b;
  return k;
}

}  // namespace lum
