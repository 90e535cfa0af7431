#include "render/canvas.h"

#include <cmath>

#include "render/image.h"
#include "render/texture.h"

namespace lum {

TAsphyreCanvas::TAsphyreCanvas() = default;

TAsphyreCanvas::~TAsphyreCanvas() = default;

GraphicsDevice* TAsphyreCanvas::graphics() const {
  return Device() ? Device()->Graphics() : nullptr;
}

void TAsphyreCanvas::SetVertexCache(int32_t value) {
  if (initialized_) return;
  int64_t v = (int64_t(value) + 3) / 4 * 4;
  if (value < 0) v = 0;
  vertexCache_ = int32_t(v < 512 ? 512 : v > 65536 ? 65536 : v);
}

void TAsphyreCanvas::SetAntialias(bool value) {
  if (initialized_) {
    Flush();
    if (GraphicsDevice* g = graphics()) g->setLinearFilter(value);
  }
  antialias_ = value;
}

void TAsphyreCanvas::SetDithering(bool value) {
  if (initialized_) {
    Flush();
    if (GraphicsDevice* g = graphics()) g->setDithering(value);
  }
  dithering_ = value;
}

void TAsphyreCanvas::SetAlphaTesting(bool value) {
  if (!initialized_) alphaTesting_ = value;
}

bool TAsphyreCanvas::createBuffers() {
  GraphicsDevice* g = graphics();
  if (!g) return false;
  buffers_ = g->createBatchBuffers(vertexCache_, vertexCache_);
  resetBatch();
  return buffers_ != nullptr;
}

void TAsphyreCanvas::releaseBuffers() { buffers_.reset(); }

void TAsphyreCanvas::resetBatch() {
  vertexCount_ = indexCount_ = primitiveCount_ = 0;
  kind_ = PrimitiveKind::None;
}

bool TAsphyreCanvas::HandleNotice(int32_t code) {
  switch (code) {
    case NoticeInitialize: {
      if (initialized_) return true;
      const bool ok = createBuffers();
      if (ok) {
        vertices_.assign(size_t(vertexCache_), Vertex{});
        indices_.assign(size_t(vertexCache_), 0);
      }
      statesDirty_ = true;
      initialized_ = ok;
      return ok;
    }
    case NoticeFinalize:
      releaseBuffers();
      vertices_.clear();
      indices_.clear();
      initialized_ = false;
      return true;
    case NoticeLost:
      if (initialized_) {
        releaseBuffers();
        lost_ = true;
      }
      return true;
    case NoticeRecovered:
      if (initialized_) {
        if (!createBuffers()) {
          releaseBuffers();
          vertices_.clear();
          indices_.clear();
          initialized_ = false;
        }
        lost_ = false;
      }
      return true;
    case NoticeEndScene:
      if (initialized_) {
        Flush();
        statesDirty_ = true;
      }
      return true;
    default: return true;
  }
}

void TAsphyreCanvas::resetStates() {
  resetBatch();
  textureOwner_ = nullptr;
  textureSerial_ = 0;
  textureIndex_ = -2;
  effect_ = -1;
  if (GraphicsDevice* g = graphics()) {
    g->setBlendState(BlendState{});
    g->bindTexture(nullptr);
    g->setDithering(dithering_);
    g->setLinearFilter(antialias_);
  }
  statesDirty_ = false;
  batchCount_ = 0;
}

void TAsphyreCanvas::applyEffect(uint32_t effect) {
  if (GraphicsDevice* g = graphics()) g->setBlendState(decodeEffect(effect, alphaTesting_));
}

void TAsphyreCanvas::Flush() {
  if (vertexCount_ > 0 && indexCount_ > 0 && primitiveCount_ > 0 && !lost_ && buffers_) {
    GraphicsDevice* g = graphics();
    if (g && buffers_->write(vertices_.data(), vertexCount_, indices_.data(), indexCount_) &&
        g->drawIndexed(*buffers_, kind_, vertexCount_, primitiveCount_)) {
      ++batchCount_;
      ++drawCalls_;
    }
  }
  resetBatch();
}

bool TAsphyreCanvas::prepare(PrimitiveKind kind, int vertices, uint32_t effect,
                             int textureIndex, TDXBaseTexture* owner, int indices) {
  // Drawing outside a device scene has nowhere to go; it is dropped rather
  // than written past arrays that do not exist.
  if (!initialized_) return false;
  if (statesDirty_) resetStates();
  if (vertexCount_ + vertices > vertexCache_ || indexCount_ + indices > vertexCache_ ||
      (kind_ != kind && kind_ != PrimitiveKind::None))
    Flush();
  if (effect_ == -1 || int64_t(effect) != effect_) {
    Flush();
    applyEffect(effect);
    effect_ = effect;
  }
  const uint64_t serial = owner ? owner->Serial() : 0;
  if (textureIndex_ == -2 || owner != textureOwner_ || serial != textureSerial_ ||
      textureIndex != textureIndex_) {
    Flush();
    bool bound = false;
    if (owner && textureIndex != -1) bound = owner->BindTexture(textureIndex, 0);
    if (!bound)
      if (GraphicsDevice* g = graphics()) g->bindTexture(nullptr);
    textureOwner_ = owner;
    textureSerial_ = serial;
    textureIndex_ = textureIndex;
  }
  kind_ = kind;
  return true;
}

namespace {
bool allWhite(const QuadColors& c) {
  return c[0] == 0xFFFFFFFF && c[1] == 0xFFFFFFFF && c[2] == 0xFFFFFFFF && c[3] == 0xFFFFFFFF;
}
}  // namespace

void TAsphyreCanvas::addQuad(const Quad& points, const Quad& uv, const QuadColors& colors,
                             float offset) {
  static constexpr uint16_t kQuadIndices[6] = {0, 1, 3, 1, 2, 3};
  for (uint16_t i : kQuadIndices) indices_[size_t(indexCount_++)] = uint16_t(vertexCount_ + i);
  for (int i = 0; i < 4; ++i) {
    Vertex& v = vertices_[size_t(vertexCount_++)];
    v.x = points[i].x - offset;
    v.y = points[i].y - offset;
    v.z = 0;
    v.rhw = 1.0f;
    v.color = swapRedBlue(colors[i]);
    v.u = uv[i].x;
    v.v = uv[i].y;
  }
  primitiveCount_ += 2;
}

void TAsphyreCanvas::TexturedQuad(TDXBaseTexture* texture, const Quad& points,
                                  const PatternDesc& pattern, const QuadColors& colors,
                                  uint32_t effect) {
  int index = 0;
  Quad uv;
  if (!texture || !texture->TextureCoordinates(pattern, index, uv)) return;
  const uint32_t fx = allWhite(colors) ? effect : effect | kModulateBit;
  if (!prepare(PrimitiveKind::Triangles, 4, fx, index, texture, 6)) return;
  addQuad(points, uv, colors, 0.5f);
}

void TAsphyreCanvas::DrawPattern(TAsphyreImage* image, float x, float y, int32_t pattern,
                                 uint32_t color, uint32_t effect) {
  if (!image) return;
  const float w = float(image->VisibleSize().width), h = float(image->VisibleSize().height);
  TexturedQuad(image, {Point2{x, y}, Point2{x + w, y}, Point2{x + w, y + h}, Point2{x, y + h}},
               PatternDesc{pattern}, {color, color, color, color}, effect);
}

void TAsphyreCanvas::DrawPatternScaled(TAsphyreImage* image, float x, float y, float scale,
                                       int32_t pattern, uint32_t color, uint32_t effect) {
  if (!image) return;
  const float w = std::nearbyint(scale * float(image->VisibleSize().width));
  const float h = std::nearbyint(scale * float(image->VisibleSize().height));
  TexturedQuad(image, {Point2{x, y}, Point2{x + w, y}, Point2{x + w, y + h}, Point2{x, y + h}},
               PatternDesc{pattern}, {color, color, color, color}, effect);
}

void TAsphyreCanvas::DrawPatternRotated(TAsphyreImage* image, float cx, float cy, float angle,
                                        float scale, int32_t pattern, uint32_t color,
                                        uint32_t effect) {
  if (!image) return;
  const float hw = float(image->VisibleSize().width) / 2, hh = float(image->VisibleSize().height) / 2;
  const float c = std::cos(angle), s = std::sin(angle);
  Quad q = {Point2{-hw, -hh}, Point2{hw, -hh}, Point2{hw, hh}, Point2{-hw, hh}};
  for (Point2& p : q) {
    const float x = p.x * scale, y = p.y * scale;
    p = Point2{x * c - y * s + cx, x * s + y * c + cy};
  }
  TexturedQuad(image, q, PatternDesc{pattern}, {color, color, color, color}, effect);
}

void TAsphyreCanvas::FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                              uint32_t color, uint32_t effect) {
  const QuadColors colors{color, color, color, color};
  const uint32_t fx = allWhite(colors) ? effect : effect | kModulateBit;
  if (!prepare(PrimitiveKind::Triangles, 4, fx, -1, nullptr, 6)) return;
  const float l = float(x), t = float(y), r = float(x + width), b = float(y + height);
  addQuad({Point2{l, t}, Point2{r, t}, Point2{r, b}, Point2{l, b}}, Quad{}, colors, 0.0f);
}

