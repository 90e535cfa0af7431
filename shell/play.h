#pragma once
// Playing a started game until it ends: in a window with the real clock, or
// headless with one logic tick per frame, replayed input and screenshots.
#include <vector>

#include "platform/result.h"
#include "shell/input_script.h"

namespace lum {

class GameSession;
struct CommandLine;

// Both return the exit status.
int playHeadless(GameSession& session, const CommandLine& options,
                 const std::vector<InputEvent>& events);
int playInWindow(GameSession& session, const CommandLine& options,
                 const std::vector<InputEvent>& events);

// Applies one recorded event.
void deliverInput(GameSession& session, const InputEvent& event);

// Writes the back buffer as PNG.
Status saveScreenshot(GameSession& session, const std::string& file);

}  // namespace lum
