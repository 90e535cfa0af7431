#pragma once
// The tree as JSON with each element's own script variables, for checks of
// a run: the authoring form plus "vars": [[NAME, KIND, VALUE], ...].
#include <functional>
#include <string>
#include <utility>

#include "scene/game_json.h"
#include "script/element.h"
#include "script/value.h"

namespace lum {

// Kind name and value text of a variable, as the tools print them.
using ValueFormatter = std::function<std::pair<std::string, std::string>(const ScriptValue&)>;

OrderedJson stateToJson(const TLumElement& root, const CodePage& codePage,
                        const ValueFormatter& format);

// With kinds and values as the tools print them, element references by the
// table's keys.
OrderedJson stateToJson(const TLumElement& root, const CodePage& codePage,
                        const ElementTable& elements);

}  // namespace lum
