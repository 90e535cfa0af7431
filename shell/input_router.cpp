#include "shell/input_router.h"

#include "media/audio_device.h"
#include "media/sound.h"
#include "scene/db.h"
#include "shell/game_session.h"

namespace lum {
namespace {

// Where a press looks for an element with a press script, in units of two
// pixels around the pointer.
constexpr int kProbes[9][2] = {{0, 0}, {-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                               {0, 1},  {1, -1},  {1, 0},  {1, 1}};

}  // namespace

TLumElement* InputRouter::hitTest(int32_t x, int32_t y) {
  Runtime& rt = session_.runtime();
  TLumDB& root = session_.root();
  for (int32_t l = root.maxOrder(); l >= root.minOrder(); --l) {
    if (TLumElement* hit = rt.currentScreen->HitTest(l, x, y, 0, 0)) return hit;
  }
  return nullptr;
}

void InputRouter::MouseMove(int32_t x, int32_t y) {
  Runtime& rt = session_.runtime();
  if (rt.frame.LoadingPhase) return;
  InputState& in = rt.input;
  in.mouseDX = x - in.mouseX;
  in.mouseDY = y - in.mouseY;
  in.mouseX = x;
  in.mouseY = y;
  if (!session_.timer().Enabled()) return;
  if (!rt.currentScreen) return;
  TLumElement* hit = hitTest(x, y);
  if (!(in.mouseHeld && in.underCursor && in.underCursor->MsKeep) && hit != in.underCursor) {
    TLumElement* old = in.underCursor;
    in.underCursor = hit;
    if (old) old->MouseOut();
    if (hit) hit->MouseIn();
  }
  if (in.underCursor) in.underCursor->MouseMove();
  session_.root().MouseMove();
}

void InputRouter::MouseDown(int32_t x, int32_t y) {
  Runtime& rt = session_.runtime();
  if (session_.frameLoop().logosRunning()) {
    session_.frameLoop().SkipLogo();
    return;
  }
  if (rt.frame.LoadingPhase) return;
  InputState& in = rt.input;
  in.mouseX = x;
  in.mouseY = y;
  for (const auto& p : kProbes) {
    MouseMove(x + 2 * p[0], y + 2 * p[1]);
    if (in.underCursor && !in.underCursor->event(EventSlot::MouseDown).source.empty()) break;
  }
  TLumElement* under = in.underCursor;
  if (under) under->MouseDown();
  in.pressed = under;
  in.mouseHeld = true;
  if (!(under && under->NoMsLumDB)) session_.root().MouseDown();
  MouseMove(x, y);
}

void InputRouter::MouseUp(int32_t x, int32_t y) {
  Runtime& rt = session_.runtime();
  if (rt.frame.LoadingPhase) return;
  InputState& in = rt.input;
  in.mouseX = x;
  in.mouseY = y;
  MouseMove(x, y);
  TLumElement* under = in.underCursor;
  if (under && under == in.pressed) under->MouseUp();
  if (!(under && under->NoMsLumDB)) session_.root().MouseUp();
  if (!(in.mouseHeld && in.underCursor && in.underCursor->MsKeep)) {
    in.mouseHeld = false;
    MouseMove(x, y);
  }
  in.mouseHeld = false;
}

void InputRouter::KeyDown(int32_t code, bool altOnly) {
  Runtime& rt = session_.runtime();
  if (code == 13 && altOnly) {
    rt.fullScreenWanted = !rt.fullScreenWanted;
    session_.switchDisplay();
  }
  session_.root().KeyDown(code);
}

void InputRouter::Character(char32_t character) {
  Runtime& rt = session_.runtime();
  TLumDB& root = session_.root();
  if (root.unicodeMode()) {
    root.CharInput(static_cast<uint32_t>(character));
    return;
  }
  std::optional<unsigned char> byte = rt.codePage.encode(character);
  if (byte) root.CharInput(*byte);
}

void InputRouter::Activate(bool active) {
  TAsphyreTimer& timer = session_.timer();
  if (!active) {
    timer.SetEnabled(false);
    session_.sound().device().pause();
    return;
  }
  timer.SetEnabled(true);
  session_.resetTimer();
  session_.sound().device().resume();
}

}  // namespace lum
