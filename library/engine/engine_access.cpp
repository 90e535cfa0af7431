#include "library/engine/engine_access.h"

#include "scene/db.h"
#include "script/pas_calc.h"

namespace lum::engine {

TLumDB* rootOf(RoutineCall& call) {
  if (!call.Calc()) return nullptr;
  ScriptEnvironment& env = call.Calc()->Environment();
  TLumElement* root = TLumElement::fromScript(env.elements.Resolve(env.root));
  return root ? root->root() : nullptr;
}

Runtime* runtimeOf(RoutineCall& call) {
  TLumDB* root = rootOf(call);
  return root ? root->runtime() : nullptr;
}

ElementArg elementArgument(RoutineCall& call, size_t index, size_t countMin, size_t countMax,
                           TLumElement*& out) {
  out = nullptr;
  if (call.Count() < countMin || call.Count() > countMax || index >= call.Count() ||
      call.Arg(index).kind() != ValueKind::Ref) {
    return ElementArg::Forgive;
  }
  const ElementRef ref = call.Arg(index).ref();
  if (ref == 0 || !call.Calc()) return ElementArg::Fail;
  out = TLumElement::fromScript(call.Calc()->Environment().elements.Resolve(ref));
  return out ? ElementArg::Found : ElementArg::Fail;
}

}  // namespace lum::engine
