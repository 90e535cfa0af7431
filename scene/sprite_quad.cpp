#include "scene/sprite_quad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/canvas.h"
#include "render/image.h"
#include "scene/element.h"

namespace lum {
namespace {

// Source pixels to cut from the near and far side so that a quad centred at
// q with half extent half stays within -1024 to 2048.
void trim(double q, double half, double factor, int32_t& nearCut, int32_t& farCut) {
  nearCut = farCut = 0;
  if (factor == 0) return;
  if (q - half < -1024) nearCut = std::max(0, roundToInt32((-1024 - (q - half)) / factor) - 1);
  if (q + half > 2048) farCut = std::max(0, roundToInt32((q + half - 2048) / factor) + 1);
}

}  // namespace

void drawSpriteQuad(TAsphyreCanvas& canvas, TAsphyreImage* tex, const SpriteQuad& s) {
  canvas.SetAntialias(true);
  double qx = s.cx, qy = s.cy, w = s.width, h = s.height;
  // The quad turns about the centre of the untrimmed picture.
  const double hw = w / 2, hh = h / 2;
  int32_t left, right, top, bottom;
  trim(qx, hw, s.factorX, left, right);
  trim(qy, hh, s.factorY, top, bottom);
  qx += s.factorX * left;
  w -= s.factorX * (left + right);
  qy += s.factorY * top;
  h -= s.factorY * (top + bottom);
  const int32_t srcW = tex->PatternSize().width - left - right;
  const int32_t srcH = tex->PatternSize().height - top - bottom;
  if (srcW < 1 || srcH < 1) return;  // trimmed away entirely
  PatternDesc source{s.frame, left, top, srcW, srcH, 0};

  Quad quad;
  if (s.angle != 0) {
    const double a = s.angle * std::numbers::pi / 180.0;
    const double c = std::cos(a), sn = std::sin(a);
    const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i) {
      double x = corners[i][0] - hw, y = corners[i][1] - hh;
      quad[i] = Point2{static_cast<float>(x * c - y * sn + qx),
                       static_cast<float>(x * sn + y * c + qy)};
    }
  } else {
    const float l = static_cast<float>(qx - hw), t = static_cast<float>(qy - hh);
    const float r = static_cast<float>(qx - hw + w), b = static_cast<float>(qy - hh + h);
    quad = Quad{Point2{l, t}, Point2{r, t}, Point2{r, b}, Point2{l, b}};
  }
  canvas.TexturedQuad(tex, quad, source, QuadColors{s.colour, s.colour, s.colour, s.colour},
                      s.effect);
}

}  // namespace lum
