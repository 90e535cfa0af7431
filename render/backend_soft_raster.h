#pragma once
// The software rasteriser behind the "soft" backend: pretransformed
// triangles and lines into a 32-bit target with pixel centres on integer
// coordinates, the top-left fill rule, point or bilinear sampling with
// wrapping, the modulate rule, alpha test at 1 and every blend factor and
// operation. It is the reference the other backend is compared against.
//
// Triangles are set up once (integer edges, fixed-point texture planes, a
// span kernel chosen for the blend, sampling and colour of the draw call)
// and then filled row by row; a quad whose two triangles share one texture
// plane is filled as one polygon.
#include <cstdint>

#include "render/blend.h"
#include "render/graphics_device.h"

namespace lum {

struct SoftSurface {
  uint32_t* pixels = nullptr;  // 0xAARRGGBB
  int width = 0, height = 0;   // rows are `width` words apart
};

struct SoftTextureView {
  const uint32_t* texels = nullptr;  // texel (0, 0), 0xAARRGGBB
  int width = 0, height = 0;
  int stride = 0;  // words from one row to the next; 0 means `width`
  // Texels of wrapped-around copy kept on every side of the texture, so that
  // samples just outside it need no wrapping arithmetic.
  int border = 0;
  int rowStride() const { return stride ? stride : width; }
};

// Which instruction set the span kernels use.
enum class SoftSimd : uint8_t { Scalar, Sse2, Avx2 };

// The best the processor offers, lowered by LUMRUN_SOFT_SIMD=scalar|sse2.
SoftSimd detectSoftSimd();

struct SoftRasterState {
  BlendState blend;
  bool linearFilter = false;
  const SoftTextureView* texture = nullptr;  // null = untextured
  Viewport clip;
  SoftSimd simd = SoftSimd::Scalar;
};

// Rows [top, bottom) of the target that a call may touch; the rest of the
// clip box is left to other bands.
struct SoftBand {
  int top = 0, bottom = 1 << 30;
};

void softDrawTriangle(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
                      const Vertex& b, const Vertex& c, SoftBand band = {});
// The canvas's quad: triangles (0, 1, 3) and (1, 2, 3).
void softDrawQuad(SoftSurface& target, const SoftRasterState& state, const Vertex* v,
                  SoftBand band = {});
void softDrawLine(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
                  const Vertex& b, SoftBand band = {});

}  // namespace lum
