#pragma once
// Mouse, keys, typed characters and activation, routed into the game: the
// hit test from the highest layer down, the element and root mouse events,
// the press probes around the pointer, keys and characters to the root.
#include <cstdint>

namespace lum {

class GameSession;
class TLumElement;

class InputRouter {
 public:
  explicit InputRouter(GameSession& session) : session_(session) {}

  // Positions in scene pixels (1024 x 768).
  void MouseMove(int32_t x, int32_t y);
  void MouseDown(int32_t x, int32_t y);
  void MouseUp(int32_t x, int32_t y);
  // A key as a Windows virtual-key code; Alt+Enter switches the display.
  void KeyDown(int32_t code, bool altOnly);
  // A typed character: a code point in Unicode mode, else converted to the
  // game's code page.
  void Character(char32_t character);
  void Activate(bool active);

 private:
  TLumElement* hitTest(int32_t x, int32_t y);

  GameSession& session_;
};

}  // namespace lum
