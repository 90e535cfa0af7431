#include "game_mode.h"

#include <filesystem>
#include <iostream>

#include "library/engine/game_routines.h"
#include "platform/user_data.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/state_dump.h"
#include "script/pool.h"
#include "script/value_text.h"

namespace lum {

int RunInGame(const GameModeOptions& options, const std::string& source) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path game = fs::absolute(options.gameFile, ec);
  if (!fs::is_regular_file(game, ec)) {
    std::cerr << "lumscript: no such game file: " << options.gameFile << '\n';
    return 2;
  }
  // The game is read from its folder, so that its language, settings, sound
  // and include files are found; headless, silent.
  HostOptions host;
  host.folder = game.parent_path();
  host.userDataFolder = findUserDataFolder(std::nullopt);
  host.errorLogPath = options.logPath;
  if (options.scriptBudget) host.scriptBudget = *options.scriptBudget;
  Result<std::unique_ptr<GameHost>> made = GameHost::Create(std::move(host), makeGameRoutines);
  if (!made) {
    std::cerr << "lumscript: " << made.error().text() << '\n';
    return 2;
  }
  GameHost& running = *made.value();
  InterpreterPool& pool = running.services().pool;
  pool.Environment().log.SetSaveErr(true);
  Status loaded = running.LoadGame(game.filename().string());
  if (!loaded) {
    std::cerr << "lumscript: " << loaded.error().text() << '\n';
    return 2;
  }
  TLumDB& root = running.root();
  if (options.init) {
    // As a game starts: everything initialised, then the first screen's
    // pictures loaded (which also builds its animations' frame tables).
    root.Init();
    if (TLumElement* first = running.state().currentScreen) first->LoadResources();
  }
  TLumElement* element = root.FindByKey(options.asKey);
  if (!element) {
    std::cerr << "lumscript: no element with key " << options.asKey << '\n';
    return 2;
  }

  TPasCalc& preparer = pool.Current();
  const ScriptText script{source, preparer.PrepareScript(source)};
  const bool prepareFailed = preparer.ErrorCode() != 0;
  if (prepareFailed) {
    std::cout << "prepare-error " << preparer.ErrorCode() << ": " << preparer.ErrorMessage() << "\n";
  }
  // The run takes the interpreter one level deeper, as every event does.
  const bool ran = element->RunEvent(script, "Script", TLumElement::KeepVariables::InOwnList);
  TPasCalc& runner = pool.At(pool.Depth());
  const ElementTable& table = pool.Environment().elements;
  for (const TVar& var : runner.Variables().records()) {
    std::cout << var.Name << " = " << KindAndValue(var.Value, table) << "\n";
  }
  if (!ran) {
    std::cout << "error " << runner.ErrorCode() << ": " << runner.ErrorMessage() << "\n"
              << "source: " << runner.ErrorSource() << "\n";
  }
  if (options.dump) {
    OrderedJson state = stateToJson(root, running.services().codePage, table);
    std::cout << state.dump(2) << '\n';
  }
  return prepareFailed || !ran ? 1 : 0;
}

}  // namespace lum
