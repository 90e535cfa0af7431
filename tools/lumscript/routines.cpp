#include "routines.h"

namespace lum {

void registerAllRoutines(TFuncList& functions) {
  // No library routines exist yet; the interpreter itself registers none.
  (void)functions;
}

}  // namespace lum
