#pragma once
// The software rasteriser behind the "soft" backend: pretransformed
// triangles and lines into a 32-bit target with pixel centres on integer
// coordinates, the top-left fill rule, point or bilinear sampling with
// wrapping, the modulate rule, alpha test at 1 and every blend factor and
// operation. It is the reference the other backend is compared against.
#include <cstdint>

#include "render/blend.h"
#include "render/graphics_device.h"

namespace lum {

struct SoftSurface {
  uint32_t* pixels = nullptr;  // 0xAARRGGBB
  int width = 0, height = 0;   // rows are `width` words apart
};

struct SoftTextureView {
  const uint32_t* texels = nullptr;  // 0xAARRGGBB
  int width = 0, height = 0;
};

struct SoftRasterState {
  BlendState blend;
  bool linearFilter = false;
  const SoftTextureView* texture = nullptr;  // null = untextured
  Viewport clip;
};

void softDrawTriangle(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
                      const Vertex& b, const Vertex& c);
void softDrawLine(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
                  const Vertex& b);

}  // namespace lum
