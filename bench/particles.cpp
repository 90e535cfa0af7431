// 5,000 live particles of one system, updated and drawn every frame on each
// renderer: time to update, and time per frame with the drawing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "media/particle_system.h"
#include "platform/random.h"
#include "render/image.h"
#include "render/images.h"
#include "render/render_stack.h"

namespace {

using namespace lum;

constexpr int32_t kParticles = 5000;

// A fountain that keeps about 5,000 particles alive: 2,500 a second living
// two seconds, turning, growing, fading, under gravity and swirl.
ParticleRecord fountain() {
  ParticleRecord r;
  r.EmissionRate = 2500;
  r.Lifetime = 1e9f;
  r.LifeMin = r.LifeMax = 2.0f;
  r.Direction = 3.14159f;
  r.Spread = 2.0f;
  r.SpeedMin = 100;
  r.SpeedMax = 300;
  r.GravityMin = r.GravityMax = 10;
  r.RadialMin = -1;
  r.RadialMax = 1;
  r.TangentialMin = -2;
  r.TangentialMax = 2;
  r.SizeStart = 0.5f;
  r.SizeMid = 1.0f;
  r.SizeEnd = 0.2f;
  r.SpinMid = 3;
  r.SpinEnd = 6;
  r.ColorStart = 0xFFFFFF40u;
  r.ColorMid = 0xC0FF8000u;
  r.ColorEnd = 0x00800000u;
  r.ColorVar = 0.5f;
  r.MidPoint = 0.5f;
  r.FrameEnd = -1;
  r.BlendFx = 0x504;
  return r;
}

// A system run until the capacity is full.
void fill(TXParticleSystem& s) {
  s.record() = fountain();
  s.MoveTo({512, 600}, false);
  s.Start();
  for (int i = 0; i < 90 && s.Count() < kParticles; ++i) s.Update(1.0f / 30);
}

void BM_ParticleUpdate(benchmark::State& state) {
  Random random(1);
  TXParticleSystem s(kParticles, random);
  fill(s);
  for (auto _ : state) {
    s.Update(1.0f / 30);
    benchmark::DoNotOptimize(s.Count());
  }
  state.counters["particles"] = s.Count();
}

void frame(benchmark::State& state, const char* backend) {
  if (std::string(backend) == "gl" && !std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto made = makeRenderStack(backend, BackendOptions{true, "bench"});
  if (!made.ok()) return state.SkipWithError(made.error().text().c_str());
  RenderStack& stack = *made.value();
  if (!stack.device.Initialize()) return state.SkipWithError("no device");
  TAsphyreImage* sheet = stack.images.Add();
  sheet->SetPatternSize({16, 16});
  sheet->SetVisibleSize({16, 16});
  Picture dot = Picture::blank(16, 16, PixelFormat::A8R8G8B8);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const float d = std::hypot(float(x) - 7.5f, float(y) - 7.5f);
      uint8_t* o = dot.row(y) + x * 4;
      o[0] = o[1] = o[2] = 255;
      o[3] = d < 8 ? uint8_t(255 - d * 31) : 0;
    }
  if (!sheet->UploadBitmap(dot, false, 0, 0)) return state.SkipWithError("upload");
  Random random(1);
  TXParticleSystem s(kParticles, random);
  fill(s);
  stack.device.OnRender = [&](TAsphyreDevice&) {
    stack.canvas.SetAntialias(true);
    s.Render(stack.canvas, sheet, 0, 0, 0xFFFFFFFFu, 1024, 768);
  };
  std::vector<uint32_t> pixels;
  for (auto _ : state) {
    s.Update(1.0f / 30);
    stack.device.Render(0, true);
    stack.device.Present();
    stack.device.ReadBackBuffer(pixels);  // waits until the frame is really drawn
  }
  state.counters["particles"] = s.Count();
}

void BM_ParticleFrameSoft(benchmark::State& state) { frame(state, "soft"); }
void BM_ParticleFrameGl(benchmark::State& state) { frame(state, "gl"); }

BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticleFrameSoft)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ParticleFrameGl)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
