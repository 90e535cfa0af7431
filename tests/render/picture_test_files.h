#pragma once
// Small pictures made in memory for loader tests, so no binary files are
// checked in. Pixels are given as Argb words, rows top first.
#include <SDL.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace lum::test {

struct TgaLayout {
  int type = 2;
  int depth = 32;
  int colourMapType = 0;
  uint8_t descriptor = 0x20;  // top-down
  std::vector<uint8_t> imageId;
};

// Rows are written in the order the descriptor implies, so that a correct
// loader gives back `argb` in reading order.
inline std::vector<uint8_t> makeTga(int w, int h, const std::vector<uint32_t>& argb, const TgaLayout& layout) {
  std::vector<uint8_t> out(18, 0);
  out.reserve(18 + layout.imageId.size() + size_t(w) * size_t(h) * 8);
  out[0] = uint8_t(layout.imageId.size());
  out[1] = uint8_t(layout.colourMapType);
  out[2] = uint8_t(layout.type);
  out[12] = uint8_t(w), out[13] = uint8_t(w >> 8);
  out[14] = uint8_t(h), out[15] = uint8_t(h >> 8);
  out[16] = uint8_t(layout.depth);
  out[17] = layout.descriptor;
  for (uint8_t b : layout.imageId) out.push_back(b);
  const int bytes = layout.depth / 8;
  const bool bottomUp = !(layout.descriptor & 0x20), mirror = layout.descriptor & 0x10;
  std::vector<uint8_t> pixels;
  for (int fy = 0; fy < h; ++fy) {
    const int y = bottomUp ? h - 1 - fy : fy;
    for (int fx = 0; fx < w; ++fx) {
      const int x = mirror ? w - 1 - fx : fx;
      const uint32_t p = argb[size_t(y * w + x)];
      for (int i = 0; i < bytes; ++i) pixels.push_back(uint8_t(p >> (8 * i)));
    }
  }
  if (layout.type == 10) {
    // Alternate literal packets of one pixel and repeat packets of one pixel,
    // which exercises both kinds without depending on the content.
    for (size_t i = 0, n = 0; i < pixels.size(); i += size_t(bytes), ++n) {
      out.push_back(n % 2 ? 0x80 : 0x00);
      out.insert(out.end(), pixels.begin() + long(i), pixels.begin() + long(i) + bytes);
    }
  } else {
    out.insert(out.end(), pixels.begin(), pixels.end());
  }
  return out;
}

// format: PNG_FORMAT_RGBA, PNG_FORMAT_RGB, PNG_FORMAT_GA, PNG_FORMAT_GRAY,
// optionally with PNG_FORMAT_FLAG_COLORMAP (then `argb` gives the colours
// through a palette built in order of appearance).
inline std::vector<uint8_t> makePng(int w, int h, const std::vector<uint32_t>& argb, png_uint_32 format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(w);
  image.height = png_uint_32(h);
  image.format = format;
  std::vector<uint8_t> rgba;
  for (uint32_t p : argb) {
    rgba.push_back(uint8_t(p >> 16));
    rgba.push_back(uint8_t(p >> 8));
    rgba.push_back(uint8_t(p));
    rgba.push_back(uint8_t(p >> 24));
  }
  std::vector<uint8_t> source;
  std::vector<uint8_t> colormap;
  if (format & PNG_FORMAT_FLAG_COLORMAP) {
    std::vector<uint32_t> colours;
    for (uint32_t p : argb) {
      size_t i = 0;
      while (i < colours.size() && colours[i] != p) ++i;
      if (i == colours.size()) colours.push_back(p);
      source.push_back(uint8_t(i));
    }
    for (uint32_t c : colours)
      for (int s : {16, 8, 0, 24}) colormap.push_back(uint8_t(c >> s));
    image.colormap_entries = png_uint_32(colours.size());
  } else {
    const int channels = PNG_IMAGE_SAMPLE_CHANNELS(format);
    for (size_t i = 0; i < argb.size(); ++i) {
      const uint8_t* p = &rgba[i * 4];
      if (channels >= 3) source.insert(source.end(), p, p + 3);
      else source.push_back(p[1]);  // grey from green
      if (format & PNG_FORMAT_FLAG_ALPHA) source.push_back(p[3]);
    }
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, source.data(), 0,
                            colormap.empty() ? nullptr : colormap.data());
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, source.data(), 0,
                            colormap.empty() ? nullptr : colormap.data());
  out.resize(size);
  return out;
}

