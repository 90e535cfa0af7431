#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "render/check_scene.h"
#include "render/picture_loaders.h"
#include "render/png_writer.h"

namespace lum {
namespace {

const std::string kGolden = std::string(LUMRUN_TEST_DATA) + "/render/check_scene.png";

bool haveFont() { return std::filesystem::exists(kCheckSceneFont); }

// Differences are written next to the build for a look when a test fails.
void saveForInspection(const std::vector<uint32_t>& pixels, const std::string& name) {
  const std::string path = std::string(LUMRUN_BINARY_DIR) + "/" + name;
  (void)savePng(path, pixels, 1024, 768);
}

int channelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8)
    worst = std::max(worst, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
  return worst;
}

TEST(SceneTest, SoftwareRendererMatchesTheGoldenImage) {
  if (!haveFont()) GTEST_SKIP() << "the DejaVu font is not installed";
  auto pixels = renderCheckScene("soft", kCheckSceneFont);
  ASSERT_TRUE(pixels.ok()) << pixels.error().text();
  if (std::getenv("LUMRUN_UPDATE_GOLDENS")) {
    ASSERT_TRUE(savePng(kGolden, pixels.value(), 1024, 768).ok());
    GTEST_SKIP() << "golden image rewritten";
  }
  auto golden = loadPictureFile(kGolden, PictureKind::Png);
  ASSERT_TRUE(golden.ok()) << golden.error().text();
  ASSERT_EQ(golden->width, 1024);
  ASSERT_EQ(golden->height, 768);
  int mismatches = 0;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x)
      if ((golden->pixel(x, y) & 0xFFFFFF) != (pixels.value()[size_t(y) * 1024 + x] & 0xFFFFFF))
        ++mismatches;
  if (mismatches) saveForInspection(pixels.value(), "check_scene_soft_actual.png");
  EXPECT_EQ(mismatches, 0);
}

TEST(SceneTest, SoftwareRendererIsDeterministic) {
  auto a = renderCheckScene("soft", kCheckSceneFont);
  auto b = renderCheckScene("soft", kCheckSceneFont);
  ASSERT_TRUE(a.ok() && b.ok());
  EXPECT_EQ(a.value(), b.value());
}

TEST(SceneTest, OpenGlRendererMatchesTheSoftwareOne) {
  if (!std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto gl = renderCheckScene("gl", kCheckSceneFont);
  if (!gl.ok()) GTEST_SKIP() << "no OpenGL context: " << gl.error().text();
  auto soft = renderCheckScene("soft", kCheckSceneFont);
  ASSERT_TRUE(soft.ok());
  // Rasterisers may disagree on a pixel where an edge passes exactly through
  // its centre or a texel boundary, and round blends differently by one; the
  // picture as a whole must agree.
  int64_t total = 0;
  int far = 0;
  for (size_t i = 0; i < gl.value().size(); ++i) {
    const int d = channelDiff(gl.value()[i], soft.value()[i]);
    total += d;
    if (d > 24) ++far;
  }
  const double mean = double(total) / double(gl.value().size());
  if (far > 0) saveForInspection(gl.value(), "check_scene_gl_actual.png");
  EXPECT_LT(mean, 0.15);
  EXPECT_LT(far, 400);  // about 0.05 % of the pixels
  RecordProperty("mean_difference", std::to_string(mean));
  RecordProperty("far_pixels", std::to_string(far));
  std::printf("gl vs soft: mean channel difference %.4f, %d pixels differ by more than 24\n",
              mean, far);
}

}  // namespace
}  // namespace lum

namespace lum {
namespace {

TEST(SceneTest, OpenGlDeviceDrawsReadsBackAndMapsWindowPoints) {
  if (!std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto made = makeRenderStack("gl", BackendOptions{true, "gl test"});
  ASSERT_TRUE(made.ok());
  RenderStack& s = *made.value();
  if (!s.device.Initialize()) GTEST_SKIP() << "no OpenGL context";
  s.device.OnRender = [&](TAsphyreDevice&) {
    s.canvas.FillRect(10, 20, 3, 2, 0xFF0000FF, kEffectOpaque);
    s.canvas.FrameRect(100, 100, 5, 3, 0xFFFFFFFF, kEffectOpaque);
  };
  ASSERT_TRUE(s.device.Render(0xFF000000, true));
  std::vector<uint32_t> px;
  ASSERT_TRUE(s.device.ReadBackBuffer(px));
  ASSERT_EQ(px.size(), size_t(1024 * 768));
  const auto at = [&](int x, int y) { return px[size_t(y) * 1024 + size_t(x)] & 0xFFFFFF; };
  EXPECT_EQ(at(10, 20), 0xFF0000u);
  EXPECT_EQ(at(12, 21), 0xFF0000u);
  EXPECT_EQ(at(13, 21), 0u);
  EXPECT_EQ(at(12, 22), 0u);
  EXPECT_EQ(at(9, 20), 0u);
  EXPECT_EQ(at(10, 19), 0u);
  EXPECT_EQ(at(104, 102), 0xFFFFFFu);
  EXPECT_EQ(at(102, 101), 0u);
  EXPECT_TRUE(s.device.Present());
  ASSERT_TRUE(s.device.Backend().hasWindow());
  int sx = 0, sy = 0;
  ASSERT_TRUE(s.device.Backend().windowToScene(300, 200, sx, sy));
  EXPECT_EQ(sx, 300);
  EXPECT_EQ(sy, 200);
  // Full screen and back keep the back buffer's size.
  s.device.SetWindowed(false);
  s.device.SetWindowed(true);
  ASSERT_TRUE(s.device.Render(0xFF000000, true));
  ASSERT_TRUE(s.device.ReadBackBuffer(px));
  EXPECT_EQ(px.size(), size_t(1024 * 768));
}

}  // namespace
}  // namespace lum
