// One frame of 2,000 rotated, alpha-blended 64 x 64 sprites and 500 font
// glyphs at 1024 x 768, on each renderer: time per frame and draw calls.
// SDL's own software renderer draws the same sprites as a peer measured in
// the same run; the last lines print the software renderer's time against
// it, and the CPU time of each renderer's whole process per frame.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "render/check_scene.h"
#include "render/render_stack.h"
#include "render/truetype.h"

namespace {

using namespace lum;

// CPU time of every thread of the process, in milliseconds.
double processCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1e3 +
         (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) * 1e-3;
}

constexpr int kSprites = 2000;

// Where sprite i goes: centre, angle (radians, clockwise) and pattern.
struct SpritePlace {
  float x, y, angle;
  int pattern;
};

SpritePlace spritePlace(int i) {
  return {float((i * 37) % 1024), float((i * 53) % 768), float(i) * 0.01f, i % 8};
}

Picture spriteSheet() {
  Picture p = Picture::blank(256, 128, PixelFormat::A8R8G8B8);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 256; ++x) {
      const float dx = float(x % 64) - 31.5f, dy = float(y % 64) - 31.5f;
      const float r = std::sqrt(dx * dx + dy * dy);
      const uint8_t a = r < 24 ? 255 : r < 32 ? uint8_t((32 - r) / 8 * 255) : 0;
      uint8_t* o = p.row(y) + x * 4;
      o[0] = uint8_t(x * 3);
      o[1] = uint8_t(y * 2);
      o[2] = uint8_t(255 - x);
      o[3] = a;
    }
  return p;
}

void renderFrame(benchmark::State& state, const char* backend) {
  if (std::string(backend) == "gl" && !std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto made = makeRenderStack(backend, BackendOptions{true, "bench"});
  if (!made.ok()) return state.SkipWithError(made.error().text().c_str());
  RenderStack& s = *made.value();
  if (!s.device.Initialize()) return state.SkipWithError("no device");
  TAsphyreImage* sprites = s.images.Add();
  sprites->SetTextureSize({256, 128});
  sprites->SetPatternSize({64, 64});
  sprites->SetVisibleSize({64, 64});
  if (!sprites->UploadBitmap(spriteSheet(), false, 0, 0)) return state.SkipWithError("upload");
  std::ifstream in(kCheckSceneFont, std::ios::binary);
  const std::vector<uint8_t> ttf((std::istreambuf_iterator<char>(in)), {});
  auto record = rasteriseTrueType(ttf, TrueTypeRasterOptions{});
  if (!record.ok()) return state.SkipWithError("no font");
  TAsphyreFont* font = s.fonts.Add();
  font->LoadFromRecord(record.value(), TAsphyreQuality::aqHigh, TAlphaLevel::alFull);
  const std::string line = "The quick brown fox jumps over the lazy dog 012345";  // 50 glyphs

  s.device.OnRender = [&](TAsphyreDevice&) {
    for (int i = 0; i < kSprites; ++i) {
      const SpritePlace p = spritePlace(i);
      s.canvas.DrawPatternRotated(sprites, p.x, p.y, p.angle, 1.0f, p.pattern, 0xFFFFFFFF,
                                  kEffectAlphaBlend);
    }
    for (int l = 0; l < 10; ++l)
      font->TextOut(line, 20, 40.0f + l * 60, 0xFFFFFFFF, 0xFF80C0FF, kEffectAlphaBlend);
  };
  std::vector<uint32_t> pixels;
  int64_t calls = 0, frames = 0;
  const double cpuBefore = processCpuMs();
  for (auto _ : state) {
    const int64_t before = s.canvas.DrawCalls();
    s.device.Render(0, true);
    calls += s.canvas.DrawCalls() - before;
    s.device.Present();
    s.device.ReadBackBuffer(pixels);  // waits until the frame is really drawn
    ++frames;
  }
  state.counters["draw_calls"] = frames ? double(calls) / double(frames) : 0;
  state.counters["process_cpu_ms"] = frames ? (processCpuMs() - cpuBefore) / double(frames) : 0;
}

// The same sprites through SDL's software renderer drawing into a surface.
void BM_RenderFrameSdlSoft(benchmark::State& state) {
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
  Picture sheet = spriteSheet();
  SDL_Surface* pictures = SDL_CreateRGBSurfaceWithFormatFrom(
      sheet.row(0), sheet.width, sheet.height, 32, sheet.width * 4, SDL_PIXELFORMAT_ARGB8888);
  SDL_Texture* texture = renderer && pictures ? SDL_CreateTextureFromSurface(renderer, pictures) : nullptr;
  if (!texture) {
    state.SkipWithError(SDL_GetError());
  } else {
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    int64_t frames = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderClear(renderer);
      for (int i = 0; i < kSprites; ++i) {
        const SpritePlace p = spritePlace(i);
        const SDL_Rect from{(p.pattern % 4) * 64, (p.pattern / 4) * 64, 64, 64};
        const SDL_FRect to{p.x - 32, p.y - 32, 64, 64};
        SDL_RenderCopyExF(renderer, texture, &from, &to, double(p.angle) * 180.0 / M_PI, nullptr,
                          SDL_FLIP_NONE);
      }
      SDL_RenderFlush(renderer);
      benchmark::DoNotOptimize(static_cast<uint32_t*>(target->pixels)[512 * 1024]);
      ++frames;
    }
    state.counters["process_cpu_ms"] = frames ? (processCpuMs() - cpuBefore) / double(frames) : 0;
  }
  if (texture) SDL_DestroyTexture(texture);
  if (pictures) SDL_FreeSurface(pictures);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (target) SDL_FreeSurface(target);
}

