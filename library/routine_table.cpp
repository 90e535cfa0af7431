#include "library/routine_table.h"

#include "library/without_game.h"
#include "script/pas_calc.h"

namespace lum {

NativeRoutine MakeNativeRoutine(BuiltinRoutine routine, BuiltinContext& context) {
  return [routine, &context](TPasCalc& calc, TVarList& params, TVar& result) {
    RoutineCall call(&calc, params, result, context);
    const bool ok = routine(call);
    if (!ok && !call.Failure().empty()) calc.SetRoutineFailure(call.Failure());
    return ok;
  };
}

void registerRoutines(TFuncList& funcs, BuiltinContext& context, std::span<const RoutineEntry> table) {
  for (const RoutineEntry& entry : table) {
    funcs.AddFunction(entry.name, MakeNativeRoutine(entry.routine, context), entry.shortcut);
  }
}

void registerRoutinesWithoutGame(TFuncList& funcs, BuiltinContext& context) {
  registerRoutines(funcs, context, kRoutines<WithoutGame>);
}

}  // namespace lum
