#include "shell/frame_loop.h"

#include <string>

#include "media/image_cache.h"
#include "media/sound.h"
#include "render/canvas.h"
#include "render/image.h"
#include "scene/db.h"
#include "shell/game_session.h"

namespace lum {
namespace {

constexpr int32_t kLastLogo = 10;
constexpr int32_t kLogoTicks = 100;
constexpr int32_t kFadeTicks = 18;  // the game initialises when the first logo is fully in

// Opacity of a logo t ticks after it appeared: in over 17 ticks, out over 17.
uint32_t logoOpacity(int32_t t) {
  if (t < kFadeTicks) return static_cast<uint32_t>(t * 15);
  if (t <= 82) return 255;
  return static_cast<uint32_t>(std::max(0, (100 - t) * 15));
}

}  // namespace

void FrameLoop::Tick() {
  Runtime& rt = session_.runtime();
  TLumDB& root = session_.root();
  ++rt.frame.ProcessTick;
  if (logoNumber_ >= 0) {
    logoTick();
    return;
  }
  if (rt.frame.LoadingPhase) {
    TLumElement* loading = root.LoadingScreen != 0 ? root.FindByKey(root.LoadingScreen) : nullptr;
    if (loading && loading != &root) {
      loading->Process();
    } else {
      root.FinishScreenLoad(rt.pendingScreen);
      rt.frame.LoadingPhase = false;
    }
    session_.sound().MusicTick();
    return;
  }
  if (rt.currentScreen) rt.currentScreen->Process();
  root.stars().UpdateStars();
  if (rt.input.cursorElement) rt.input.cursorElement->Process();
  session_.sound().MusicTick();
  if (session_.windowed() == rt.fullScreenWanted) session_.switchDisplay();
  if (rt.closeRequested) session_.requestClose();
}

void FrameLoop::logoTick() {
  Runtime& rt = session_.runtime();
  TLumDB& root = session_.root();
  if (logoTick_ < kLogoTicks && logoNumber_ > 0) {
    ++logoTick_;
    if (logoTick_ == kFadeTicks) {
      if (!gameInitialised_) {
        root.Init();
        if (rt.currentScreen) rt.currentScreen->LoadResources();
        gameInitialised_ = true;
      } else if (!gameShown_) {
        if (rt.currentScreen) rt.currentScreen->Show();
        gameShown_ = true;
      }
    }
    return;
  }
  if (logoNumber_ < kLastLogo) {
    nextLogo();
    return;
  }
  if (!gameInitialised_) {
    root.Init();
    gameInitialised_ = true;
  }
  if (!gameShown_) {
    if (rt.currentScreen) {
      rt.currentScreen->LoadResources();
      rt.currentScreen->Show();
    }
    gameShown_ = true;
  }
  session_.resetTimer();
  logoNumber_ = -1;
}

void FrameLoop::nextLogo() {
  Runtime& rt = session_.runtime();
  do {
    ++logoNumber_;
    const std::string n = std::to_string(logoNumber_);
    logoImage_ = rt.images->ImRequest("logos\\logo" + n + ".jpg", false);
    session_.sound().SoundPlay("logo" + n + ".mp3", 100);
  } while (!(logoImage_ && logoImage_->Texture) && logoNumber_ < kLastLogo);
  logoTick_ = 0;
  session_.resetTimer();
}

void FrameLoop::SkipLogo() {
  if (logoNumber_ >= 0 && logoTick_ >= 19 && logoTick_ <= 82) logoTick_ = 83;
}

void FrameLoop::Draw() {
  if (logoNumber_ >= 0) {
    drawLogo();
  } else {
    drawPlay();
  }
}

void FrameLoop::drawLogo() {
  Runtime& rt = session_.runtime();
  TAsphyreImage* tex = logoImage_ ? rt.images->ImTexture(logoImage_) : nullptr;
  if (!tex) return;
  TAsphyreCanvas& canvas = *rt.canvas;
  // The backdrop takes the colour of the picture's top-left pixel.
  uint32_t corner = tex->GetPixel(0, 0, 0) | 0xFF000000u;
  canvas.FillRect(0, 0, 1024, 768, corner, 1);
  const int32_t w = tex->VisibleSize().width, h = tex->VisibleSize().height;
  const uint32_t colour = (logoOpacity(logoTick_) << 24) + 0xFFFFFFu;
  canvas.DrawPattern(tex, static_cast<float>((1024 - w) / 2), static_cast<float>((768 - h) / 2), 0,
                     colour, 1284);
}

void FrameLoop::drawPlay() {
  Runtime& rt = session_.runtime();
  TLumDB& root = session_.root();
  TAsphyreImage* starSheet = session_.starSheet();
  if (rt.frame.LoadingPhase) {
    if (TLumElement* s = rt.currentScreen) {
      for (int32_t l = s->minOrder(); l <= s->maxOrder(); ++l) s->Draw(l, 0xFFFFFFFFu, 0, 0, 0);
    }
    TLumElement* loading = root.LoadingScreen != 0 ? root.FindByKey(root.LoadingScreen) : nullptr;
    if (loading && loading != &root) {
      for (int32_t l = loading->minOrder(); l <= loading->maxOrder(); ++l) {
        loading->Draw(l, 0xFFFFFFFFu, 0, 0, 0);
      }
    }
    return;
  }
  if (TLumElement* s = rt.currentScreen) {
    for (int32_t l = root.minOrder(); l <= root.maxOrder(); ++l) {
      s->Draw(l, 0xFFFFFFFFu, 0, 0, 0);
      root.stars().DrawStars(l, *rt.canvas, starSheet);
    }
  }
  root.stars().DrawStars(1000, *rt.canvas, starSheet);
  if (TLumElement* cursor = rt.input.cursorElement) {
    for (int32_t l = cursor->minOrder(); l <= cursor->maxOrder(); ++l) {
      cursor->Draw(l, 0xFFFFFFFFu, rt.input.mouseX, rt.input.mouseY, 0);
    }
  }
}

}  // namespace lum
