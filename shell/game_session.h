#pragma once
// The runner's game: a game host made from the command line, with the
// window's part of what the scene asks (drawing a frame now, the frame
// timer, full screen) and the frame timer that paces play in real time.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/result.h"
#include "render/timer.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "shell/command_line.h"
#include "shell/startup_line.h"

namespace lum {

class GameSession final : public ShellPort {
 public:
  GameSession(const CommandLine& options, std::filesystem::path folder, std::string gameFile);
  ~GameSession() override;
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Opens the device and the sound and loads the game; the error is the
  // message the user sees.
  Status Start();
  // Shut-down: the exit event, then everything in reverse order.
  void Stop();

  // F12: the next frame drawn is saved in the screenshot folder.
  void RequestScreenshot() { screenshotWanted_ = true; }
  // After drawing a frame: saves it when asked and says where on standard
  // error (or why not).
  void SaveRequestedScreenshot();

  GameHost& host() { return *host_; }
  TAsphyreTimer& timer() { return *timer_; }

  // ShellPort
  void drawFrameNow(bool present) override;
  void resetTimer() override;
  bool setFullScreen(bool fullScreen) override;

 private:
  StartupFacts startupFacts(const std::string& logPath) const;

  CommandLine options_;
  std::filesystem::path folder_;
  std::string gameFile_;
  std::unique_ptr<GameHost> host_;
  std::unique_ptr<TAsphyreTimer> timer_;
  bool screenshotWanted_ = false;
};

}  // namespace lum
