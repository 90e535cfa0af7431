#include "media/alpha_pairing.h"

namespace lum {
namespace {

uint8_t maskValue(const Picture& mask, int x, int y) {
  if (x >= mask.width || y >= mask.height) return 0;
  if (mask.hasPaletteIndices()) return mask.paletteIndices[size_t(y) * size_t(mask.width) + x];
  return static_cast<uint8_t>((mask.pixel(x, y) >> 16) & 0xFF);
}

}  // namespace

Picture combineColourAndMask(const Picture& colour, const Picture& mask) {
  Picture out = colour;
  out.format = PixelFormat::A8R8G8B8;
  out.bitsPerPixel = 32;
  out.paletteIndices.clear();
  for (int y = 0; y < out.height; ++y) {
    uint8_t* row = out.row(y);
    for (int x = 0; x < out.width; ++x) row[x * 4 + 3] = maskValue(mask, x, y);
  }
  return out;
}

void alphaToGrey(Picture& picture) {
  const bool fileHadAlpha = picture.bitsPerPixel == 32 && picture.hasAlpha();
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* row = picture.row(y);
    for (int x = 0; x < picture.width; ++x) {
      uint8_t a = fileHadAlpha ? row[x * 4 + 3] : 0;
      row[x * 4 + 0] = row[x * 4 + 1] = row[x * 4 + 2] = row[x * 4 + 3] = a;
    }
  }
  picture.format = PixelFormat::A8R8G8B8;
  picture.bitsPerPixel = 32;
  picture.paletteIndices.clear();
}

}  // namespace lum
