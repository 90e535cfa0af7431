#pragma once
// The rendering components wired together as the main window wires them:
// device, canvas, texture list and font list, subscribed in that order, the
// fonts drawing on the canvas; beside them the installed system fonts. Tools, tests and headless runs build one with
// a backend chosen by name.
#include <memory>
#include <string_view>

#include "platform/result.h"
#include "render/canvas.h"
#include "render/device.h"
#include "render/fonts.h"
#include "render/images.h"
#include "render/system_fonts.h"

namespace lum {

struct RenderStack {
  explicit RenderStack(std::unique_ptr<GraphicsDevice> backend);
  RenderStack(const RenderStack&) = delete;
  RenderStack& operator=(const RenderStack&) = delete;

  TAsphyreDevice device;
  TAsphyreCanvas canvas;
  TAsphyreImages images;
  TAsphyreFonts fonts;
  // Installed fonts for texts in a system font; opened on first use.
  SystemFonts systemFonts;
};

// A stack with the runner's settings (1024 x 768, windowed, no vertical sync,
// alpha testing on, no antialiasing, no mipmaps), not yet initialised.
Result<std::unique_ptr<RenderStack>> makeRenderStack(std::string_view backend,
                                                     const BackendOptions& options);

}  // namespace lum
