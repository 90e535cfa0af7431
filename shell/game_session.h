#pragma once
// One running game: the rendering components, the archive, the image cache,
// the sound, the interpreters with every routine, the runtime and the root,
// created and destroyed in the order start-up and shut-down need.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "library/builtins/builtin_context.h"
#include "platform/clock.h"
#include "platform/game_folder.h"
#include "platform/result.h"
#include "render/archive.h"
#include "render/render_stack.h"
#include "render/timer.h"
#include "scene/runtime.h"
#include "shell/command_line.h"
#include "shell/frame_loop.h"

namespace lum {

class AudioDevice;
class ImageCache;
class InputRouter;
class InterpreterPool;
class Sound;
class TLumDB;

class GameSession {
 public:
  GameSession(const CommandLine& options, const std::filesystem::path& folder,
              std::string gameFile);
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Opens the device and the sound and loads the game; the error is the
  // message the user sees.
  Status Start();
  // Shut-down: the exit event, then everything in reverse order.
  void Stop();

  Runtime& runtime() { return runtime_; }
  TLumDB& root() { return *root_; }
  Sound& sound() { return *sound_; }
  RenderStack& render() { return *render_; }
  TAsphyreTimer& timer() { return *timer_; }
  FrameLoop& frameLoop() { return frameLoop_; }
  InputRouter& input() { return *input_; }
  const std::string& title() const { return title_; }

  // One frame: draw, then `ticks` logic ticks, then show it.
  void Frame(int ticks);
  void resetTimer();
  bool windowed() const;
  void switchDisplay();
  void requestClose() { closing_ = true; }
  bool closing() const { return closing_; }
  TAsphyreImage* starSheet();

 private:
  void wireRuntime();
  void renderFrame(bool present);

  CommandLine options_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<RenderStack> render_;
  std::unique_ptr<TAsphyreTimer> timer_;
  TASDb archive_;
  GameFolder folder_;
  std::string gameFile_;
  std::unique_ptr<ImageCache> images_;
  std::unique_ptr<AudioDevice> audio_;
  std::unique_ptr<Sound> sound_;
  BuiltinContext builtins_;
  std::unique_ptr<InterpreterPool> pool_;
  Runtime runtime_;
  std::unique_ptr<TLumDB> root_;
  std::unique_ptr<InputRouter> input_;
  FrameLoop frameLoop_{*this};
  TLumIm* particles_ = nullptr;
  std::string title_;
  bool closing_ = false;
  bool stopped_ = false;
};

}  // namespace lum
