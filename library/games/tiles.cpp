// Tile rows that slide sideways and wrap round, and the tiles that fly in
// from the right to line up one after another.
#include <algorithm>
#include <cstdlib>

#include "library/games/puzzle_routines.h"
#include "scene/image.h"

namespace lum::games {
namespace {

constexpr int32_t kPitch = 82;  // from one tile of a row to the next
constexpr int32_t kSlideStep = 10;

// Slides the row by the step its variable "DX" still owes; true while it
// owes more after this step.
bool slide(TLumElement& row, Puzzle& p) {
  const int32_t owed = p.paths.integer(row, "DX");
  if (owed == 0) return false;
  const int32_t step = std::clamp(owed, -kSlideStep, kSlideStep);
  const auto count = static_cast<int32_t>(row.childCount());
  const int32_t width = count * kPitch;
  for (const auto& tile : row.children()) {
    int32_t x = tile->X() + step;
    // A tile that leaves the row by half a tile comes in at the other end.
    if (x < -kPitch / 2) x += width;
    if (x >= width - kPitch / 2) x -= width;
    tile->SetX(x);
  }
  p.paths.setInteger(row, "DX", owed - step);
  return owed != step;
}

// Solved when every row stands still with its tiles in child order, the
// first at x 0.
bool inOrder(TLumElement& row) {
  for (size_t i = 0; i < row.childCount(); ++i) {
    if (row.child(i)->X() != static_cast<int32_t>(i) * kPitch) return false;
  }
  return true;
}

}  // namespace

void MagicLev6InLog(TLumImage& e, Puzzle& p) {
  if (e.childCount() == 0) return;
  bool moving = false;
  for (const auto& row : e.children()) moving = slide(*row, p) || moving;
  if (moving) return;
  for (const auto& row : e.children()) {
    if (!inOrder(*row)) return;
  }
  p.paths.setInteger(e, "LUMDB.LOGINTERFACE.WIN", 1);
}

void MagicLev6InLogO(TLumImage& e, Puzzle& p) {
  const int32_t trans = transOf(e, p);
  if (trans != 255) {
    const int32_t raised = std::min(trans + 25, 255);
    setTrans(e, p, raised);
    if (TLumElement* shadow = p.paths.element(e, "S")) setTrans(*shadow, p, raised / 4);
  }
  int32_t target = 10;
  const int32_t position = p.paths.integer(e, "PARPOS");
  if (position > 1 && e.parent() && static_cast<size_t>(position - 2) < e.parent()->childCount()) {
    target = e.parent()->child(static_cast<size_t>(position - 2))->X() + 85;
  }
  if (e.X() > target) e.SetX(std::max(target, e.X() - 17));
}

}  // namespace lum::games
