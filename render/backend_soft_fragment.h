#pragma once
// Per-pixel shading in floating point: lines, and the blend codes that have
// no integer kernel of their own. Every other path must give the same bytes
// as these functions would.
#include <cstdint>

#include "render/backend_soft_raster.h"

namespace lum {

struct SoftRgba {
  float r, g, b, a;  // 0 ... 255
};

inline SoftRgba softUnpack(uint32_t c) {
  return {float((c >> 16) & 255), float((c >> 8) & 255), float(c & 255), float(c >> 24)};
}

// Rounds to nearest with halves to even, like lrint in the default mode, but
// inline: adding and removing 1.5 * 2^23 leaves the rounded value.
inline float softRoundEven(float v) { return (v + 12582912.0f) - 12582912.0f; }

inline uint8_t softToByte(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint8_t>(softRoundEven(v));
}

inline uint32_t softPack(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

// Blends the shaded source bytes into `dest` by any blend state (the alpha
// test included).
void softBlendPixel(uint32_t& dest, const BlendState& blend, uint32_t src);

// Shades one fragment from an interpolated colour and texture position and
// blends it.
void softShadeFragment(uint32_t& dest, const SoftRasterState& st, const SoftRgba& diffuse,
                       float u, float v);

}  // namespace lum
