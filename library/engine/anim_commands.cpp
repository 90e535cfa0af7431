// Commands that start and resume animations (and leave them running when
// asked to stop).
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/anim.h"

namespace lum::engine {
namespace {

// Runs `op` on the one element argument; a wrong argument count or an
// argument that is no element succeeds quietly, NIL fails.
template <class Op>
bool onOneElement(RoutineCall& c, Op op) {
  TLumElement* e = nullptr;
  const ElementArg arg = elementArgument(c, 0, 1, 1, e);
  if (arg == ElementArg::Found) op(*e);
  return arg != ElementArg::Fail;
}

// The element as an animation when it is exactly one.
TLumAnim* exactlyAnimation(TLumElement& e) {
  return &e.classInfo() == &TLumAnim::info() ? static_cast<TLumAnim*>(&e) : nullptr;
}

}  // namespace

bool AnimStart(RoutineCall& c) {
  return onOneElement(c, [](TLumElement& e) {
    if (TLumAnim* anim = exactlyAnimation(e)) anim->Start();
  });
}

bool AnimStop(RoutineCall& c) {
  // An animation is not stopped by it: it plays on.
  return onOneElement(c, [](TLumElement&) {});
}

bool AnimPlay(RoutineCall& c) {
  return onOneElement(c, [](TLumElement& e) {
    if (TLumAnim* anim = exactlyAnimation(e)) anim->Play();
  });
}

}  // namespace lum::engine
