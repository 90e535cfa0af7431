#pragma once
// The game's course in time: the logic tick (logo sequence, loading phase,
// play) and the drawing of one frame (a logo, the loading screen over the
// old screen, or the current screen layer by layer with the stars and the
// cursor element).
#include <cstdint>

namespace lum {

class TLumDB;
class TLumElement;
struct Runtime;
struct TLumIm;

class GameLoop {
 public:
  GameLoop(Runtime& runtime, TLumDB& root) : rt_(runtime), root_(root) {}

  // One logic tick.
  void Tick();
  // Draws the frame into the back buffer.
  void Draw();

  bool logosRunning() const { return logoNumber_ >= 0; }
  int32_t logoTick() const { return logoTick_; }
  // A press while a logo is fully shown starts its fade-out.
  void SkipLogo();

  // Puts the display in line with the player's choice, then makes every
  // texture, font and element resource again.
  void SwitchDisplay();
  // Asks for the shared sprite sheet of stars and particles ("particles.bmp",
  // kept), as the game loads and after every display switch.
  void requestParticleSheet();

 private:
  void logoStep();
  void nextLogo();
  void drawLogo();
  void drawPlay();
  void drawLayers(TLumElement* element, int32_t from, int32_t to, double x, double y);

  Runtime& rt_;
  TLumDB& root_;
  int32_t logoNumber_ = 0;
  int32_t logoTick_ = 0;
  TLumIm* logoImage_ = nullptr;
  bool gameInitialised_ = false;
  bool gameShown_ = false;
};

}  // namespace lum
