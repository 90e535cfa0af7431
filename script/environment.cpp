#include "script/environment.h"

namespace lum {

ScriptElement* ScriptEnvironment::RootElement() const {
  if (ScriptElement* r = elements.Resolve(root)) return r;
  if (ScriptElement* c = Current()) return c->Root();
  return nullptr;
}

std::string ScriptEnvironment::ElementText() const {
  ScriptElement* e = Current();
  if (e == nullptr) return std::string();
  return e->Id() + " <" + e->ClassName() + ">";
}

}  // namespace lum
