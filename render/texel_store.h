#pragma once
// A texture whose texels live in memory in their own pixel format, as a
// managed texture's copy does: locking hands out that memory, and unlocking
// after a write tells the backend to take the new texels.
#include <cstdint>
#include <optional>
#include <vector>

#include "render/graphics_device.h"
#include "render/pixel_format.h"

namespace lum {

class TexelStoreTexture : public GpuTexture {
 public:
  TexelStoreTexture(int width, int height, PixelFormat format)
      : width_(width), height_(height), format_(format), pitch_(width * pixelBytes(format)),
        raw_(size_t(pitch_) * height, 0) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  PixelFormat format() const override { return format_; }

  std::optional<Lock> lock(const TexelRect* rect, bool readOnly) override {
    if (locked_) return std::nullopt;
    TexelRect r{0, 0, width_, height_};
    if (rect) {
      r = *rect;
      if (r.left < 0 || r.top < 0 || r.right > width_ || r.bottom > height_ ||
          r.left >= r.right || r.top >= r.bottom)
        return std::nullopt;
    }
    locked_ = true;
    writable_ = !readOnly;
    return Lock{raw_.data() + size_t(r.top) * pitch_ + size_t(r.left) * pixelBytes(format_),
                pitch_};
  }
  void unlock() override {
    if (locked_ && writable_) texelsChanged();
    locked_ = false;
  }

 protected:
  virtual void texelsChanged() = 0;
  // Every texel as A8R8G8B8, rows top first.
  void toArgb(uint32_t* out) const {
    for (int y = 0; y < height_; ++y)
      readPixels(raw_.data() + size_t(y) * pitch_, format_, out + size_t(y) * width_, size_t(width_));
  }

 private:
  int width_, height_;
  PixelFormat format_;
  int pitch_;
  std::vector<uint8_t> raw_;
  bool locked_ = false, writable_ = false;
};

}  // namespace lum
