#pragma once
// SDL keys as the Windows virtual-key codes that games compare against.
#include <SDL.h>

#include <cstdint>

namespace lum {

// 0 for keys that have no code games know.
int32_t virtualKeyCode(SDL_Keycode key);

}  // namespace lum
