// Play in a window: SDL events routed into the game, the frame timer driven
// from the idle loop with the real clock.
#include <SDL.h>

#include <iostream>

#include "media/audio_device.h"
#include "media/sound.h"
#include "shell/command_line.h"
#include "shell/game_session.h"
#include "render/render_stack.h"
#include "scene/game_loop.h"
#include "scene/input_rules.h"
#include "shell/key_codes.h"
#include "shell/play.h"
#include "shell/screenshot_file.h"
#include "platform/utf.h"

namespace lum {
namespace {

bool toScene(GameSession& session, int wx, int wy, int32_t& x, int32_t& y) {
  int sx = 0, sy = 0;
  if (!session.host().render().device.Backend().windowToScene(wx, wy, sx, sy)) return false;
  x = sx;
  y = sy;
  return true;
}

void handle(GameSession& session, const SDL_Event& ev, bool& quit) {
  InputRules& in = session.host().input();
  int32_t x = 0, y = 0;
  switch (ev.type) {
    case SDL_QUIT:
      quit = true;
      break;
    case SDL_MOUSEMOTION:
      if (toScene(session, ev.motion.x, ev.motion.y, x, y)) in.MouseMove(x, y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (toScene(session, ev.button.x, ev.button.y, x, y)) in.MouseDown(x, y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (toScene(session, ev.button.x, ev.button.y, x, y)) in.MouseUp(x, y);
      break;
    case SDL_KEYDOWN: {
      int32_t code = virtualKeyCode(ev.key.keysym.sym);
      const SDL_Keymod mods = static_cast<SDL_Keymod>(ev.key.keysym.mod);
      const bool altOnly = (mods & KMOD_ALT) && !(mods & (KMOD_CTRL | KMOD_SHIFT | KMOD_GUI));
      if (code == kScreenshotKey) {
        session.RequestScreenshot();
        break;
      }
      if (code > 0) in.KeyDown(code, altOnly);
      // Typed text does not carry Backspace and Enter; pass them as characters.
      if (code == 8 || code == 13) in.Character(static_cast<char32_t>(code));
      break;
    }
    case SDL_TEXTINPUT:
      for (char32_t c : utf8ToUtf32(ev.text.text)) in.Character(c);
      break;
    case SDL_WINDOWEVENT:
      if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
          ev.window.event == SDL_WINDOWEVENT_MINIMIZED) {
        in.Activate(false);
      } else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                 ev.window.event == SDL_WINDOWEVENT_RESTORED) {
        in.Activate(true);
      } else if (ev.window.event == SDL_WINDOWEVENT_EXPOSED && !session.host().state().active) {
        TAsphyreDevice& device = session.host().render().device;
        device.Render(0xFF000000u, false);
        device.Present();
      }
      break;
    default:
      break;
  }
}

}  // namespace

int playInWindow(GameSession& session, const CommandLine& options,
                 const std::vector<InputEvent>& events) {
  TAsphyreTimer& timer = session.timer();
  GameHost& host = session.host();
  TAsphyreDevice& device = host.render().device;
  uint32_t ticks = 0;
  size_t next = 0;
  int status = 0;
  timer.OnProcess = [&] {
    host.loop().Tick();
    ++ticks;
  };
  timer.OnTimer = [&] {
    while (next < events.size() && events[next].tick <= ticks) deliverInput(session, events[next++]);
    device.Render(0xFF000000u, true);
    session.SaveRequestedScreenshot();
    for (const Screenshot& shot : options.screenshots) {
      if (shot.tick != ticks) continue;
      if (Status saved = saveScreenshot(session, shot.file); !saved) {
        std::cerr << "lumrun: " << shot.file << ": " << saved.error().text() << '\n';
        status = 2;
      }
    }
    timer.RunProcessTicks();
    device.Present();
    host.services().audio.update();
  };
  GraphicsDevice& window = device.Backend();
  window.setTitle(host.title());
  if (options.scale > 1) window.setWindowSize(1024 * options.scale, 768 * options.scale);
  SDL_StartTextInput();
  bool quit = false;
  while (!quit && !host.closing()) {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) handle(session, ev, quit);
    if (options.ticks && ticks >= *options.ticks) break;
    if (!host.state().active || !timer.Enabled()) {
      SDL_Delay(10);
      continue;
    }
    timer.Idle();
  }
  return status;
}

}  // namespace lum
