#include "scene/input_rules.h"

#include "media/audio_device.h"
#include "platform/code_page.h"
#include "scene/db.h"
#include "scene/game_loop.h"
#include "scene/runtime.h"

namespace lum {
namespace {

// Where a press looks for an element with a press script, in units of two
// pixels around the pointer, in this order.
constexpr int kProbes[9][2] = {{0, 0}, {-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                               {0, 1},  {1, -1},  {1, 0},  {1, 1}};
constexpr int kProbeStep = 2;
constexpr int32_t kEnterKey = 13;

}  // namespace

TLumElement* InputRules::hitTest(int32_t x, int32_t y) {
  TLumElement* screen = rt_.state.currentScreen;
  for (int32_t l = root_.maxOrder(); l >= root_.minOrder(); --l) {
    if (TLumElement* hit = screen->HitTest(l, x, y, 0, 0)) return hit;
  }
  return nullptr;
}

void InputRules::MouseMove(int32_t x, int32_t y) {
  GameState& st = rt_.state;
  if (st.frame.LoadingPhase) return;
  InputState& in = st.input;
  in.mouseDX = x - in.mouseX;
  in.mouseDY = y - in.mouseY;
  in.mouseX = x;
  in.mouseY = y;
  if (!st.active || !st.currentScreen) return;
  TLumElement* hit = hitTest(x, y);
  if (!(in.mouseHeld && in.underCursor && in.underCursor->MsKeep) && hit != in.underCursor) {
    TLumElement* old = in.underCursor;
    in.underCursor = hit;
    if (old) old->MouseOut();
    if (hit) hit->MouseIn();
  }
  if (in.underCursor) in.underCursor->MouseMove();
  root_.MouseMove();
}

void InputRules::MouseDown(int32_t x, int32_t y) {
  GameState& st = rt_.state;
  if (loop_.logosRunning()) {
    loop_.SkipLogo();
    return;
  }
  if (st.frame.LoadingPhase) return;
  InputState& in = st.input;
  in.mouseX = x;
  in.mouseY = y;
  for (const auto& p : kProbes) {
    MouseMove(x + kProbeStep * p[0], y + kProbeStep * p[1]);
    if (in.underCursor && !in.underCursor->event(EventSlot::MouseDown).source.empty()) break;
  }
  TLumElement* under = in.underCursor;
  if (under) under->MouseDown();
  in.pressed = under;
  in.mouseHeld = true;
  if (!(under && under->NoMsLumDB)) root_.MouseDown();
  MouseMove(x, y);
}

void InputRules::MouseUp(int32_t x, int32_t y) {
  GameState& st = rt_.state;
  if (st.frame.LoadingPhase) return;
  InputState& in = st.input;
  in.mouseX = x;
  in.mouseY = y;
  MouseMove(x, y);
  TLumElement* under = in.underCursor;
  if (under && under == in.pressed) under->MouseUp();
  if (!(under && under->NoMsLumDB)) root_.MouseUp();
  if (!(in.mouseHeld && in.underCursor && in.underCursor->MsKeep)) {
    in.mouseHeld = false;
    MouseMove(x, y);
  }
  in.mouseHeld = false;
}

void InputRules::KeyDown(int32_t code, bool altOnly) {
  if (code == kEnterKey && altOnly) {
    rt_.state.fullScreenWanted = !rt_.state.fullScreenWanted;
    loop_.SwitchDisplay();
  }
  root_.KeyDown(code);
}

void InputRules::Character(char32_t character) {
  if (root_.unicodeMode()) {
    root_.CharInput(static_cast<uint32_t>(character));
    return;
  }
  std::optional<unsigned char> byte = rt_.services.codePage.encode(character);
  if (byte) root_.CharInput(*byte);
}

void InputRules::Activate(bool active) {
  rt_.state.active = active;
  if (!active) {
    rt_.services.audio.pause();
    return;
  }
  rt_.shell.resetTimer();
  rt_.services.audio.resume();
}

}  // namespace lum
