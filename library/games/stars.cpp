// Star bursts over a picture: single rising stars on its edge, or a star on
// every few pixels of its opaque part in that pixel's colour.
#include <optional>
#include <string>

#include "library/games/puzzle_routines.h"
#include "media/image_cache.h"
#include "platform/random.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/image.h"

namespace lum::games {
namespace {

constexpr int32_t kPattern = 2;
constexpr int32_t kEffect = 0x104;
constexpr int32_t kLayer = 1000;

struct FrameSize {
  int32_t w = 0, h = 0;
};

std::optional<FrameSize> frameSize(const TLumImage& e) {
  if (!e.picture() || !e.picture()->Texture) return std::nullopt;
  const SizeI size = e.picture()->Texture->VisibleSize();
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  return FrameSize{size.width, size.height};
}

int32_t alphaAt(const TLumImage& e, int32_t x, int32_t y) {
  const std::optional<uint32_t> pixel = e.FramePixel(e.Anim, x, y);
  return pixel ? static_cast<int32_t>(*pixel >> 24) : 0;
}

// A star of random colour that rises from (x, y) of the picture.
void risingStar(TLumImage& e, Puzzle& p, int32_t x, int32_t y) {
  Random& random = p.random();
  const std::string colour = std::to_string(random.Below(0xFFFFFF));
  StarMotion star;
  star.x = e.AbsX() + x;
  star.y = e.AbsY() + y;
  star.angle = random.Below(360);
  star.size = 0.5 + random.Below(50) / 100.0;
  star.angleStep = random.Between(-5, 4);
  star.sizeStep = -0.02;
  star.xStep = 0;
  star.yStep = -1;
  p.root.AddStar(kPattern, colour, kEffect, kLayer, star);
}

// Stars on every `step`-th pixel (both ways) whose alpha is above 100,
// each in its pixel's colour. Sample points past the picture are skipped.
void starsAll(TLumImage& e, Puzzle& p, int32_t step, double sizeStep) {
  const std::optional<FrameSize> size = frameSize(e);
  if (!size) return;
  Random& random = p.random();
  for (int32_t i = 0; i <= size->w / step; ++i) {
    for (int32_t j = 0; j <= size->h / step; ++j) {
      const int32_t x = i * step, y = j * step;
      if (x >= size->w || y >= size->h) continue;
      const std::optional<uint32_t> pixel = e.FramePixel(e.Anim, x, y);
      if (!pixel || (*pixel >> 24) <= 100) continue;
      StarMotion star;
      star.x = e.AbsX() + x;
      star.y = e.AbsY() + y;
      star.size = 1.5 + random.Below(50) / 100.0;
      star.angle = random.Below(360);
      star.angleStep = random.Between(-5, 4);
      star.sizeStep = sizeStep;
      p.root.AddStar(kPattern, std::to_string(*pixel & 0xFFFFFF), kEffect, kLayer, star);
    }
  }
}

}  // namespace

void StarsToUp(TLumImage& e, Puzzle& p) {
  const std::optional<FrameSize> size = frameSize(e);
  if (!size) return;
  const auto x = static_cast<int32_t>(p.random().Below(static_cast<uint32_t>(size->w)));
  const int32_t last = size->h - 2;
  int32_t y = 0;
  while (y <= last && alphaAt(e, x, y) <= 100) ++y;
  while (y <= last && alphaAt(e, x, y) > 99) ++y;
  if (y > last) return;
  risingStar(e, p, x, y);
}

void StarsTopToUp(TLumImage& e, Puzzle& p) {
  const std::optional<FrameSize> size = frameSize(e);
  if (!size) return;
  const auto x = static_cast<int32_t>(p.random().Below(static_cast<uint32_t>(size->w)));
  for (int32_t y = 0; y < size->h; ++y) {
    if (alphaAt(e, x, y) == 255) {
      risingStar(e, p, x, y);
      return;
    }
  }
}

void StarsAll(TLumImage& e, Puzzle& p) { starsAll(e, p, 10, -0.015); }
void StarsAll2(TLumImage& e, Puzzle& p) { starsAll(e, p, 3, -0.015); }

}  // namespace lum::games
