#pragma once
// The two handlers the frame timer drives: the logic tick (logo sequence,
// loading phase, play) and the drawing of one frame.
#include <cstdint>

namespace lum {

class GameSession;
struct TLumIm;

class FrameLoop {
 public:
  explicit FrameLoop(GameSession& session) : session_(session) {}

  // TimerProcess: one logic tick.
  void Tick();
  // DeviceRender: draws the frame into the back buffer.
  void Draw();

  bool logosRunning() const { return logoNumber_ >= 0; }
  int32_t logoTick() const { return logoTick_; }
  // A press while a logo is fully shown starts its fade-out.
  void SkipLogo();

 private:
  void logoTick();
  void nextLogo();
  void drawLogo();
  void drawPlay();

  GameSession& session_;
  int32_t logoNumber_ = 0;
  int32_t logoTick_ = 0;
  TLumIm* logoImage_ = nullptr;
  bool gameInitialised_ = false;
  bool gameShown_ = false;
};

}  // namespace lum
