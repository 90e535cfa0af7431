#include "render/png_writer.h"

#include <png.h>

#include <cstring>

namespace lum {

Status savePng(const std::string& path, const std::vector<uint32_t>& pixels, int width,
               int height, bool keepAlpha) {
  if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height))
    return Error{"savePng: no pixels to write"};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = keepAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const int channels = keepAlpha ? 4 : 3;
  std::vector<uint8_t> bytes(size_t(width) * height * channels);
  for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
    const uint32_t c = pixels[i];
    uint8_t* o = bytes.data() + i * channels;
    o[0] = uint8_t(c >> 16);
    o[1] = uint8_t(c >> 8);
    o[2] = uint8_t(c);
    if (keepAlpha) o[3] = uint8_t(c >> 24);
  }
  if (!png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr))
    return Error{"cannot write " + path + ": " + image.message};
  return {};
}

}  // namespace lum
