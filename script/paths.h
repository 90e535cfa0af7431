#pragma once
// Dotted paths through the element tree: ".X" is the parent's X, "A.B.X"
// walks from child A to its child B, "LUMDB.X" starts at the root.
#include <string_view>

#include "script/environment.h"
#include "script/value.h"

namespace lum {

class TVarList;

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
};

// The short way of ReadPath alone, for a single name or a path of two names
// whose handles are found: true with the value, or false with nothing logged (the caller
// then reads the path with ReadPath).
bool ReadPathQuick(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
                   PathHandle& handle, ScriptValue& out);
// On failure `out` is the byte 0 and a "Not var" line is logged.
bool ReadPath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
              const TVarList* vars, ScriptValue& out, PathHandle* handle = nullptr);
bool WritePath(ScriptEnvironment& env, ScriptElement* start, std::string_view path,
               const ScriptValue& value, const TVarList* vars, PathHandle* handle = nullptr);

}  // namespace lum
