#pragma once
// How mouse, keys, typed characters and activation reach the game: the hit
// test from the highest layer down, the element and root mouse events, the
// press probes around the pointer, MsKeep and NoMsLumDB, keys and characters
// to the root, and the pause while the window is inactive.
#include <cstdint>

namespace lum {

class GameLoop;
class TLumDB;
class TLumElement;
struct Runtime;

class InputRules {
 public:
  InputRules(Runtime& runtime, TLumDB& root, GameLoop& loop)
      : rt_(runtime), root_(root), loop_(loop) {}

  // Positions in scene pixels (1024 x 768).
  void MouseMove(int32_t x, int32_t y);
  void MouseDown(int32_t x, int32_t y);
  void MouseUp(int32_t x, int32_t y);
  // A key as a Windows virtual-key code; Alt+Enter switches the display.
  void KeyDown(int32_t code, bool altOnly);
  // A typed character: a code point in Unicode mode, else converted to the
  // game's code page.
  void Character(char32_t character);
  // The window lost or regained the player's attention.
  void Activate(bool active);

 private:
  TLumElement* hitTest(int32_t x, int32_t y);

  Runtime& rt_;
  TLumDB& root_;
  GameLoop& loop_;
};

}  // namespace lum
