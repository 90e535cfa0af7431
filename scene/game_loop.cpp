#include "scene/game_loop.h"

#include <algorithm>
#include <string>

#include "media/image_cache.h"
#include "media/particle_manager.h"
#include "media/sound.h"
#include "render/archive.h"
#include "render/canvas.h"
#include "render/device.h"
#include "render/fonts.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/runtime.h"

namespace lum {
namespace {

constexpr int32_t kLastLogo = 10;
constexpr int32_t kLogoTicks = 100;
constexpr int32_t kFadeTicks = 18;  // the game initialises when the first logo is fully in
constexpr int32_t kLogoShownFrom = 19, kLogoShownTo = 82;
constexpr int32_t kStarsOnTopLayer = 1000;
constexpr uint32_t kNoTint = 0xFFFFFFFFu;

// Opacity of a logo t ticks after it appeared: in over 17 ticks, out over 17.
uint32_t logoOpacity(int32_t t) {
  if (t < kFadeTicks) return static_cast<uint32_t>(t * 15);
  if (t <= kLogoShownTo) return 255;
  return static_cast<uint32_t>(std::max(0, (kLogoTicks - t) * 15));
}

TLumElement* loadingScreen(TLumDB& root) {
  TLumElement* loading = root.LoadingScreen != 0 ? root.FindByKey(root.LoadingScreen) : nullptr;
  return loading == &root ? nullptr : loading;
}

}  // namespace

void GameLoop::Tick() {
  GameState& st = rt_.state;
  ++st.frame.ProcessTick;
  if (logoNumber_ >= 0) {
    logoStep();
    return;
  }
  Sound& sound = rt_.services.sound;
  if (st.frame.LoadingPhase) {
    if (TLumElement* loading = loadingScreen(root_)) {
      loading->Process();
    } else {
      root_.FinishScreenLoad(st.pendingScreen);
      st.frame.LoadingPhase = false;
    }
    sound.MusicTick();
    return;
  }
  if (st.currentScreen) st.currentScreen->Process();
  root_.stars().UpdateStars();
  if (st.input.cursorElement) st.input.cursorElement->Process();
  sound.MusicTick();
  if (st.fullScreenWanted == rt_.services.device.Windowed()) SwitchDisplay();
}

void GameLoop::logoStep() {
  GameState& st = rt_.state;
  if (logoTick_ < kLogoTicks && logoNumber_ > 0) {
    ++logoTick_;
    if (logoTick_ == kFadeTicks) {
      if (!gameInitialised_) {
        root_.Init();
        if (st.currentScreen) st.currentScreen->LoadResources();
        gameInitialised_ = true;
      } else if (!gameShown_) {
        if (st.currentScreen) st.currentScreen->Show();
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
    root_.Init();
    gameInitialised_ = true;
  }
  if (!gameShown_) {
    if (st.currentScreen) {
      st.currentScreen->LoadResources();
      st.currentScreen->Show();
    }
    gameShown_ = true;
  }
  rt_.shell.resetTimer();
  logoNumber_ = -1;
}

void GameLoop::nextLogo() {
  ImageCache& images = rt_.services.images;
  do {
    ++logoNumber_;
    const std::string n = std::to_string(logoNumber_);
    logoImage_ = images.ImRequest("logos\\logo" + n + ".jpg", false);
    rt_.services.sound.SoundPlay("logo" + n + ".mp3", 100);
  } while (!(logoImage_ && logoImage_->Texture) && logoNumber_ < kLastLogo);
  logoTick_ = 0;
  rt_.shell.resetTimer();
}

void GameLoop::SkipLogo() {
  if (logoNumber_ >= 0 && logoTick_ >= kLogoShownFrom && logoTick_ <= kLogoShownTo) {
    logoTick_ = kLogoShownTo + 1;
  }
}

void GameLoop::Draw() {
  if (logoNumber_ >= 0) {
    drawLogo();
  } else {
    drawPlay();
  }
}

void GameLoop::drawLogo() {
  TAsphyreImage* tex = logoImage_ ? rt_.services.images.ImTexture(logoImage_) : nullptr;
  if (!tex) return;
  TAsphyreCanvas& canvas = rt_.services.canvas;
  // The backdrop takes the colour of the picture's top-left pixel.
  const uint32_t corner = tex->GetPixel(0, 0, 0) | 0xFF000000u;
  canvas.FillRect(0, 0, 1024, 768, corner, 1);
  const int32_t w = tex->VisibleSize().width, h = tex->VisibleSize().height;
  const uint32_t colour = (logoOpacity(logoTick_) << 24) + 0xFFFFFFu;
  canvas.DrawPattern(tex, static_cast<float>((1024 - w) / 2), static_cast<float>((768 - h) / 2),
                     0, colour, 1284);
}

void GameLoop::drawLayers(TLumElement* element, int32_t from, int32_t to, double x, double y) {
  for (int32_t l = from; l <= to; ++l) element->Draw(l, kNoTint, x, y);
}

void GameLoop::drawPlay() {
  GameState& st = rt_.state;
  if (st.frame.LoadingPhase) {
    if (TLumElement* s = st.currentScreen) drawLayers(s, s->minOrder(), s->maxOrder(), 0, 0);
    if (TLumElement* loading = loadingScreen(root_)) {
      drawLayers(loading, loading->minOrder(), loading->maxOrder(), 0, 0);
    }
    return;
  }
  TAsphyreCanvas& canvas = rt_.services.canvas;
  TXParticleManager* particles = root_.particleManager();
  TAsphyreImage* sheet = particles ? particles->Sheet() : nullptr;
  if (TLumElement* s = st.currentScreen) {
    for (int32_t l = root_.minOrder(); l <= root_.maxOrder(); ++l) {
      s->Draw(l, kNoTint, 0, 0);
      root_.stars().DrawStars(l, canvas, sheet);
    }
  }
  root_.stars().DrawStars(kStarsOnTopLayer, canvas, sheet);
  if (TLumElement* cursor = st.input.cursorElement) {
    drawLayers(cursor, cursor->minOrder(), cursor->maxOrder(), st.input.mouseX, st.input.mouseY);
  }
}

void GameLoop::requestParticleSheet() {
  // Particle systems ask the manager for the sheet each time they draw, so
  // none keeps a texture that a display switch has made again.
  if (TXParticleManager* particles = root_.particleManager()) particles->RequestSheet();
}

void GameLoop::SwitchDisplay() {
  GameState& st = rt_.state;
  root_.StoreDisplayChoice();
  if (st.testMode) st.fullScreenWanted = false;
  // A display that cannot follow the choice (no window) keeps its mode; the
  // choice follows it so that the switch is not tried again on every tick.
  st.fullScreenWanted = rt_.shell.setFullScreen(st.fullScreenWanted);
  const Services& sv = rt_.services;
  sv.images.ImReloadAll();
  sv.fonts.Clear();
  if (sv.archive.ensureOpen()) sv.fonts.LoadFromASDb(sv.archive);
  requestParticleSheet();
  for (size_t i = 0; i < root_.childCount(); ++i) root_.child(i)->ReloadResources();
  rt_.shell.resetTimer();
}

}  // namespace lum
