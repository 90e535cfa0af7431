#include "library/builtins/routines.h"
#include "script/messages.h"
#include "script/operators.h"
#include "script/pas_calc.h"
#include "script/tokens.h"

namespace lum::builtin {

bool GetVar(RoutineCall& c) {
  std::string name;
  if (c.Count() != 1 || c.Calc() == nullptr || !c.Text(0, name)) return false;
  TVar found;
  // An unknown name is no error: scripts probe for variables this way.
  if (c.Calc()->ReadVariable(c.Context().codePage().upper(name), found)) {
    c.Return(found.Value);
  } else {
    c.Return(ScriptValue::Ref(0));
  }
  return true;
}

bool SetVar(RoutineCall& c) {
  std::string name;
  if (c.Count() != 2 || c.Calc() == nullptr || !c.Text(0, name)) return false;
  return c.Calc()->WriteVariable(c.Context().codePage().upper(name), c.Arg(1));
}

bool Decode(RoutineCall& c) {
  const size_t n = c.Count();
  if (n < 3) return false;
  const size_t maxString = c.MaxStringLength();
  for (size_t k = 1; k + 1 < n; k += 2) {
    ScriptValue equal;
    bool match = false;
    if (!ApplyBinary(tkEqual, c.Arg(0), c.Arg(k), equal, maxString) || !ToBoolean(equal, match)) {
      return c.Fail(FormatMessage(Msg::InvalidOperandTypes, {TokenTableText(tkEqual)}));
    }
    if (match) {
      c.Return(c.Arg(k + 1));
      return true;
    }
  }
  if (n % 2 == 0) {
    c.Return(c.Arg(n - 1));
    return true;
  }
  return false;
}

}  // namespace lum::builtin
