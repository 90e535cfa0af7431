#pragma once
// One game, alive: the services, the runtime, the routines scripts call, the
// root with its tree, the game loop and the input rules, created in the
// order start-up needs and destroyed in reverse. The runner, the tools and
// the tests all play games through a host; only the window and the real-time
// pacing stay with the runner.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/game_folder.h"
#include "platform/random.h"
#include "platform/result.h"
#include "render/archive.h"
#include "scene/routine_provider.h"
#include "scene/runtime.h"
#include "script/environment.h"

namespace lum {

class AudioDevice;
class GameLoop;
class ImageCache;
class InputRules;
class InterpreterPool;
class Sound;
class TLumDB;
struct RenderStack;

struct HostOptions {
  std::filesystem::path folder;   // the game's folder
  CodePage codePage;              // its 8-bit code page
  std::string renderer = "soft";  // graphics backend by name
  bool fallBackToSoft = false;    // when the chosen backend cannot start
  bool headless = true;           // no window
  std::string audio = "null";     // audio backend by name; "null" is silent
  uint64_t seed = 0;              // of the random generator
  bool testMode = false;          // always windowed
  // Where save folders go; none when the user has no data folder.
  std::optional<std::filesystem::path> userDataFolder;
  std::string errorLogPath = "lumware.err";
  // Statements one script run may take (0: no limit).
  uint64_t scriptBudget = ScriptEnvironment::kDefaultStatementBudget;
  // Null: a virtual clock that moves one logic tick per frame.
  std::unique_ptr<Clock> clock;
};

class GameHost {
 public:
  // Creates every service; `shell` may be null (no window: frames are drawn
  // off screen, the display never switches). The error is what the player
  // sees.
  static Result<std::unique_ptr<GameHost>> Create(HostOptions options,
                                                  const RoutineFactory& routines,
                                                  ShellPort* shell = nullptr);
  ~GameHost();
  GameHost(const GameHost&) = delete;
  GameHost& operator=(const GameHost&) = delete;

  // Reads the game file and selects the first screen. A missing file gives
  // an empty game; a malformed one the reason.
  Status LoadGame(const std::string& gameFileName);
  // Draws a frame into the back buffer, runs `ticks` logic ticks (none while
  // inactive), then shows the frame and lets the sound catch up.
  void Frame(int ticks);
  // Shut-down: the exit event, then the tree, then the interpreters.
  void Stop();

  Runtime& runtime() { return *runtime_; }
  const Services& services() const { return runtime_->services; }
  GameState& state() { return state_; }
  TLumDB& root() { return *root_; }
  GameLoop& loop() { return *loop_; }
  InputRules& input() { return *input_; }
  RenderStack& render() { return *render_; }
  Clock& clock() { return *clock_; }
  // The window title: the language text "Title", else the root's Id (UTF-8).
  const std::string& title() const { return title_; }
  // Empty when the audio backend asked for opened; else why the null device
  // plays instead.
  const std::string& audioNotice() const { return audioNotice_; }
  const std::string& rendererName() const { return rendererName_; }
  // Empty when the renderer asked for started; else why it did not and the
  // software renderer draws instead.
  const std::string& rendererNotice() const { return rendererNotice_; }
  bool closing() const { return state_.closeRequested; }

 private:
  class OffscreenShell;
  explicit GameHost(HostOptions options);
  Status start(const RoutineFactory& routines, ShellPort* shell);

  HostOptions options_;
  GameState state_;
  GameFolder folder_;
  Random random_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<AudioDevice> audio_;
  std::string audioNotice_;
  std::unique_ptr<RenderStack> render_;
  std::string rendererName_;
  std::string rendererNotice_;
  TASDb archive_;
  std::unique_ptr<ImageCache> images_;
  std::unique_ptr<Sound> sound_;
  std::unique_ptr<InterpreterPool> pool_;
  std::unique_ptr<OffscreenShell> offscreen_;
  std::unique_ptr<Runtime> runtime_;
  std::unique_ptr<RoutineProvider> routines_;
  std::unique_ptr<TLumDB> root_;
  std::unique_ptr<GameLoop> loop_;
  std::unique_ptr<InputRules> input_;
  std::string title_;
  bool stopped_ = false;
};

}  // namespace lum
