// One frame of 2,000 rotated, alpha-blended 64 x 64 sprites and 500 font
// glyphs at 1024 x 768, on each renderer: time per frame and draw calls.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "render/check_scene.h"
#include "render/render_stack.h"
#include "render/truetype.h"

namespace {

using namespace lum;

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
    for (int i = 0; i < 2000; ++i) {
      const float x = float((i * 37) % 1024), y = float((i * 53) % 768);
      s.canvas.DrawPatternRotated(sprites, x, y, float(i) * 0.01f, 1.0f, i % 8, 0xFFFFFFFF,
                                  kEffectAlphaBlend);
    }
    for (int l = 0; l < 10; ++l)
      font->TextOut(line, 20, 40.0f + l * 60, 0xFFFFFFFF, 0xFF80C0FF, kEffectAlphaBlend);
  };
  std::vector<uint32_t> pixels;
  int64_t calls = 0, frames = 0;
  for (auto _ : state) {
    const int64_t before = s.canvas.DrawCalls();
    s.device.Render(0, true);
    calls += s.canvas.DrawCalls() - before;
    s.device.Present();
    s.device.ReadBackBuffer(pixels);  // waits until the frame is really drawn
    ++frames;
  }
  state.counters["draw_calls"] = frames ? double(calls) / double(frames) : 0;
}

void BM_RenderFrameSoft(benchmark::State& state) { renderFrame(state, "soft"); }
void BM_RenderFrameGl(benchmark::State& state) { renderFrame(state, "gl"); }

// Wall-clock time: the OpenGL work happens outside this thread's CPU time.
BENCHMARK(BM_RenderFrameSoft)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RenderFrameGl)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
