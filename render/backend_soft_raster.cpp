#include "render/backend_soft_raster.h"

#include <algorithm>
#include <cmath>

#include "render/backend_soft_fragment.h"
#include "render/backend_soft_spans.h"

namespace lum {

namespace {

struct ClipBox {
  int x0, y0, x1, y1;  // half-open
};

ClipBox clipBox(const SoftSurface& t, const Viewport& v) {
  return {std::max(0, v.x), std::max(0, v.y), std::min(t.width, v.x + v.width),
          std::min(t.height, v.y + v.height)};
}

// Coordinates beyond this are refused: edge values of positions inside it
// stay well within 64 bits, and nothing on a 1024 x 768 screen needs more.
constexpr float kMaxCoordinate = 4194304.0f;

bool usable(const Vertex& v) {
  return std::fabs(v.x) <= kMaxCoordinate && std::fabs(v.y) <= kMaxCoordinate;
}

// Lines step in floating point and only need to stay clear of integer
// overflow when rounded.
constexpr float kMaxLineCoordinate = 1e7f;

bool usableForLine(const Vertex& v) {
  return std::fabs(v.x) <= kMaxLineCoordinate && std::fabs(v.y) <= kMaxLineCoordinate;
}

// Positions snap to 1/256 of a pixel; pixel centres are the integers.
constexpr int kSubBits = 8;
constexpr double kSub = 1 << kSubBits;

int64_t toFixed(float v) { return std::llrint(double(v) * kSub); }

int floorPixel(int64_t v) { return int(v >= 0 ? v >> kSubBits : -((-v + 255) >> kSubBits)); }

struct Point {
  int64_t x, y;
};

// Edge p->q; pixels exactly on an edge belong to it only for top or left
// edges, so that shared edges are drawn once. The inside is where `at` is
// not negative (after the bias).
struct Edge {
  int64_t dx, dy, px, py, bias;
  int64_t at(int64_t x, int64_t y) const { return dx * (y - py) - dy * (x - px); }
};

Edge makeEdge(Point p, Point q) {
  const int64_t dx = q.x - p.x, dy = q.y - p.y;
  const bool topLeft = (dy == 0 && dx > 0) || dy < 0;
  return Edge{dx, dy, p.x, p.y, topLeft ? 0 : -1};
}

int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// One edge walked down the rows: which pixels of a row, counted from the
// box's left column, lie on its inside. The boundary moves by the same
// fraction of a pixel from row to row, so it is kept as an exact quotient
// and remainder and moved with additions only.
class EdgeWalker {
 public:
  EdgeWalker(const Edge& e, int left, int top) {
    const int64_t step = -e.dy << kSubBits, rowStep = e.dx << kSubBits;
    const int64_t w = e.at(int64_t(left) << kSubBits, int64_t(top) << kSubBits) + e.bias;
    if (step > 0) {
      // lo = smallest k with w + k * step >= 0 = ceil(-w / step)
      kind_ = Kind::Left;
      divisor_ = step;
      start(-w + step - 1, -rowStep);
    } else if (step < 0) {
      // hi = largest k with w + k * step >= 0 = floor(w / -step)
      kind_ = Kind::Right;
      divisor_ = -step;
      start(w, rowStep);
    } else {
      kind_ = Kind::Flat;
      q_ = w;
      dq_ = rowStep;
    }
  }

  // Narrows [lo, hi] for the current row, then moves to the next.
  void narrow(int64_t& lo, int64_t& hi) {
    switch (kind_) {
      case Kind::Left:
        lo = std::max(lo, q_);
        break;
      case Kind::Right:
        hi = std::min(hi, q_);
        break;
      case Kind::Flat:
        if (q_ < 0) hi = -1;
        q_ += dq_;
        return;
    }
    // The carry comes about as often as not: no branch for it.
    r_ += dr_;
    const int64_t carry = r_ >= divisor_;
    q_ += dq_ + carry;
    r_ -= divisor_ & -carry;
  }

