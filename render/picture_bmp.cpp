// Windows bitmaps through SDL2's decoder. Palette bitmaps come back as
// INDEX8 surfaces whose bytes are the raw palette indices, which we keep
// beside the colours: the image cache uses them as alpha masks.
//
// SDL refuses an 8-bit bitmap whose pixels use indices beyond the colours
// its header counts, while the bitmaps' home platform draws them (a mask
// saved with a short grey palette is the usual case). Such files are given
// to SDL with the palette filled up to its full size with black, so those
// indices read as black and keep their values.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "render/picture_loaders.h"

namespace lum {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

uint32_t le32(ByteSpan b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

// The size from the bitmap's own header, checked before SDL allocates for it.
Status checkDeclaredSize(ByteSpan bytes) {
  if (bytes.size() < 26) return Error{"bitmap header is cut short", 0};
  const uint32_t infoSize = le32(bytes, 14);
  int64_t width, height;
  if (infoSize == 12) {
    width = bytes[18] | bytes[19] << 8;
    height = bytes[20] | bytes[21] << 8;
  } else {
    width = int32_t(le32(bytes, 18));
    height = std::llabs(int64_t(int32_t(le32(bytes, 22))));
  }
  if (!pictureSizeAllowed(width, height)) return Error{"bitmap size is unusable", 18};
  return {};
}

Picture fromIndexed(SDL_Surface* s) {
  Picture picture = Picture::blank(s->w, s->h, PixelFormat::X8R8G8B8);
  picture.bitsPerPixel = 8;
  picture.paletteIndices.resize(size_t(s->w) * size_t(s->h));
  const SDL_Palette* palette = s->format->palette;
  const int colours = palette ? palette->ncolors : 0;
  for (int y = 0; y < s->h; ++y) {
    const auto* src = static_cast<const uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
    std::memcpy(&picture.paletteIndices[size_t(y) * size_t(s->w)], src, size_t(s->w));
    uint8_t* dst = picture.row(y);
    for (int x = 0; x < s->w; ++x, dst += 4) {
      const int i = src[x];
      if (i < colours) {
        const SDL_Color c = palette->colors[i];
        dst[0] = c.b, dst[1] = c.g, dst[2] = c.r;
      }
      dst[3] = 0xFF;
    }
  }
  return picture;
}

Result<Picture> fromTrueColour(SDL_Surface* s) {
  const bool alpha = s->format->Amask != 0;
  SurfacePtr argb(SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) return Error{std::string("bitmap conversion failed: ") + SDL_GetError()};
  Picture picture = Picture::blank(s->w, s->h, alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
  picture.bitsPerPixel = alpha ? 32 : 24;
  for (int y = 0; y < s->h; ++y) {
    const auto* src = static_cast<const uint8_t*>(argb->pixels) + size_t(y) * size_t(argb->pitch);
    uint8_t* dst = picture.row(y);
    std::memcpy(dst, src, size_t(picture.pitch));
    if (!alpha)
      for (int x = 0; x < s->w; ++x) dst[size_t(x) * 4 + 3] = 0xFF;
  }
  return picture;
}

void putLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A copy of a palette bitmap whose palette counts fewer colours than its
// depth can index, with the palette grown to full size (black entries) and
// the pixels moved behind it; nothing when the bitmap needs no change.
std::optional<std::vector<uint8_t>> withFullPalette(ByteSpan bytes) {
  constexpr size_t kFileHeader = 14, kInfoHeader = 40;
  if (bytes.size() < kFileHeader + kInfoHeader) return std::nullopt;
  const uint32_t infoSize = le32(bytes, 14);
  if (infoSize < kInfoHeader || infoSize > bytes.size() - kFileHeader) return std::nullopt;
  const int bits = bytes[28] | bytes[29] << 8;
  if (bits != 1 && bits != 4 && bits != 8) return std::nullopt;
  const uint32_t full = 1u << bits, counted = le32(bytes, 46);
  if (counted == 0 || counted >= full) return std::nullopt;
  const size_t paletteAt = kFileHeader + infoSize;
  const uint32_t pixelsAt = le32(bytes, 10);
  if (pixelsAt > bytes.size()) return std::nullopt;
  // The colours the file holds (a palette cut short by the file stays short,
  // and SDL reports it as before).
  const size_t paletteBytes = std::min<size_t>(size_t(counted) * 4, bytes.size() - paletteAt);
  if (paletteBytes < size_t(counted) * 4) return std::nullopt;

  std::vector<uint8_t> out(bytes.begin(), bytes.begin() + long(paletteAt + paletteBytes));
  out.resize(paletteAt + size_t(full) * 4, 0);
  const size_t newPixelsAt = out.size();
  out.insert(out.end(), bytes.begin() + pixelsAt, bytes.end());
  putLe32(out, 2, uint32_t(out.size()));
  putLe32(out, 10, uint32_t(newPixelsAt));
  putLe32(out, 46, full);
  putLe32(out, 50, 0);  // every colour important
  return out;
}

}  // namespace

Result<Picture> loadBitmapPicture(ByteSpan original) {
  if (Status s = checkDeclaredSize(original); !s) return s.error();
  if (original.size() > size_t(INT32_MAX) - 1024) return Error{"bitmap file is too large"};
  const std::optional<std::vector<uint8_t>> filled = withFullPalette(original);
  const ByteSpan bytes = filled ? ByteSpan(*filled) : original;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
  if (!rw) return Error{"bitmap cannot be read"};
  SurfacePtr surface(SDL_LoadBMP_RW(rw, 1));
  if (!surface) return Error{std::string("bitmap cannot be decoded: ") + SDL_GetError()};
  if (!pictureSizeAllowed(surface->w, surface->h)) return Error{"bitmap size is unusable"};
  if (surface->format->format == SDL_PIXELFORMAT_INDEX8) return fromIndexed(surface.get());
  return fromTrueColour(surface.get());
}

}  // namespace lum
