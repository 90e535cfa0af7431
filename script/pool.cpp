#include "script/pool.h"

#include <string>

namespace lum {

InterpreterPool::InterpreterPool(const Registration& registerRoutines) {
  for (auto& calc : calcs_) {
    calc = std::make_unique<TPasCalc>(env_);
    if (registerRoutines) registerRoutines(calc->Functions());
  }
}

bool InterpreterPool::RunEvent(ScriptElement* element, const PreparedScript& script,
                               TVarList* keep) {
  if (depth_ >= kSize) {
    const ElementRef saved = env_.currentElement;
    env_.currentElement = element != nullptr ? element->Handle() : 0;
    env_.log.Append(FormatMessage(Msg::RunsTooDeep, {std::to_string(kSize)}) + " (in " +
                    env_.ElementText() + ") " + env_.eventLabel);
    env_.currentElement = saved;
    return false;
  }
  ++depth_;
  TPasCalc& calc = Current();
  calc.Variables().ClearVars();
  bool ok = true;
  if (!script.empty()) {
    const ElementRef saved = env_.currentElement;
    env_.currentElement = element != nullptr ? element->Handle() : 0;
    ok = calc.Run(script);
    env_.currentElement = saved;
    if (keep != nullptr)
      for (const TVar& var : calc.Variables().records()) keep->AddIfAbsent(var);
  }
  --depth_;
  return ok;
}

}  // namespace lum
