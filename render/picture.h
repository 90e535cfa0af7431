#pragma once
// A decoded picture, whatever file format it came from.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/pixel_format.h"

namespace lum {

// Decoders refuse pictures beyond these, so that a small crafted file cannot
// make us allocate gigabytes.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 25;  // 128 MiB as Argb

struct Picture {
  int width = 0;
  int height = 0;
  // Depth of the source as a program would see it after decoding: 8 for
  // palette bitmaps, 24 for pictures without alpha, 32 with alpha. Only 32
  // means the alpha bytes in `pixels` came from the file.
  int bitsPerPixel = 32;
  // A8R8G8B8 when the alpha came from the file, X8R8G8B8 otherwise; either
  // way `pixels` holds 4-byte Argb pixels and opaque pictures carry alpha 255.
  PixelFormat format = PixelFormat::A8R8G8B8;
  int pitch = 0;                // bytes per row of `pixels` (width * 4)
  std::vector<uint8_t> pixels;  // rows top to bottom
  // Palette bitmaps only (bitsPerPixel 8): the raw palette index of every
  // pixel, width bytes per row, rows top to bottom, no padding. The image
  // cache uses these bytes as an alpha mask.
  std::vector<uint8_t> paletteIndices;

  bool hasAlpha() const { return format == PixelFormat::A8R8G8B8; }
  bool hasPaletteIndices() const { return !paletteIndices.empty(); }
  uint32_t pixel(int x, int y) const;  // Argb; 0 outside the picture
  uint8_t* row(int y) { return pixels.data() + size_t(y) * size_t(pitch); }
  const uint8_t* row(int y) const { return pixels.data() + size_t(y) * size_t(pitch); }

  // A blank picture of the given size (alpha 0 everywhere) with the given
  // format; the size must already be checked by pictureSizeAllowed.
  static Picture blank(int width, int height, PixelFormat format);
};

bool pictureSizeAllowed(int64_t width, int64_t height);

}  // namespace lum
