#pragma once
// What every engine command needs: the running game behind the interpreter,
// and the forgiving way commands take their element argument.
#include "library/builtins/routine_call.h"

namespace lum {

class TLumDB;
class TLumElement;
struct Runtime;

namespace engine {

// The root of the game whose script is running, and its runtime; null in an
// interpreter that runs without a game.
TLumDB* rootOf(RoutineCall& call);
Runtime* runtimeOf(RoutineCall& call);

// The element a command acts on. Element commands forgive a wrong argument
// count or a first argument that is no element (they succeed and do
// nothing), but not NIL or an element that no longer exists.
enum class ElementArg { Found, Forgive, Fail };
ElementArg elementArgument(RoutineCall& call, size_t index, size_t countMin, size_t countMax,
                           TLumElement*& out);

}  // namespace engine
}  // namespace lum
