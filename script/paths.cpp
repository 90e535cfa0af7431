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

// For a single name, or two names whose head its handle names: the element
// that holds the last name, and that name. Null for anything else, which
// then goes the general way (the walk only reads, so going it again is
// harmless).
ScriptElement* QuickOwner(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                          PathHandle& handle, std::string_view& last) {
  if (handle.shape == PathHandle::Shape::Unread) {
    const size_t dot = FindInName(path, '.');
    const bool single = dot == std::string_view::npos && !path.empty();
    const bool pair = dot != std::string_view::npos && dot > 0 &&
                      FindInName(path.substr(dot + 1), '.') == std::string_view::npos;
    handle.shape = single ? PathHandle::Shape::Single
                 : pair   ? PathHandle::Shape::Pair
                          : PathHandle::Shape::Other;
    handle.headLength = pair ? static_cast<uint32_t>(dot) : 0;
  }
  if (start == nullptr) return nullptr;
  if (handle.shape == PathHandle::Shape::Single) {
    last = path;
    return start;
  }
  if (handle.shape != PathHandle::Shape::Pair || handle.headLength >= path.size()) return nullptr;
  const std::string_view head = path.substr(0, handle.headLength);
  const ScriptElement::NameHandle* found = HandleFor(*start, head, handle.first, handle.soughtFirst);
  ScriptValue step;
  if (found == nullptr || !start->GetValueByHandle(*found, head, step) ||
      step.kind() != ValueKind::Ref)
    return nullptr;
  last = path.substr(handle.headLength + 1);
  return env.elements.Resolve(step.ref());
}

const ScriptElement::NameHandle* LastHandle(ScriptElement& e, std::string_view last,
                                            PathHandle* handle) {
  return handle == nullptr ? nullptr : HandleFor(e, last, handle->last, handle->soughtLast);
}

}  // namespace

bool RefreshPathCell(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                     PathHandle& handle) {
  if (start == nullptr || start->Handle() == 0) return false;
  PathCell& cell = handle.cell;
  cell = PathCell{};
  cell.start = start->Handle();
  cell.owner = start;
  cell.names = env.elements.NamesVersion();
  // From here on the record holds; it gets a property only when the path
  // ends in one that nothing but what the record keeps can change.
  std::string_view last;
  ScriptElement* owner = QuickOwner(env, start, path, handle, last);
  if (owner == nullptr || owner->Handle() == 0) return true;
  if (handle.shape == PathHandle::Shape::Pair && !start->IsFixedStep(handle.first)) return true;
  const ScriptElement::NameHandle* found = LastHandle(*owner, last, &handle);
  ScriptElement::PropertyCell property;
  if (found == nullptr || !owner->FindPropertyCell(*found, last, property)) return true;
  cell.owner = owner;
  cell.property = property;
  return true;
}

bool ReadPathQuickFirst(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                        PathHandle& handle, ScriptValue& out) {
  std::string_view last;
  ScriptElement* owner = QuickOwner(env, start, path, handle, last);
  if (owner == nullptr) return false;
  const ScriptElement::NameHandle* found = LastHandle(*owner, last, &handle);
  return found != nullptr ? owner->GetValueByHandle(*found, last, out) : owner->GetValue(last, out);
}

bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out, PathHandle* handle) {
  const std::string_view fullPath = path;
  if (handle != nullptr && ReadPathQuick(env, start, path, *handle, out)) return true;
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

bool WritePathFully(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                    const ScriptValue& value, const TVarList* vars, PathHandle* handle) {
  if (handle != nullptr) {
    std::string_view last;
    if (ScriptElement* owner = QuickOwner(env, start, path, *handle, last)) {
      const ScriptElement::NameHandle* found = LastHandle(*owner, last, handle);
      return found != nullptr ? owner->SetValueByHandle(*found, last, value)
                              : owner->SetValue(last, value);
    }
  }
  ScriptElement* e = start;
  if (!WalkToOwner(env, e, path, vars, handle)) return false;
  if (e == nullptr) return false;
  const ScriptElement::NameHandle* found = LastHandle(*e, path, handle);
  return found != nullptr ? e->SetValueByHandle(*found, path, value) : e->SetValue(path, value);
}

}  // namespace lum
