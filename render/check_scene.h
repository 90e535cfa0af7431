#pragma once
// A fixed scene that exercises the whole drawing path: quads in many blend
// codes over backdrops with varying alpha, rotated, scaled, mirrored and
// clipped patterns, lines, triangles, rectangle outlines and a font with
// colour codes and every style. lumscene renders it to PNG; the tests
// compare it pixel by pixel between runs and backends.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "render/render_stack.h"

namespace lum {

inline constexpr const char* kCheckSceneFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct CheckSceneAssets {
  TAsphyreImage* sprites = nullptr;  // 8 patterns of 32 x 32
  TAsphyreImage* padded = nullptr;   // patterns in textures with padding texels
  TAsphyreFont* font = nullptr;      // null when no font file could be read
};

// A picture of 8 cells of 32 x 32: soft-edged discs with checks, each tinted.
Picture makeCheckScenePicture();

// Needs an initialised device.
Result<CheckSceneAssets> loadCheckSceneAssets(RenderStack& stack, const std::string& fontPath);
void drawCheckScene(RenderStack& stack, const CheckSceneAssets& assets);

// The whole run: a stack on the named backend (headless unless asked),
// one frame of the scene, the back buffer read back.
Result<std::vector<uint32_t>> renderCheckScene(std::string_view backend,
                                               const std::string& fontPath, bool headless = true);

}  // namespace lum
