#include "render/check_scene.h"

#include <cmath>
#include <fstream>
#include <iterator>

#include "render/truetype.h"

namespace lum {

namespace {

constexpr uint32_t kTints[8] = {0xFF3050FF, 0xFF30D0FF, 0xFF40FF40, 0xFFFFD040,
                                0xFFFF4040, 0xFFD040FF, 0xFFFFFFFF, 0xFF808080};  // canvas order

// Blend codes: the three the system uses and others covering every factor
// and operation.
constexpr uint32_t kEffects[12] = {0x1,     0x504,   0x104,   0x10104, 0x20104, 0x30101,
                                   0x40101, 0x302,   0x800,   0x906,   0x70A,   0x101};

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

Picture makeCheckScenePicture() {
  Picture p = Picture::blank(128, 64, PixelFormat::A8R8G8B8);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      const int cell = (y / 32) * 4 + x / 32;
      const float dx = float(x % 32) - 15.5f, dy = float(y % 32) - 15.5f;
      const float r = std::sqrt(dx * dx + dy * dy);
      uint32_t alpha = r < 12 ? 255 : r < 16 ? uint32_t((16 - r) / 4 * 255) : 0;
      if (cell == 7) alpha = 255;  // one fully opaque square cell
      const uint32_t tint = kTints[cell];
      const bool check = ((x / 4) + (y / 4)) % 2 == 0;
      uint32_t red = tint & 0xFF, green = (tint >> 8) & 0xFF, blue = (tint >> 16) & 0xFF;
      if (check) red /= 2, green /= 2, blue /= 2;
      if (x % 32 == 16) red = green = blue = 255;  // a marker line shows rotation
      const uint32_t argb = (alpha << 24) | (red << 16) | (green << 8) | blue;
      uint8_t* o = p.row(y) + x * 4;
      o[0] = uint8_t(argb);
      o[1] = uint8_t(argb >> 8);
      o[2] = uint8_t(argb >> 16);
      o[3] = uint8_t(argb >> 24);
    }
  }
  return p;
}

Result<CheckSceneAssets> loadCheckSceneAssets(RenderStack& stack, const std::string& fontPath) {
  CheckSceneAssets a;
  const Picture picture = makeCheckScenePicture();
  a.sprites = stack.images.Add();
  a.sprites->SetTextureSize({64, 64});
  a.sprites->SetPatternSize({32, 32});
  a.sprites->SetVisibleSize({32, 32});
  if (!a.sprites->UploadBitmap(picture, false, 0, 0)) return Error{"sprite upload failed"};
  // One pattern per 34 x 34 texture: padding texels at the right and bottom.
  a.padded = stack.images.Add();
  a.padded->SetTextureSize({34, 34});
  a.padded->SetPatternSize({32, 32});
  a.padded->SetVisibleSize({28, 28});
  if (!a.padded->UploadBitmap(picture, true, 0, 0xFF808080)) return Error{"padded upload failed"};

  const std::vector<uint8_t> ttf = readFile(fontPath);
  if (!ttf.empty()) {
    TrueTypeRasterOptions options;
    options.pixelSize = 18;
    options.firstChar = 32;
    options.count = 96;
    auto record = rasteriseTrueType(ttf, options);
    if (!record.ok()) return record.error();
    a.font = stack.fonts.Add();
    if (!a.font->LoadFromRecord(record.value(), TAsphyreQuality::aqHigh, TAlphaLevel::alFull))
      return Error{"font upload failed"};
  }
  return a;
}

