#pragma once
// A window that shows the software back buffer through SDL's renderer,
// letterboxed when the window is not the back buffer's size.
#include <cstdint>
#include <memory>

#include "render/graphics_device.h"

struct SDL_Renderer;
struct SDL_Window;
struct SDL_Texture;

namespace lum {

class SoftWindow {
 public:
  static std::unique_ptr<SoftWindow> open(const std::string& title, int width, int height,
                                          bool windowed);
  ~SoftWindow();
  bool show(const uint32_t* pixels, int width, int height);
  void setWindowed(bool windowed);
  bool windowToScene(int width, int height, int wx, int wy, int& sx, int& sy) const;
  void setTitle(const std::string& utf8);
  void setSize(int width, int height);

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int texWidth_ = 0, texHeight_ = 0;
};

}  // namespace lum
