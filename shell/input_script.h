#pragma once
// Recorded input for reproducible runs: one event a line,
//   TICK mousemove X Y | TICK mousedown X Y | TICK mouseup X Y
//   TICK key CODE [alt] | TICK char CODE | TICK deactivate | TICK activate
// with '#' starting a comment. Events of tick T are delivered after T
// logic ticks have run, before the next frame.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/result.h"

namespace lum {

struct InputEvent {
  enum class Kind { MouseMove, MouseDown, MouseUp, Key, Char, Deactivate, Activate };
  uint32_t tick = 0;
  Kind kind = Kind::MouseMove;
  int32_t x = 0, y = 0;  // mouse position, or the key or character code in x
  bool alt = false;
};

// Events sorted by tick (lines of one tick keep their order).
Result<std::vector<InputEvent>> parseInputScript(const std::string& text);

}  // namespace lum