inline std::vector<uint8_t> makeJpeg(int w, int h, uint32_t argb, int quality = 95, bool grey = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(w);
  info.image_height = JDIMENSION(h);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int x = 0; x < w; ++x) {
    if (!grey) row.push_back(uint8_t(argb >> 16));
    row.push_back(uint8_t(argb >> 8));
    if (!grey) row.push_back(uint8_t(argb));
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

inline std::vector<uint8_t> saveSurfaceAsBmp(SDL_Surface* s) {
  std::vector<uint8_t> out(1 << 16);
  SDL_RWops* rw = SDL_RWFromMem(out.data(), int(out.size()));
  SDL_SaveBMP_RW(s, rw, 0);
  out.resize(size_t(SDL_RWtell(rw)));
  SDL_RWclose(rw);
  SDL_FreeSurface(s);
  return out;
}

// A palette bitmap whose pixel (x, y) has index x + y * w, and palette entry
// i the colour (r = i, g = 2i, b = 3i).
inline std::vector<uint8_t> makeIndexedBmp(int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Color colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 255};
  SDL_SetPaletteColors(s->format->palette, colours, 0, 256);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = uint8_t(x + y * w);
  return saveSurfaceAsBmp(s);
}

inline std::vector<uint8_t> makeTrueColourBmp(int w, int h, const std::vector<uint32_t>& argb, bool alpha) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(
      0, w, h, alpha ? 32 : 24, alpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB24);
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb.data()), w, h, 32,
                                                        w * 4, SDL_PIXELFORMAT_ARGB8888);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  SDL_BlitSurface(src, nullptr, s, nullptr);
  SDL_FreeSurface(src);
  return saveSurfaceAsBmp(s);
}

// A palette bitmap written byte by byte, so that it can say what SDL's
// writer never does: a palette shorter than its pixel indices reach. Pixel
// (x, y) has index index(x, y); the palette lists `colours` (0x00RRGGBB) and
// the header counts exactly those. `bits` is 8 or 4; `rle` packs 8-bit rows
// as runs of one pixel.
inline std::vector<uint8_t> makeShortPaletteBmp(int w, int h, const std::vector<uint32_t>& colours,
                                                uint8_t (*index)(int x, int y), int bits = 8,
                                                bool rle = false) {
  std::vector<uint8_t> pixels;
  for (int y = h - 1; y >= 0; --y) {  // bottom row first
    if (rle) {
      for (int x = 0; x < w; ++x) pixels.insert(pixels.end(), {1, index(x, y)});
      pixels.insert(pixels.end(), {0, 0});  // end of line
      continue;
    }
    std::vector<uint8_t> row;
    for (int x = 0; x < w; ++x) {
      if (bits == 8) row.push_back(index(x, y));
      else if (x % 2 == 0) row.push_back(uint8_t(index(x, y) << 4));
      else row.back() |= uint8_t(index(x, y) & 0x0F);
    }
    while (row.size() % 4) row.push_back(0);
    pixels.insert(pixels.end(), row.begin(), row.end());
  }
  if (rle) pixels.insert(pixels.end(), {0, 1});  // end of bitmap
  const uint32_t offset = uint32_t(14 + 40 + colours.size() * 4);
  std::vector<uint8_t> out(offset, 0);
  const auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B', out[1] = 'M';
  put32(2, uint32_t(offset + pixels.size()));
  put32(10, offset);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  out[26] = 1;
  out[28] = uint8_t(bits);
  put32(30, rle ? 1 : 0);  // BI_RLE8 or BI_RGB
  put32(34, uint32_t(pixels.size()));
  put32(46, uint32_t(colours.size()));
  for (size_t i = 0; i < colours.size(); ++i) put32(54 + i * 4, colours[i]);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

}  // namespace lum::test
