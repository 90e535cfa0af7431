#include "render/device.h"

namespace lum {

TAsphyreDevice::TAsphyreDevice(std::unique_ptr<GraphicsDevice> backend)
    : backend_(std::move(backend)) {}

TAsphyreDevice::~TAsphyreDevice() { Finalize(); }

PresentParams TAsphyreDevice::presentParams() const {
  PresentParams p;
  p.width = width_;
  p.height = height_;
  p.windowed = windowed_;
  p.vsync = vsync_;
  p.depthBuffer = depthBuffer_;
  return p;
}

bool TAsphyreDevice::Initialize() {
  if (initialized_ || !backend_) return false;
  if (!backend_->create(presentParams())) return false;
  initialized_ = true;
  bool success = Notify(NoticeInitialize);
  if (!success) Finalize();
  if (OnInitialize) {
    OnInitialize(*this, success);
    if (!success) Finalize();
  }
  return success;
}

bool TAsphyreDevice::Finalize() {
  if (!initialized_) return false;
  if (OnFinalize) OnFinalize(*this);
  Notify(NoticeFinalize);
  backend_->release();
  initialized_ = false;
  return true;
}

bool TAsphyreDevice::ResetDevice() {
  if (!initialized_) return false;
  Notify(NoticeLost);
  const bool ok = backend_->reset(presentParams());
  if (ok) Notify(NoticeRecovered);
  return ok;
}

bool TAsphyreDevice::Clear(uint32_t color, bool) {
  // No backend keeps a depth buffer (nothing here draws with depth), so the
  // depth flag has nothing to clear.
  if (!initialized_) return false;
  return backend_->clear(swapRedBlue(color));
}

bool TAsphyreDevice::Render(uint32_t clearColor, bool clear) {
  if (!initialized_ || !OnRender) return false;
  if (clear && !Clear(clearColor, depthBuffer_)) return false;
  if (!backend_->beginScene()) return false;
  Notify(NoticeBeginScene);
  OnRender(*this);
  // The render handler may have finalised the device.
  if (!initialized_) return false;
  Notify(NoticeEndScene);
  return backend_->endScene();
}

bool TAsphyreDevice::Present() {
  if (!initialized_) return false;
  DeviceStatus status = backend_->present();
  if (status == DeviceStatus::DriverError) {
    if (backend_->reset(presentParams())) {
      status = DeviceStatus::Ok;
    } else {
      Finalize();
    }
  }
  return status == DeviceStatus::Ok;
}

bool TAsphyreDevice::ReadBackBuffer(std::vector<uint32_t>& pixels) const {
  return initialized_ && backend_->readBackBuffer(pixels);
}

void TAsphyreDevice::SetWidth(int value) {
  width_ = value;
  if (initialized_) ResetDevice();
}

void TAsphyreDevice::SetHeight(int value) {
  height_ = value;
  if (initialized_) ResetDevice();
}

void TAsphyreDevice::SetWindowed(bool value) {
  windowed_ = value;
  if (initialized_) ResetDevice();
}

void TAsphyreDevice::SetVSync(bool value) {
  vsync_ = value;
  if (initialized_) ResetDevice();
}

void TAsphyreDevice::SetDepthBuffer(bool value) {
  if (!initialized_) depthBuffer_ = value;
}


}  // namespace lum
