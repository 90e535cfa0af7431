#pragma once
// The "gl" graphics device: an SDL window with an OpenGL 3.3 core context.
// The scene is drawn into an off-screen framebuffer of the back-buffer size
// and shown scaled into the window with the aspect ratio kept (black bars).
// Full screen is a borderless desktop-sized window showing the same buffer.
#include <memory>

#include "render/graphics_device.h"

namespace lum {

struct GlContext;

class GlGraphicsDevice final : public GraphicsDevice {
 public:
  explicit GlGraphicsDevice(const BackendOptions& options);
  ~GlGraphicsDevice() override;

  std::string_view backendName() const override { return "gl"; }
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

  void setBlendState(const BlendState& state) override;
  void setLinearFilter(bool linear) override;
  void bindTexture(GpuTexture* texture) override;
  bool drawIndexed(GpuBatchBuffers& buffers, PrimitiveKind kind, int vertexCount,
                   int primitiveCount) override;

  bool setViewport(const Viewport& viewport) override;
  std::optional<Viewport> viewport() const override;
  bool readBackBuffer(std::vector<uint32_t>& pixels) override;
  bool windowToScene(int wx, int wy, int& sx, int& sy) const override;
  bool hasWindow() const override { return gl_ != nullptr; }
  void setTitle(const std::string& utf8) override;
  void setWindowSize(int width, int height) override;

 private:
  bool makeTarget(int width, int height);
  BackendOptions options_;
  PresentParams params_;
  std::unique_ptr<GlContext> gl_;
  Viewport viewport_;
  bool inScene_ = false;
};

}  // namespace lum
