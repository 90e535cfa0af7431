#pragma once
// The rendering device: owns the graphics backend, brackets scenes, presents
// frames, recovers from lost devices and tells its subscribers about it all.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "render/graphics_device.h"
#include "render/notice.h"

namespace lum {

enum class TBitDepth { bdLow, bdHigh };

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
  bool HardwareTL() const { return hardwareTL_; }
  TBitDepth BitDepth() const { return bitDepth_; }
  int Refresh() const { return refresh_; }
  bool DepthBuffer() const { return depthBuffer_; }
  uint32_t WindowHandle() const { return windowHandle_; }
  void SetWidth(int value);
  void SetHeight(int value);
  void SetWindowed(bool value);
  void SetVSync(bool value);
  void SetHardwareTL(bool value);
  void SetBitDepth(TBitDepth value);
  void SetRefresh(int value);
  void SetDepthBuffer(bool value);
  void SetWindowHandle(uint32_t value);

  TInitializeEvent OnInitialize;
  TNotifyEvent OnFinalize;
  TNotifyEvent OnRender;

  bool Initialized() const { return initialized_; }
  bool Lost() const { return lost_; }
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
  TBitDepth bitDepth_ = TBitDepth::bdHigh;
  int refresh_ = 0;
  bool windowed_ = true, vsync_ = false, hardwareTL_ = true, depthBuffer_ = false;
  uint32_t windowHandle_ = 0;
  bool initialized_ = false, lost_ = false;
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
