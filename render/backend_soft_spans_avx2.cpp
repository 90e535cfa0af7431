// AVX2 span kernels, eight pixels at a time; compiled for AVX2 and used
// only when the processor has it. Nothing here may be shared with code that
// runs elsewhere (an inline function from a header could be kept in its
// AVX2 form for everyone), so every helper stays in this file.
#include "render/backend_soft_spans.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace lum::spans {

#if defined(__AVX2__)
namespace {

// The small helpers must melt into the loops that use them.
#define LUM_AVX2_INLINE __attribute__((always_inline)) inline

constexpr int64_t kFractionMask = kTexelOne - 1;

// Lanes 0 ... n-1 of eight.
LUM_AVX2_INLINE __m256i firstLanes(int n) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

LUM_AVX2_INLINE bool nearBoundary(int64_t p, int64_t near) {
  const int64_t f = p & kFractionMask;
  return f < near || f >= kTexelOne - near;
}

int wrapIndex(int64_t i, int n) {
  if (uint64_t(i) < uint64_t(n)) return int(i);
  const int64_t m = i % n;
  return int(m < 0 ? m + n : m);
}

LUM_AVX2_INLINE uint32_t modulate(uint32_t t, uint32_t c) {
  uint32_t out = 0;
  for (int k = 0; k < 32; k += 8)
    out |= ((((t >> k) & 255) * ((c >> k) & 255) + 127) / 255) << k;
  return out;
}

// Eight fixed-point positions p + i * step as the whole texel (signed) and
// the fraction, each in eight 32-bit lanes in pixel order.
struct Lanes {
  __m256i lo, hi;  // positions 0-3 and 4-7, 64-bit
  __m256i step8;
  Lanes(int64_t p, int64_t step)
      : lo(_mm256_add_epi64(_mm256_set1_epi64x(p),
                            _mm256_set_epi64x(3 * step, 2 * step, step, 0))),
        hi(_mm256_add_epi64(lo, _mm256_set1_epi64x(4 * step))),
        step8(_mm256_set1_epi64x(8 * step)) {}
  LUM_AVX2_INLINE void advance() {
    lo = _mm256_add_epi64(lo, step8);
    hi = _mm256_add_epi64(hi, step8);
  }
  LUM_AVX2_INLINE __m256i pick(int sel) const {
    const __m256 a = _mm256_castsi256_ps(lo), b = _mm256_castsi256_ps(hi);
    const __m256 m = sel ? _mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))
                         : _mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0));
    return _mm256_permute4x64_epi64(_mm256_castps_si256(m), _MM_SHUFFLE(3, 1, 2, 0));
  }
  LUM_AVX2_INLINE __m256i whole() const { return pick(1); }
  LUM_AVX2_INLINE __m256i fraction() const { return pick(0); }
};

// t * c / 255 rounded, per byte, for eight pixels.
LUM_AVX2_INLINE __m256i div255(__m256i x) {
  return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(short(0x8081))), 7);
}

LUM_AVX2_INLINE __m256i modulate8(__m256i t, __m256i c16) {
  const __m256i zero = _mm256_setzero_si256(), r = _mm256_set1_epi16(127);
  const __m256i lo = div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(t, zero), c16), r));
  const __m256i hi = div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(t, zero), c16), r));
  return _mm256_packus_epi16(lo, hi);
}

// Positions in 32-bit lanes keep 17 fraction bits: enough for every texel
// of the largest texture and its border. Their rounding is bounded, and the
// lanes that come that close to a texel boundary are decided exactly.
constexpr int kLaneShift = 15;

LUM_AVX2_INLINE int32_t toLane(int64_t p) { return int32_t((p + (int64_t(1) << (kLaneShift - 1))) >> kLaneShift); }

// How near (in lane units) a boundary a lane must be to need the exact
// position: the tie-break distance plus the lanes' own rounding over a group
// of eight (each group starts again from the exact position).
int32_t laneNear(int64_t near) {
  const int64_t error = (int64_t(1) << (kLaneShift - 1)) * 9 + (int64_t(1) << kLaneShift);
  return int32_t(((near + error) >> kLaneShift) + 2);
}

LUM_AVX2_INLINE __m256i laneNearMask(__m256i p, int32_t near) {
  const __m256i fraction = _mm256_and_si256(p, _mm256_set1_epi32((1 << (32 - kLaneShift)) - 1));
  const __m256i shifted = _mm256_add_epi32(fraction, _mm256_set1_epi32(near));
  const __m256i wrapped = _mm256_and_si256(shifted, _mm256_set1_epi32((1 << (32 - kLaneShift)) - 1));
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(2 * near), wrapped);
}

