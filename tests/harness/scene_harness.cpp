#include "scene_harness.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "library/engine/game_routines.h"
#include "platform/ascii_case.h"
#include "platform/utf.h"
#include "render/device.h"
#include "render/picture_loaders.h"
#include "render/png_writer.h"
#include "render/render_stack.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/game_loop.h"
#include "scene/input_rules.h"
#include "scene/state_dump.h"
#include "script/paths.h"
#include "script/pool.h"

namespace lum::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1024, kHeight = 768;
// A game without logos needs two ticks to pass the logo sequence; a guard
// against a game whose logos never end.
constexpr int kMostLogoTicks = 10 * 120;

}  // namespace

SceneHarness::SceneHarness() {
  std::string name = (fs::temp_directory_path() / "lumrun-harness-XXXXXX").string();
  if (!::mkdtemp(name.data())) std::abort();
  dir_ = name;
  game_ = dir_ / "game";
  data_ = dir_ / "data";
  fs::create_directories(game_);
  fs::create_directories(data_);
}

SceneHarness::~SceneHarness() {
  host_.reset();
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void SceneHarness::writeFile(const std::string& relative, std::string_view bytes) {
  const fs::path file = game_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void SceneHarness::writeGame(const std::string& json) {
  Result<std::string> bytes = gameFileFromJson(OrderedJson::parse(json), CodePage());
  if (!bytes) {
    error_ = bytes.error().text();
    return;
  }
  writeFile("game.lumf", *bytes);
}

bool SceneHarness::start(const HarnessOptions& options) {
  if (!error_.empty()) return false;
  HostOptions host;
  host.folder = game_;
  host.renderer = options.renderer;
  host.seed = options.seed;
  host.testMode = options.testMode;
  host.userDataFolder = data_;
  host.errorLogPath = (game_ / "lumware.err").string();
  Result<std::unique_ptr<GameHost>> made = GameHost::Create(std::move(host), makeGameRoutines);
  if (!made) {
    error_ = made.error().text();
    return false;
  }
  host_ = std::move(made.value());
  host_->services().pool.Environment().log.SetKeepLines(true);
  Status loaded = host_->LoadGame("game.lumf");
  if (!loaded) {
    error_ = loaded.error().text();
    return false;
  }
  return true;
}

bool SceneHarness::play(const std::string& json, const HarnessOptions& options) {
  writeGame(json);
  if (!start(options)) return false;
  for (int i = 0; i < kMostLogoTicks && host_->loop().logosRunning(); ++i) tick();
  return !host_->loop().logosRunning();
}

void SceneHarness::tick(int count) {
  for (int i = 0; i < count && !host_->closing(); ++i) host_->Frame(1);
}

void SceneHarness::move(int32_t x, int32_t y) { host_->input().MouseMove(x, y); }
void SceneHarness::press(int32_t x, int32_t y) { host_->input().MouseDown(x, y); }
void SceneHarness::release(int32_t x, int32_t y) { host_->input().MouseUp(x, y); }
void SceneHarness::click(int32_t x, int32_t y) {
  press(x, y);
  release(x, y);
}
void SceneHarness::key(int32_t virtualKey, bool altOnly) { host_->input().KeyDown(virtualKey, altOnly); }
void SceneHarness::type(std::string_view utf8) {
  for (char32_t c : utf8ToUtf32(utf8)) host_->input().Character(c);
}
void SceneHarness::activate(bool active) { host_->input().Activate(active); }

std::vector<uint32_t> SceneHarness::frame() {
  TAsphyreDevice& device = host_->render().device;
  device.Render(0xFF000000u, true);
  std::vector<uint32_t> pixels;
  if (!device.ReadBackBuffer(pixels)) pixels.clear();
  device.Present();
  return pixels;
}

uint32_t SceneHarness::pixel(int32_t x, int32_t y) {
  std::vector<uint32_t> pixels = frame();
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || pixels.empty()) return 0;
  return pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)];
}

std::string SceneHarness::compareWithGolden(const std::string& name) {
  const fs::path golden = fs::path(LUMRUN_TEST_DATA) / "scene" / (name + ".png");
  std::vector<uint32_t> pixels = frame();
  if (pixels.size() != size_t{kWidth} * kHeight) return "the frame could not be read";
  const char* update = std::getenv("LUMRUN_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    fs::create_directories(golden.parent_path());
    Status saved = savePng(golden.string(), pixels, kWidth, kHeight);
    return saved ? std::string() : saved.error().text();
  }
  Result<Picture> expected = loadPictureFile(golden.string(), PictureKind::Png);
  if (!expected) return golden.string() + ": " + expected.error().text();
  if (expected->width != kWidth || expected->height != kHeight) return "the golden has another size";
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t want = expected->pixel(x, y) & 0xFFFFFFu;
      const uint32_t got = pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] & 0xFFFFFFu;
      if (want != got) {
        // Keep the frame beside the build for a look.
        const std::string actual = std::string(LUMRUN_BINARY_DIR) + "/" + name + ".actual.png";
        savePng(actual, pixels, kWidth, kHeight);
        std::ostringstream out;
        out << "first difference at (" << x << ", " << y << "): expected " << std::hex << want
            << ", got " << got << "; frame written to " << actual;
        return out.str();
      }
    }
  }
  return {};
}

ScriptValue SceneHarness::value(std::string_view path) {
  ScriptEnvironment& env = host_->services().pool.Environment();
  ScriptValue out;
  ReadPath(env, &root().script(), upperAscii(std::string(path)), nullptr, out);
  return out;
}

int64_t SceneHarness::integer(std::string_view path) {
  int64_t v = 0;
  if (!ToInt64(value(path), v)) v = 0;
  return v;
}

std::string SceneHarness::text(std::string_view path) {
  std::string t;
  ToText(value(path), t);
  return t;
}

bool SceneHarness::run(std::string_view source, int32_t key) {
  TLumElement* element = byKey(key);
  if (!element) return false;
  InterpreterPool& pool = host_->services().pool;
  TPasCalc& preparer = pool.Current();
  const PreparedScript prepared = preparer.PrepareScript(std::string(source));
  if (preparer.ErrorCode() != 0) return false;
  pool.Environment().eventLabel = "Script";
  return pool.RunEvent(&element->script(), prepared, element->variables());
}

OrderedJson SceneHarness::dump() {
  return stateToJson(root(), host_->services().codePage,
                     host_->services().pool.Environment().elements);
}

TLumDB& SceneHarness::root() { return host_->root(); }
GameState& SceneHarness::state() { return host_->state(); }
TLumElement* SceneHarness::byKey(int32_t key) { return root().FindByKey(key); }

std::string SceneHarness::errorLog() const {
  std::string all;
  for (const std::string& line : host_->services().pool.Environment().log.KeptLines()) {
    all += line + "\n";
  }
  return all;
}

}  // namespace lum::testing
