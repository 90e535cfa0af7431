#pragma once
// The graphics device: everything the device, canvas and textures ask of the
// hardware, behind one interface with interchangeable backends ("gl",
// "soft"). Coordinates are back-buffer pixels with pixel centres on integer
// positions; colours in vertices and clears are 0xAARRGGBB.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "render/blend.h"
#include "render/pixel_format.h"

namespace lum {

// Pretransformed vertex: the 28-byte record the canvas batches.
struct Vertex {
  float x = 0, y = 0, z = 0, rhw = 1.0f;
  uint32_t color = 0;  // 0xAARRGGBB
  float u = 0, v = 0;
};
static_assert(sizeof(Vertex) == 28);

enum class PrimitiveKind { None, Lines, Triangles };

struct Viewport {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Viewport&) const = default;
};

struct TexelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// A lockable texture. Texels are stored in the format it was created with
// rows top first.
class GpuTexture {
 public:
  struct Lock {
    uint8_t* bits = nullptr;  // first texel of the locked rectangle
    int pitch = 0;            // bytes per row
  };
  virtual ~GpuTexture() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual PixelFormat format() const = 0;
  // rect null = whole texture. A read-only lock does not upload on unlock.
  virtual std::optional<Lock> lock(const TexelRect* rect, bool readOnly) = 0;
  virtual void unlock() = 0;
};

// The dynamic vertex and index storage of one canvas.
class GpuBatchBuffers {
 public:
  virtual ~GpuBatchBuffers() = default;
  virtual bool write(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                     int indexCount) = 0;
};

struct PresentParams {
  int width = 640, height = 480;
  bool windowed = true;
  bool vsync = false;
  bool depthBuffer = false;
};

// What showing a frame came to: shown, no device to show it on, or a driver
// fault that a reset of the device may cure.
enum class DeviceStatus { Ok, Lost, DriverError };

class GraphicsDevice {
 public:
  virtual ~GraphicsDevice() = default;
  virtual std::string_view backendName() const = 0;

  virtual bool create(const PresentParams& params) = 0;
  virtual void release() = 0;
  virtual bool reset(const PresentParams& params) = 0;

  virtual bool clear(uint32_t argb) = 0;
  virtual bool beginScene() = 0;
  virtual bool endScene() = 0;
  virtual DeviceStatus present() = 0;

  virtual bool supportsTextureFormat(PixelFormat format) const = 0;
  virtual std::unique_ptr<GpuTexture> createTexture(int width, int height, PixelFormat format,
                                                    bool mipmaps) = 0;
  virtual std::unique_ptr<GpuBatchBuffers> createBatchBuffers(int vertices, int indices) = 0;

  virtual void setBlendState(const BlendState& state) = 0;
  virtual void setLinearFilter(bool linear) = 0;
  virtual void setDithering(bool) {}
  virtual void bindTexture(GpuTexture* texture) = 0;  // null = untextured
  virtual bool drawIndexed(GpuBatchBuffers& buffers, PrimitiveKind kind, int vertexCount,
                           int primitiveCount) = 0;

  virtual bool setViewport(const Viewport& viewport) = 0;
  virtual std::optional<Viewport> viewport() const = 0;

  // The back buffer as 0xAARRGGBB words, rows top first.
  virtual bool readBackBuffer(std::vector<uint32_t>& pixels) = 0;
  // Window position to back-buffer position (letterboxing undone); false
  // when the point lies in a black bar or there is no window.
  virtual bool windowToScene(int wx, int wy, int& sx, int& sy) const = 0;
  // Whether there is a window shown to the player (none when headless).
  virtual bool hasWindow() const { return false; }
  // The window's caption, and its size in screen pixels; nothing headless.
  virtual void setTitle(const std::string& /*utf8*/) {}
  virtual void setWindowSize(int /*width*/, int /*height*/) {}
};

struct BackendOptions {
  bool headless = false;            // draw without any window
  std::string title = "FormMain";  // window caption
};

// Backends by name: "gl" or "soft".
Result<std::unique_ptr<GraphicsDevice>> createGraphicsDevice(std::string_view name,
                                                             const BackendOptions& options);
std::vector<std::string> graphicsBackendNames();

}  // namespace lum
