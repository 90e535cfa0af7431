// SSE2 span kernels: the blends, four pixels at a time. SSE2 is part of
// every 64-bit x86 processor, so these need no check before use.
#include "render/backend_soft_spans.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lum::spans {

#if defined(__SSE2__)
namespace {

// x / 255 rounded down, exact for x below 65536, on 16-bit lanes.
inline __m128i div255(__m128i x) { return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7); }

// Each pixel's alpha spread over its four 16-bit channel lanes.
inline __m128i spreadAlpha(__m128i px16) {
  const __m128i lo = _mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3));
  return _mm_shufflehi_epi16(lo, _MM_SHUFFLE(3, 3, 3, 3));
}

inline bool allTransparent(__m128i s) {
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(s, 24), _mm_setzero_si128())) == 0xFFFF;
}

// s * a + d * (255 - a) + 127, over 255, for two pixels in 16-bit lanes.
inline __m128i alphaPair(__m128i s16, __m128i d16) {
  const __m128i a = spreadAlpha(s16);
  const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(255), a);
  __m128i t = _mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_mullo_epi16(d16, ia));
  return div255(_mm_add_epi16(t, _mm_set1_epi16(127)));
}

inline __m128i additivePair(__m128i s16) {
  const __m128i a = spreadAlpha(s16);
  return div255(_mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_set1_epi16(127)));
}

void blendAlpha(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  const __m128i zero = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (allTransparent(s)) continue;
    __m128i* dp = reinterpret_cast<__m128i*>(dest + i);
    const __m128i d = _mm_loadu_si128(dp);
    const __m128i lo = alphaPair(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = alphaPair(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(dp, _mm_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) {
    const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(src[i])), zero);
    const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(dest[i])), zero);
    dest[i] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(alphaPair(s, d), zero)));
  }
}

void blendAdditive(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n) {
  const __m128i zero = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (allTransparent(s)) continue;
    __m128i* dp = reinterpret_cast<__m128i*>(dest + i);
    const __m128i add = _mm_packus_epi16(additivePair(_mm_unpacklo_epi8(s, zero)),
                                         additivePair(_mm_unpackhi_epi8(s, zero)));
    _mm_storeu_si128(dp, _mm_adds_epu8(_mm_loadu_si128(dp), add));
  }
  for (; i < n; ++i) {
    const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(src[i])), zero);
    const __m128i add = _mm_packus_epi16(additivePair(s), zero);
    dest[i] = uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(int(dest[i])), add)));
  }
}

}  // namespace

SpanBlend sse2Blend(SpanBlendKind blend) {
  switch (blend) {
    case SpanBlendKind::Alpha: return blendAlpha;
    case SpanBlendKind::Additive: return blendAdditive;
    default: return nullptr;
  }
}

SpanFetch sse2Fetch(SpanSource, SpanColour, bool) { return nullptr; }

#else

SpanBlend sse2Blend(SpanBlendKind) { return nullptr; }
SpanFetch sse2Fetch(SpanSource, SpanColour, bool) { return nullptr; }

#endif

}  // namespace lum::spans
