// The soft device records draw calls and draws them when the back buffer is
// next needed, in bands: what a frame shows must not depend on that.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "render/backend_soft.h"
#include "render/check_scene.h"

namespace lum {
namespace {

struct Device {
  SoftGraphicsDevice device{BackendOptions{true, "queue test"}};
  std::unique_ptr<GpuBatchBuffers> buffers;
  Device() {
    EXPECT_TRUE(device.create(PresentParams{64, 32, true, false, false}));
    buffers = device.createBatchBuffers(64, 64);
    device.clear(0xFF000000u);
    device.beginScene();
  }
  std::unique_ptr<GpuTexture> texture(uint32_t argb) {
    auto t = device.createTexture(4, 4, PixelFormat::A8R8G8B8, false);
    fill(*t, argb);
    return t;
  }
  static void fill(GpuTexture& t, uint32_t argb) {
    auto lock = t.lock(nullptr, false);
    ASSERT_TRUE(lock);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) std::memcpy(lock->bits + y * lock->pitch + x * 4, &argb, 4);
    t.unlock();
  }
  // A textured quad over columns [x, x + 8), every row.
  void quad(GpuTexture* t, float x) {
    const Vertex v[4] = {{x - 0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                         {x + 7.5f, -0.5f, 0, 1, 0xFFFFFFFF, 1, 0},
                         {x + 7.5f, 31.5f, 0, 1, 0xFFFFFFFF, 1, 1},
                         {x - 0.5f, 31.5f, 0, 1, 0xFFFFFFFF, 0, 1}};
    const uint16_t i[6] = {0, 1, 3, 1, 2, 3};
    device.setBlendState(decodeEffect(kEffectAlphaBlend, true));
    device.bindTexture(t);
    ASSERT_TRUE(buffers->write(v, 4, i, 6));
    ASSERT_TRUE(device.drawIndexed(*buffers, PrimitiveKind::Triangles, 4, 2));
  }
  uint32_t at(int x, int y) {
    std::vector<uint32_t> px;
    EXPECT_TRUE(device.readBackBuffer(px));
    return px[size_t(y) * 64 + size_t(x)];
  }
};

TEST(SoftQueueTest, TexelsChangedOrFreedAfterADrawDoNotReachIt) {
  Device d;
  auto red = d.texture(0xFFFF0000u);
  auto green = d.texture(0xFF00FF00u);
  d.quad(red.get(), 0);
  Device::fill(*red, 0xFF0000FFu);  // rewritten before anything is drawn
  d.quad(red.get(), 8);
  d.quad(green.get(), 16);
  green.reset();  // freed before anything is drawn
  EXPECT_EQ(d.at(3, 5), 0xFFFF0000u);
  EXPECT_EQ(d.at(11, 5), 0xFF0000FFu);
  EXPECT_EQ(d.at(19, 30), 0xFF00FF00u);
  EXPECT_EQ(d.at(30, 5), 0xFF000000u);
}

TEST(SoftQueueTest, ClearsAndPresentsSeeEverythingDrawnBefore) {
  Device d;
  auto red = d.texture(0xFFFF0000u);
  d.quad(red.get(), 0);
  d.device.endScene();
  EXPECT_EQ(d.device.present(), DeviceStatus::Ok);
  EXPECT_EQ(d.at(2, 2), 0xFFFF0000u);
  d.device.clear(0xFF102030u);
  EXPECT_EQ(d.at(2, 2), 0xFF102030u);
}

TEST(SoftQueueTest, TheCheckSceneIsTheSameInOneBandAndInSeveral) {
  const auto render = [](const char* bands) {
    setenv("LUMRUN_SOFT_BANDS", bands, 1);
    auto pixels = renderCheckScene("soft", kCheckSceneFont);
    unsetenv("LUMRUN_SOFT_BANDS");
    return pixels;
  };
  auto one = render("1"), three = render("3"), eight = render("8");
  ASSERT_TRUE(one.ok() && three.ok() && eight.ok());
  EXPECT_EQ(one.value(), three.value());
  EXPECT_EQ(one.value(), eight.value());
}

}  // namespace
}  // namespace lum
