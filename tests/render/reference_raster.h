#pragma once
// The first software rasteriser, kept as the reference for the fast one.
#include "render/backend_soft_raster.h"

namespace lum::reference {

void drawTriangle(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
                  const Vertex& b, const Vertex& c);
void drawLine(SoftSurface& target, const SoftRasterState& state, const Vertex& a,
              const Vertex& b);

}  // namespace lum::reference