template <bool Modulate>
const uint32_t* fetchPoint(const SpanSetup& s, int64_t pu, int64_t pv, SpanCursor& cur,
                           uint32_t* out, int n) {
  const SpanTieBreak* ties = s.ties;
  if (!Modulate && s.dv == 0 && s.du == kTexelOne &&
      !(ties && (nearBoundary(pu, ties->nearU) || nearBoundary(pv, ties->nearV))))
    return s.texels + (pv >> kTexelShift) * s.stride + (pu >> kTexelShift);
  const __m256i c16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(s.color)), _mm256_setzero_si256());
  const __m256i stride = _mm256_set1_epi32(s.stride);
  const int32_t du = toLane(s.du), dv = toLane(s.dv);
  const __m256i ramp = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256i rampU = _mm256_mullo_epi32(ramp, _mm256_set1_epi32(du));
  const __m256i rampV = _mm256_mullo_epi32(ramp, _mm256_set1_epi32(dv));
  const int32_t nearU = ties ? laneNear(ties->nearU) : 0;
  const int32_t nearV = ties ? laneNear(ties->nearV) : 0;
  const int* base = reinterpret_cast<const int*>(s.texels);
  for (int i = 0; i < n; i += 8, pu += 8 * s.du, pv += 8 * s.dv) {
    const __m256i u = _mm256_add_epi32(_mm256_set1_epi32(toLane(pu)), rampU);
    const __m256i v = _mm256_add_epi32(_mm256_set1_epi32(toLane(pv)), rampV);
    // The last group may be partial: its other lanes read nothing and are
    // written past the span, inside the buffer.
    const __m256i valid = i + 8 <= n ? _mm256_set1_epi32(-1) : firstLanes(n - i);
    const __m256i x = _mm256_srai_epi32(u, 32 - kLaneShift), y = _mm256_srai_epi32(v, 32 - kLaneShift);
    if (ties) {
      const __m256i near = _mm256_and_si256(
          valid, _mm256_or_si256(laneNearMask(u, nearU), laneNearMask(v, nearV)));
      if (!_mm256_testz_si256(near, near)) {
        alignas(32) int32_t xs[8], ys[8], close[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(xs), x);
        _mm256_store_si256(reinterpret_cast<__m256i*>(ys), y);
        _mm256_store_si256(reinterpret_cast<__m256i*>(close), near);
        for (int k = 0; k < 8 && i + k < n; ++k) {
          int64_t tx = xs[k], ty = ys[k];
          if (close[k]) {
            ties->texel(ties->context, cur.x + i + k, cur.y, tx, ty);
            tx = wrapIndex(tx, s.width);
            ty = wrapIndex(ty, s.height);
          }
          const uint32_t t = s.texels[ty * s.stride + tx];
          out[i + k] = Modulate ? modulate(t, s.color) : t;
        }
        continue;
      }
    }
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(y, stride), x);
    __m256i t = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), base, index, valid, 4);
    if (Modulate) t = modulate8(t, c16);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), t);
  }
  return out;
}

LUM_AVX2_INLINE __m256 channel(__m256i t, int k) {
  return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(t, 8 * k), _mm256_set1_epi32(255)));
}

LUM_AVX2_INLINE __m256 weight(__m256i fraction) {
  return _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fraction, 8)),
                       _mm256_set1_ps(1.0f / 16777216.0f));
}

// The bilinear mix in single precision, in the same order of operations as
// the scalar kernel, so that both give the same bytes.
template <bool Modulate>
const uint32_t* fetchLinear(const SpanSetup& s, int64_t pu, int64_t pv, SpanCursor&,
                            uint32_t* out, int n) {
  const __m256i stride = _mm256_set1_epi32(s.stride), one = _mm256_set1_epi32(1);
  const __m256 fone = _mm256_set1_ps(1.0f), f255 = _mm256_set1_ps(255.0f),
               zero = _mm256_setzero_ps();
  Lanes u(pu, s.du), v(pv, s.dv);
  const int* base = reinterpret_cast<const int*>(s.texels);
  const __m256i none = _mm256_setzero_si256();
  for (int i = 0; i < n; i += 8, u.advance(), v.advance()) {
    const __m256i valid = i + 8 <= n ? _mm256_set1_epi32(-1) : firstLanes(n - i);
    const __m256i i00 = _mm256_add_epi32(_mm256_mullo_epi32(v.whole(), stride), u.whole());
    const __m256i i01 = _mm256_add_epi32(i00, stride);
    const __m256i t00 = _mm256_mask_i32gather_epi32(none, base, i00, valid, 4);
    const __m256i t10 = _mm256_mask_i32gather_epi32(none, base, _mm256_add_epi32(i00, one), valid, 4);
    const __m256i t01 = _mm256_mask_i32gather_epi32(none, base, i01, valid, 4);
    const __m256i t11 = _mm256_mask_i32gather_epi32(none, base, _mm256_add_epi32(i01, one), valid, 4);
    const __m256 wx = weight(u.fraction()), wy = weight(v.fraction());
    const __m256 iwx = _mm256_sub_ps(fone, wx), iwy = _mm256_sub_ps(fone, wy);
    __m256i result = _mm256_setzero_si256();
    for (int k = 0; k < 4; ++k) {
      const __m256 top = _mm256_add_ps(_mm256_mul_ps(channel(t00, k), iwx),
                                       _mm256_mul_ps(channel(t10, k), wx));
      const __m256 bottom = _mm256_add_ps(_mm256_mul_ps(channel(t01, k), iwx),
                                          _mm256_mul_ps(channel(t11, k), wx));
      __m256 m = _mm256_add_ps(_mm256_mul_ps(top, iwy), _mm256_mul_ps(bottom, wy));
      if (Modulate)
        m = _mm256_div_ps(_mm256_mul_ps(m, _mm256_set1_ps(float((s.color >> (8 * k)) & 255))),
                          f255);
      m = _mm256_min_ps(_mm256_max_ps(m, zero), f255);
      result = _mm256_or_si256(result, _mm256_slli_epi32(_mm256_cvtps_epi32(m), 8 * k));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), result);
  }
  return out;
}

