#pragma once
// The 2D canvas: the only way anything reaches the screen. Quads, rectangles,
// lines and triangles are collected into one vertex and index batch, drawn
// with a single call whenever the primitive kind, the effect or the texture
// changes, the batch is full, or the scene ends.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "render/device.h"
#include "render/geometry.h"

namespace lum {

class TDXBaseTexture;
class TAsphyreImage;

class TAsphyreCanvas : public TAsphyreDeviceSubscriber {
 public:
  TAsphyreCanvas();
  ~TAsphyreCanvas() override;

  int32_t VertexCache() const { return vertexCache_; }
  void SetVertexCache(int32_t value);  // rounded up to 4, clamped to 512 ... 65536
  bool Antialias() const { return antialias_; }
  void SetAntialias(bool value);
  bool Dithering() const { return dithering_; }
  void SetDithering(bool value);
  bool AlphaTesting() const { return alphaTesting_; }
  void SetAlphaTesting(bool value);  // ignored while initialised

  void TexturedQuad(TDXBaseTexture* texture, const Quad& points, const PatternDesc& pattern,
                    const QuadColors& colors, uint32_t effect);
  void DrawPattern(TAsphyreImage* image, float x, float y, int32_t pattern, uint32_t color,
                   uint32_t effect);
  void DrawPatternScaled(TAsphyreImage* image, float x, float y, float scale, int32_t pattern,
                         uint32_t color, uint32_t effect);
  void DrawPatternRotated(TAsphyreImage* image, float cx, float cy, float angle, float scale,
                          int32_t pattern, uint32_t color, uint32_t effect);
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color,
                uint32_t effect);
  void FrameRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color,
                 uint32_t effect);
  void FillFrameRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t fill,
                     uint32_t outline, uint32_t effect);
  void Line(Point2 a, Point2 b, uint32_t colorA, uint32_t colorB, uint32_t effect);
  void Triangle(Point2 a, Point2 b, Point2 c, uint32_t color, uint32_t effect);
  void SetClipRect(const IntRect& rect);
  IntRect GetClipRect() const;

  // Draws whatever is pending.
  void Flush();

  bool HandleNotice(int32_t code) override;

  bool Initialized() const { return initialized_; }
  bool Lost() const { return lost_; }
  // Draw calls since the states were last reset (each scene end resets them).
  int BatchCount() const { return batchCount_; }
  // Draw calls since the canvas was made, for tests and benchmarks.
  int64_t DrawCalls() const { return drawCalls_; }

 private:
  bool createBuffers();
  void releaseBuffers();
  void resetBatch();
  void resetStates();
  void applyEffect(uint32_t effect);
  bool prepare(PrimitiveKind kind, int vertices, uint32_t effect, int textureIndex,
               TDXBaseTexture* owner, int indices);
  void addQuad(const Quad& points, const Quad& uv, const QuadColors& colors, float offset);
  GraphicsDevice* graphics() const;

  bool initialized_ = false, lost_ = false;
  int32_t vertexCache_ = 4096;
  std::unique_ptr<GpuBatchBuffers> buffers_;
  int vertexCount_ = 0, indexCount_ = 0, primitiveCount_ = 0;
  std::vector<Vertex> vertices_;
  std::vector<uint16_t> indices_;
  PrimitiveKind kind_ = PrimitiveKind::None;
  TDXBaseTexture* textureOwner_ = nullptr;
  uint64_t textureSerial_ = 0;
  int textureIndex_ = -2;
  int64_t effect_ = -1;
  bool statesDirty_ = true;
  bool antialias_ = true, dithering_ = false, alphaTesting_ = true;
  int batchCount_ = 0;
  int64_t drawCalls_ = 0;
};

}  // namespace lum
