#include "render/backend_soft.h"
#include "render/texel_store.h"

#include <algorithm>

#include "render/backend_soft_frame.h"
#include "render/backend_soft_raster.h"
#include "render/backend_soft_window.h"
#include "render/pixel_format.h"

namespace lum {

// Texels kept in their own format for locking, with a 32-bit copy for the
// rasteriser that is refreshed on every writable unlock. The copy has a
// border of one texel on every side holding the texels from the opposite
// side, so that most samples need no wrapping. Draw calls still waiting to
// be drawn are drawn before the texels change or go.
class SoftTexture final : public TexelStoreTexture {
 public:
  SoftTexture(int width, int height, PixelFormat format, std::shared_ptr<SoftFrameQueue> queue)
      : TexelStoreTexture(width, height, format),
        plain_(size_t(width) * height, 0),
        argb_(size_t(width + 2) * size_t(height + 2), 0),
        queue_(std::move(queue)) {
    texelsChanged();
  }
  ~SoftTexture() override { queue_->flush(); }
  const SoftTextureView& view() const { return view_; }

  std::optional<Lock> lock(const TexelRect* rect, bool readOnly) override {
    if (!readOnly) queue_->flush();
    return TexelStoreTexture::lock(rect, readOnly);
  }

 private:
  void texelsChanged() override {
    toArgb(plain_.data());
    const int w = width(), h = height(), stride = w + 2;
    for (int y = -1; y <= h; ++y) {
      const uint32_t* from = plain_.data() + size_t((y + h) % h) * size_t(w);
      uint32_t* to = argb_.data() + size_t(y + 1) * size_t(stride);
      to[0] = from[w - 1];
      std::copy(from, from + w, to + 1);
      to[w + 1] = from[0];
    }
    view_ = SoftTextureView{argb_.data() + stride + 1, w, h, stride, 1};
  }
  std::vector<uint32_t> plain_;
  std::vector<uint32_t> argb_;
  SoftTextureView view_;
  std::shared_ptr<SoftFrameQueue> queue_;
};

class SoftBatchBuffers final : public GpuBatchBuffers {
 public:
  SoftBatchBuffers(int vertices, int indices) : vertices_(vertices), indices_(indices) {}
  bool write(const Vertex* v, int vertexCount, const uint16_t* i, int indexCount) override {
    if (vertexCount > int(vertices_.size()) || indexCount > int(indices_.size())) return false;
    std::copy(v, v + vertexCount, vertices_.begin());
    std::copy(i, i + indexCount, indices_.begin());
    vertexCount_ = vertexCount;
    indexCount_ = indexCount;
    return true;
  }
  std::vector<Vertex> vertices_;
  std::vector<uint16_t> indices_;
  int vertexCount_ = 0, indexCount_ = 0;
};

SoftGraphicsDevice::SoftGraphicsDevice(const BackendOptions& options)
    : options_(options), accepted_{PixelFormat::A8R8G8B8, PixelFormat::X8R8G8B8, PixelFormat::A4R4G4B4,
                                   PixelFormat::X4R4G4B4},
      simd_(detectSoftSimd()),
      queue_(std::make_shared<SoftFrameQueue>(SoftFrameQueue::bandsFromEnvironment())) {}

SoftGraphicsDevice::~SoftGraphicsDevice() { release(); }

void SoftGraphicsDevice::finishDrawing() { queue_->flush(); }

bool SoftGraphicsDevice::create(const PresentParams& params) {
  if (created_ || params.width <= 0 || params.height <= 0) return false;
  if (!options_.headless) {
    window_ = SoftWindow::open(options_.title, params.width, params.height, params.windowed);
    if (!window_) return false;
  }
  params_ = params;
  back_.assign(size_t(params.width) * params.height, 0);
  viewport_ = {0, 0, params.width, params.height};
  created_ = true;
  return true;
}

void SoftGraphicsDevice::release() {
  queue_->discard();
  window_.reset();
  back_.clear();
  texture_ = nullptr;
  created_ = false;
}

bool SoftGraphicsDevice::reset(const PresentParams& params) {
  if (!created_ || params.width <= 0 || params.height <= 0) return false;
  queue_->discard();
  if (window_) window_->setWindowed(params.windowed);
  params_ = params;
  back_.assign(size_t(params.width) * params.height, 0);
  viewport_ = {0, 0, params.width, params.height};
  return true;
}

bool SoftGraphicsDevice::clear(uint32_t argb) {
  if (!created_) return false;
  finishDrawing();
  std::fill(back_.begin(), back_.end(), argb);
  return true;
}

bool SoftGraphicsDevice::beginScene() {
  if (!created_ || inScene_) return false;
  inScene_ = true;
  return true;
}

bool SoftGraphicsDevice::endScene() {
  if (!inScene_) return false;
  finishDrawing();
  inScene_ = false;
  return true;
}

DeviceStatus SoftGraphicsDevice::present() {
  if (!created_) return DeviceStatus::Lost;
  if (pendingDriverError_) {
    pendingDriverError_ = false;
    return DeviceStatus::DriverError;
  }
  finishDrawing();
  if (window_) window_->show(back_.data(), params_.width, params_.height);
  return DeviceStatus::Ok;
}

bool SoftGraphicsDevice::supportsTextureFormat(PixelFormat format) const {
  return pixelBytes(format) > 0 &&
         std::find(accepted_.begin(), accepted_.end(), format) != accepted_.end();
}

std::unique_ptr<GpuTexture> SoftGraphicsDevice::createTexture(int width, int height, PixelFormat format,
                                                              bool) {
  // Mip levels are never sampled: everything is drawn at its own size or
  // magnified, so one level serves.
  if (!created_ || width <= 0 || height <= 0 || width > 8192 || height > 8192 ||
      !supportsTextureFormat(format))
    return nullptr;
  return std::make_unique<SoftTexture>(width, height, format, queue_);
}

std::unique_ptr<GpuBatchBuffers> SoftGraphicsDevice::createBatchBuffers(int vertices,
                                                                        int indices) {
  if (!created_ || vertices <= 0 || indices <= 0) return nullptr;
  return std::make_unique<SoftBatchBuffers>(vertices, indices);
}

void SoftGraphicsDevice::bindTexture(GpuTexture* texture) {
  texture_ = static_cast<SoftTexture*>(texture);
}

bool SoftGraphicsDevice::drawIndexed(GpuBatchBuffers& buffers, PrimitiveKind kind,
                                     int vertexCount, int primitiveCount) {
  auto& b = static_cast<SoftBatchBuffers&>(buffers);
  if (!created_ || vertexCount > b.vertexCount_) return false;
  const int perPrimitive = kind == PrimitiveKind::Lines ? 2 : 3;
  if (kind == PrimitiveKind::None || primitiveCount * perPrimitive > b.indexCount_) return false;
  const uint16_t* indices = b.indices_.data();
  if (std::any_of(indices, indices + primitiveCount * perPrimitive,
                  [&](uint16_t i) { return i >= vertexCount; }))
    return false;
  SoftSurface target{back_.data(), params_.width, params_.height};
  SoftRasterState state{blend_, linear_, texture_ ? &texture_->view() : nullptr, viewport_,
                        simd_};
  queue_->add(target, state, kind, b.vertices_.data(), indices, primitiveCount);
  ++drawCalls_;
  return true;
}

bool SoftGraphicsDevice::setViewport(const Viewport& viewport) {
  if (!created_ || viewport.width < 0 || viewport.height < 0) return false;
  viewport_ = viewport;
  return true;
}

std::optional<Viewport> SoftGraphicsDevice::viewport() const {
  if (!created_) return std::nullopt;
  return viewport_;
}

bool SoftGraphicsDevice::readBackBuffer(std::vector<uint32_t>& pixels) {
  if (!created_) return false;
  finishDrawing();
  pixels = back_;
  return true;
}

bool SoftGraphicsDevice::windowToScene(int wx, int wy, int& sx, int& sy) const {
  if (!window_) return false;
  return window_->windowToScene(params_.width, params_.height, wx, wy, sx, sy);
}

void SoftGraphicsDevice::setTitle(const std::string& utf8) {
  if (window_) window_->setTitle(utf8);
}

void SoftGraphicsDevice::setWindowSize(int width, int height) {
  if (window_) window_->setSize(width, height);
}

}  // namespace lum
