#pragma once
// The "soft" graphics device: a 32-bit back buffer in memory drawn by the
// software rasteriser, shown through SDL's own renderer in a window, or not
// shown at all when headless.
#include <memory>
#include <vector>

#include "render/backend_soft_raster.h"
#include "render/graphics_device.h"

namespace lum {

class SoftWindow;
class SoftFrameQueue;

class SoftGraphicsDevice final : public GraphicsDevice {
 public:
  explicit SoftGraphicsDevice(const BackendOptions& options);
  ~SoftGraphicsDevice() override;

  std::string_view backendName() const override { return "soft"; }
  bool create(const PresentParams& params) override;
  void release() override;
  bool reset(const PresentParams& params) override;

  bool clear(uint32_t argb) override;
  bool beginScene() override;
  bool endScene() override;
  DeviceStatus present() override;

  bool supportsTextureFormat(PixelFormat format) const override;
  std::unique_ptr<GpuTexture> createTexture(int width, int height, PixelFormat format,
                                            bool mipmaps) override;
  std::unique_ptr<GpuBatchBuffers> createBatchBuffers(int vertices, int indices) override;

  void setBlendState(const BlendState& state) override { blend_ = state; }
  void setLinearFilter(bool linear) override { linear_ = linear; }
  void bindTexture(GpuTexture* texture) override;
  bool drawIndexed(GpuBatchBuffers& buffers, PrimitiveKind kind, int vertexCount,
                   int primitiveCount) override;

  bool setViewport(const Viewport& viewport) override;
  std::optional<Viewport> viewport() const override;
  bool readBackBuffer(std::vector<uint32_t>& pixels) override;
  bool windowToScene(int wx, int wy, int& sx, int& sy) const override;
  bool hasWindow() const override { return window_ != nullptr; }
  void setTitle(const std::string& utf8) override;
  void setWindowSize(int width, int height) override;

  // Test hooks: make the next present report a lost device (which then needs
  // a reset), or a driver error; and limit the texture formats on offer.
  void simulateDriverError() { pendingDriverError_ = true; }
  void setAcceptedFormats(std::vector<PixelFormat> formats) { accepted_ = std::move(formats); }
  int drawCalls() const { return drawCalls_; }

 private:
  // Draws the calls still waiting in the queue.
  void finishDrawing();

  BackendOptions options_;
  PresentParams params_;
  bool created_ = false;
  bool inScene_ = false;
  bool pendingDriverError_ = false;
  std::vector<uint32_t> back_;
  Viewport viewport_;
  BlendState blend_;
  bool linear_ = false;
  class SoftTexture* texture_ = nullptr;
  std::vector<PixelFormat> accepted_;
  int drawCalls_ = 0;
  std::unique_ptr<SoftWindow> window_;
  SoftSimd simd_;
  // Shared with the textures, which flush it before their texels change.
  std::shared_ptr<SoftFrameQueue> queue_;
};

}  // namespace lum
