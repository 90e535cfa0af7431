#include "shell/game_session.h"

#include <iostream>

#include "library/routine_table.h"
#include "media/audio_device.h"
#include "media/image_cache.h"
#include "media/sound.h"
#include "platform/file_ops.h"
#include "platform/user_data.h"
#include "render/image.h"
#include "scene/db.h"
#include "script/pool.h"
#include "shell/input_router.h"

namespace lum {
namespace {

// The error log goes beside the game, or to the user data folder when the
// game's folder cannot be written or its "lumware.err" is a link that leads
// out of it.
std::string errorLogPath(const CommandLine& options, GameFolder& game) {
  const std::filesystem::path& folder = game.root();
  if (isFolderWritable(folder)) {
    if (auto path = game.pathForWrite("lumware.err")) return path->string();
  }
  auto data = findUserDataFolder(options.saveDir ? std::optional<std::filesystem::path>(*options.saveDir)
                                                 : std::nullopt);
  if (!data) return {};  // no log rather than one written outside
  createDirectories(*data / "lumrun");
  return (*data / "lumrun" / "lumware.err").string();
}

}  // namespace

GameSession::GameSession(const CommandLine& options, const std::filesystem::path& folder,
                         std::string gameFile)
    : options_(options), folder_(folder, options.codePage.empty() ? CodePage()
                                                                   : *CodePage::create(options.codePage)),
      gameFile_(std::move(gameFile)) {}

GameSession::~GameSession() { Stop(); }

Status GameSession::Start() {
  runtime_.codePage = folder_.codePage();
  runtime_.TestMode = options_.testMode;
  runtime_.random.seed(options_.seed);
  builtins_.codePage = runtime_.codePage;
  builtins_.random.Seed(options_.seed);

  // The interpreters come first: every script of the game file is prepared
  // while the file is read.
  pool_ = std::make_unique<InterpreterPool>(
      [this](TFuncList& funcs) { registerBuiltins(funcs, builtins_); });
  pool_->Environment().log.SetPath(errorLogPath(options_, folder_));

  AudioDeviceChoice audio = openAudioDevice(options_.headless || options_.mute ? "null" : "openal");
  if (!audio.notice.empty() && !options_.headless && !options_.mute) {
    std::cerr << "lumrun: " << audio.notice << '\n';
  }
  audio_ = std::move(audio.device);

  if (options_.headless) {
    clock_ = std::make_unique<VirtualClock>(30.0);
  } else {
    clock_ = std::make_unique<SystemClock>();
  }
  BackendOptions backend;
  backend.headless = options_.headless;
  Result<std::unique_ptr<RenderStack>> stack = makeRenderStack(options_.renderer, backend);
  if (!stack && options_.renderer == "gl" && !options_.rendererChosen) {
    stack = makeRenderStack("soft", backend);  // no OpenGL here: draw in software
  }
  if (!stack) return Error{"Failed initializing Asphyre device! (" + stack.error().text() + ")"};
  render_ = std::move(stack.value());
  if (!render_->device.Initialize()) return Error{"Failed initializing Asphyre device!"};
  timer_ = std::make_unique<TAsphyreTimer>(*clock_);
  timer_->SetSpeed(30.0);
  timer_->SetMaxFPS(30);

  images_ = std::make_unique<ImageCache>(render_->images, folder_, &archive_, runtime_.frame);
  sound_ = std::make_unique<Sound>(*audio_, folder_, &archive_, [this] { resetTimer(); });
  wireRuntime();

  root_ = std::make_unique<TLumDB>(&runtime_);
  images_->maxMem = [this] { return root_->MaxMem; };
  images_->alwaysLoad = [this] { return root_->AlwaysLoadIm; };
  images_->loadProgressStep = [this] { root_->LoadProgressStep(); };
  particles_ = images_->ImRequest("particles.bmp", true);

  runtime_.frame.ImLoadEnabled = false;
  Status loaded = root_->LoadGame(gameFile_);
  runtime_.frame.ImLoadEnabled = true;
  if (!loaded) return loaded;
  // The command line overrides the player's saved choice of display.
  if (options_.fullscreen) runtime_.fullScreenWanted = true;
  if (options_.windowed || options_.headless || runtime_.TestMode) runtime_.fullScreenWanted = false;
  sound_->setEffectsVolume(runtime_.soundVolume);
  sound_->setMusicVolume(runtime_.musicVolume);

  title_ = root_->LangText("Title");
  if (title_.empty()) title_ = root_->Id;
  title_ = runtime_.codePage.toUtf8(title_);
  TLumElement* first = root_->FindByKey(root_->InitScreen);
  runtime_.currentScreen = first;
  input_ = std::make_unique<InputRouter>(*this);
  resetTimer();
  timer_->SetEnabled(true);
  return {};
}

void GameSession::wireRuntime() {
  runtime_.folder = &folder_;
  runtime_.images = images_.get();
  runtime_.canvas = &render_->canvas;
  runtime_.fonts = &render_->fonts;
  runtime_.textures = &render_->images;
  runtime_.archive = &archive_;
  runtime_.pool = pool_.get();
  runtime_.userDataFolder = findUserDataFolder(
      options_.saveDir ? std::optional<std::filesystem::path>(*options_.saveDir) : std::nullopt);
  runtime_.renderFrame = [this](bool present) { renderFrame(present); };
  runtime_.resetTimer = [this] { resetTimer(); };
  runtime_.fadeOutMusic = [this] { sound_->MusicFadeOut(); };
  runtime_.applyMusicVolume = [this] { sound_->setMusicVolume(runtime_.musicVolume); };
  runtime_.sound = sound_.get();
  render_->device.OnRender = [this](TAsphyreDevice&) { frameLoop_.Draw(); };
}

void GameSession::renderFrame(bool present) {
  render_->device.Render(0xFF000000u, true);
  if (present) render_->device.Present();
}

void GameSession::Frame(int ticks) {
  render_->device.Render(0xFF000000u, true);
  for (int i = 0; i < ticks && !closing_; ++i) frameLoop_.Tick();
  render_->device.Present();
  audio_->update();
}

void GameSession::resetTimer() {
  if (timer_) timer_->ResetTime();
}

bool GameSession::windowed() const { return render_->device.Windowed(); }

void GameSession::switchDisplay() {
  Runtime& rt = runtime_;
  if (IniFile* settings = root_->settings()) {
    if (auto path = folder_.pathForWrite(root_->IniFile())) {
      IniFile::open(*path, rt.codePage).setString("Def", "FS", rt.fullScreenWanted ? "1" : "0");
    }
    (void)settings;
  }
  if (rt.TestMode || options_.headless) rt.fullScreenWanted = false;
  timer_->SetEnabled(false);
  render_->device.SetWindowed(!rt.fullScreenWanted);
  images_->ImReloadAll();
  render_->fonts.Clear();
  if (archive_.ensureOpen()) render_->fonts.LoadFromASDb(archive_);
  particles_ = images_->ImRequest("particles.bmp", true);
  for (size_t i = 0; i < root_->childCount(); ++i) root_->child(i)->ReloadResources();
  resetTimer();
  timer_->SetEnabled(true);
}

TAsphyreImage* GameSession::starSheet() {
  return particles_ ? images_->ImTexture(particles_) : nullptr;
}

void GameSession::Stop() {
  if (stopped_ || !root_) return;
  stopped_ = true;
  if (timer_) timer_->SetEnabled(false);
  root_->RunExit();
  runtime_.currentScreen = nullptr;
  runtime_.input = InputState{};
  runtime_.focusedText = nullptr;
  root_.reset();
  pool_.reset();
}

}  // namespace lum
