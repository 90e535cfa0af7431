#pragma once
// Every native routine the project has so far, registered in the fixed
// order of the registration list. Built-in and engine routines join here
// as the library layer grows.
#include "script/func_list.h"

namespace lum {

void registerAllRoutines(TFuncList& functions);

}  // namespace lum
