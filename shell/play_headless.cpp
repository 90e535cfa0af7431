// Headless play: no window, no sound, a virtual clock of exactly one logic
// tick per frame, so that the same game and input give the same frames.
#include <iostream>

#include "render/png_writer.h"
#include "shell/command_line.h"
#include "shell/game_session.h"
#include "render/render_stack.h"
#include "scene/game_loop.h"
#include "scene/input_rules.h"
#include "shell/play.h"
#include "shell/screenshot_file.h"

namespace lum {

// Without --ticks a headless run still ends, after this many ticks.
constexpr uint32_t kDefaultHeadlessTicks = 3000;

void deliverInput(GameSession& session, const InputEvent& e) {
  InputRules& in = session.host().input();
  switch (e.kind) {
    case InputEvent::Kind::MouseMove:
      in.MouseMove(e.x, e.y);
      break;
    case InputEvent::Kind::MouseDown:
      in.MouseDown(e.x, e.y);
      break;
    case InputEvent::Kind::MouseUp:
      in.MouseUp(e.x, e.y);
      break;
    case InputEvent::Kind::Key:
      if (e.x == kScreenshotKey) {
        session.RequestScreenshot();
        break;
      }
      in.KeyDown(e.x, e.alt);
      break;
    case InputEvent::Kind::Char:
      in.Character(static_cast<char32_t>(e.x));
      break;
    case InputEvent::Kind::Deactivate:
      in.Activate(false);
      break;
    case InputEvent::Kind::Activate:
      in.Activate(true);
      break;
  }
}

Status saveScreenshot(GameSession& session, const std::string& file) {
  std::vector<uint32_t> pixels;
  if (!session.host().render().device.ReadBackBuffer(pixels)) return Error{"cannot read the frame"};
  return savePng(file, pixels, 1024, 768);
}

int playHeadless(GameSession& session, const CommandLine& options,
                 const std::vector<InputEvent>& events) {
  const uint32_t last = options.ticks.value_or(kDefaultHeadlessTicks);
  GameHost& host = session.host();
  TAsphyreDevice& device = host.render().device;
  size_t next = 0;
  int status = 0;
  for (uint32_t tick = 0;; ++tick) {
    while (next < events.size() && events[next].tick <= tick) deliverInput(session, events[next++]);
    device.Render(0xFF000000u, true);
    session.SaveRequestedScreenshot();
    for (const Screenshot& shot : options.screenshots) {
      if (shot.tick != tick) continue;
      Status saved = saveScreenshot(session, shot.file);
      if (!saved) {
        std::cerr << "lumrun: " << shot.file << ": " << saved.error().text() << '\n';
        status = 2;
      }
    }
    if (tick >= last || host.closing()) break;
    // Paused (deactivated) time runs no logic ticks.
    if (host.state().active) host.loop().Tick();
    device.Present();
  }
  return status;
}

}  // namespace lum
