#include "render/backend_soft_window.h"

#include <SDL.h>

#include "render/letterbox.h"

namespace lum {

std::unique_ptr<SoftWindow> SoftWindow::open(const std::string& title, int width, int height,
                                             bool windowed) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  auto w = std::unique_ptr<SoftWindow>(new SoftWindow);
  w->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width, height, SDL_WINDOW_RESIZABLE);
  if (!w->window_) return nullptr;
  w->renderer_ = SDL_CreateRenderer(w->window_, -1, 0);
  if (!w->renderer_) return nullptr;
  w->setWindowed(windowed);
  return w;
}

SoftWindow::~SoftWindow() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) {
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
}

void SoftWindow::setWindowed(bool windowed) {
  SDL_SetWindowFullscreen(window_, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SoftWindow::show(const uint32_t* pixels, int width, int height) {
  if (!texture_ || texWidth_ != width || texHeight_ != height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                 SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture_) return false;
    texWidth_ = width;
    texHeight_ = height;
  }
  if (SDL_UpdateTexture(texture_, nullptr, pixels, width * 4) != 0) return false;
  int ww = 0, wh = 0;
  SDL_GetRendererOutputSize(renderer_, &ww, &wh);
  const Letterbox box = fitLetterbox(width, height, ww, wh);
  const SDL_Rect dest{box.x, box.y, box.width, box.height};
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
  SDL_RenderPresent(renderer_);
  return true;
}

bool SoftWindow::windowToScene(int width, int height, int wx, int wy, int& sx, int& sy) const {
  int ww = 0, wh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  return letterboxToScene(fitLetterbox(width, height, ww, wh), width, height, wx, wy, sx, sy);
}

void SoftWindow::setTitle(const std::string& utf8) { SDL_SetWindowTitle(window_, utf8.c_str()); }

void SoftWindow::setSize(int width, int height) { SDL_SetWindowSize(window_, width, height); }

}  // namespace lum
