#include "scene/stars.h"

#include <charconv>
#include <numbers>

#include "render/canvas.h"

namespace lum {

void StarTable::AddStar(int32_t pattern, const std::string& colourText, int32_t effect,
                        int32_t layer, const StarMotion& m, Random& random) {
  for (Star& s : stars_) {
    if (s.used) continue;
    s.pattern = pattern;
    s.effect = effect;
    s.layer = layer;
    if (colourText.empty()) {
      s.colour = random.Below(0xFFFFFF);
    } else {
      int64_t v = 0;
      auto [end, ec] = std::from_chars(colourText.data(), colourText.data() + colourText.size(), v);
      if (ec == std::errc() && end == colourText.data() + colourText.size()) {
        s.colour = static_cast<uint32_t>(v);
      }
    }
    s.angle = m.angle;
    s.x = m.x;
    s.y = m.y;
    s.size = m.size;
    s.angleStep = m.angleStep;
    s.sizeStep = m.sizeStep;
    s.xStep = m.xStep;
    s.yStep = m.yStep;
    s.used = true;
    return;
  }
}

void StarTable::UpdateStars() {
  for (Star& s : stars_) {
    if (!s.used) continue;
    s.angle += s.angleStep;
    s.x += s.xStep;
    s.y += s.yStep;
    s.size += s.sizeStep;
    if (!(s.size > 0)) s.used = false;
  }
}

void StarTable::DrawStars(int32_t layer, TAsphyreCanvas& canvas, TAsphyreImage* sheet) const {
  if (!sheet) return;
  for (const Star& s : stars_) {
    if (!s.used || s.layer != layer) continue;
    const uint32_t opaque = s.colour - 0x1000000u;  // wraps: alpha 0xFF
    canvas.DrawPatternRotated(sheet, static_cast<float>(s.x), static_cast<float>(s.y),
                              static_cast<float>(s.angle * std::numbers::pi / 180.0),
                              static_cast<float>(s.size), s.pattern, opaque, 260);
  }
}

size_t StarTable::liveCount() const {
  size_t n = 0;
  for (const Star& s : stars_) n += s.used ? 1 : 0;
  return n;
}

}  // namespace lum
