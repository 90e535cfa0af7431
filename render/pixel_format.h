#pragma once
// Pixel formats shared by archive image records and device textures. The
// numeric value of each enumerator is the index stored in archive records.
// Channels are packed from the lowest bits upwards: blue, green, red, alpha.
// "Argb" below means a 32-bit A8R8G8B8 word (in memory: B, G, R, A bytes).
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lum {

enum class PixelFormat : uint8_t {
  R3G3B2 = 0,
  R5G6B5 = 1,
  X8R8G8B8 = 2,
  X1R5G5B5 = 3,
  X4R4G4B4 = 4,
  A8R8G8B8 = 5,
  A1R5G5B5 = 6,
  A4R4G4B4 = 7,
  A8R3G3B2 = 8,
  None = 9,
  A8 = 10,
  Unknown = 11,
};

struct PixelFormatInfo {
  PixelFormat format;
  const char* name;
  int bytes;  // bytes per pixel; 0 for Unknown
  uint8_t blueBits, greenBits, redBits, alphaBits;
  uint8_t unusedBits;  // the X part of X formats, above the colour channels
};

// The one table of formats, indexed by the enumerator's value.
const PixelFormatInfo& pixelFormatInfo(PixelFormat format);

// The format stored under an archive index, or nothing when the index names
// no format with pixels (negative, Unknown, or beyond the table).
std::optional<PixelFormat> pixelFormatFromIndex(int index);

inline int pixelBytes(PixelFormat format) { return pixelFormatInfo(format).bytes; }
inline bool hasAlphaChannel(PixelFormat format) {
  return pixelFormatInfo(format).alphaBits > 0;
}

// One pixel at src (little-endian) as Argb.
uint32_t readPixel(const uint8_t* src, PixelFormat format);
// Argb written into one pixel of the format at dst.
void writePixel(uint32_t argb, uint8_t* dst, PixelFormat format);

// Whole rows: count pixels of the format at src into Argb words, and back.
void readPixels(const uint8_t* src, PixelFormat format, uint32_t* argb, size_t count);
void writePixels(const uint32_t* argb, uint8_t* dst, PixelFormat format, size_t count);

// True when rows stored in `stored` can be copied byte for byte into a
// texture of format `texture` (same format, or the X/A pairs whose bits
// coincide: X8R8G8B8/A8R8G8B8 and X4R4G4B4/A4R4G4B4).
bool rowsCopyAsStored(PixelFormat stored, PixelFormat texture);

}  // namespace lum
