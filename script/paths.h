#pragma once
// Dotted paths through the element tree: ".X" is the parent's X, "A.B.X"
// walks from child A to its child B, "LUMDB.X" starts at the root.
#include <string_view>

#include "script/environment.h"
#include "script/value.h"

namespace lum {

class TVarList;

// Where a path read or written again and again was last found to end: an
// integer property of an element, kept with everything that decided it.
// The start element (by handle, so a new element in the same place does
// not pass) and the names version of the element table (which moves when
// elements come or go, children change or are renamed, and own variables
// of elements appear or vanish: an own variable comes before every
// property and special name) are all that can make the path name
// something else; while they are as they were, the property is read and
// written through its cell. The owner is kept as a pointer: it is alive
// while the names version holds, since releasing an element moves it.
struct PathCell {
  ElementRef start = 0;  // 0: nothing recorded
  uint64_t names = 0;
  ScriptElement* owner = nullptr;
  ScriptElement::PropertyCell property;  // read null: the path ends elsewhere

  // The owner when the record still holds for a path from the element of
  // this handle, else null.
  ScriptElement* Owner(const ScriptEnvironment& env, ElementRef from) const {
    return from == start && env.elements.NamesVersion() == names ? owner : nullptr;
  }
};

// Handles of a path's first and last names, kept by the code that reads or
// writes the same path again and again; each sought once.
struct PathHandle {
  ScriptElement::NameHandle first, last;
  bool soughtFirst = false, soughtLast = false;
  // "NAME" and "HEAD.LAST" (no leading point, one point) go a short way;
  // the path's shape is read once.
  enum class Shape : uint8_t { Unread, Single, Pair, Other };
  Shape shape = Shape::Unread;
  uint32_t headLength = 0;
  PathCell cell;
};

// Records in `handle.cell` where the path ends from `start` now (out of
// line: only when the record no longer holds); false when nothing could be
// recorded.
bool RefreshPathCell(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                     PathHandle& handle);
// The owner of the path's integer property through its cell, recorded
// again first if need be; null when the path ends elsewhere.
inline ScriptElement* CellOwner(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                                PathHandle& handle) {
  if (start == nullptr) return nullptr;
  ScriptElement* owner = handle.cell.Owner(env, start->Handle());
  if (owner == nullptr && RefreshPathCell(env, start, path, handle))
    owner = handle.cell.Owner(env, start->Handle());
  return owner;
}

// The element that holds the last name of a path whose handles were all
// found before (the case of loops), with that name in `last`; null when
// the path is not of that kind, its head names no element, or the head is
// gone. Inline: loops read and write such paths on every pass.
inline ScriptElement* KnownOwner(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                                 const PathHandle& handle, std::string_view& last) {
  if (start == nullptr || !handle.soughtLast || handle.last.scope == nullptr) return nullptr;
  if (handle.shape == PathHandle::Shape::Single) {
    last = path;
    return start;
  }
  if (handle.shape != PathHandle::Shape::Pair || !handle.soughtFirst ||
      handle.first.scope == nullptr || handle.headLength >= path.size())
    return nullptr;
  ScriptValue step;
  if (!start->GetValueByHandle(handle.first, path.substr(0, handle.headLength), step) ||
      step.kind() != ValueKind::Ref)
    return nullptr;
  last = path.substr(handle.headLength + 1);
  return env.elements.Resolve(step.ref());
}

// The short way of ReadPath alone, for a single name or a path of two names
// whose handles are found: true with the value, or false with nothing logged (the caller
// then reads the path with ReadPath).
bool ReadPathQuickFirst(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                        PathHandle& handle, ScriptValue& out);
inline bool ReadPathQuick(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                          PathHandle& handle, ScriptValue& out) {
  if (ScriptElement* owner = CellOwner(env, start, path, handle);
      owner != nullptr && handle.cell.property.read != nullptr) {
    out.SetInteger(handle.cell.property.read(*owner, handle.cell.property.property));
    return true;
  }
  std::string_view last;
  if (ScriptElement* owner = KnownOwner(env, start, path, handle, last))
    return owner->GetValueByHandle(handle.last, last, out);
  return ReadPathQuickFirst(env, start, path, handle, out);
}
// ReadPathQuick from the current element, which is resolved only when the
// path's cell does not hold.
inline bool ReadPathQuickFromCurrent(ScriptEnvironment& env, std::string_view path,
                                     PathHandle& handle, ScriptValue& out) {
  if (ScriptElement* owner = handle.cell.Owner(env, env.currentElement);
      owner != nullptr && handle.cell.property.read != nullptr) {
    out.SetInteger(handle.cell.property.read(*owner, handle.cell.property.property));
    return true;
  }
  return ReadPathQuick(env, env.Current(), path, handle, out);
}
// On failure `out` is the byte 0 and a "Not var" line is logged.
bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out, PathHandle* handle = nullptr);
bool WritePathFully(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                    const ScriptValue& value, const TVarList* vars, PathHandle* handle);
inline bool WritePath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                      const ScriptValue& value, const TVarList* vars, PathHandle* handle = nullptr) {
  std::string_view last;
  if (handle != nullptr) {
    if (value.kind() == ValueKind::Integer)
      if (ScriptElement* owner = CellOwner(env, start, path, *handle);
          owner != nullptr && handle->cell.property.write != nullptr) {
        handle->cell.property.write(*owner, handle->cell.property.property, value.whole());
        return true;
      }
    if (ScriptElement* owner = KnownOwner(env, start, path, *handle, last))
      return owner->SetValueByHandle(handle->last, last, value);
  }
  return WritePathFully(env, start, path, value, vars, handle);
}
// WritePath from the current element, with its handle.
inline bool WritePathFromCurrent(ScriptEnvironment& env, std::string_view path,
                                 const ScriptValue& value, const TVarList* vars, PathHandle& handle) {
  if (value.kind() == ValueKind::Integer)
    if (ScriptElement* owner = handle.cell.Owner(env, env.currentElement);
        owner != nullptr && handle.cell.property.write != nullptr) {
      handle.cell.property.write(*owner, handle.cell.property.property, value.whole());
      return true;
    }
  return WritePath(env, env.Current(), path, value, vars, &handle);
}

}  // namespace lum
