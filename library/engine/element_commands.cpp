// Commands that run another element's events, move elements and read the
// pixels of their pictures.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/runtime.h"
#include "scene/text.h"

namespace lum::engine {
namespace {

// The element a command with `count` arguments acts on; none when the call
// is forgiven (`result` true) or fails (`result` false).
TLumElement* target(RoutineCall& c, size_t count, bool& result) {
  TLumElement* e = nullptr;
  const ElementArg arg = elementArgument(c, 0, count, count, e);
  result = arg != ElementArg::Fail;
  return arg == ElementArg::Found ? e : nullptr;
}

// Runs `op` on the element argument; the forgiving cases succeed quietly.
template <class Op>
bool onElement(RoutineCall& c, Op op) {
  bool result = true;
  if (TLumElement* e = target(c, 1, result)) op(*e);
  return result;
}

bool pixelCommand(RoutineCall& c, bool alpha) {
  bool result = true;
  TLumElement* e = target(c, 3, result);
  if (!e) return result;
  c.Return(ScriptValue::Byte(0));
  auto* image = dynamic_cast<TLumImage*>(e);
  int32_t x = 0, y = 0;
  if (!image || !c.Int(1, x) || !c.Int(2, y)) return image ? false : true;
  std::optional<uint32_t> pixel = image->FramePixel(image->Anim, x, y);
  if (!pixel) return true;
  c.Return(ScriptValue::Integer(alpha ? static_cast<int32_t>(*pixel >> 24)
                                      : static_cast<int32_t>(*pixel & 0xFFFFFF)));
  return true;
}

}  // namespace

bool EngineCommands::Update(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.Update(); });
}
bool EngineCommands::Process(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.Process(); });
}
bool EngineCommands::MsDown(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.MouseDown(); });
}
bool EngineCommands::MsMove(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.MouseMove(); });
}
bool EngineCommands::Init(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.InitPr(); });
}
bool EngineCommands::Show(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) { e.Show(); });
}

bool EngineCommands::SetFocus(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) {
    if (auto* text = dynamic_cast<TLumText*>(&e)) {
      if (Runtime* rt = e.runtime()) rt->state.focusedText = text;
    }
  });
}

bool EngineCommands::ToFront(RoutineCall& c) {
  return onElement(c, [](TLumElement& e) {
    if (e.parent()) e.parent()->MoveChildToEnd(&e);
  });
}

bool EngineCommands::MoveTo(RoutineCall& c) {
  bool result = true;
  TLumElement* e = target(c, 3, result);
  if (!e) return result;
  c.Return(ScriptValue::Byte(0));
  int32_t x = 0, y = 0;
  if (!c.Int(1, x) || !c.Int(2, y)) return false;
  e->SetPos(x, y);
  return true;
}

bool EngineCommands::GetAlpha(RoutineCall& c) { return pixelCommand(c, true); }
bool EngineCommands::GetPixel(RoutineCall& c) { return pixelCommand(c, false); }

}  // namespace lum::engine
