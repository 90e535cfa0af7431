// Draws the demo game's pictures and sounds into its game folder, so that
// no binary asset is kept in the repository:
//   demo_assets OUTPUT_FOLDER
#include <SDL.h>
#include <jpeglib.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <vector>

#include "media/particle_record.h"
#include "render/png_writer.h"

namespace {

namespace fs = std::filesystem;
using Pixels = std::vector<uint32_t>;  // 0xAARRGGBB, rows top first
using Shader = std::function<uint32_t(int x, int y)>;

Pixels paint(int w, int h, const Shader& shader) {
  Pixels p(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p[static_cast<size_t>(y) * w + x] = shader(x, y);
  return p;
}

uint32_t rgb(int r, int g, int b, int a = 255) {
  auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
  return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

bool writePng(const fs::path& path, int w, int h, const Shader& shader) {
  return lum::savePng(path.string(), paint(w, h, shader), w, h, true).ok();
}

bool writeJpeg(const fs::path& path, int w, int h, const Shader& shader) {
  Pixels p = paint(w, h, shader);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = static_cast<JDIMENSION>(w);
  info.image_height = static_cast<JDIMENSION>(h);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < w; ++x) {
      uint32_t c = p[static_cast<size_t>(info.next_scanline) * w + x];
      row[x * 3] = static_cast<uint8_t>(c >> 16);
      row[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(c);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(f);
  return true;
}

// An 8-bit bitmap whose palette indices are the shader's alpha: the mask
// half of a colour-and-mask picture pair.
bool writeMaskBmp(const fs::path& path, int w, int h, const Shader& shader) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
  if (!s) return false;
  SDL_Color grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 255};
  SDL_SetPaletteColors(s->format->palette, grey, 0, 256);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = static_cast<uint8_t>(shader(x, y) >> 24);
  bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

// A 32-bit bitmap that keeps its alpha.
bool writeArgbBmp(const fs::path& path, int w, int h, const Shader& shader) {
  Pixels p = paint(w, h, shader);
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(p.data(), w, h, 32, w * 4,
                                                      SDL_PIXELFORMAT_ARGB8888);
  if (!s) return false;
  bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

// Uncompressed 32-bit TGA, rows top first.
bool writeTga(const fs::path& path, int w, int h, const Shader& shader) {
  Pixels p = paint(w, h, shader);
  std::ofstream out(path, std::ios::binary);
  uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 32, 0x28};
  out.write(reinterpret_cast<const char*>(header), 18);
  for (uint32_t c : p) {
    uint8_t bgra[4] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(c >> 24)};
    out.write(reinterpret_cast<const char*>(bgra), 4);
  }
  return static_cast<bool>(out);
}

bool writeSound(const fs::path& path, int format, double seconds,
                const std::function<double(double t)>& wave) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  std::vector<float> samples(static_cast<size_t>(seconds * info.samplerate));
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<float>(wave(static_cast<double>(i) / info.samplerate));
  }
  sf_write_float(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(f);
  return true;
}

double distance(int x, int y, double cx, double cy) { return std::hypot(x - cx, y - cy); }

bool writeEffect(const fs::path& path, const lum::ParticleRecord& record) {
  fs::create_directories(path.parent_path());
  const auto bytes = lum::WriteParticleRecord(record);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return static_cast<bool>(out);
}

// Gold sparkles drifting up around the menu's title, for as long as it shows.
lum::ParticleRecord sparkles() {
  lum::ParticleRecord r;
  r.EmissionRate = 12;
  r.Lifetime = 1e9f;
  r.LifeMin = 0.8f;
  r.LifeMax = 1.6f;
  r.Direction = 3.14159f;
  r.Spread = 1.0f;
  r.SpeedMin = 10;
  r.SpeedMax = 30;
  r.SizeStart = 0.2f;
  r.SizeMid = 0.7f;
  r.SizeEnd = 0.1f;
  r.SizeVar = 0.5f;
  r.ColorStart = 0xFFFFE080u;  // device order: alpha, red, green, blue
  r.ColorMid = 0xFFFFC040u;
  r.ColorEnd = 0x00FF8000u;
  r.MidPoint = 0.4f;
  r.FrameEnd = -1;
  r.BlendFx = 0x104;  // additive
  return r;
}

// A short burst of stars falling away from the last gem.
lum::ParticleRecord burst() {
  lum::ParticleRecord r;
  r.EmissionRate = 120;
  r.Lifetime = 0.3f;
  r.LifeMin = 0.6f;
  r.LifeMax = 1.0f;
  r.Spread = 6.28f;
  r.SpeedMin = 40;
  r.SpeedMax = 90;
  r.GravityMin = r.GravityMax = 3;
  r.SizeStart = 0.8f;
  r.SizeMid = 0.5f;
  r.SizeEnd = 0.1f;
  r.SpinMid = 2;
  r.SpinEnd = 4;
  r.ColorStart = 0xFFFFFFFFu;
  r.ColorMid = 0xFF80FFFFu;
  r.ColorEnd = 0x0040C0FFu;
  r.MidPoint = 0.5f;
  r.FrameEnd = -1;
  r.BlendFx = 0x104;
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: demo_assets OUTPUT_FOLDER\n";
    return 2;
  }
  const fs::path out = argv[1];
  for (const char* sub : {"pics", "logos", "sounds"}) fs::create_directories(out / sub);
  const double pi = std::numbers::pi;
  bool ok = true;

