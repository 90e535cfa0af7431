#include "scene/game_host.h"

#include "media/audio_device.h"
#include "media/image_cache.h"
#include "media/sound.h"
#include "render/render_stack.h"
#include "scene/db.h"
#include "scene/game_loop.h"
#include "scene/input_rules.h"
#include "script/pool.h"

namespace lum {

constexpr uint32_t kBackground = 0xFF000000u;

// Without a window: frames are drawn into the back buffer when asked, the
// display stays as it is, and there is no real-time pacing to reset.
class GameHost::OffscreenShell final : public ShellPort {
 public:
  explicit OffscreenShell(TAsphyreDevice& device) : device_(device) {}
  void drawFrameNow(bool present) override {
    device_.Render(kBackground, true);
    if (present) device_.Present();
  }
  void resetTimer() override {}
  bool setFullScreen(bool) override { return !device_.Windowed(); }

 private:
  TAsphyreDevice& device_;
};

GameHost::GameHost(HostOptions options)
    : options_(std::move(options)), folder_(options_.folder, options_.codePage),
      random_(options_.seed) {}

GameHost::~GameHost() { Stop(); }

Result<std::unique_ptr<GameHost>> GameHost::Create(HostOptions options,
                                                   const RoutineFactory& routines,
                                                   ShellPort* shell) {
  std::unique_ptr<GameHost> host(new GameHost(std::move(options)));
  Status started = host->start(routines, shell);
  if (!started) return started.error();
  return host;
}

Status GameHost::start(const RoutineFactory& routines, ShellPort* shell) {
  state_.testMode = options_.testMode;
  clock_ = options_.clock ? std::move(options_.clock) : std::make_unique<VirtualClock>(30);

  AudioDeviceChoice audio = openAudioDevice(options_.audio);
  audio_ = std::move(audio.device);
  audioNotice_ = std::move(audio.notice);

  BackendOptions backend;
  backend.headless = options_.headless;
  rendererName_ = options_.renderer;
  Result<std::unique_ptr<RenderStack>> stack = makeRenderStack(options_.renderer, backend);
  if (!stack && options_.fallBackToSoft && options_.renderer != "soft") {
    rendererNotice_ = options_.renderer + " could not start: " + stack.error().text();
    rendererName_ = "soft";
    stack = makeRenderStack(rendererName_, backend);
  }
  if (!stack) return Error{"Failed initializing Asphyre device! (" + stack.error().text() + ")"};
  render_ = std::move(stack.value());
  if (!render_->device.Initialize()) return Error{"Failed initializing Asphyre device!"};

  images_ = std::make_unique<ImageCache>(render_->images, folder_, &archive_, state_.frame);
  pool_ = std::make_unique<InterpreterPool>();
  if (!shell) {
    offscreen_ = std::make_unique<OffscreenShell>(render_->device);
    shell = offscreen_.get();
  }
  sound_ = std::make_unique<Sound>(*audio_, folder_, &archive_, [shell] { shell->resetTimer(); });
  const Services services{folder_,          folder_.codePage(), render_->device, render_->canvas,
                          render_->images,  render_->fonts,     render_->systemFonts,
                          archive_,         *images_,           *audio_,         *sound_,
                          *clock_,          random_,            *pool_};
  runtime_ = std::make_unique<Runtime>(services, state_, *shell, options_.userDataFolder);

  // The routines come before the game file: its scripts are prepared while
  // it is read.
  routines_ = routines(*runtime_);
  for (int i = 0; i < InterpreterPool::kSize; ++i) {
    routines_->registerRoutines(pool_->At(i).Functions());
  }
  ScriptEnvironment& env = pool_->Environment();
  env.log.SetPath(options_.errorLogPath);
  env.statementBudget = options_.scriptBudget;
  env.readInclude = [this](std::string_view name) {
    IncludeRead read;
    read.text = folder_.readFile(name);
    return read;
  };

  root_ = std::make_unique<TLumDB>(runtime_.get());
  env.languageText = [this](std::string_view key) { return root_->LangText(std::string(key)); };
  images_->maxMem = [this] { return root_->MaxMem; };
  images_->alwaysLoad = [this] { return root_->AlwaysLoadIm; };
  images_->loadProgressStep = [this] { root_->LoadProgressStep(); };
  loop_ = std::make_unique<GameLoop>(*runtime_, *root_);
  input_ = std::make_unique<InputRules>(*runtime_, *root_, *loop_);
  render_->device.OnRender = [this](TAsphyreDevice&) { loop_->Draw(); };
  return {};
}

Status GameHost::LoadGame(const std::string& gameFileName) {
  loop_->requestParticleSheet();
  state_.frame.ImLoadEnabled = false;
  Status loaded = root_->LoadGame(gameFileName);
  state_.frame.ImLoadEnabled = true;
  if (!loaded) return loaded;
  if (state_.testMode) state_.fullScreenWanted = false;
  title_ = root_->LangText("Title");
  if (title_.empty()) title_ = root_->Id;
  title_ = folder_.codePage().toUtf8(title_);
  state_.currentScreen = root_->FindByKey(root_->InitScreen);
  runtime_->shell.resetTimer();
  return {};
}

void GameHost::Frame(int ticks) {
  render_->device.Render(kBackground, true);
  for (int i = 0; i < ticks && state_.active && !state_.closeRequested; ++i) loop_->Tick();
  render_->device.Present();
  audio_->update();
}

void GameHost::Stop() {
  if (stopped_ || !root_) return;
  stopped_ = true;
  root_->RunExit();
  state_.currentScreen = nullptr;
  state_.pendingScreen = nullptr;
  state_.input = InputState{};
  state_.focusedText = nullptr;
  input_.reset();
  loop_.reset();
  render_->device.OnRender = nullptr;
  images_->loadProgressStep = nullptr;
  root_.reset();
  pool_.reset();
}

}  // namespace lum
