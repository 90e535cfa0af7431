#pragma once
// The ten interpreters that nested script runs use: each run takes the
// interpreter of the next nesting depth, so a script that makes another
// element's script run keeps its own variables and error state.
#include <array>
#include <functional>
#include <memory>

#include "script/pas_calc.h"

namespace lum {

class InterpreterPool {
 public:
  static constexpr int kSize = 10;
  using Registration = std::function<void(TFuncList&)>;

  // Every interpreter receives the same registration.
  explicit InterpreterPool(const Registration& registerRoutines = {});

  ScriptEnvironment& Environment() { return env_; }
  // Nesting depth counts from 1; the interpreter of depth d is entry d - 1.
  int Depth() const { return depth_; }
  TPasCalc& Current() { return *calcs_[static_cast<size_t>(depth_ - 1)]; }
  TPasCalc& At(int index) { return *calcs_[static_cast<size_t>(index)]; }

  // Runs a prepared event script of `element` one level deeper: empties
  // that interpreter's variables, runs with the element as the current
  // element, and copies the variables it left into `keep` (names `keep`
  // already holds are skipped). A run that would need an eleventh
  // interpreter is refused: it logs a line and returns false.
  bool RunEvent(ScriptElement* element, const PreparedScript& script, TVarList* keep);

 private:
  ScriptEnvironment env_;
  std::array<std::unique_ptr<TPasCalc>, kSize> calcs_;
  int depth_ = 1;
};

}  // namespace lum
