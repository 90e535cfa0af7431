// Commands that feed the root's table of stars.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/runtime.h"
#include "media/image_cache.h"
#include "render/image.h"

namespace lum::engine {
namespace {

// The optional tail shared by both commands: pattern, colour text, layer
// and effect, from argument `first` on.
struct StarLook {
  int32_t pattern = 0;
  std::string colour;
  int32_t layer = 1000;
  int32_t effect = 260;
};

bool readLook(RoutineCall& c, size_t first, StarLook& look) {
  if (c.Count() > first && !c.Int(first, look.pattern)) return false;
  if (c.Count() > first + 1 && !c.Text(first + 1, look.colour)) return false;
  if (c.Count() > first + 2 && !c.Int(first + 2, look.layer)) return false;
  if (c.Count() > first + 3 && !c.Int(first + 3, look.effect)) return false;
  return true;
}

}  // namespace

bool EngineCommands::AddStar(RoutineCall& c) {
  if (c.Count() < 8 || c.Count() > 12) return false;
  StarMotion m;
  double* fields[] = {&m.angle, &m.x, &m.y, &m.size, &m.angleStep, &m.sizeStep, &m.xStep, &m.yStep};
  for (size_t i = 0; i < 8; ++i) {
    if (!c.Real(i, *fields[i])) return false;
  }
  StarLook look;
  if (!readLook(c, 8, look)) return false;
  c.Return(ScriptValue::Byte(0));
  if (TLumDB* root = rootOf(c)) root->AddStar(look.pattern, look.colour, look.effect, look.layer, m);
  return true;
}

bool EngineCommands::ImStarsR(RoutineCall& c) {
  if (c.Count() < 10 || c.Count() > 14) return false;
  TLumElement* e = nullptr;
  if (elementArgument(c, 0, 10, 14, e) != ElementArg::Found) return false;
  int32_t count = 0, alphaMin = 0, spread = 0;
  double baseSize = 0;
  StarMotion m;
  if (!c.Int(1, count) || !c.Int(2, alphaMin) || !c.Real(3, baseSize) || !c.Int(4, spread) ||
      !c.Real(5, m.sizeStep) || !c.Real(6, m.angle) || !c.Real(7, m.angleStep) ||
      !c.Real(8, m.xStep) || !c.Real(9, m.yStep)) {
    return false;
  }
  StarLook look;
  if (!readLook(c, 10, look)) return false;
  TLumDB* root = rootOf(c);
  Runtime* rt = runtimeOf(c);
  auto* image = dynamic_cast<TLumImage*>(e);
  if (!root || !rt || !image || !image->picture() || !image->picture()->Texture) return true;
  const int32_t w = image->picture()->Texture->VisibleSize().width;
  const int32_t h = image->picture()->Texture->VisibleSize().height;
  if (w <= 0 || h <= 0) return true;
  for (int32_t i = 0; i < count; ++i) {
    Random& random = rt->services.random;
    const int32_t x = static_cast<int32_t>(random.Below(static_cast<uint32_t>(w)));
    const int32_t y = static_cast<int32_t>(random.Below(static_cast<uint32_t>(h)));
    std::optional<uint32_t> pixel = image->FramePixel(image->Anim, x, y);
    if (!pixel || static_cast<int32_t>(*pixel >> 24) < alphaMin) continue;
    const int32_t extra =
        spread > 0 ? static_cast<int32_t>(random.Below(static_cast<uint32_t>(spread))) : 0;
    StarMotion star = m;
    star.x = image->AbsX() + x;
    star.y = image->AbsY() + y;
    star.size = baseSize + extra / 100.0;
    root->AddStar(look.pattern, look.colour, look.effect, look.layer, star);
  }
  return true;
}

}  // namespace lum::engine
