#pragma once
// The rendering device: owns the graphics backend, brackets scenes, presents
// frames, resets itself after driver faults and tells its subscribers about it all.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "render/graphics_device.h"
#include "render/notice.h"

namespace lum {

class TAsphyreDevice : public TAsphyrePublisher {
 public:
  using TInitializeEvent = std::function<void(TAsphyreDevice& sender, bool& success)>;
  using TNotifyEvent = std::function<void(TAsphyreDevice& sender)>;

  explicit TAsphyreDevice(std::unique_ptr<GraphicsDevice> backend);
  ~TAsphyreDevice() override;

  bool Initialize();
  bool Finalize();
  bool ResetDevice();
  // clearColor in the canvas's colour order (0xAABBGGRR).
  bool Render(uint32_t clearColor, bool clear);
  bool Present();
  bool Clear(uint32_t color, bool depth);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Windowed() const { return windowed_; }
  bool VSync() const { return vsync_; }
  bool DepthBuffer() const { return depthBuffer_; }
  void SetWidth(int value);
  void SetHeight(int value);
  void SetWindowed(bool value);
  void SetVSync(bool value);
  void SetDepthBuffer(bool value);

  TInitializeEvent OnInitialize;
  TNotifyEvent OnFinalize;
  TNotifyEvent OnRender;

  bool Initialized() const { return initialized_; }
  // The backend while a device exists, for the canvas and the textures.
  GraphicsDevice* Graphics() const { return initialized_ ? backend_.get() : nullptr; }
  GraphicsDevice& Backend() const { return *backend_; }
  // The last presented (or current) back buffer, 0xAARRGGBB rows top first.
  bool ReadBackBuffer(std::vector<uint32_t>& pixels) const;
  // Identities for texture objects, so that a new object at a freed one's
  // address is never mistaken for it.
  uint64_t NewObjectSerial() { return ++serials_; }

 private:
  PresentParams presentParams() const;
  std::unique_ptr<GraphicsDevice> backend_;
  int width_ = 640, height_ = 480;
  bool windowed_ = true, vsync_ = false, depthBuffer_ = false;
  bool initialized_ = false;
  uint64_t serials_ = 0;
};

// Converts a colour word between the canvas's order (0xAABBGGRR) and the
// device's (0xAARRGGBB): the lowest and third-lowest bytes trade places.
constexpr uint32_t swapRedBlue(uint32_t c) {
  return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

// A subscriber that accepts only a device as its publisher.
class TAsphyreDeviceSubscriber : public TAsphyreSubscriber {
 public:
  TAsphyreDevice* Device() const { return static_cast<TAsphyreDevice*>(Publisher()); }
  void SetDevice(TAsphyreDevice* device) { SetPublisher(device); }
};

}  // namespace lum
