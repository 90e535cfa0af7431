#pragma once
// One frame of a picture drawn as a scaled, turned quad, trimmed so that
// what reaches the device stays within -1024 to 2048 on each axis. Images
// and animation frames draw their pictures through here.
#include <cstdint>

namespace lum {

class TAsphyreCanvas;
class TAsphyreImage;

struct SpriteQuad {
  int32_t frame = 0;            // frame of the picture
  double cx = 0, cy = 0;        // centre on screen
  double width = 0, height = 0;  // on screen
  // Screen pixels per source pixel, horizontally and vertically.
  double factorX = 1, factorY = 1;
  double angle = 0;  // degrees, clockwise (screen y points down)
  uint32_t colour = 0xFFFFFFFFu;
  uint32_t effect = 0;
};

// Draws with texture filtering on. A quad trimmed away entirely draws
// nothing.
void drawSpriteQuad(TAsphyreCanvas& canvas, TAsphyreImage* texture, const SpriteQuad& sprite);

}  // namespace lum
