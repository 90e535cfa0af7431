// Filling an image's textures from a picture or from an archive image record.
#include <cmath>
#include <vector>

#include "render/device.h"
#include "render/image.h"

namespace lum {

namespace {

// Above this many texels in all textures together an upload is refused, so
// that a tiny pattern size on a large picture cannot exhaust memory.
constexpr int64_t kMaxLaidOutTexels = int64_t{1} << 27;

void applyColorKey(uint32_t* row, int count, double tolerance, uint32_t key) {
  const double kr = (key & 0xFF) / 255.0, kg = ((key >> 8) & 0xFF) / 255.0,
               kb = ((key >> 16) & 0xFF) / 255.0;
  for (int i = 0; i < count; ++i) {
    const uint32_t c = row[i];
    const double alpha = colorKeyAlpha(((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                       (c & 0xFF) / 255.0, kr, kg, kb, tolerance);
    row[i] = (c & 0x00FFFFFF) | (uint32_t(std::lrint(alpha * 255.0)) << 24);
  }
}

// Padding texels right of and below the cells: alpha 0, colours from the
// cells' edges, and the texture's last column and row from its first ones,
// so that linear filtering at a border (which wraps) does not pull in black.
void fillPadding(uint32_t* texels, int width, int height, int usedWidth, int usedHeight) {
  if (usedWidth <= 0 || usedHeight <= 0) return;
  auto at = [&](int x, int y) -> uint32_t& { return texels[size_t(y) * width + x]; };
  for (int y = 0; y < usedHeight; ++y)
    for (int x = usedWidth; x < width; ++x) at(x, y) = at(usedWidth - 1, y) & 0x00FFFFFF;
  for (int y = usedHeight; y < height; ++y)
    for (int x = 0; x < width; ++x) at(x, y) = at(x, usedHeight - 1) & 0x00FFFFFF;
  if (usedWidth < width)
    for (int y = 0; y < height; ++y) at(width - 1, y) = at(0, y) & 0x00FFFFFF;
  if (usedHeight < height)
    for (int x = 0; x < width; ++x) at(x, height - 1) = at(x, 0) & 0x00FFFFFF;
}

}  // namespace

bool TAsphyreImage::UploadBitmap(const Picture& picture, bool colorKey, double tolerance,
                                 uint32_t keyColor) {
  if (state_ != TextureState::None || picture.width <= 0 || picture.height <= 0 ||
      picture.pitch < picture.width * 4 ||
      picture.pixels.size() < size_t(picture.pitch) * size_t(picture.height))
    return false;
  if (!computeLayout()) return false;
  const int pw = patternSize_.width, ph = patternSize_.height;
  const int64_t columns = picture.width / pw, rows = picture.height / ph;
  const int64_t cells = columns * rows;
  if (cells <= 0 || perTexture_ <= 0) return false;
  const int64_t textureCount = (cells + perTexture_ - 1) / perTexture_;
  const int tw = textureSize_.width, th = textureSize_.height;
  if (textureCount * tw * th > kMaxLaidOutTexels) return false;

  // Pictures always arrive as 32-bit words with alpha (opaque when the file
  // had none), which is the working copy's format.
  std::vector<std::vector<uint32_t>> laid(size_t(textureCount),
                                          std::vector<uint32_t>(size_t(tw) * th, 0));
  for (int64_t cell = 0; cell < cells; ++cell) {
    const int64_t sx = (cell % columns) * pw, sy = (cell / columns) * ph;
    const int64_t t = cell / perTexture_, slot = cell % perTexture_;
    const int64_t dx = (slot % perRow_) * pw, dy = (slot / perRow_) * ph;
    for (int y = 0; y < ph; ++y) {
      const uint8_t* src = picture.row(int(sy + y)) + sx * 4;
      uint32_t* dst = laid[size_t(t)].data() + size_t(dy + y) * tw + dx;
      readPixels(src, PixelFormat::A8R8G8B8, dst, size_t(pw));
      if (colorKey) applyColorKey(dst, pw, tolerance, keyColor);
    }
  }
  for (auto& texels : laid) fillPadding(texels.data(), tw, th, perRow_ * pw, perColumn_ * ph);

  textureCount_ = int(textureCount);
  if (!CreateTextures()) return false;
  std::vector<uint8_t> row;
  for (int t = 0; t < textureCount_; ++t) {
    const auto lock = Lock(t, nullptr, false);
    if (!lock) {
      ReleaseTextures();
      return false;
    }
    for (int y = 0; y < th; ++y)
      writePixels(laid[size_t(t)].data() + size_t(y) * tw, lock->bits + size_t(y) * lock->pitch,
                  lock->format, size_t(tw));
    Unlock(t);
  }
  return true;
}

bool TAsphyreImage::UploadRecord(std::span<const uint8_t> record) {
  const auto image = decodeArchiveImage(record);
  if (!image.ok()) return false;
  return UploadArchiveImage(image.value());
}

bool TAsphyreImage::UploadArchiveImage(const ArchiveImage& image) {
  if (state_ != TextureState::None) return false;
  const size_t rowBytes = image.rowBytes();
  if (image.textureCount < 0 || image.textureSize.width <= 0 || image.textureSize.height <= 0 ||
      image.pixels.size() < image.textureBytes() * size_t(image.textureCount))
    return false;
  patternSize_ = image.patternSize;
  visibleSize_ = image.visibleSize;
  patternCount_ = image.patternCount;
  textureSize_ = image.textureSize;
  textureCount_ = image.textureCount;
  if (!CreateTextures()) return false;
  const int w = textureSize_.width;
  std::vector<uint32_t> argb(static_cast<size_t>(w));
  for (int t = 0; t < textureCount_; ++t) {
    const auto lock = Lock(t, nullptr, false);
    if (!lock) {
      ReleaseTextures();
      return false;
    }
    const bool copy = rowsCopyAsStored(image.format, lock->format);
    for (int y = 0; y < textureSize_.height; ++y) {
      const uint8_t* src = image.textureRow(t, y);
      uint8_t* dst = lock->bits + size_t(y) * lock->pitch;
      if (copy) {
        std::copy(src, src + rowBytes, dst);
      } else {
        readPixels(src, image.format, argb.data(), size_t(w));
        writePixels(argb.data(), dst, lock->format, size_t(w));
      }
    }
    Unlock(t);
  }
  return true;
}

}  // namespace lum
