#pragma once
// Every native routine the project has, registered in the fixed order of
// the one routine table.
#include "library/builtins/builtin_context.h"
#include "script/func_list.h"

namespace lum {

// `context` must outlive the registered routines.
void registerAllRoutines(TFuncList& functions, BuiltinContext& context);

}  // namespace lum
