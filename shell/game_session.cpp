#include "shell/game_session.h"

#include <iostream>

#include "library/engine/game_routines.h"
#include "platform/file_ops.h"
#include "platform/game_folder.h"
#include "platform/user_data.h"
#include "render/render_stack.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "shell/play.h"
#include "shell/screenshot_file.h"
#include "shell/startup_line.h"

namespace lum {
namespace {

std::optional<std::filesystem::path> userDataFolder(const CommandLine& options) {
  return findUserDataFolder(options.saveDir ? std::optional<std::filesystem::path>(*options.saveDir)
                                            : std::nullopt);
}

// The error log goes beside the game, or to the user data folder when the
// game's folder cannot be written or its "lumware.err" is a link that leads
// out of it.
std::string errorLogPath(const CommandLine& options, const std::filesystem::path& folder) {
  GameFolder game(folder);
  if (isFolderWritable(folder)) {
    if (auto path = game.pathForWrite("lumware.err")) return path->string();
  }
  auto data = userDataFolder(options);
  if (!data) return {};  // no log rather than one written outside
  createDirectories(*data / "lumrun");
  return (*data / "lumrun" / "lumware.err").string();
}

}  // namespace

GameSession::GameSession(const CommandLine& options, std::filesystem::path folder,
                         std::string gameFile)
    : options_(options), folder_(std::move(folder)), gameFile_(std::move(gameFile)) {}

GameSession::~GameSession() { Stop(); }

Status GameSession::Start() {
  HostOptions host;
  host.folder = folder_;
  if (!options_.codePage.empty()) host.codePage = *CodePage::create(options_.codePage);
  host.renderer = options_.renderer;
  host.fallBackToSoft = options_.renderer == "gl" && !options_.rendererChosen;
  host.headless = options_.headless;
  host.audio = options_.headless || options_.mute ? "null" : "openal";
  host.seed = options_.seed;
  host.testMode = options_.testMode;
  host.userDataFolder = userDataFolder(options_);
  host.errorLogPath = errorLogPath(options_, folder_);
  if (options_.scriptBudget) host.scriptBudget = *options_.scriptBudget;
  const std::string logPath = host.errorLogPath;
  if (!options_.headless) host.clock = std::make_unique<SystemClock>();

  Result<std::unique_ptr<GameHost>> made =
      GameHost::Create(std::move(host), makeGameRoutines, options_.headless ? nullptr : this);
  if (!made) return made.error();
  host_ = std::move(made.value());
  if (!host_->audioNotice().empty() && !options_.headless && !options_.mute) {
    std::cerr << "lumrun: " << host_->audioNotice() << '\n';
  }
  timer_ = std::make_unique<TAsphyreTimer>(host_->clock());
  timer_->SetSpeed(kTicksPerSecond);
  timer_->SetMaxFPS(static_cast<int>(kTicksPerSecond));

  Status loaded = host_->LoadGame(gameFile_);
  if (!loaded) return loaded;
  // The command line overrides the player's saved choice of display.
  GameState& state = host_->state();
  if (options_.fullscreen) state.fullScreenWanted = true;
  if (options_.windowed || options_.headless || options_.testMode) state.fullScreenWanted = false;
  resetTimer();
  timer_->SetEnabled(true);
  std::cerr << startupLine(startupFacts(logPath)) << '\n';
  return {};
}

StartupFacts GameSession::startupFacts(const std::string& logPath) const {
  StartupFacts facts;
  facts.title = host_->title();
  facts.gameFile = (folder_ / gameFile_).string();
  facts.renderer = host_->rendererName();
  facts.rendererNotice = host_->rendererNotice();
  if (options_.headless) {
    facts.sound = "null";
    facts.soundNotice = "headless";
  } else if (options_.mute) {
    facts.sound = "null";
    facts.soundNotice = "--mute";
  } else if (!host_->audioNotice().empty()) {
    facts.sound = "null";
    facts.soundNotice = "no device opened";
  } else {
    facts.sound = "openal";
  }
  std::error_code ec;
  const std::filesystem::path saves = host_->root().saveFolder();
  facts.saveFolder = saves.empty() ? std::string() : std::filesystem::absolute(saves, ec).string();
  facts.errorLog = logPath;
  return facts;
}

void GameSession::SaveRequestedScreenshot() {
  if (!screenshotWanted_) return;
  screenshotWanted_ = false;
  Result<std::filesystem::path> folder = screenshotFolder(options_.screenshotDir);
  if (!folder) {
    std::cerr << "lumrun: no screenshot: " << folder.error().text() << '\n';
    return;
  }
  const std::filesystem::path file = screenshotPath(*folder, std::chrono::system_clock::now());
  if (Status saved = saveScreenshot(*this, file.string()); !saved) {
    std::cerr << "lumrun: no screenshot: " << file.string() << ": " << saved.error().text() << '\n';
    return;
  }
  std::cerr << "lumrun: screenshot saved to " << file.string() << '\n';
}

void GameSession::drawFrameNow(bool present) {
  TAsphyreDevice& device = host_->render().device;
  device.Render(0xFF000000u, true);
  if (present) device.Present();
}

void GameSession::resetTimer() {
  if (timer_) timer_->ResetTime();
}

bool GameSession::setFullScreen(bool fullScreen) {
  TAsphyreDevice& device = host_->render().device;
  if (!options_.headless) {
    const bool wasEnabled = timer_ && timer_->Enabled();
    if (timer_) timer_->SetEnabled(false);
    device.SetWindowed(!fullScreen);
    if (timer_) timer_->SetEnabled(wasEnabled);
  }
  return !device.Windowed();
}

void GameSession::Stop() {
  if (!host_) return;
  if (timer_) timer_->SetEnabled(false);
  host_->Stop();
}

}  // namespace lum
