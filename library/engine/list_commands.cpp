// Commands that add images to image lists and remove them.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/image.h"
#include "scene/imlist.h"
#include "script/pas_calc.h"

namespace lum::engine {
namespace {

TLumImList* exactlyList(TLumElement& e) {
  return &e.classInfo() == &TLumImList::info() ? static_cast<TLumImList*>(&e) : nullptr;
}

TLumImage* exactlyImage(TLumElement* e) {
  return e && &e->classInfo() == &TLumImage::info() ? static_cast<TLumImage*>(e) : nullptr;
}

// The element the second argument names, when it is one that exists.
TLumElement* secondElement(RoutineCall& c) {
  if (c.Arg(1).kind() != ValueKind::Ref || !c.Calc()) return nullptr;
  return TLumElement::fromScript(c.Calc()->Environment().elements.Resolve(c.Arg(1).ref()));
}

}  // namespace

bool EngineCommands::ListAdd(RoutineCall& c) {
  TLumElement* e = nullptr;
  const ElementArg arg = elementArgument(c, 0, 2, 2, e);
  if (arg != ElementArg::Found) return arg != ElementArg::Fail;
  TLumImList* list = exactlyList(*e);
  TLumImage* image = exactlyImage(secondElement(c));
  if (list && image) list->Add(*image);
  return true;
}

bool EngineCommands::ListDel(RoutineCall& c) {
  TLumElement* e = nullptr;
  const ElementArg arg = elementArgument(c, 0, 2, 2, e);
  if (arg != ElementArg::Found) return arg != ElementArg::Fail;
  TLumImList* list = exactlyList(*e);
  if (!list) return true;
  if (c.Arg(1).kind() == ValueKind::String) {
    list->RemoveById(c.Arg(1).text());
  } else if (TLumImage* image = exactlyImage(secondElement(c))) {
    list->RemoveElement(*image);
  }
  return true;
}

}  // namespace lum::engine