  // The logo: a JPEG, with its sound beside it (an OGG stands in for the
  // MP3 name the runner asks for).
  ok &= writeJpeg(out / "logos" / "logo1.jpg", 400, 200, [](int x, int y) {
    const double d = distance(x, y, 200, 100);
    return d < 80 ? rgb(240, 200 - int(d), 60) : rgb(20, 24, 40 + y / 4);
  });
  ok &= writeSound(out / "logos" / "logo1.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1.0,
                   [pi](double t) { return 0.3 * std::sin(2 * pi * 440 * t) * (1 - t); });

  // Menu background (PNG) and game background (JPEG).
  ok &= writePng(out / "pics" / "menu.png", 1024, 768, [](int x, int y) {
    return rgb(30 + y / 8, 40 + x / 16, 90 + y / 6);
  });
  ok &= writeJpeg(out / "pics" / "game.jpg", 1024, 768, [](int x, int y) {
    const bool check = ((x / 64) + (y / 64)) % 2 == 0;
    return check ? rgb(40, 70, 50) : rgb(50, 85, 60);
  });
  ok &= writePng(out / "pics" / "loading.png", 1024, 768, [](int, int y) { return rgb(10, 10, 20 + y / 20); });

  // The start button: two frames side by side (normal, lit), with a frame
  // layout file.
  ok &= writePng(out / "pics" / "button.png", 480, 90, [](int x, int y) {
    const bool lit = x >= 240;
    const int lx = x % 240;
    const bool edge = lx < 4 || lx >= 236 || y < 4 || y >= 86;
    if (edge) return rgb(250, 250, 250);
    return lit ? rgb(220, 140, 40) : rgb(120, 70, 30);
  });
  std::ofstream(out / "pics" / "button.an") << "2\n1\n";

  // A gem whose colour is a JPEG and whose alpha an 8-bit mask bitmap
  // ("gem.bmp" with "gem_.jpg").
  auto gemAlpha = [](int x, int y) {
    const double d = distance(x, y, 48, 48);
    return d < 40 ? rgb(0, 0, 0, 255) : d < 46 ? rgb(0, 0, 0, int((46 - d) * 40)) : rgb(0, 0, 0, 0);
  };
  ok &= writeMaskBmp(out / "pics" / "gem.bmp", 96, 96, gemAlpha);
  ok &= writeJpeg(out / "pics" / "gem_.jpg", 96, 96, [](int x, int y) {
    return rgb(80 + x * 2, 40 + y, 200 - x);
  });

