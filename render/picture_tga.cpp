// TGA: only uncompressed (type 2) and run-length (type 10) true-colour files
// of 24 or 32 bits without a colour map are accepted.
#include <algorithm>
#include <cstring>

#include "render/picture_loaders.h"

namespace lum {
namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kMirrorRows = 0x10;  // pixels run right to left
constexpr uint8_t kTopDown = 0x20;     // rows run top to bottom

// Run-length packets: top bit set = one pixel repeated (low 7 bits + 1)
// times, clear = that many literal pixels. Runs may cross row ends.
bool unpackRle(ByteSpan src, size_t& pos, uint8_t* dst, size_t pixelCount, size_t depth) {
  size_t done = 0;
  while (done < pixelCount) {
    if (pos >= src.size()) return false;
    const uint8_t packet = src[pos++];
    const size_t run = std::min<size_t>((packet & 0x7F) + 1, pixelCount - done);
    if (packet & 0x80) {
      if (src.size() - pos < depth) return false;
      for (size_t i = 0; i < run; ++i) std::memcpy(dst + (done + i) * depth, &src[pos], depth);
      pos += depth;
    } else {
      const size_t literal = ((packet & 0x7F) + 1) * depth;
      if (src.size() - pos < literal) return false;
      std::memcpy(dst + done * depth, &src[pos], run * depth);
      pos += literal;
    }
    done += run;
  }
  return true;
}

}  // namespace

Result<Picture> loadTgaPicture(ByteSpan bytes) {
  if (bytes.size() < kHeaderSize) return Error{"TGA header is cut short", 0};
  const uint8_t idLength = bytes[0];
  const uint8_t colourMapType = bytes[1];
  const uint8_t imageType = bytes[2];
  const int width = bytes[12] | bytes[13] << 8;
  const int height = bytes[14] | bytes[15] << 8;
  const uint8_t depthBits = bytes[16];
  const uint8_t descriptor = bytes[17];
  if (colourMapType != 0) return Error{"TGA with a colour map is not supported", 1};
  if (imageType != 2 && imageType != 10)
    return Error{"TGA image type " + std::to_string(imageType) + " is not supported", 2};
  if (depthBits != 24 && depthBits != 32)
    return Error{"TGA depth " + std::to_string(depthBits) + " is not supported", 16};
  if (!pictureSizeAllowed(width, height)) return Error{"TGA picture size is unusable", 12};

  const size_t depth = depthBits / 8;
  const size_t pixelCount = size_t(width) * size_t(height);
  std::vector<uint8_t> raw(pixelCount * depth);
  size_t pos = kHeaderSize + idLength;
  if (pos > bytes.size()) return Error{"TGA image ID is cut short", 0};
  if (imageType == 2) {
    if (bytes.size() - pos < raw.size()) return Error{"TGA pixels are cut short", int64_t(bytes.size())};
    std::memcpy(raw.data(), &bytes[pos], raw.size());
  } else if (!unpackRle(bytes, pos, raw.data(), pixelCount, depth)) {
    return Error{"TGA run-length data is cut short", int64_t(bytes.size())};
  }

  Picture picture = Picture::blank(width, height, depth == 4 ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
  const bool mirror = descriptor & kMirrorRows;
  const bool bottomUp = !(descriptor & kTopDown);
  for (int y = 0; y < height; ++y) {
    const uint8_t* srcRow = raw.data() + size_t(y) * size_t(width) * depth;
    uint8_t* dstRow = picture.row(bottomUp ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* s = srcRow + size_t(mirror ? width - 1 - x : x) * depth;
      uint8_t* d = dstRow + size_t(x) * 4;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = depth == 4 ? s[3] : 0xFF;
    }
  }
  return picture;
}

}  // namespace lum
