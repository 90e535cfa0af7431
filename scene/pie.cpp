#include "scene/pie.h"

#include <cmath>
#include <numbers>

#include "scene/element.h"

namespace lum {
namespace {

// The angle of a point around the centre, clockwise from twelve o'clock, in
// 0 to 2 pi.
double clockAngle(double dx, double dy) {
  double a = std::atan2(dx, -dy);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

}  // namespace

Picture paintPie(int32_t width, int32_t height, double p1, double p2) {
  Picture pic = Picture::blank(width, height, PixelFormat::A8R8G8B8);
  const double cx = width / 2.0, cy = height / 2.0;
  // The radial end points, rounded to pixels as a drawing call gets them.
  const int32_t x1 = roundToInt32(cx * (1 + std::sin(p1))), y1 = roundToInt32(cy * (1 - std::cos(p1)));
  const int32_t x2 = roundToInt32(cx * (1 + std::sin(p2))), y2 = roundToInt32(cy * (1 - std::cos(p2)));
  const bool whole = x1 == x2 && y1 == y2;
  const double a1 = clockAngle(x1 - cx, y1 - cy), a2 = clockAngle(x2 - cx, y2 - cy);
  const double twoPi = 2 * std::numbers::pi;
  // Counter-clockwise on screen from a1 to a2 is clockwise from a2 to a1.
  const double span = std::fmod(a1 - a2 + twoPi, twoPi);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = pic.row(y);
    for (int32_t x = 0; x < width; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      bool inside = (dx * dx) / (cx * cx) + (dy * dy) / (cy * cy) <= 1.0;
      if (inside && !whole) inside = std::fmod(a1 - clockAngle(dx, dy) + twoPi, twoPi) <= span;
      const uint8_t v = inside ? 0xFF : 0x00;
      row[x * 4 + 0] = row[x * 4 + 1] = row[x * 4 + 2] = v;
      row[x * 4 + 3] = 0xFF;
    }
  }
  return pic;
}

}  // namespace lum
