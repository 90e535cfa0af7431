// Commands that start and resume animations (and leave them running when
// asked to stop), and that start, stop, break and advance particle effects.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/anim.h"
#include "scene/effect.h"
#include "scene/runtime.h"

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

// The element as an effect when it is exactly one.
TLumEffect* exactlyEffect(TLumElement& e) {
  return &e.classInfo() == &TLumEffect::info() ? static_cast<TLumEffect*>(&e) : nullptr;
}

}  // namespace

bool EngineCommands::AnimStart(RoutineCall& c) {
  return onOneElement(c, [](TLumElement& e) {
    if (TLumAnim* anim = exactlyAnimation(e)) anim->Start();
    if (TLumEffect* effect = exactlyEffect(e)) effect->Start();
  });
}

bool EngineCommands::AnimStop(RoutineCall& c) {
  // An animation is not stopped by it: it plays on.
  return onOneElement(c, [](TLumElement& e) {
    if (TLumEffect* effect = exactlyEffect(e)) effect->Stop();
  });
}

bool EngineCommands::AnimBreak(RoutineCall& c) {
  return onOneElement(c, [](TLumElement& e) {
    if (TLumEffect* effect = exactlyEffect(e)) effect->Break();
  });
}

bool EngineCommands::ProcEf(RoutineCall& c) {
  TLumElement* e = nullptr;
  const ElementArg arg = elementArgument(c, 0, 2, 2, e);
  if (arg != ElementArg::Found) return arg != ElementArg::Fail;
  c.Return(ScriptValue::Byte(0));
  auto* effect = dynamic_cast<TLumEffect*>(e);
  if (!effect) return true;
  double time = 0;
  if (!c.Real(1, time)) return false;
  // time / Speed * DAnim, as the script's own / and * would reckon it.
  effect->Advance(static_cast<float>(time / kTicksPerSecond * effect->DAnim));
  return true;
}

bool EngineCommands::AnimPlay(RoutineCall& c) {
  return onOneElement(c, [](TLumElement& e) {
    if (TLumAnim* anim = exactlyAnimation(e)) anim->Play();
  });
}

}  // namespace lum::engine
