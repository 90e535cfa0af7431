#pragma once
// The loading and tick state that the frame loop, the screen changes and the
// image cache share. One instance lives in the runtime.
#include <cstdint>

namespace lum {

struct FrameState {
  // Logic ticks run so far; the image cache's clock for "last used".
  uint32_t ProcessTick = 0;
  // Clear while a game file or a screen is being read: picture requests are
  // then recorded, and loaded later under a progress display.
  bool ImLoadEnabled = true;
  // Set while a screen change loads the pictures it recorded.
  bool LoadingPhase = false;
};

}  // namespace lum
