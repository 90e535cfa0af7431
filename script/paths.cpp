#include "script/paths.h"

#include "script/name_hash.h"
#include "script/var_list.h"

namespace lum {

namespace {

// Steps 1 and 2 shared by reading and writing: climbs for leading points
// and follows every head before the last point. Leaves the last name in
// `last`; false when the walk fails.
bool WalkToOwner(ScriptEnvironment& env, ScriptElement*& e, std::string_view& path,
                 const TVarList* vars) {
  while (!path.empty() && path.front() == '.') {
    path.remove_prefix(1);
    if (e == nullptr) return false;
    e = e->Parent();
  }
  size_t dot;
  while ((dot = FindInName(path, '.')) != std::string_view::npos) {
    const std::string_view head = path.substr(0, dot);
    path.remove_prefix(dot + 1);
    if (head.empty() || e == nullptr) return false;
    ScriptValue step;
    if (e->GetValue(head, step)) {
      if (step.kind() != ValueKind::Ref) return false;
      e = env.elements.Resolve(step.ref());
      continue;
    }
    if (vars != nullptr) {
      const int i = vars->IndexOf(head);
      if (i >= 0) {
        const ScriptValue& v = (*vars)[static_cast<size_t>(i)].Value;
        if (v.kind() != ValueKind::Ref) return false;
        e = env.elements.Resolve(v.ref());
        continue;
      }
    }
    if (head == "LUMDB") {
      e = env.RootElement();
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace

bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out) {
  const std::string_view fullPath = path;
  ScriptElement* e = start;
  if (!WalkToOwner(env, e, path, vars)) {
    out = ScriptValue::Byte(0);
    return false;
  }
  if (e == nullptr) {
    out = ScriptValue::Byte(0);
    env.LogWithContext("Not var NIL " + std::string(fullPath) + " (in " + env.ElementText() + " ");
    return false;
  }
  if (e->GetValue(path, out)) return true;
  out = ScriptValue::Byte(0);
  env.LogWithContext("Not var " + std::string(fullPath) + " (in " + env.ElementText() + " ");
  return false;
}

bool WritePath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
               const ScriptValue& value, const TVarList* vars) {
  ScriptElement* e = start;
  if (!WalkToOwner(env, e, path, vars)) return false;
  return e != nullptr && e->SetValue(path, value);
}

}  // namespace lum
