// Falling gems: cells of a column fade in, fall into place and are refilled
// from above; and the labelling of groups of equal gems on the 9 x 9 board.
#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "library/games/puzzle_routines.h"
#include "platform/random.h"
#include "scene/image.h"

namespace lum::games {
namespace {

// What the two games' columns do differently.
struct GemRules {
  int32_t rowLimit;      // an ordinary cell falls while its y is below this
  int32_t specialLimit;  // a special cell falls while its y is below this, then leaves
  int32_t specialFrom;   // frames from here on are special ...
  int32_t specialTo;     // ... up to here, inclusive
  std::string_view coloursPath;
};

constexpr GemRules kMagic{400, 450, 12, INT32_MAX, ".COLS"};
constexpr GemRules kBramble{70, 120, 4, 4, "..COLS"};
constexpr int32_t kCellPitch = 50;

bool special(int32_t frame, const GemRules& rules) {
  return frame >= rules.specialFrom && frame <= rules.specialTo;
}

TLumElement* markerOf(TLumElement& cell) { return cell.childCount() > 1 ? cell.child(1) : nullptr; }

// Step 1: markers tagged "*" fade in, the others fade out, 50 a call.
void fadeMarkers(TLumImage& column, Puzzle& p) {
  for (size_t i = column.childCount(); i-- > 0;) {
    TLumElement* marker = markerOf(*column.child(i));
    if (!marker) continue;
    const int32_t trans = transOf(*marker, p);
    if (marker->Tag == "*") {
      if (trans < 250) setTrans(*marker, p, trans + 50);
    } else if (trans > 0) {
      setTrans(*marker, p, trans - 50);
    }
  }
}

void setMoving(TLumImage& column, Puzzle& p) {
  p.paths.setInteger(column, "MOVING", 1);
  p.paths.setInteger(column, ".MOVING", 1);
}

void fallingGems(TLumImage& column, Puzzle& p, const GemRules& rules) {
  fadeMarkers(column, p);
  if (p.paths.integer(column, "MOVING") == 0) return;
  p.paths.setInteger(column, "MOVING", 0);
  const size_t count = column.childCount();
  for (size_t i = count; i-- > 0;) {
    TLumElement& cell = *column.child(i);
    int32_t trans = transOf(cell, p);
    if (trans != 0) {
      const bool firstHidden = cell.childCount() > 0 && !cell.child(0)->Vis();
      if (trans != 255 && firstHidden && cell.Y() >= 0) {
        setTrans(cell, p, trans + 25);
        setMoving(column, p);
      }
      const int32_t frame = frameOf(cell);
      const bool isSpecial = special(frame, rules);
      const int32_t limit = isSpecial ? rules.specialLimit : rules.rowLimit;
      if (cell.Y() < limit) {
        TLumElement* before = i > 0 ? column.child(i - 1) : nullptr;
        const bool blocked =
            before && transOf(*before, p) != 0 && before->Y() == cell.Y() + kCellPitch;
        if (!blocked) {
          cell.SetY(cell.Y() + 10);
          setMoving(column, p);
        }
      }
      if (isSpecial && cell.Y() >= rules.specialLimit) {
        p.paths.setInteger(column, ".B" + column.Tag + ".VIS", 1);
        setTrans(cell, p, 0);
      }
      continue;
    }
    // An empty cell is refilled above the highest one.
    int32_t top = 1000;
    for (const auto& other : column.children()) top = std::min(top, other->Y());
    cell.SetY(top - kCellPitch);
    setTrans(cell, p, 5);
    const int32_t colours = p.paths.integer(column, rules.coloursPath);
    const auto frame = static_cast<int32_t>(p.random().Below(colours > 0 ? colours : 0));
    if (auto* image = dynamic_cast<TLumImage*>(&cell)) image->Anim = frame;
    if (auto* marker = dynamic_cast<TLumImage*>(markerOf(cell))) marker->Anim = frame + 6;
    setMoving(column, p);
  }
}

// The board of group labelling: row r is the sibling "L" + (r + 1), cell c
// its child c; missing cells are left out.
constexpr int kBoard = 9;
using Board = std::array<std::array<TLumImage*, kBoard>, kBoard>;

Board boardOf(TLumElement& e) {
  Board board{};
  TLumElement* parent = e.parent();
  for (int r = 0; r < kBoard && parent; ++r) {
    TLumElement* row = parent->FindChildById("L" + std::to_string(r + 1));
    for (int c = 0; row && c < kBoard && static_cast<size_t>(c) < row->childCount(); ++c) {
      board[r][c] = dynamic_cast<TLumImage*>(row->child(static_cast<size_t>(c)));
    }
  }
  return board;
}

int labelOf(const TLumImage& cell) {
  if (cell.Tag.empty() || cell.Tag == "x") return -1;
  return std::atoi(cell.Tag.c_str());
}

}  // namespace

void MagicLev6_1(TLumImage& column, Puzzle& p) { fallingGems(column, p, kMagic); }
void BrambleShar_1(TLumImage& column, Puzzle& p) { fallingGems(column, p, kBramble); }

void MagicLev6_2(TLumElement& e, Puzzle& p) {
  Board board = boardOf(e);
  for (auto& row : board) {
    for (TLumImage* cell : row) {
      if (!cell) continue;
      cell->Tag.clear();
      if (cell->Anim >= 6 && cell->Anim <= 11) cell->Anim -= 6;
    }
  }
  // Labels spread to equal right-hand and lower neighbours, the larger label
  // winning, until nothing changes; a cell with no equal neighbour that way
  // (and none that labelled it) is alone: "x".
  bool changed = true;
  while (changed) {
    changed = false;
    for (int r = 0; r < kBoard; ++r) {
      for (int c = 0; c < kBoard; ++c) {
        TLumImage* cell = board[r][c];
        if (!cell || cell->Tag == "x") continue;
        const bool fresh = cell->Tag.empty();
        if (fresh) {
          cell->Tag = std::to_string(r + c * kBoard);
          changed = true;
        }
        bool equalNeighbour = false;
        TLumImage* neighbours[] = {c + 1 < kBoard ? board[r][c + 1] : nullptr,
                                   r + 1 < kBoard ? board[r + 1][c] : nullptr};
        for (TLumImage* n : neighbours) {
          if (!n || n->Tag == "x" || n->Anim != cell->Anim) continue;
          equalNeighbour = true;
          const int larger = std::max(labelOf(*cell), labelOf(*n));
          const std::string label = std::to_string(larger);
          if (cell->Tag != label || n->Tag != label) {
            cell->Tag = label;
            n->Tag = label;
            changed = true;
          }
        }
        if (fresh && !equalNeighbour) cell->Tag = "x";
      }
    }
  }
  std::map<std::string, int> sizes;
  for (auto& row : board) {
    for (TLumImage* cell : row) {
      if (cell && cell->Tag != "x") ++sizes[cell->Tag];
    }
  }
  for (auto& row : board) {
    for (TLumImage* cell : row) {
      if (cell && cell->Tag != "x" && sizes[cell->Tag] < 3) cell->Tag = "x";
    }
  }
  p.paths.setInteger(e, "MMX", -1);
  e.MouseMove();
}

}  // namespace lum::games
