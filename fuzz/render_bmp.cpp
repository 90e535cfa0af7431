// The Windows bitmap decoder on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "render/picture_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto picture = lum::loadBitmapPicture({data, size});
  if (picture) {
    // Touch every pixel so a size that disagrees with the buffer shows up.
    volatile uint32_t sum = 0;
    for (int y = 0; y < picture->height; ++y)
      for (int x = 0; x < picture->width; ++x) sum = sum + picture->pixel(x, y);
    for (uint8_t index : picture->paletteIndices) sum = sum + index;
  }
  return 0;
}
