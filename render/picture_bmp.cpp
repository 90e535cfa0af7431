// Windows bitmaps through SDL2's decoder. Palette bitmaps come back as
// INDEX8 surfaces whose bytes are the raw palette indices, which we keep
// beside the colours: the image cache uses them as alpha masks.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <memory>

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

}  // namespace

Result<Picture> loadBitmapPicture(ByteSpan bytes) {
  if (Status s = checkDeclaredSize(bytes); !s) return s.error();
  if (bytes.size() > size_t(INT32_MAX)) return Error{"bitmap file is too large"};
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
  if (!rw) return Error{"bitmap cannot be read"};
  SurfacePtr surface(SDL_LoadBMP_RW(rw, 1));
  if (!surface) return Error{std::string("bitmap cannot be decoded: ") + SDL_GetError()};
  if (!pictureSizeAllowed(surface->w, surface->h)) return Error{"bitmap size is unusable"};
  if (surface->format->format == SDL_PIXELFORMAT_INDEX8) return fromIndexed(surface.get());
  return fromTrueColour(surface.get());
}

}  // namespace lum
