#include "routines.h"

#include "library/routine_table.h"

namespace lum {

void registerAllRoutines(TFuncList& functions, BuiltinContext& context) {
  registerBuiltins(functions, context);
}

}  // namespace lum