LUM_AVX2_INLINE __m256i spreadAlpha(__m256i px16) {
  const __m256i lo = _mm256_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3));
  return _mm256_shufflehi_epi16(lo, _MM_SHUFFLE(3, 3, 3, 3));
}

LUM_AVX2_INLINE __m256i alphaHalf(__m256i s16, __m256i d16) {
  const __m256i a = spreadAlpha(s16);
  const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(s16, a), _mm256_mullo_epi16(d16, ia));
  return div255(_mm256_add_epi16(t, _mm256_set1_epi16(127)));
}

LUM_AVX2_INLINE __m256i additiveHalf(__m256i s16) {
  return div255(_mm256_add_epi16(_mm256_mullo_epi16(s16, spreadAlpha(s16)), _mm256_set1_epi16(127)));
}

// Source alpha of eight pixels: all zero (nothing to do), all 255 (a copy).
LUM_AVX2_INLINE int alphaClass(__m256i s) {
  const __m256i a = _mm256_srli_epi32(s, 24);
  const int none = _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, _mm256_setzero_si256()));
  if (none == -1) return 0;
  const int full = _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, _mm256_set1_epi32(255)));
  return full == -1 ? 2 : 1;
}

LUM_AVX2_INLINE __m256i alphaBlend8(__m256i s, __m256i d) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = alphaHalf(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
  const __m256i hi = alphaHalf(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
  return _mm256_packus_epi16(lo, hi);
}

void blendAlpha(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i* dp = reinterpret_cast<__m256i*>(dest + i);
    switch (alphaClass(s)) {
      case 0: continue;
      case 2: _mm256_storeu_si256(dp, s); continue;
      default: break;
    }
    _mm256_storeu_si256(dp, alphaBlend8(s, _mm256_loadu_si256(dp)));
  }
  if (i < n) {
    const __m256i valid = firstLanes(n - i);
    int* dp = reinterpret_cast<int*>(dest + i);
    const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), valid);
    _mm256_maskstore_epi32(dp, valid, alphaBlend8(s, _mm256_maskload_epi32(dp, valid)));
  }
}

LUM_AVX2_INLINE __m256i additive8(__m256i s, __m256i d) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i add = _mm256_packus_epi16(additiveHalf(_mm256_unpacklo_epi8(s, zero)),
                                          additiveHalf(_mm256_unpackhi_epi8(s, zero)));
  return _mm256_adds_epu8(d, add);
}

void blendAdditive(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    if (alphaClass(s) == 0) continue;
    __m256i* dp = reinterpret_cast<__m256i*>(dest + i);
    _mm256_storeu_si256(dp, additive8(s, _mm256_loadu_si256(dp)));
  }
  if (i < n) {
    const __m256i valid = firstLanes(n - i);
    int* dp = reinterpret_cast<int*>(dest + i);
    const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), valid);
    _mm256_maskstore_epi32(dp, valid, additive8(s, _mm256_maskload_epi32(dp, valid)));
  }
}

}  // namespace

SpanBlend avx2Blend(SpanBlendKind blend) {
  switch (blend) {
    case SpanBlendKind::Alpha: return blendAlpha;
    case SpanBlendKind::Additive: return blendAdditive;
    default: return nullptr;
  }
}

SpanFetch avx2Fetch(SpanSource source, SpanColour colour, bool wrap) {
  if (wrap || colour == SpanColour::Gradient) return nullptr;
  const bool modulate = colour == SpanColour::Constant;
  switch (source) {
    case SpanSource::Point: return modulate ? fetchPoint<true> : fetchPoint<false>;
    case SpanSource::Linear: return modulate ? fetchLinear<true> : fetchLinear<false>;
    case SpanSource::Fill: break;
  }
  return nullptr;
}

#else

SpanBlend avx2Blend(SpanBlendKind) { return nullptr; }
SpanFetch avx2Fetch(SpanSource, SpanColour, bool) { return nullptr; }

#endif

}  // namespace lum::spans
