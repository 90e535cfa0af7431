#include "render/picture.h"

#include <cstring>

namespace lum {

bool pictureSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide &&
         height <= kMaxPictureSide && width * height <= kMaxPicturePixels;
}

Picture Picture::blank(int width, int height, PixelFormat format) {
  Picture p;
  p.width = width;
  p.height = height;
  p.format = format;
  p.bitsPerPixel = format == PixelFormat::A8R8G8B8 ? 32 : 24;
  p.pitch = width * 4;
  p.pixels.assign(size_t(p.pitch) * size_t(height), 0);
  return p;
}

uint32_t Picture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  uint32_t v;
  std::memcpy(&v, row(y) + size_t(x) * 4, 4);
  return v;
}

}  // namespace lum