void TAsphyreCanvas::FrameRect(int32_t x, int32_t y, int32_t width, int32_t height,
                               uint32_t color, uint32_t effect) {
  const float l = float(x), t = float(y), r = float(x + width - 1), b = float(y + height - 1);
  const Point2 p1{l, t}, p2{r, t}, p3{r, b}, p4{l, b};
  Line(p1, p2, color, color, effect);
  Line(p2, p3, color, color, effect);
  Line(p3, p4, color, color, effect);
  Line(p4, p1, color, color, effect);
}

void TAsphyreCanvas::FillFrameRect(int32_t x, int32_t y, int32_t width, int32_t height,
                                   uint32_t fill, uint32_t outline, uint32_t effect) {
  FillRect(x, y, width, height, fill, effect);
  FrameRect(x, y, width, height, outline, effect);
}

void TAsphyreCanvas::Line(Point2 a, Point2 b, uint32_t colorA, uint32_t colorB,
                          uint32_t effect) {
  if (!prepare(PrimitiveKind::Lines, 2, effect, -1, nullptr, 2)) return;
  indices_[size_t(indexCount_++)] = uint16_t(vertexCount_);
  indices_[size_t(indexCount_++)] = uint16_t(vertexCount_ + 1);
  vertices_[size_t(vertexCount_++)] = Vertex{a.x, a.y, 0, 1.0f, swapRedBlue(colorA), 0, 0};
  vertices_[size_t(vertexCount_++)] = Vertex{b.x, b.y, 0, 1.0f, swapRedBlue(colorB), 0, 0};
  ++primitiveCount_;
}

void TAsphyreCanvas::Triangle(Point2 a, Point2 b, Point2 c, uint32_t color, uint32_t effect) {
  if (!prepare(PrimitiveKind::Triangles, 3, effect, -1, nullptr, 3)) return;
  for (int i = 0; i < 3; ++i) indices_[size_t(indexCount_++)] = uint16_t(vertexCount_ + i);
  const uint32_t dc = swapRedBlue(color);
  for (const Point2& p : {a, b, c}) vertices_[size_t(vertexCount_++)] = Vertex{p.x, p.y, 0, 1.0f, dc, 0, 0};
  ++primitiveCount_;
}

void TAsphyreCanvas::SetClipRect(const IntRect& rect) {
  Flush();
  if (GraphicsDevice* g = graphics())
    g->setViewport({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

IntRect TAsphyreCanvas::GetClipRect() const {
  GraphicsDevice* g = graphics();
  const auto v = g ? g->viewport() : std::nullopt;
  if (!v) return IntRect{};
  return IntRect{v->x, v->y, v->x + v->width, v->y + v->height};
}

}  // namespace lum
