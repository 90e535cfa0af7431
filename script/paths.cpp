#include "script/paths.h"

#include "script/name_hash.h"
#include "script/var_list.h"

namespace lum {

namespace {

// A handle for a name, sought on the first element met.
const ScriptElement::NameHandle* HandleFor(ScriptElement& e, std::string_view name,
                                           ScriptElement::NameHandle& handle, bool& sought) {
  if (!sought) {
    sought = true;
    e.FindNameHandle(name, handle);
  }
  return handle.scope != nullptr ? &handle : nullptr;
}

// Steps 1 and 2 shared by reading and writing: climbs for leading points
// and follows every head before the last point. Leaves the last name in
// `last`; false when the walk fails.
bool WalkToOwner(ScriptEnvironment& env, ScriptElement*& e, std::string_view& path,
                 const TVarList* vars, PathHandle* handle) {
  const bool leading = !path.empty() && path.front() == '.';
  bool first = true;
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
    // The first head of a path read again and again goes by its handle.
    const ScriptElement::NameHandle* found =
        handle != nullptr && !leading && first ? HandleFor(*e, head, handle->first, handle->soughtFirst)
                                               : nullptr;
    first = false;
    if (found != nullptr ? e->GetValueByHandle(*found, head, step) : e->GetValue(head, step)) {
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

const ScriptElement::NameHandle* LastHandle(ScriptElement& e, std::string_view last,
                                            PathHandle* handle) {
  return handle == nullptr ? nullptr : HandleFor(e, last, handle->last, handle->soughtLast);
}

}  // namespace

bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out, PathHandle* handle) {
  const std::string_view fullPath = path;
  ScriptElement* e = start;
  if (!WalkToOwner(env, e, path, vars, handle)) {
    out = ScriptValue::Byte(0);
    return false;
  }
  if (e == nullptr) {
    out = ScriptValue::Byte(0);
    env.LogWithContext("Not var NIL " + std::string(fullPath) + " (in " + env.ElementText() + " ");
    return false;
  }
  const ScriptElement::NameHandle* found = LastHandle(*e, path, handle);
  if (found != nullptr ? e->GetValueByHandle(*found, path, out) : e->GetValue(path, out)) return true;
  out = ScriptValue::Byte(0);
  env.LogWithContext("Not var " + std::string(fullPath) + " (in " + env.ElementText() + " ");
  return false;
}

bool WritePath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
               const ScriptValue& value, const TVarList* vars, PathHandle* handle) {
  ScriptElement* e = start;
  if (!WalkToOwner(env, e, path, vars, handle)) return false;
  if (e == nullptr) return false;
  const ScriptElement::NameHandle* found = LastHandle(*e, path, handle);
  return found != nullptr ? e->SetValueByHandle(*found, path, value) : e->SetValue(path, value);
}

}  // namespace lum