void BM_RenderFrameSoft(benchmark::State& state) { renderFrame(state, "soft"); }
void BM_RenderFrameGl(benchmark::State& state) { renderFrame(state, "gl"); }

// Wall-clock time: the OpenGL work and the software bands happen outside
// this thread's CPU time (process_cpu_ms counts every thread).
BENCHMARK(BM_RenderFrameSoft)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RenderFrameSdlSoft)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RenderFrameGl)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Keeps the console output and remembers each benchmark's time per frame
// (the median when repeated) for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter()
      : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median")) continue;
      const std::string name = r.run_name.function_name;
      Figures& f = figures[name];
      f.realMs = r.GetAdjustedRealTime();
      f.threadCpuMs = r.GetAdjustedCPUTime();
      const auto cpu = r.counters.find("process_cpu_ms");
      f.processCpuMs = cpu == r.counters.end() ? 0 : double(cpu->second);
    }
  }
  struct Figures {
    double realMs = 0, threadCpuMs = 0, processCpuMs = 0;
  };
  std::map<std::string, Figures> figures;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& f = reporter.figures;
  const auto soft = f.find("BM_RenderFrameSoft"), sdl = f.find("BM_RenderFrameSdlSoft"),
             gl = f.find("BM_RenderFrameGl");
  if (soft != f.end())
    std::printf("soft: %.2f ms per frame, %.2f ms CPU per frame (all threads)\n",
                soft->second.realMs, soft->second.processCpuMs);
  if (sdl != f.end())
    std::printf("SDL2 software renderer, same sprites: %.2f ms per frame\n", sdl->second.realMs);
  if (soft != f.end() && sdl != f.end() && soft->second.realMs > 0)
    std::printf("soft is %.1f times as fast as SDL2's software renderer\n",
                sdl->second.realMs / soft->second.realMs);
  if (gl != f.end())
    std::printf("gl: %.2f ms per frame, %.2f ms CPU per frame on the calling thread, %.2f ms "
                "for the whole process\n",
                gl->second.realMs, gl->second.threadCpuMs, gl->second.processCpuMs);
  benchmark::Shutdown();
  return 0;
}
