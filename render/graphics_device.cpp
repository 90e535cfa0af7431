#include "render/graphics_device.h"

#include "render/backend_gl.h"
#include "render/backend_soft.h"

namespace lum {

namespace {

struct BackendEntry {
  const char* name;
  std::unique_ptr<GraphicsDevice> (*make)(const BackendOptions&);
};

const BackendEntry kBackends[] = {
    {"gl", [](const BackendOptions& o) -> std::unique_ptr<GraphicsDevice> {
       return std::make_unique<GlGraphicsDevice>(o);
     }},
    {"soft", [](const BackendOptions& o) -> std::unique_ptr<GraphicsDevice> {
       return std::make_unique<SoftGraphicsDevice>(o);
     }},
};

}  // namespace

Result<std::unique_ptr<GraphicsDevice>> createGraphicsDevice(std::string_view name,
                                                             const BackendOptions& options) {
  for (const auto& b : kBackends)
    if (name == b.name) return b.make(options);
  return Error{"unknown renderer \"" + std::string(name) + "\" (choose gl or soft)"};
}

std::vector<std::string> graphicsBackendNames() {
  std::vector<std::string> names;
  for (const auto& b : kBackends) names.emplace_back(b.name);
  return names;
}

}  // namespace lum
