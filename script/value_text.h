#pragma once
// "KIND:VALUE" as lumscript prints values.
#include <string>

#include "script/element.h"
#include "script/value.h"

namespace lum {

std::string KindAndValue(const ScriptValue& value, const ElementTable& elements);

}  // namespace lum
