#include "render/render_stack.h"

namespace lum {

RenderStack::RenderStack(std::unique_ptr<GraphicsDevice> backend) : device(std::move(backend)) {
  canvas.SetDevice(&device);
  images.SetDevice(&device);
  fonts.SetDevice(&device);
  fonts.Canvas = &canvas;
}

Result<std::unique_ptr<RenderStack>> makeRenderStack(std::string_view backend,
                                                     const BackendOptions& options) {
  auto gpu = createGraphicsDevice(backend, options);
  if (!gpu.ok()) return gpu.error();
  auto stack = std::make_unique<RenderStack>(std::move(gpu.value()));
  stack->device.SetWidth(1024);
  stack->device.SetHeight(768);
  stack->device.SetWindowed(true);
  stack->device.SetVSync(false);
  stack->canvas.SetAlphaTesting(true);
  stack->canvas.SetVertexCache(4096);
  stack->canvas.SetAntialias(false);
  stack->canvas.SetDithering(false);
  stack->images.SetMipMappping(false);
  return stack;
}

}  // namespace lum