 private:
  enum class Kind : uint8_t { Left, Right, Flat };
  // q = floor(value / divisor) for a value that changes by `delta` a row.
  void start(int64_t value, int64_t delta) {
    q_ = floorDiv(value, divisor_);
    r_ = value - q_ * divisor_;
    dq_ = floorDiv(delta, divisor_);
    dr_ = delta - dq_ * divisor_;
  }
  Kind kind_;
  int64_t divisor_ = 1, q_ = 0, r_ = 0, dq_ = 0, dr_ = 0;
};

// An attribute that varies linearly over the primitive, as the barycentric
// weights of its vertices give it: value at the box's top-left pixel and
// steps per pixel right and down.
struct Plane {
  double at0 = 0, dx = 0, dy = 0;
};

// The weights of the three vertices of a triangle as planes.
struct Barycentric {
  Plane w[3];
};

Barycentric barycentric(const Point (&p)[3], int left, int top) {
  // Planes start at a pixel that does not depend on the clip or the band,
  // so that every band computes the same values.
  // Weight of vertex i: edge function of the opposite edge over the area.
  const Edge opposite[3] = {makeEdge(p[1], p[2]), makeEdge(p[2], p[0]), makeEdge(p[0], p[1])};
  const double area = double((p[1].x - p[0].x) * (p[2].y - p[0].y) -
                             (p[1].y - p[0].y) * (p[2].x - p[0].x));
  Barycentric b;
  const int64_t fx = int64_t(left) << kSubBits, fy = int64_t(top) << kSubBits;
  for (int i = 0; i < 3; ++i) {
    const Edge& e = opposite[i];
    b.w[i] = Plane{double(e.at(fx, fy)) / area, double(-e.dy) * kSub / area,
                   double(e.dx) * kSub / area};
  }
  return b;
}

Plane combine(const Barycentric& b, double a0, double a1, double a2) {
  return Plane{a0 * b.w[0].at0 + a1 * b.w[1].at0 + a2 * b.w[2].at0,
               a0 * b.w[0].dx + a1 * b.w[1].dx + a2 * b.w[2].dx,
               a0 * b.w[0].dy + a1 * b.w[1].dy + a2 * b.w[2].dy};
}

int64_t toTexelFixed(double v) { return std::llrint(v * double(kTexelOne)); }

// The texture position in fixed point: at the top-left pixel and per step.
struct TexelPlane {
  int64_t at0 = 0, dx = 0, dy = 0;
};

TexelPlane texelPlane(const Plane& p, double offset) {
  return {toTexelFixed(p.at0 + offset), toTexelFixed(p.dx), toTexelFixed(p.dy)};
}

// A triangle as the first renderer interpolated it: single-precision
// barycentric weights from the integer edges.
struct FloatTriangle {
  Edge opposite[3];
  double inverseArea;
  float u[3], v[3];
  int width, height;
  void texel(int x, int y, int64_t& tx, int64_t& ty) const {
    const int64_t fx = int64_t(x) << kSubBits, fy = int64_t(y) << kSubBits;
    const float la = float(double(opposite[0].at(fx, fy)) * inverseArea);
    const float lb = float(double(opposite[1].at(fx, fy)) * inverseArea);
    const float lc = float(double(opposite[2].at(fx, fy)) * inverseArea);
    const float u0 = u[0] * la + u[1] * lb + u[2] * lc;
    const float v0 = v[0] * la + v[1] * lb + v[2] * lc;
    tx = int64_t(std::floor(double(u0 * float(width))));
    ty = int64_t(std::floor(double(v0 * float(height))));
  }
};

// One triangle, or a quad's two: the first holds the pixels on the inside
// of its edge opposite the first corner.
struct TieBreak {
  FloatTriangle triangles[2];
  int count = 0;
  static bool texel(const void* context, int x, int y, int64_t& tx, int64_t& ty) {
    const auto& t = *static_cast<const TieBreak*>(context);
    const Edge& split = t.triangles[0].opposite[0];
    const int64_t fx = int64_t(x) << kSubBits, fy = int64_t(y) << kSubBits;
    const bool second = t.count == 2 && split.at(fx, fy) + split.bias < 0;
    t.triangles[second ? 1 : 0].texel(x, y, tx, ty);
    return true;
  }
};

FloatTriangle floatTriangle(const Vertex* const (&tri)[3], const Point (&p)[3],
                            const SoftTextureView& t) {
  FloatTriangle f;
  f.opposite[0] = makeEdge(p[1], p[2]);
  f.opposite[1] = makeEdge(p[2], p[0]);
  f.opposite[2] = makeEdge(p[0], p[1]);
  const int64_t area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
  f.inverseArea = 1.0 / double(area);
  for (int i = 0; i < 3; ++i) {
    f.u[i] = tri[i]->u;
    f.v[i] = tri[i]->v;
  }
  f.width = t.width;
  f.height = t.height;
  return f;
}

// How far from a texel boundary (in fixed point) the single-precision
// position may have strayed: its weights, products and sums each round by
// at most 2^-24 of the largest position, about 2^-22 in all; this allows
// four times that.
int64_t nearDistance(const Vertex* const (&tri)[3], bool horizontal, int size) {
  double largest = 1;
  for (const Vertex* v : tri) largest = std::max(largest, std::fabs(double(horizontal ? v->u : v->v)));
  return toTexelFixed(largest * size * std::ldexp(1.0, -20));
}

// Everything the rows of one primitive need.
struct Setup {
  ClipBox box;
  int minX, maxX, minY, maxY;  // pixels that may be inside, clipped
  int originX, originY;        // where the planes start: independent of any clip
  bool gradient = false;
  bool fill = false;
  Edge edges[4];
  int edgeCount;
  SpanKernel kernel;
  SpanSetup span;
  TexelPlane u, v;
  Plane colour[4];
  TieBreak tieBreak;
  SpanTieBreak ties;
  uint32_t colorRow[kSpanBuffer];
  // Points the span at the tie-breaking data and the colour row; after
  // the last copy.
  void linkTies() {
    if (fill && !gradient) {
      std::fill(colorRow, colorRow + kSpanBuffer, span.color);
      span.colorRow = colorRow;
    }
    if (tieBreak.count == 0) return;
    ties.texel = TieBreak::texel;
    ties.context = &tieBreak;
    span.ties = &ties;
  }
};

// Rounds a plane onto whole texels when it stays within `slack` of them
// everywhere in a box of the given size; false when it does not.
bool snapToCentres(TexelPlane& p, int width, int height, int64_t slack) {
  const auto offWhole = [](int64_t v) {
    const int64_t f = v & (kTexelOne - 1);
    return std::min(f, kTexelOne - f);
  };
  const auto whole = [](int64_t v) { return (v + kTexelOne / 2) & ~(kTexelOne - 1); };
  if (offWhole(p.at0) + offWhole(p.dx) * (int64_t(width) + 1) +
          offWhole(p.dy) * (int64_t(height) + 1) >
      slack)
    return false;
  p = {whole(p.at0), whole(p.dx), whole(p.dy)};
  return true;
}

// Texture positions reach at most this far beyond the texels (beyond the
// vertices' own by the rounding of the fixed point) without wrapping.
bool withinTexture(const Plane& p, const Point* pts, int count, int left, int top, int size,
                   int border, double lowSlack, double highSlack) {
  double lo = 1e300, hi = -1e300;
  for (int i = 0; i < count; ++i) {
    const double x = double(pts[i].x) / kSub - left, y = double(pts[i].y) / kSub - top;
    const double val = p.at0 + p.dx * x + p.dy * y;
    lo = std::min(lo, val);
    hi = std::max(hi, val);
  }
  constexpr double kMargin = 1.0 / 1024;
  return lo - lowSlack >= -border + kMargin && hi + highSlack <= size + border - kMargin;
}

bool sameColour(const Vertex* const* v, int count) {
  for (int i = 1; i < count; ++i)
    if (v[i]->color != v[0]->color) return false;
  return true;
}

// Chooses the kernel and fills in the texture and colour planes from the
// barycentric weights of (a, b, c); `outline` are the corners of the whole
// primitive for the range check.
void prepareShading(Setup& s, const SoftRasterState& st, const Vertex* const (&tri)[3],
                    const Point (&pts)[3], const Vertex* const* corners,
                    const Point* outline, int cornerCount) {
  const Barycentric bc = barycentric(pts, s.originX, s.originY);
  const bool constant = sameColour(corners, cornerCount);
  const uint32_t color = tri[0]->color;
  s.span.blend = st.blend;
  s.span.color = color;
  SpanColour colour = SpanColour::Gradient;
  if (constant) colour = color == 0xFFFFFFFF ? SpanColour::White : SpanColour::Constant;
  if (!constant) {
    s.gradient = true;
    for (int k = 0; k < 4; ++k) {
      s.colour[k] = combine(bc, double((tri[0]->color >> (8 * k)) & 255),
                            double((tri[1]->color >> (8 * k)) & 255),
                            double((tri[2]->color >> (8 * k)) & 255));
      s.span.dc[k] = s.colour[k].dx;
    }
  }
  SpanSource source = SpanSource::Fill;
  bool wrap = false;
  const SoftTextureView* t = st.texture;
  if (t && t->texels && t->width > 0 && t->height > 0) {
    if (!st.blend.modulate || colour == SpanColour::White) {
      colour = SpanColour::White;
      s.gradient = false;
    }
    const Plane pu = combine(bc, double(tri[0]->u) * t->width, double(tri[1]->u) * t->width,
                             double(tri[2]->u) * t->width);
    const Plane pv = combine(bc, double(tri[0]->v) * t->height, double(tri[1]->v) * t->height,
                             double(tri[2]->v) * t->height);
    source = st.linearFilter ? SpanSource::Linear : SpanSource::Point;
    const double offset = source == SpanSource::Linear ? -0.5 : 0.0;
    s.u = texelPlane(pu, offset);
    s.v = texelPlane(pv, offset);
    // Bilinear sampling whose every position falls on a texel centre is
    // point sampling of that texel: the weights are exactly 1 and 0. A
    // picture at its own size comes a little off the centres (its texture
    // coordinates are rounded to single precision), by so little that no
    // weight could change a byte, so the positions are put right on them.
    // Modulated colours round more finely: t * c / 255 lies at least 1/510
    // from a half.
    bool snapped = false;
    if (source == SpanSource::Linear) {
      const int64_t slack = colour == SpanColour::White ? int64_t(1) << 20 : int64_t(1) << 13;
      const int w = s.maxX - s.originX, h = s.maxY - s.originY;
      TexelPlane u = s.u, v = s.v;
      if (snapToCentres(u, w, h, slack) && snapToCentres(v, w, h, slack)) {
        s.u = u;
        s.v = v;
        source = SpanSource::Point;
        snapped = true;
      }
    }
    const double low = st.linearFilter ? 0.5 : 0.0, high = st.linearFilter ? 0.5 : 0.0;
    wrap = !withinTexture(pu, outline, cornerCount, s.originX, s.originY, t->width, t->border,
                          low, high) ||
           !withinTexture(pv, outline, cornerCount, s.originX, s.originY, t->height, t->border,
                          low, high);
    s.span.texels = t->texels;
    s.span.stride = t->rowStride();
    s.span.width = t->width;
    s.span.height = t->height;
    s.span.du = s.u.dx;
    s.span.dv = s.v.dx;
    if (source == SpanSource::Point && !snapped) {
      s.tieBreak.triangles[0] = floatTriangle(tri, pts, *t);
      s.tieBreak.count = 1;
      s.ties.nearU = nearDistance(tri, true, t->width);
      s.ties.nearV = nearDistance(tri, false, t->height);
    }
  } else if (colour == SpanColour::White) {
    colour = SpanColour::Constant;
  }
  const SpanBlendKind blendKind = spanBlendKind(st.blend);
  s.span.clearIsNothing = blendKind == SpanBlendKind::Alpha || blendKind == SpanBlendKind::Additive;
  s.fill = source == SpanSource::Fill;
  s.kernel = chooseSpanKernel(st.simd, source, colour, wrap, blendKind);
}

// Fills the rows of the box inside every edge, those of the band only.
void fillRows(SoftSurface& target, const Setup& s, SoftBand band) {
  const int first = std::max(s.minY, band.top), last = std::min(s.maxY, band.bottom - 1);
  if (first > last) return;
  EdgeWalker walkers[4] = {
      EdgeWalker(s.edges[0], s.minX, first), EdgeWalker(s.edges[1], s.minX, first),
      EdgeWalker(s.edges[2], s.minX, first),
      EdgeWalker(s.edges[s.edgeCount - 1], s.minX, first)};
  uint32_t buffer[kSpanBuffer];
  for (int y = first; y <= last; ++y) {
    int64_t lo = 0, hi = s.maxX - s.minX;
    for (int e = 0; e < s.edgeCount; ++e) walkers[e].narrow(lo, hi);
    if (lo > hi) continue;
    const int64_t row = y - s.originY, col = s.minX + lo - s.originX;
    SpanCursor cur;
    cur.x = s.minX + int(lo);
    cur.y = y;
    int64_t u = s.u.at0 + s.u.dy * row + s.u.dx * col;
    int64_t v = s.v.at0 + s.v.dy * row + s.v.dx * col;
    if (s.gradient)
      for (int k = 0; k < 4; ++k)
        cur.c[k] = s.colour[k].at0 + s.colour[k].dy * double(row) + s.colour[k].dx * double(col);
    uint32_t* dest = target.pixels + size_t(y) * size_t(target.width) + size_t(s.minX + lo);
    for (int64_t left = hi - lo + 1; left > 0;) {
      const int n = int(std::min<int64_t>(left, kSpanChunk));
      const uint32_t* src = s.kernel.fetch(s.span, u, v, cur, buffer, n);
      s.kernel.blend(s.span, src, dest, n);
      dest += n;
      left -= n;
      u += s.span.du * n;
      v += s.span.dv * n;
      cur.x += n;
    }
  }
}

// The pixel box of the points, clipped; false when nothing is left.
bool boundingBox(Setup& s, const Point* p, int count) {
  int64_t x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
  for (int i = 1; i < count; ++i) {
    x0 = std::min(x0, p[i].x);
    x1 = std::max(x1, p[i].x);
    y0 = std::min(y0, p[i].y);
    y1 = std::max(y1, p[i].y);
  }
  s.originX = floorPixel(x0);
  s.originY = floorPixel(y0);
  s.minX = std::max(s.box.x0, floorPixel(x0));
  s.maxX = std::min(s.box.x1 - 1, floorPixel(x1) + 1);
  s.minY = std::max(s.box.y0, floorPixel(y0));
  s.maxY = std::min(s.box.y1 - 1, floorPixel(y1) + 1);
  return s.minX <= s.maxX && s.minY <= s.maxY;
}

// Shrinks the box to the points' own, keeping where the planes start.
bool narrowBox(Setup& s, const Point* p, int count) {
  const int originX = s.originX, originY = s.originY;
  const bool any = boundingBox(s, p, count);
  s.originX = originX;
  s.originY = originY;
  return any;
}

bool touchesBand(const Setup& s, SoftBand band) {
  return s.minY < band.bottom && s.maxY >= band.top;
}

int64_t cross(Point o, Point a, Point b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

void drawTriangle(SoftSurface& target, const SoftRasterState& st, const Vertex* a,
                  const Vertex* b, const Vertex* c, SoftBand band) {
  if (!usable(*a) || !usable(*b) || !usable(*c)) return;
  Point pa{toFixed(a->x), toFixed(a->y)}, pb{toFixed(b->x), toFixed(b->y)},
      pc{toFixed(c->x), toFixed(c->y)};
  const int64_t area = cross(pa, pb, pc);
  if (area == 0) return;
  if (area < 0) {  // make the winding the one whose inside is positive
    std::swap(b, c);
    std::swap(pb, pc);
  }
  Setup s;
  s.box = clipBox(target, st.clip);
  const Point pts[3] = {pa, pb, pc};
  if (!boundingBox(s, pts, 3) || !touchesBand(s, band)) return;
  s.edges[0] = makeEdge(pb, pc);
  s.edges[1] = makeEdge(pc, pa);
  s.edges[2] = makeEdge(pa, pb);
  s.edgeCount = 3;
  const Vertex* const tri[3] = {a, b, c};
  prepareShading(s, st, tri, pts, tri, pts, 3);
  s.linkTies();
  fillRows(target, s, band);
}

}  // namespace

void softDrawTriangle(SoftSurface& target, const SoftRasterState& st, const Vertex& a,
                      const Vertex& b, const Vertex& c, SoftBand band) {
  drawTriangle(target, st, &a, &b, &c, band);
}

void softDrawQuad(SoftSurface& target, const SoftRasterState& st, const Vertex* v,
                  SoftBand band) {
  const auto asTriangles = [&] {
    drawTriangle(target, st, &v[0], &v[1], &v[3], band);
    drawTriangle(target, st, &v[1], &v[2], &v[3], band);
  };
  for (int i = 0; i < 4; ++i)
    if (!usable(v[i])) return asTriangles();
  Point p[4];
  for (int i = 0; i < 4; ++i) p[i] = {toFixed(v[i].x), toFixed(v[i].y)};
  // One polygon only when it is convex, so that the two triangles cover
  // exactly the inside of its four edges.
  const int64_t c0 = cross(p[0], p[1], p[2]), c1 = cross(p[1], p[2], p[3]),
                c2 = cross(p[2], p[3], p[0]), c3 = cross(p[3], p[0], p[1]);
  const bool positive = c0 > 0 && c1 > 0 && c2 > 0 && c3 > 0;
  const bool negative = c0 < 0 && c1 < 0 && c2 < 0 && c3 < 0;
  if (!positive && !negative) return asTriangles();
  const Vertex* first[3] = {&v[0], &v[1], &v[3]};
  const Vertex* second[3] = {&v[1], &v[2], &v[3]};
  Point pf[3] = {p[0], p[1], p[3]}, ps[3] = {p[1], p[2], p[3]};
  if (negative) {
    std::swap(first[1], first[2]);
    std::swap(pf[1], pf[2]);
    std::swap(second[1], second[2]);
    std::swap(ps[1], ps[2]);
  }
  Setup s;
  s.box = clipBox(target, st.clip);
  if (!boundingBox(s, p, 4) || !touchesBand(s, band)) return;
  // Both triangles must give the same fixed-point texture and colour
  // planes, or each keeps its own.
  const Vertex* const corners[4] = {&v[0], &v[1], &v[2], &v[3]};
  prepareShading(s, st, first, pf, corners, p, 4);
  Setup other = s;
  prepareShading(other, st, second, ps, corners, p, 4);
  // Within a few units of the last fraction bit over the whole box: the
  // difference is far below what any texel or colour boundary could notice.
  const double w = s.maxX - s.originX + 1.0, h = s.maxY - s.originY + 1.0;
  const auto samePlane = [&](const TexelPlane& a, const TexelPlane& b) {
    return std::fabs(double(a.at0 - b.at0)) + std::fabs(double(a.dx - b.dx)) * w +
               std::fabs(double(a.dy - b.dy)) * h <=
           1024.0;
  };
  const auto sameColourPlane = [&](const Plane& a, const Plane& b) {
    return std::fabs(a.at0 - b.at0) + std::fabs(a.dx - b.dx) * w + std::fabs(a.dy - b.dy) * h <=
           1e-6;
  };
  bool same = samePlane(s.u, other.u) && samePlane(s.v, other.v) &&
              s.kernel.fetch == other.kernel.fetch;
  for (int k = 0; k < 4 && same; ++k) same = sameColourPlane(s.colour[k], other.colour[k]);
  if (!same) {
    // Each triangle with its own planes, already prepared.
    for (Setup* t : {&s, &other}) {
      const Point* tp = t == &s ? pf : ps;
      t->edges[0] = makeEdge(tp[1], tp[2]);
      t->edges[1] = makeEdge(tp[2], tp[0]);
      t->edges[2] = makeEdge(tp[0], tp[1]);
      t->edgeCount = 3;
      if (!narrowBox(*t, tp, 3)) continue;
      t->linkTies();
      fillRows(target, *t, band);
    }
    return;
  }
  const Point ring[4] = {p[0], negative ? p[3] : p[1], p[2], negative ? p[1] : p[3]};
  for (int i = 0; i < 4; ++i) s.edges[i] = makeEdge(ring[i], ring[(i + 1) % 4]);
  s.edgeCount = 4;
  if (s.tieBreak.count) {
    s.tieBreak.triangles[1] = other.tieBreak.triangles[0];
    s.tieBreak.count = 2;
    s.ties.nearU = std::max(s.ties.nearU, other.ties.nearU);
    s.ties.nearV = std::max(s.ties.nearV, other.ties.nearV);
  }
  s.linkTies();
  fillRows(target, s, band);
}

void softDrawLine(SoftSurface& target, const SoftRasterState& st, const Vertex& a,
                  const Vertex& b, SoftBand band) {
  if (!usableForLine(a) || !usableForLine(b)) return;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const bool xMajor = std::fabs(dx) >= std::fabs(dy);
  const float major0 = xMajor ? a.x : a.y, major1 = xMajor ? b.x : b.y;
  const float length = major1 - major0;
  if (length == 0.0f) return;
  // A pixel is lit when the line leaves its diamond: from the start's pixel up
  // to, not including, the end's pixel.
  int first, last, step;
  if (length > 0) {
    first = int(std::floor(major0 + 0.5f));
    last = int(std::floor(major1 + 0.5f)) - 1;
    step = 1;
  } else {
    first = int(std::ceil(major0 - 0.5f));
    last = int(std::ceil(major1 - 0.5f)) + 1;
    step = -1;
  }
  if ((last - first) * step < 0) return;
  ClipBox box = clipBox(target, st.clip);
  box.y0 = std::max(box.y0, band.top);
  box.y1 = std::min(box.y1, band.bottom);
  // Only the part of the line inside the clip box can light anything.
  const int lo = (xMajor ? box.x0 : box.y0) - 1, hi = xMajor ? box.x1 : box.y1;
  if (step > 0) {
    first = std::max(first, lo);
    last = std::min(last, hi);
  } else {
    first = std::min(first, hi);
    last = std::max(last, lo);
  }
  if ((last - first) * step < 0) return;
  const SoftRgba ca = softUnpack(a.color), cb = softUnpack(b.color);
  for (int m = first;; m += step) {
    const float t = (float(m) - major0) / length;
    const float minor = xMajor ? a.y + t * dy : a.x + t * dx;
    const int n = int(std::floor(minor + 0.5f));
    const int x = xMajor ? m : n, y = xMajor ? n : m;
    if (x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1) {
      const float tt = std::clamp(t, 0.0f, 1.0f);
      const SoftRgba d{ca.r + (cb.r - ca.r) * tt, ca.g + (cb.g - ca.g) * tt,
                       ca.b + (cb.b - ca.b) * tt, ca.a + (cb.a - ca.a) * tt};
      softShadeFragment(target.pixels[size_t(y) * target.width + x], st, d,
                        a.u + (b.u - a.u) * tt, a.v + (b.v - a.v) * tt);
    }
    if (m == last) break;
  }
}

}  // namespace lum
