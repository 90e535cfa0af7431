// The tower puzzles: a disk is lifted, carried to a column and let down,
// landing only where the size rule allows; the puzzle is solved when every
// disk stands on the right-hand side.
#include <cmath>
#include <cstdlib>

#include "library/games/puzzle_routines.h"
#include "scene/image.h"

namespace lum::games {
namespace {

// What the two tower puzzles do differently.
struct TowerRules {
  int32_t liftTop;       // the lift ends here and the disk bobs down from it by 14
  bool lowerUntilAbove;  // phase 2 lowers the disk until y > dropEnd (else until y >= dropEnd)
  int32_t dropEnd;
  bool widerBelowRefuses;  // the landing rule: false, a narrower disk below refuses
  bool sound;
  int32_t solvedX;
};

constexpr TowerRules kLevel7{100, false, 150, false, true, 500};
constexpr TowerRules kLevel15{0, true, 24, true, false, 450};
constexpr int32_t kBob = 14;
constexpr int32_t kCarryBelow = 150;  // a disk is carried sideways only this high up

int32_t liftPhase(int32_t v, TLumElement& disk, const TowerRules& rules) {
  const int32_t y = disk.Y();
  switch (v) {
    case 1:
      if (y <= rules.liftTop) return 2;
      disk.SetY(y - 10);
      return v;
    case 2:
      if (y > rules.liftTop + kBob) return 3;
      disk.SetY(y + 1);
      return v;
    case 3:
      if (y <= rules.liftTop) return 2;
      disk.SetY(y - 1);
      return v;
    default:
      return v;
  }
}

void carry(TLumElement& disk, int32_t cx) {
  const int32_t x = disk.X();
  if (disk.Y() > kCarryBelow) return;
  double step = (cx - x) / 10.0;
  while (std::fabs(step) < 3) step *= 2;
  int32_t nx = x + roundToInt32(step);
  if (std::abs(cx - nx) < 4) nx = cx;
  disk.SetX(nx);
}

// Phase 3: the landing y over the disks of the column, and whether the size
// rule lets the disk land.
bool landing(TLumElement& disk, TLumElement* holder, TLumElement* base, int32_t cx,
             const TowerRules& rules, int32_t& ty) {
  ty = base ? base->SizeY() + base->Y() - 20 : -20;
  if (!holder) return false;
  const int32_t width = disk.SizeX();
  TLumElement* limit = nullptr;
  for (const auto& other : holder->children()) {
    if (other->X() != cx) continue;
    ty = roundToInt32(ty - 2 - other->SizeY() / 1.276);
    const int32_t w = other->SizeX();
    if (rules.widerBelowRefuses) {
      if (w >= width && (!limit || w > limit->SizeX())) limit = other.get();
    } else {
      if (w <= width && (!limit || w < limit->SizeX())) limit = other.get();
    }
  }
  return limit && limit->SizeX() == width;
}

bool everyDiskAcross(TLumElement* holder, int32_t solvedX) {
  if (!holder || holder->childCount() == 0) return false;
  for (const auto& other : holder->children()) {
    if (other->X() < solvedX) return false;
  }
  return true;
}

void towerStep(TLumImage& e, Puzzle& p, const TowerRules& rules) {
  PuzzlePaths& paths = p.paths;
  TLumElement* disk = paths.element(e, "OBJ");
  if (!disk) return;
  int32_t v = liftPhase(paths.integer(e, "V"), *disk, rules);
  paths.setInteger(e, "V", v);

  const int32_t cx = paths.integer(e, "CX");
  if (disk->X() != cx) {
    carry(*disk, cx);
    return;
  }
  int32_t t = paths.integer(e, "T");
  int32_t ty = paths.integer(e, "TY");
  switch (t) {
    case 1:
      t = 2;
      v = 0;
      break;
    case 2: {
      const int32_t y = disk->Y();
      const bool down = rules.lowerUntilAbove ? y > rules.dropEnd : y >= rules.dropEnd;
      if (down) {
        t = 3;
      } else {
        disk->SetY(y + 5);
      }
      break;
    }
    case 3: {
      TLumElement* holder = paths.element(e, "L.L");
      if (landing(*disk, holder, paths.element(e, "S1"), cx, rules, ty)) {
        t = 4;
      } else {
        t = 0;
        v = 1;
      }
      break;
    }
    case 4:
      disk->SetY(disk->Y() + 10);
      if (disk->Y() >= ty) {
        if (rules.sound) p.playSound("Lev7.LogStop");
        disk->SetY(ty);
        t = 0;
        paths.setInteger(e, "OBJ", 0);
        if (everyDiskAcross(paths.element(e, "L.L"), rules.solvedX)) {
          paths.setInteger(e, "LUMDB.LOGINTERFACE.WIN", 1);
          if (TLumElement* shown = paths.element(e, "LL")) shown->SetVis(true);
          paths.setInteger(e, "LUMDB.LEVEL7.HANOYLOG.VIS", 0);
        }
      }
      break;
    default:
      break;
  }
  paths.setInteger(e, "V", v);
  paths.setInteger(e, "T", t);
  paths.setInteger(e, "TY", ty);
}

}  // namespace

void MagicLev7Log(TLumImage& e, Puzzle& p) { towerStep(e, p, kLevel7); }
void MagicLev15Log(TLumImage& e, Puzzle& p) { towerStep(e, p, kLevel15); }

}  // namespace lum::games
