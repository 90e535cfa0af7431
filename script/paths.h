#pragma once
// Dotted paths through the element tree: ".X" is the parent's X, "A.B.X"
// walks from child A to its child B, "LUMDB.X" starts at the root.
#include <string_view>

#include "script/environment.h"
#include "script/value.h"

namespace lum {

class TVarList;

// On failure `out` is the byte 0 and a "Not var" line is logged.
bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out);
bool WritePath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
               const ScriptValue& value, const TVarList* vars);

}  // namespace lum
