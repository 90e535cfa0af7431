// Progress of the hidden-object levels: what a level screen's items can
// yield, what the player has collected, and the bars that show it.
#include <string>
#include <vector>

#include "library/games/puzzle_routines.h"
#include "platform/ascii_case.h"
#include "scene/anim.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/runtime.h"
#include "scene/screen.h"
#include "script/pool.h"

namespace lum::games {
namespace {

enum class ItemKind { Krist, Find, Act, Log };

struct Item {
  ItemKind kind;
  TLumElement* element;
  bool visible;
  int number = 0;  // ACT and LOG items: 1, 2, ... in screen order, per kind

  int32_t worth() const { return kind == ItemKind::Act ? 5 : 10; }
  std::string flag() const {
    return (kind == ItemKind::Act ? "A[" : "LG[") + std::to_string(number) + "]";
  }
};

bool actOrLog(const TLumElement& e, ItemKind& kind) {
  if (sameText(e.Tag, "ACT")) {
    kind = ItemKind::Act;
    return true;
  }
  if (sameText(e.Tag, "LOG")) {
    kind = ItemKind::Log;
    return true;
  }
  return false;
}

// The items of a level screen in child order; containers give their ACT
// and LOG children, visible only while the container is too.
std::vector<Item> itemsOf(TLumElement& screen) {
  std::vector<Item> items;
  int acts = 0, logs = 0;
  auto add = [&](ItemKind kind, TLumElement* e, bool visible) {
    Item item{kind, e, visible};
    if (kind == ItemKind::Act) item.number = ++acts;
    if (kind == ItemKind::Log) item.number = ++logs;
    items.push_back(item);
  };
  for (const auto& child : screen.children()) {
    if (!dynamic_cast<TLumImage*>(child.get())) continue;
    ItemKind kind;
    if (sameText(child->Id, "Krist")) {
      add(ItemKind::Krist, child.get(), child->Vis());
    } else if (sameText(child->Tag, "FIND")) {
      add(ItemKind::Find, child.get(), child->Vis());
    } else if (actOrLog(*child, kind)) {
      add(kind, child.get(), child->Vis());
    } else {
      for (const auto& inner : child->children()) {
        if (actOrLog(*inner, kind)) add(kind, inner.get(), inner->Vis() && child->Vis());
      }
    }
  }
  return items;
}

// What the player has collected on the screen. With `markSeen`, an ACT or
// LOG item seen for the first time gets its flag.
int32_t collected(TLumElement& screen, Puzzle& p, bool markSeen) {
  int32_t points = 0;
  for (const Item& item : itemsOf(screen)) {
    switch (item.kind) {
      case ItemKind::Krist:
        if (!item.visible) points += 3;
        break;
      case ItemKind::Find:
        for (const auto& thing : item.element->children()) {
          if (!thing->Vis() || (hasTrans(*thing, p) && transOf(*thing, p) < 255)) points += 1;
        }
        break;
      case ItemKind::Act:
      case ItemKind::Log: {
        const int32_t flag = p.paths.integer(screen, item.flag());
        if (item.visible && flag == 0) {
          if (markSeen) p.paths.setInteger(screen, item.flag(), 1);
        } else if (!item.visible && flag == 1) {
          points += item.worth();
        }
        break;
      }
    }
  }
  return points;
}

// Runs the start script of the completion animation as starting it would.
void runStartScript(TLumElement& e, Puzzle& p) {
  auto* anim = dynamic_cast<TLumAnim*>(&e);
  if (anim) p.runtime.services.pool.RunEvent(&anim->script(), anim->exStart.prepared, nullptr);
}

}  // namespace

void MagicLevProg(TLumScreen& screen, Puzzle& p) {
  int32_t total = 0;
  for (const Item& item : itemsOf(screen)) {
    switch (item.kind) {
      case ItemKind::Krist:
        total += 3;
        break;
      case ItemKind::Find:
        total += static_cast<int32_t>(item.element->childCount());
        break;
      case ItemKind::Act:
      case ItemKind::Log:
        total += item.worth();
        p.paths.setInteger(screen, item.flag(), item.visible ? 1 : 0);
        break;
    }
  }
  p.paths.setInteger(screen, "ENDCN", total);
  p.paths.setInteger(screen, "ENDAN", 0);
}

void MagicGIProg(TLumImage& bar, Puzzle& p) {
  TLumElement* screen = p.paths.element(bar, ".SCR");
  if (!screen) return;
  const int32_t points = collected(*screen, p, true);
  const int32_t end = p.paths.integer(*screen, "ENDCN");
  p.paths.setReal(bar, "SCALEX", end == 0 ? 0.0 : static_cast<double>(points) / end);
  const int32_t v = p.paths.real(bar, "SCALEX") != 1.0 ? 1 : 0;
  p.paths.setInteger(bar, ".PRB.VIS", v);
  p.paths.setInteger(bar, ".PRF.VIS", v);
  p.paths.setInteger(bar, "HXTRANS", v * 255);
  if (p.paths.integer(bar, "HXTRANS") != 0) {
    p.paths.setInteger(bar, ".PRAN.VIS", 0);
    return;
  }
  // The bar is full: the completion animation starts once per level.
  if (p.paths.integer(*screen, "ENDAN") != 0) return;
  p.paths.setInteger(bar, ".PRAN.ACTIVE", 1);
  p.paths.setInteger(bar, ".PRAN.POS", 0);
  if (TLumElement* anim = p.paths.element(bar, ".PRAN")) runStartScript(*anim, p);
  p.paths.setInteger(bar, ".PRAN.VIS", 1);
  p.paths.setInteger(*screen, "ENDAN", 1);
}

void MagicMapProg(TLumImage& bar, Puzzle& p) {
  int32_t points = 0, end = 0;
  for (const auto& child : p.root.children()) {
    if (!dynamic_cast<TLumScreen*>(child.get())) continue;
    const std::string id = upperAscii(child->Id);
    if (id.rfind("LEVEL", 0) != 0 || id.find("LOG") != std::string::npos) continue;
    points += collected(*child, p, false);
    end += p.paths.integer(*child, "ENDCN");
  }
  p.paths.setReal(bar, "SCALEX", end == 0 ? 0.0 : static_cast<double>(points) / end);
}

}  // namespace lum::games
