#pragma once
// Every routine that a game's scripts call, registered with the game's
// interpreters from the routine table with the game's bodies: the built-in
// functions, the engine commands and the puzzle routines, sharing the game's
// code page and random generator.
#include <memory>

#include "library/builtins/builtin_context.h"
#include "library/engine/engine_commands.h"
#include "library/games/puzzle_commands.h"
#include "scene/routine_provider.h"

namespace lum {

// The bodies of the routine table's engine and puzzle rows in a game.
struct InGame : engine::EngineCommands, games::PuzzleCommands {};

class GameRoutines final : public RoutineProvider {
 public:
  explicit GameRoutines(Runtime& runtime);
  void registerRoutines(TFuncList& functions) override;
  BuiltinContext& builtins() { return builtins_; }

 private:
  BuiltinContext builtins_;
};

// The factory a game host takes.
std::unique_ptr<RoutineProvider> makeGameRoutines(Runtime& runtime);

}  // namespace lum
