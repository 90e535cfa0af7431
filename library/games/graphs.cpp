// The graph-untangling puzzles: nodes are dragged inside their board, and
// the links between them are tested for crossings and drawn red or green.
#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "library/games/puzzle_routines.h"
#include "render/canvas.h"
#include "scene/image.h"
#include "scene/runtime.h"

namespace lum::games {
namespace {

// ---- Dragging ----

enum class Area { Circle, Ellipse };

bool insideArea(Area area, const TLumElement& board, double x, double y) {
  const double w = board.SizeX(), h = board.SizeY();
  const double dx = x - w / 2, dy = y - h / 2;
  if (area == Area::Circle) {
    const double r = w / 2 - 50;
    return r > 0 && dx * dx + dy * dy < r * r;
  }
  if (w <= 0 || h <= 0) return false;
  return 4 * dx * dx / (w * w) + 4 * dy * dy / (h * h) < 0.8;
}

bool keepsApart(const TLumElement& node, double x, double y, double spacing) {
  for (const auto& other : node.parent()->children()) {
    if (other.get() == &node || other->Id == node.Id) continue;
    const double dx = x - other->rX, dy = y - other->rY;
    if (dx * dx + dy * dy < spacing * spacing) return false;
  }
  return true;
}

void drag(TLumImage& node, Puzzle& p, Area area, double spacing) {
  TLumElement* board = node.parent();
  if (!board || p.paths.integer(node, "MOUSEINDOWN") == 0) return;
  const InputState& input = p.runtime.state.input;
  const double toX = input.mouseX - board->AbsX() - node.rX;
  const double toY = input.mouseY - board->AbsY() - node.rY;
  for (int i = 1; i <= 100; ++i) {
    const double x = node.rX + toX / i, y = node.rY + toY / i;
    if (keepsApart(node, x, y, spacing) && insideArea(area, *board, x, y)) {
      node.rX = x;
      node.rY = y;
      return;
    }
  }
}

// ---- Links ----

using Link = std::pair<int, int>;

const std::vector<Link>& firstGraph() {
  static const std::vector<Link> links = [] {
    std::vector<Link> l;
    for (int i = 0; i < 8; ++i) l.emplace_back(i, (i + 1) % 8);
    for (int i = 0; i < 4; ++i) l.emplace_back(i, 8);
    for (int i = 4; i < 8; ++i) l.emplace_back(i, 9);
    l.emplace_back(8, 9);
    return l;
  }();
  return links;
}

const std::vector<Link>& secondGraph() {
  static const std::vector<Link> links = [] {
    std::vector<Link> l;
    for (int i = 0; i < 8; ++i) l.emplace_back(i, (i + 1) % 8);
    for (int i = 0; i < 8; ++i) l.emplace_back(i, 8);
    return l;
  }();
  return links;
}

struct NodePoint {
  int64_t x = 0, y = 0;
};

// The node centres (screen position + 25); false when a node is missing.
bool nodePoints(TLumElement& e, size_t count, std::vector<NodePoint>& out) {
  if (e.childCount() == 0) return false;
  TLumElement& holder = *e.child(0);
  if (holder.childCount() < count) return false;
  out.clear();
  for (size_t i = 0; i < count; ++i) {
    const TLumElement& node = *holder.child(i);
    out.push_back({node.AbsX() + 25, node.AbsY() + 25});
  }
  return true;
}

int64_t cross(int64_t ax, int64_t ay, int64_t bx, int64_t by) { return ax * by - ay * bx; }

// Whether segments ab and cd meet at a point that is not an end point of
// both; parallel segments never cross.
bool crosses(NodePoint a, NodePoint b, NodePoint c, NodePoint d) {
  const int64_t rx = b.x - a.x, ry = b.y - a.y;
  const int64_t sx = d.x - c.x, sy = d.y - c.y;
  int64_t den = cross(rx, ry, sx, sy);
  if (den == 0) return false;
  int64_t tn = cross(c.x - a.x, c.y - a.y, sx, sy);
  int64_t un = cross(c.x - a.x, c.y - a.y, rx, ry);
  if (den < 0) {
    den = -den;
    tn = -tn;
    un = -un;
  }
  if (tn < 0 || tn > den || un < 0 || un > den) return false;
  const bool tEnd = tn == 0 || tn == den;
  const bool uEnd = un == 0 || un == den;
  return !(tEnd && uEnd);
}

std::vector<bool> crossingLinks(const std::vector<NodePoint>& pts, const std::vector<Link>& links) {
  std::vector<bool> crossed(links.size(), false);
  for (size_t i = 0; i < links.size(); ++i) {
    for (size_t j = i + 1; j < links.size(); ++j) {
      if (crosses(pts[links[i].first], pts[links[i].second], pts[links[j].first],
                  pts[links[j].second])) {
        crossed[i] = crossed[j] = true;
      }
    }
  }
  return crossed;
}

void update(TLumElement& e, Puzzle& p, const std::vector<Link>& links, size_t nodes) {
  std::vector<NodePoint> pts;
  if (!nodePoints(e, nodes, pts)) return;
  bool any = false;
  for (bool c : crossingLinks(pts, links)) any = any || c;
  p.paths.setInteger(e, "WIN", any ? 0 : 1);
}

// Band widths: the coloured band is 6 pixels wide, the glow at its core 2.
constexpr float kBandHalf = 3.0f;
constexpr float kGlowHalf = 1.0f;
constexpr uint32_t kCrossed = 0x7F0000FF;
constexpr uint32_t kUncrossed = 0x7F00FF00;
constexpr uint32_t kBlend = 0x504;
constexpr uint32_t kAdd = 0x104;

void band(TAsphyreCanvas& canvas, NodePoint a, NodePoint b, float half, uint32_t colour,
          uint32_t effect) {
  const float dx = static_cast<float>(b.x - a.x), dy = static_cast<float>(b.y - a.y);
  const float len = std::sqrt(dx * dx + dy * dy);
  if (len <= 0) return;
  const float nx = -dy / len * half, ny = dx / len * half;
  const float ax = static_cast<float>(a.x), ay = static_cast<float>(a.y);
  const float bx = static_cast<float>(b.x), by = static_cast<float>(b.y);
  canvas.Triangle({ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, colour, effect);
  canvas.Triangle({ax + nx, ay + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}, colour, effect);
}

void render(TLumElement& e, Puzzle& p, const std::vector<Link>& links, size_t nodes) {
  std::vector<NodePoint> pts;
  if (!nodePoints(e, nodes, pts)) return;
  const std::vector<bool> crossed = crossingLinks(pts, links);
  const int32_t dt = p.paths.integer(e, "DT");
  const int64_t level = dt < 30 ? 112 - static_cast<int64_t>(dt) : dt % 30 + 83;
  const auto g = static_cast<uint32_t>(std::clamp<int64_t>(level, 0, 255));
  const uint32_t glow = 0xFF000000u | g << 16 | g << 8 | g;
  TAsphyreCanvas& canvas = p.runtime.services.canvas;
  for (size_t i = 0; i < links.size(); ++i) {
    const NodePoint a = pts[links[i].first], b = pts[links[i].second];
    band(canvas, a, b, kBandHalf, crossed[i] ? kCrossed : kUncrossed, kBlend);
    band(canvas, a, b, kGlowHalf, glow, kAdd);
  }
}

}  // namespace

void MagicLev6_3(TLumImage& node, Puzzle& p) { drag(node, p, Area::Circle, 50); }
void MagicLev4In_3(TLumImage& node, Puzzle& p) { drag(node, p, Area::Ellipse, 28); }

void MagicLev6Log_Rend(TLumElement& e, Puzzle& p) { render(e, p, firstGraph(), 10); }
void MagicLev6Log_Upd(TLumElement& e, Puzzle& p) { update(e, p, firstGraph(), 10); }
void MagicLev4InLog_Rend(TLumElement& e, Puzzle& p) { render(e, p, secondGraph(), 9); }
void MagicLev4InLog_Upd(TLumElement& e, Puzzle& p) { update(e, p, secondGraph(), 9); }

}  // namespace lum::games