namespace {

void drawBlendRow(TAsphyreCanvas& c, TAsphyreImage* sprites) {
  for (int i = 0; i < 12; ++i) {
    const int x = 16 + i * 84, y = 16;
    c.FillRect(x, y, 72, 36, 0xFF2080F0, kEffectOpaque);              // opaque orange
    c.FillRect(x, y + 36, 72, 36, 0x80F08020, kEffectOpaque);         // blue, alpha 128
    c.FillRect(x + 24, y, 24, 72, 0x60FFFFFF, kEffectAlphaBlend);     // a translucent bar
    const uint32_t tint = i % 2 ? 0xC0FFFFFF : 0xFFFFFFFF;
    c.DrawPatternScaled(sprites, float(x + 4), float(y + 4), 2.0f, i % 8, tint, kEffects[i]);
  }
}

void drawPatternRows(TAsphyreCanvas& c, const CheckSceneAssets& a) {
  const float angles[6] = {0.0f, 0.3f, 0.785398f, 1.5708f, 2.5f, -0.6f};
  for (int i = 0; i < 6; ++i) {
    c.SetAntialias(i >= 3);
    c.DrawPatternRotated(a.sprites, 60.0f + i * 90.0f, 160.0f, angles[i], 2.0f, i, 0xFFFFFFFF,
                         kEffectAlphaBlend);
  }
  c.SetAntialias(false);
  const float scales[4] = {0.5f, 1.0f, 1.5f, 3.0f};
  float x = 20;
  for (int i = 0; i < 4; ++i) {
    c.DrawPatternScaled(a.sprites, x, 230.0f, scales[i], 3, 0xFFFFFFFF, kEffectAlphaBlend);
    x += 32 * scales[i] + 10;
  }
  // Mirrored and cut-out quads through the descriptor.
  const auto quad = [](float x0, float y0, float w, float h) {
    return Quad{Point2{x0, y0}, Point2{x0 + w, y0}, Point2{x0 + w, y0 + h}, Point2{x0, y0 + h}};
  };
  c.TexturedQuad(a.sprites, quad(300, 230, 64, 64), PatternDesc{2, 0, 0, 0, 0, 0x100},
                 {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, kEffectAlphaBlend);
  c.TexturedQuad(a.sprites, quad(370, 230, 64, 64), PatternDesc{2, 0, 0, 0, 0, 0x1},
                 {0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}, kEffectAlphaBlend);
  c.TexturedQuad(a.sprites, quad(440, 230, 64, 64), PatternDesc{5, 8, 8, 16, 16, 0},
                 {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, kEffectAlphaBlend);
  c.SetAntialias(true);
  for (int i = 0; i < 8; ++i)
    c.DrawPatternScaled(a.padded, 520.0f + i * 60, 230.0f, 1.75f, i, 0xFFFFFFFF, kEffectAlphaBlend);
  c.SetAntialias(false);
}

void drawClipped(TAsphyreCanvas& c, const CheckSceneAssets& a) {
  const IntRect full = c.GetClipRect();
  c.FrameRect(599, 119, 302, 82, 0xFFFFFFFF, kEffectOpaque);
  c.SetClipRect(IntRect{600, 120, 900, 200});
  c.DrawPatternRotated(a.sprites, 700, 160, 0.4f, 5.0f, 1, 0xFFFFFFFF, kEffectAlphaBlend);
  c.FillRect(820, 100, 120, 60, 0xA000FF00, kEffectAlphaBlend);
  for (int i = 0; i < 8; ++i)
    c.Line({560.0f, 110.0f + i * 14}, {940.0f, 210.0f - i * 9}, 0xFF00FFFF, 0xFFFF00FF,
           kEffectOpaque);
  c.SetClipRect(full);
}

void drawShapes(TAsphyreCanvas& c) {
  for (int i = 0; i < 24; ++i) {
    const float a = float(i) * 6.2831853f / 24;
    c.Line({160.0f, 440.0f}, {160.0f + 110.0f * std::cos(a), 440.0f + 110.0f * std::sin(a)},
           0xFF0000FF, 0x40FF8000, kEffectAlphaBlend);
  }
  c.FrameRect(300, 340, 100, 60, 0xFF00FFFF, kEffectOpaque);
  c.FillFrameRect(420, 340, 100, 60, 0x8000A0FF, 0xFFFFFFFF, kEffectAlphaBlend);
  c.FrameRect(10, 20, 5, 3, 0xFFFFFFFF, kEffectOpaque);
  c.FillRect(540, 340, 60, 60, 0xFF404040, kEffectAdditive);
  c.Triangle({640, 340}, {760, 420}, {600, 460}, 0x8000FF00, kEffectAlphaBlend);
  c.Triangle({780, 340}, {900, 360}, {840, 460}, 0xFFFF40C0, kEffectOpaque);
  for (int i = 0; i < 5; ++i) c.FrameRect(300 + i * 6, 420 + i * 6, 200 - i * 12, 60 - i * 12,
                                          0xFF20E0E0 - i * 0x00301000, kEffectOpaque);
}

void drawText(TAsphyreFont& f) {
  f.Scale = 1.0;
  f.TextOut("Hello, lumrun! 0123456789 ~{}[]", 20, 540, 0xFFFFFFFF, 0xFFFFFFFF, kEffectAlphaBlend);
  f.TextOut("#$FF4040FFRed top &$FFFF8040blue bottom 0xFF40FF40green", 20, 570, 0xFFFFFFFF,
            0xFFFFFFFF, kEffectAlphaBlend);
  f.SetStyle(TFontStyleFx::feShadow, true);
  f.ShadowColor = 0x000000;
  f.TextOut("Shadowed text", 20, 600, 0xFFFFFFFF, 0xFF80FFFF, kEffectAlphaBlend);
  f.SetStyle(TFontStyleFx::feEmboss, true);
  f.EmbossColor = 0xFFFFFF;
  f.TextOut("Shadow and emboss", 260, 600, 0xFF2080C0, 0xFF2080C0, kEffectAlphaBlend);
  f.ClearStyles();
  f.SetStyle(TFontStyleFx::feBold, true);
  f.SetStyle(TFontStyleFx::feItalic, true);
  f.TextOut("Bold italic", 520, 600, 0xFFFFD080, 0xFFFFD080, kEffectAlphaBlend);
  f.ClearStyles();
  f.Scale = 2.0;
  f.TextOut("Scaled x2", 20, 640, 0xFFFFFFFF, 0xFF808080, kEffectAlphaBlend);
  f.Scale = 1.0;
}

}  // namespace

void drawCheckScene(RenderStack& stack, const CheckSceneAssets& assets) {
  TAsphyreCanvas& c = stack.canvas;
  c.FillRect(0, 0, 1024, 768, 0xFF302020, kEffectOpaque);
  drawBlendRow(c, assets.sprites);
  drawPatternRows(c, assets);
  drawClipped(c, assets);
  drawShapes(c);
  if (assets.font) drawText(*assets.font);
}

Result<std::vector<uint32_t>> renderCheckScene(std::string_view backend,
                                               const std::string& fontPath, bool headless) {
  BackendOptions options;
  options.headless = headless;
  options.title = "lumscene";
  auto made = makeRenderStack(backend, options);
  if (!made.ok()) return made.error();
  RenderStack& stack = *made.value();
  if (!stack.device.Initialize())
    return Error{"cannot initialise the " + std::string(backend) + " renderer"};
  auto assets = loadCheckSceneAssets(stack, fontPath);
  if (!assets.ok()) return assets.error();
  stack.device.OnRender = [&](TAsphyreDevice&) { drawCheckScene(stack, assets.value()); };
  if (!stack.device.Render(0, true)) return Error{"rendering the scene failed"};
  std::vector<uint32_t> pixels;
  if (!stack.device.ReadBackBuffer(pixels)) return Error{"cannot read the back buffer"};
  stack.device.Present();
  return pixels;
}

}  // namespace lum