  // The back arrow as a TGA with alpha.
  ok &= writeTga(out / "pics" / "arrow.tga", 64, 64, [](int x, int y) {
    const bool inside = x > 8 && std::abs(y - 32) < (x - 8) / 2 + 2 && x < 56;
    return inside ? rgb(250, 230, 120) : rgb(0, 0, 0, 0);
  });

  // The walk on the puzzle screen: a round walker, a sun that turns into a
  // moon, and a compass needle in 16 directions (4 x 4 frames, frame n
  // pointing n * 22.5 degrees clockwise from the right).
  ok &= writePng(out / "pics" / "walker.png", 48, 48, [](int x, int y) {
    const double d = distance(x, y, 24, 24);
    if (distance(x, y, 17, 18) < 4 || distance(x, y, 31, 18) < 4) return rgb(20, 20, 30);
    return d < 21 ? rgb(230, 120, 40) : d < 23 ? rgb(120, 50, 10) : rgb(0, 0, 0, 0);
  });
  ok &= writePng(out / "pics" / "sun.png", 64, 64, [](int x, int y) {
    const double d = distance(x, y, 32, 32);
    return d < 26 ? rgb(250, 210, 60) : d < 31 ? rgb(250, 150, 40, int((31 - d) * 50)) : rgb(0, 0, 0, 0);
  });
  ok &= writePng(out / "pics" / "moon.png", 64, 64, [](int x, int y) {
    const bool lit = distance(x, y, 32, 32) < 28 && distance(x, y, 46, 24) >= 22;
    return lit ? rgb(200, 210, 240) : rgb(0, 0, 0, 0);
  });
  ok &= writePng(out / "pics" / "compass.png", 256, 256, [pi](int x, int y) {
    const int frame = (y / 64) * 4 + x / 64;
    const double a = frame * 22.5 * pi / 180;
    const double dx = x % 64 - 31.5, dy = y % 64 - 31.5;
    const double along = dx * std::cos(a) + dy * std::sin(a);
    const double across = -dx * std::sin(a) + dy * std::cos(a);
    const double r = std::hypot(dx, dy);
    if (r >= 30) return rgb(0, 0, 0, 0);
    if (along > 0 && along < 26 && std::abs(across) < (along > 16 ? (26 - along) * 0.7 : 3)) {
      return rgb(220, 30, 30);
    }
    return r < 28 ? rgb(240, 240, 230) : rgb(60, 60, 70);
  });
  std::ofstream(out / "pics" / "compass.an") << "4\n4\n";

  // A star sheet for sparkles.
  ok &= writeArgbBmp(out / "particles.bmp", 32, 32, [](int x, int y) {
    const double d = distance(x, y, 16, 16);
    return rgb(255, 255, 255, d < 15 ? int(255 * (1 - d / 15)) : 0);
  });

  // Particle effects: sparkles on the menu, a burst when the puzzle is solved.
  ok &= writeEffect(out / "fx" / "sparkle.eff", sparkles());
  ok &= writeEffect(out / "fx" / "burst.eff", burst());

  // Sounds: a click effect (WAV) and a looping theme (OGG).
  ok &= writeSound(out / "sounds" / "click.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.15,
                   [pi](double t) { return 0.5 * std::sin(2 * pi * 880 * t) * (1 - t / 0.15); });
  ok &= writeSound(out / "sounds" / "theme.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 4.0,
                   [pi](double t) {
                     const double notes[4] = {261.6, 329.6, 392.0, 329.6};
                     const double f = notes[static_cast<int>(t) % 4];
                     return 0.15 * std::sin(2 * pi * f * t);
                   });
  if (!ok) {
    std::cerr << "demo_assets: could not write every asset\n";
    return 1;
  }
  return 0;
}
