#pragma once
// Plays a small game in-process for tests: the game is built from JSON (the
// `lumf build` form) into a temporary folder with any other files it needs,
// then played headless with the software renderer, the null audio device and
// a virtual clock, exactly as `lumrun --headless` plays it. Tests tick, press,
// type, look at frames and read values through script paths.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/game_json.h"
#include "script/value.h"

namespace lum {

class GameHost;
class TLumDB;
class TLumElement;
struct GameState;

namespace testing {

struct HarnessOptions {
  uint64_t seed = 0;
  bool testMode = false;
  std::string renderer = "soft";
};

class SceneHarness {
 public:
  // A fresh game folder (and a save folder beside it); nothing runs yet.
  SceneHarness();
  ~SceneHarness();
  SceneHarness(const SceneHarness&) = delete;
  SceneHarness& operator=(const SceneHarness&) = delete;

  // Files of the game folder, written before start().
  void writeFile(const std::string& relative, std::string_view bytes);
  // Writes "game.lumf" from the JSON tree (code page Windows-1251).
  void writeGame(const std::string& json);

  // Creates the host and loads the game; false with the reason on failure.
  bool start(const HarnessOptions& options = {});
  // Builds the game from JSON, starts it and runs the ticks of the logo
  // sequence, so that the first screen is initialised and shown.
  bool play(const std::string& json, const HarnessOptions& options = {});
  const std::string& error() const { return error_; }

  // Logic ticks, each in a frame of its own as headless runs draw them.
  void tick(int count = 1);
  void move(int32_t x, int32_t y);
  void press(int32_t x, int32_t y);
  void release(int32_t x, int32_t y);
  void click(int32_t x, int32_t y);  // press, then release at the same place
  void key(int32_t virtualKey, bool altOnly = false);
  void type(std::string_view utf8);
  void activate(bool active);

  // The frame of the current state, 1024 x 768 ARGB, top row first.
  std::vector<uint32_t> frame();
  uint32_t pixel(int32_t x, int32_t y);
  // Compares with a golden PNG under tests/data/scene/ (software renderer,
  // exact). With LUMRUN_UPDATE_GOLDEN=1 in the environment the golden is
  // written instead. Returns a description of the first difference, or "".
  std::string compareWithGolden(const std::string& name);

  // A value read as scripts read it: "LUMDB.MENU.BUTTON.X", "SELF" is the root.
  ScriptValue value(std::string_view path);
  int64_t integer(std::string_view path);
  std::string text(std::string_view path);
  // Runs a script as an event of the element with the key (the root by
  // default); false when it fails to prepare or run.
  bool run(std::string_view source, int32_t key = 0);
  // The tree with every element's variables, as --dump-state writes it.
  OrderedJson dump();

  GameHost& host() { return *host_; }
  TLumDB& root();
  GameState& state();
  TLumElement* byKey(int32_t key);
  const std::filesystem::path& gameFolder() const { return game_; }
  const std::filesystem::path& dataFolder() const { return data_; }
  // Lines of the error log written so far.
  std::string errorLog() const;

 private:
  std::filesystem::path dir_, game_, data_;
  std::unique_ptr<GameHost> host_;
  std::string error_;
};

}  // namespace testing
}  // namespace lum
