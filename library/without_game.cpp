#include "library/without_game.h"

#include <string>

namespace lum::without_game {
namespace {

// Where a game would look the element up: a count the command takes and an
// element first.
bool namesAnElement(RoutineCall& c, size_t countMin, size_t countMax) {
  return c.Count() >= countMin && c.Count() <= countMax && c.Count() > 0 &&
         c.Arg(0).kind() == ValueKind::Ref;
}

bool texts(RoutineCall& c, size_t count, std::string* out[]) {
  if (c.Count() != count) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!c.Text(i, *out[i])) return false;
  }
  return true;
}

}  // namespace

bool Nothing(RoutineCall&) { return true; }

bool OneElementOf1(RoutineCall& c) { return !namesAnElement(c, 1, 1); }
bool OneElementOf2(RoutineCall& c) { return !namesAnElement(c, 2, 2); }
bool OneElementOf3(RoutineCall& c) { return !namesAnElement(c, 3, 3); }
bool Screen(RoutineCall& c) { return !namesAnElement(c, 1, c.Count()); }

bool OneText(RoutineCall& c) {
  std::string text;
  std::string* out[] = {&text};
  return texts(c, 1, out);
}

bool GetText(RoutineCall& c) {
  if (!OneText(c)) return false;
  c.Return(ScriptValue::String(std::string()));
  return true;
}

bool DelFile(RoutineCall& c) {
  if (!OneText(c)) return false;
  c.Return(ScriptValue::Byte(0));
  return true;
}

bool GetIni(RoutineCall& c) {
  std::string section, key, fallback;
  std::string* out[] = {&section, &key, &fallback};
  if (!texts(c, 3, out)) return false;
  c.Return(ScriptValue::String(fallback));
  return true;
}

bool SetIni(RoutineCall& c) {
  std::string section, key, value;
  std::string* out[] = {&section, &key, &value};
  if (!texts(c, 3, out)) return false;
  c.Return(ScriptValue::Byte(0));
  return true;
}

bool StopMuz(RoutineCall& c) { return c.Count() == 1; }

bool AddStar(RoutineCall& c) {
  // The motion's eight reals, then pattern, colour, layer and effect as far
  // as they are given, converted in that order as in a game.
  if (c.Count() < 8 || c.Count() > 12) return false;
  double real = 0;
  for (size_t i = 0; i < 8; ++i) {
    if (!c.Real(i, real)) return false;
  }
  int32_t whole = 0;
  std::string colour;
  if (c.Count() > 8 && !c.Int(8, whole)) return false;
  if (c.Count() > 9 && !c.Text(9, colour)) return false;
  if (c.Count() > 10 && !c.Int(10, whole)) return false;
  if (c.Count() > 11 && !c.Int(11, whole)) return false;
  c.Return(ScriptValue::Byte(0));
  return true;
}

bool ImStarsR(RoutineCall&) { return false; }

}  // namespace lum::without_game
