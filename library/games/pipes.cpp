// The pipe puzzle: tiles turn in steps of 10 degrees, and water runs from
// the top-left tile through sides open on both neighbours; it is solved
// when it leaves through the bottom of the bottom-right tile.
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "library/games/puzzle_routines.h"
#include "scene/image.h"

namespace lum::games {
namespace {

constexpr int kGrid = 6;
using Tiles = std::array<std::array<TLumImage*, kGrid>, kGrid>;

// Sides in the order of a tile's Tag: right, down, left, up.
constexpr int kRows[4] = {0, 1, 0, -1};
constexpr int kCols[4] = {1, 0, -1, 0};
constexpr int32_t kAngles[4] = {0, 90, 180, 270};

Tiles tilesOf(TLumElement& e) {
  Tiles tiles{};
  for (int r = 0; r < kGrid && static_cast<size_t>(r) < e.childCount(); ++r) {
    TLumElement& row = *e.child(static_cast<size_t>(r));
    for (int c = 0; c < kGrid && static_cast<size_t>(c) < row.childCount(); ++c) {
      tiles[r][c] = dynamic_cast<TLumImage*>(row.child(static_cast<size_t>(c)));
    }
  }
  return tiles;
}

bool multipleOf90(double angle) { return roundToInt32(angle) % 90 == 0; }

void turn(const Tiles& tiles) {
  for (const auto& row : tiles) {
    for (TLumImage* tile : row) {
      if (!tile || multipleOf90(tile->Angle())) continue;
      tile->SetAngle(tile->Angle() + 10);
      if (multipleOf90(tile->Angle()) && !tile->Tag.empty()) {
        tile->Tag = tile->Tag.back() + tile->Tag.substr(0, tile->Tag.size() - 1);
      }
    }
  }
}

// Whether side s of the cell (r, c) is open; outside the grid only the cell
// above the top-left tile and the one below the bottom-right tile are.
bool open(const Tiles& tiles, int r, int c, int side) {
  if (r == -1 && c == 0) return true;
  if (r == kGrid && c == kGrid - 1) return true;
  if (r < 0 || c < 0 || r >= kGrid || c >= kGrid || !tiles[r][c]) return false;
  const std::string& tag = tiles[r][c]->Tag;
  return static_cast<size_t>(side) < tag.size() && tag[static_cast<size_t>(side)] == '1';
}

struct Leak {
  int r, c, side;
};

struct Flow {
  std::array<std::array<bool, kGrid>, kGrid> reached{};
  std::optional<Leak> leak;  // the first one met
  bool started = false;
  bool exit = false;
};

void fill(const Tiles& tiles, int r, int c, Flow& flow) {
  flow.reached[r][c] = true;
  for (int side = 0; side < 4; ++side) {
    if (!open(tiles, r, c, side)) continue;
    const int nr = r + kRows[side], nc = c + kCols[side];
    if (!open(tiles, nr, nc, (side + 2) % 4)) {
      if (!flow.leak) flow.leak = Leak{r, c, side};
      continue;
    }
    if (nr >= 0 && nc >= 0 && nr < kGrid && nc < kGrid && !flow.reached[nr][nc]) {
      fill(tiles, nr, nc, flow);
    }
  }
}

Flow flowOf(const Tiles& tiles) {
  Flow flow;
  if (!open(tiles, 0, 0, 3)) return flow;
  flow.started = true;
  fill(tiles, 0, 0, flow);
  flow.exit = flow.reached[kGrid - 1][kGrid - 1] && open(tiles, kGrid - 1, kGrid - 1, 1);
  return flow;
}

// The overlay shows each tile's picture in its "full" frame (+ 6), turned
// with it, opaque where the water got to.
void showOverlay(TLumElement* overlay, const Tiles& tiles, const Flow& flow, Puzzle& p) {
  if (!overlay) return;
  const Tiles shown = tilesOf(*overlay);
  for (int r = 0; r < kGrid; ++r) {
    for (int c = 0; c < kGrid; ++c) {
      TLumImage* o = shown[r][c];
      if (!o || !tiles[r][c]) continue;
      o->SetAngle(tiles[r][c]->Angle());
      o->Anim = tiles[r][c]->Anim + 6;
      setTrans(*o, p, flow.reached[r][c] ? 255 : 0);
    }
  }
}

// The leak marker stands on the middle of the leaking side, turned to the
// leak's direction; it is transparent while nothing leaks.
void showLeak(TLumElement* marker, const Tiles& tiles, const Flow& flow, Puzzle& p) {
  if (!marker) return;
  if (!flow.leak) {
    setTrans(*marker, p, 0);
    return;
  }
  const TLumImage& tile = *tiles[flow.leak->r][flow.leak->c];
  const int side = flow.leak->side;
  const int32_t x = tile.AbsX() + tile.SizeX() / 2 + kCols[side] * tile.SizeX() / 2;
  const int32_t y = tile.AbsY() + tile.SizeY() / 2 + kRows[side] * tile.SizeY() / 2;
  const TLumElement* parent = marker->parent();
  marker->SetPos(x - (parent ? parent->AbsX() : 0), y - (parent ? parent->AbsY() : 0));
  p.paths.setReal(*marker, "ANGLE", kAngles[side]);
  setTrans(*marker, p, 255);
}

void pipes(TLumImage& e, Puzzle& p, std::string_view overlayPath, bool secondGame) {
  const Tiles tiles = tilesOf(e);
  turn(tiles);
  const Flow flow = flowOf(tiles);
  showOverlay(p.paths.element(e, overlayPath), tiles, flow, p);
  if (TLumElement* end = p.paths.element(e, ".END")) setTrans(*end, p, flow.exit ? 255 : 0);
  showLeak(p.paths.element(e, ".PROT"), tiles, flow, p);
  if (!flow.exit) return;
  if (secondGame) {
    p.paths.setInteger(e, ".CNN", 0);
    p.paths.set(e, "GI.CNT.TEXT", ScriptValue::String(std::to_string(p.paths.integer(e, ".CNN"))));
  } else {
    p.paths.setInteger(e, "LUMDB.LOGINTERFACE.WIN", 1);
  }
}

}  // namespace

void MagicLev12Log(TLumImage& e, Puzzle& p) { pipes(e, p, ".LL", false); }
void Bramble2Lev12Log(TLumImage& e, Puzzle& p) { pipes(e, p, ".LLL", true); }

}  // namespace lum::games
