#pragma once
// Shared set-up for the rendering tests: headless software stacks and
// frame helpers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "render/backend_soft.h"
#include "render/render_stack.h"

namespace lum::testing {

inline std::unique_ptr<RenderStack> softStack(bool initialize = true) {
  BackendOptions options;
  options.headless = true;
  auto made = makeRenderStack("soft", options);
  EXPECT_TRUE(made.ok());
  auto stack = std::move(made.value());
  if (initialize) {
    EXPECT_TRUE(stack->device.Initialize());
  }
  return stack;
}

inline SoftGraphicsDevice& softBackend(RenderStack& stack) {
  return static_cast<SoftGraphicsDevice&>(stack.device.Backend());
}

// Draws one frame over a clear colour (canvas order) and returns its pixels.
inline std::vector<uint32_t> drawFrame(RenderStack& stack, const std::function<void()>& draw,
                                       uint32_t clear = 0xFF000000) {
  stack.device.OnRender = [&](TAsphyreDevice&) { draw(); };
  EXPECT_TRUE(stack.device.Render(clear, true));
  std::vector<uint32_t> pixels;
  EXPECT_TRUE(stack.device.ReadBackBuffer(pixels));
  return pixels;
}

inline uint32_t at(const std::vector<uint32_t>& pixels, int x, int y) {
  return pixels[size_t(y) * 1024 + size_t(x)];
}

// A picture filled by f(x, y) -> 0xAARRGGBB.
inline Picture makePicture(int w, int h, const std::function<uint32_t(int, int)>& f) {
  Picture p = Picture::blank(w, h, PixelFormat::A8R8G8B8);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = f(x, y);
      uint8_t* o = p.row(y) + x * 4;
      o[0] = uint8_t(c);
      o[1] = uint8_t(c >> 8);
      o[2] = uint8_t(c >> 16);
      o[3] = uint8_t(c >> 24);
    }
  return p;
}

}  // namespace lum::testing
