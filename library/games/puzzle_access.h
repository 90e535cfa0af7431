#pragma once
// What every puzzle routine works with: its one element argument (checked
// for the kind the routine needs), the running game, and typed reads and
// writes of property paths (".X", "..COLS", "LUMDB.LOGINTERFACE.WIN") done
// with the same path operations that scripts use. A path that does not
// resolve reads as 0, an empty text or no element, and a write to it does
// nothing, so a puzzle whose elements are missing simply stands still.
#include <string>
#include <string_view>

#include "library/builtins/routine_call.h"
#include "scene/element.h"
#include "script/environment.h"

namespace lum {

class Random;
class TLumDB;
struct Runtime;

namespace games {

class PuzzlePaths {
 public:
  explicit PuzzlePaths(ScriptEnvironment& env) : env_(env) {}

  // Reads from `from`; names are upper case as scripts spell them.
  bool has(TLumElement& from, std::string_view path) const;
  int32_t integer(TLumElement& from, std::string_view path) const;  // reals rounded
  double real(TLumElement& from, std::string_view path) const;
  std::string text(TLumElement& from, std::string_view path) const;
  TLumElement* element(TLumElement& from, std::string_view path) const;

  void set(TLumElement& from, std::string_view path, const ScriptValue& value) const;
  void setInteger(TLumElement& from, std::string_view path, int32_t value) const {
    set(from, path, ScriptValue::Integer(value));
  }
  void setReal(TLumElement& from, std::string_view path, double value) const {
    set(from, path, ScriptValue::Real(value));
  }

 private:
  bool read(TLumElement& from, std::string_view path, ScriptValue& out) const;
  ScriptEnvironment& env_;
};

// One call of a puzzle routine on its element.
struct Puzzle {
  Runtime& runtime;
  TLumDB& root;
  PuzzlePaths paths;

  Random& random() const;
  // Plays the sound-list entry of the key as an effect.
  void playSound(const std::string& key) const;
};

// The argument of a puzzle routine when it is an element of `Kind` (or a
// kind derived from it) in a running game; null otherwise. Arguments after
// the first are not looked at.
TLumElement* puzzleArgument(RoutineCall& call);
Puzzle makePuzzle(RoutineCall& call, TLumElement& e);

template <class Kind, void (*Step)(Kind&, Puzzle&)>
bool puzzleRoutine(RoutineCall& call) {
  TLumElement* e = puzzleArgument(call);
  if (auto* arg = dynamic_cast<Kind*>(e)) {
    Puzzle puzzle = makePuzzle(call, *e);
    Step(*arg, puzzle);
  }
  return true;  // every puzzle routine succeeds and leaves the result alone
}

// Small helpers shared by the families.
// hxTrans of an element that has one (images, shapes, texts), else none.
bool hasTrans(TLumElement& e, Puzzle& p);
int32_t transOf(TLumElement& e, Puzzle& p);
// Stores an opacity kept within 0 ... 255.
void setTrans(TLumElement& e, Puzzle& p, int32_t value);
int32_t frameOf(TLumElement& e);  // Anim of an image, else 0
bool sameText(std::string_view a, std::string_view b);  // without regard to case

}  // namespace games
}  // namespace lum
