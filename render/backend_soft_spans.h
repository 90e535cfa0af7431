#pragma once
// Span kernels: the inner loops of the software rasteriser, chosen once per
// draw call by what the call needs (fill or texture, point or bilinear
// sampling, wrapping, white, constant or interpolated colour, blend code)
// and by the instruction set. A span is fetched into source colours, then
// blended into the row.
#include <cstdint>

#include "render/backend_soft_raster.h"

namespace lum {

// Fixed point of texture positions: 32 fraction bits of a texel.
inline constexpr int kTexelShift = 32;
inline constexpr int64_t kTexelOne = int64_t(1) << kTexelShift;

// Point sampling exactly on a texel boundary: which texel the position
// computed in single-precision floating point, as the first renderer did,
// falls into. Those positions are the only ones where that rounding decides.
struct SpanTieBreak {
  bool (*texel)(const void* context, int x, int y, int64_t& tx, int64_t& ty) = nullptr;
  const void* context = nullptr;
  int64_t nearU = 0, nearV = 0;  // fixed-point distances from a boundary that count
};

// What stays the same along every span of one primitive.
struct SpanSetup {
  const uint32_t* texels = nullptr;  // texel (0, 0)
  int stride = 0, width = 0, height = 0;
  int64_t du = 0, dv = 0;  // per pixel, in texel fixed point
  uint32_t color = 0;      // the constant colour, 0xAARRGGBB
  const uint32_t* colorRow = nullptr;  // kSpanBuffer copies of it, for fills
  double dc[4] = {};       // colour step per pixel; channels b, g, r, a
  BlendState blend;
  const SpanTieBreak* ties = nullptr;  // point sampling only
  // The blend leaves the pixel alone for a source alpha of 0, so texels of
  // alpha 0 need no shading.
  bool clearIsNothing = false;
};

// Where a span starts, besides its texture position; gradient kernels move
// the colour along.
struct SpanCursor {
  double c[4] = {};  // colour, channels b, g, r, a
  int x = 0, y = 0;  // the pixel
};

// Fills `out` with n source colours and returns them, or returns a pointer
// straight into the texture when the span is a plain row of it. The
// texture position (u, v) is in texel fixed point; bilinear positions are
// already moved half a texel back, to the first texel's centre. It comes in
// registers: a cursor just written field by field and read back whole
// would stall every span.
using SpanFetch = const uint32_t* (*)(const SpanSetup&, int64_t u, int64_t v, SpanCursor&,
                                      uint32_t* out, int n);
using SpanBlend = void (*)(const SpanSetup&, const uint32_t* src, uint32_t* dest, int n);

enum class SpanSource : uint8_t { Fill, Point, Linear };
enum class SpanColour : uint8_t { White, Constant, Gradient };
enum class SpanBlendKind : uint8_t { Copy, Alpha, Additive, General };

struct SpanKernel {
  SpanFetch fetch = nullptr;
  SpanBlend blend = nullptr;
};

SpanBlendKind spanBlendKind(const BlendState& blend);
// `wrap` asks for the fetch that wraps every texel position; without it the
// positions must stay within the texture and its border.
SpanKernel chooseSpanKernel(SoftSimd simd, SpanSource source, SpanColour colour, bool wrap,
                            SpanBlendKind blend);

// Longest run a kernel is handed at once. Fetch buffers hold a few more
// pixels than that, which kernels working in groups may write.
inline constexpr int kSpanChunk = 256;
inline constexpr int kSpanBuffer = kSpanChunk + 16;

namespace spans {
// The instruction-set variants; each returns null for what it does not do.
SpanFetch sse2Fetch(SpanSource source, SpanColour colour, bool wrap);
SpanBlend sse2Blend(SpanBlendKind blend);
SpanFetch avx2Fetch(SpanSource source, SpanColour colour, bool wrap);
SpanBlend avx2Blend(SpanBlendKind blend);
bool avx2Usable();
}  // namespace spans

}  // namespace lum
