#include "library/engine/game_routines.h"

#include "library/routine_table.h"
#include "scene/runtime.h"

namespace lum {

GameRoutines::GameRoutines(Runtime& runtime)
    : builtins_(runtime.services.codePage, runtime.services.random) {}

void GameRoutines::registerRoutines(TFuncList& functions) {
  lum::registerRoutines(functions, builtins_, kRoutines<InGame>);
}

std::unique_ptr<RoutineProvider> makeGameRoutines(Runtime& runtime) {
  return std::make_unique<GameRoutines>(runtime);
}

}  // namespace lum
