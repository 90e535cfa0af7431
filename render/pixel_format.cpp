#include "render/pixel_format.h"

#include <array>

namespace lum {
namespace {

using F = PixelFormat;

// Channel widths from the lowest bits up: blue, green, red, alpha, unused.
constexpr std::array<PixelFormatInfo, 12> kFormats{{
    {F::R3G3B2, "R3G3B2", 1, 3, 3, 2, 0, 0},
    {F::R5G6B5, "R5G6B5", 2, 5, 6, 5, 0, 0},
    {F::X8R8G8B8, "X8R8G8B8", 4, 8, 8, 8, 0, 8},
    {F::X1R5G5B5, "X1R5G5B5", 2, 5, 5, 5, 0, 1},
    {F::X4R4G4B4, "X4R4G4B4", 2, 4, 4, 4, 0, 4},
    {F::A8R8G8B8, "A8R8G8B8", 4, 8, 8, 8, 8, 0},
    {F::A1R5G5B5, "A1R5G5B5", 2, 5, 5, 5, 1, 0},
    {F::A4R4G4B4, "A4R4G4B4", 2, 4, 4, 4, 4, 0},
    {F::A8R3G3B2, "A8R3G3B2", 2, 3, 3, 2, 8, 0},
    {F::None, "none", 1, 2, 2, 2, 2, 0},
    {F::A8, "A8", 1, 0, 0, 0, 8, 0},
    {F::Unknown, "unknown", 0, 0, 0, 0, 0, 0},
}};

uint32_t loadLittle(const uint8_t* src, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(src[i]) << (8 * i);
  return v;
}

void storeLittle(uint32_t v, uint8_t* dst, int bytes) {
  for (int i = 0; i < bytes; ++i) dst[i] = uint8_t(v >> (8 * i));
}

// An n-bit value widened to 8 bits as round(v * 255 / (2^n - 1)); the
// divisor is odd, so there is never a tie to round.
uint32_t widen(uint32_t v, int bits) {
  if (bits == 0) return 255;
  if (bits >= 8) return v & 0xFF;
  const uint32_t max = (1u << bits) - 1;
  return (v * 255 * 2 + max) / (2 * max);
}

// Channels of a packed value: shift and width of each, in the table's order.
struct Layout {
  int blueShift, greenShift, redShift, alphaShift;
};

Layout layoutOf(const PixelFormatInfo& f) {
  Layout l;
  l.blueShift = 0;
  l.greenShift = f.blueBits;
  l.redShift = f.blueBits + f.greenBits;
  l.alphaShift = l.redShift + f.redBits;
  return l;
}

uint32_t field(uint32_t v, int shift, int bits) {
  return bits == 0 ? 0 : (v >> shift) & ((1u << bits) - 1);
}

}  // namespace

const PixelFormatInfo& pixelFormatInfo(PixelFormat format) {
  const auto index = size_t(format);
  return index < kFormats.size() ? kFormats[index] : kFormats.back();
}

std::optional<PixelFormat> pixelFormatFromIndex(int index) {
  if (index < 0 || index >= int(kFormats.size())) return std::nullopt;
  if (kFormats[size_t(index)].bytes == 0) return std::nullopt;
  return kFormats[size_t(index)].format;
}

uint32_t readPixel(const uint8_t* src, PixelFormat format) {
  const auto& f = pixelFormatInfo(format);
  switch (format) {
    case F::A8R8G8B8:
      return loadLittle(src, 4);
    case F::X8R8G8B8:
      return loadLittle(src, 4) | 0xFF000000u;
    case F::A8:
      return (uint32_t(src[0]) << 24) | 0x00FFFFFFu;
    case F::Unknown:
      return 0;
    default:
      break;
  }
  const uint32_t v = loadLittle(src, f.bytes);
  const Layout l = layoutOf(f);
  const uint32_t b = widen(field(v, l.blueShift, f.blueBits), f.blueBits);
  const uint32_t g = widen(field(v, l.greenShift, f.greenBits), f.greenBits);
  const uint32_t r = widen(field(v, l.redShift, f.redBits), f.redBits);
  const uint32_t a = widen(field(v, l.alphaShift, f.alphaBits), f.alphaBits);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

void writePixel(uint32_t argb, uint8_t* dst, PixelFormat format) {
  const auto& f = pixelFormatInfo(format);
  switch (format) {
    case F::A8R8G8B8:
      storeLittle(argb, dst, 4);
      return;
    case F::X8R8G8B8:
      storeLittle(argb | 0xFF000000u, dst, 4);
      return;
    case F::A8:
      dst[0] = uint8_t(argb >> 24);
      return;
    case F::Unknown:
      return;
    default:
      break;
  }
  // Keep the top n bits of each 8-bit channel.
  auto top = [](uint32_t channel, int bits) { return bits == 0 ? 0u : channel >> (8 - bits); };
  const Layout l = layoutOf(f);
  uint32_t v = top(argb & 0xFF, f.blueBits) << l.blueShift;
  v |= top((argb >> 8) & 0xFF, f.greenBits) << l.greenShift;
  v |= top((argb >> 16) & 0xFF, f.redBits) << l.redShift;
  v |= top(argb >> 24, f.alphaBits) << l.alphaShift;
  storeLittle(v, dst, f.bytes);
}

void readPixels(const uint8_t* src, PixelFormat format, uint32_t* argb, size_t count) {
  const size_t step = size_t(pixelBytes(format));
  for (size_t i = 0; i < count; ++i) argb[i] = readPixel(src + i * step, format);
}

void writePixels(const uint32_t* argb, uint8_t* dst, PixelFormat format, size_t count) {
  const size_t step = size_t(pixelBytes(format));
  for (size_t i = 0; i < count; ++i) writePixel(argb[i], dst + i * step, format);
}

bool rowsCopyAsStored(PixelFormat stored, PixelFormat texture) {
  if (stored == texture) return true;
  auto pair = [&](F a, F b) {
    return (stored == a && texture == b) || (stored == b && texture == a);
  };
  return pair(F::X8R8G8B8, F::A8R8G8B8) || pair(F::X4R4G4B4, F::A4R4G4B4);
}

}  // namespace lum
