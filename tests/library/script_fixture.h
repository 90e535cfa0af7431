#pragma once
// Runs script text on a real interpreter with the built-ins registered, a
// fixed clock and a seeded generator, and reads back what it left.
#include <gtest/gtest.h>

#include <string>

#include "library/builtins/date_time.h"
#include "library/routine_table.h"
#include "script/pas_calc.h"

namespace lum::test {

// 31 December 2024, 13:05:09.250 (a Tuesday).
inline double FixedNow() {
  return static_cast<double>(DaysFromCivil(2024, 12, 31)) +
         (((13 * 60.0 + 5) * 60.0 + 9) * 1000.0 + 250) / kMillisecondsPerDay;
}

class ScriptFixture : public ::testing::Test {
 protected:
  ScriptFixture() : calc_(env_) {
    context_.now = FixedNow;
    context_.unicode = false;
    registerRoutinesWithoutGame(calc_.Functions(), context_);
  }

  // Prepares and runs; false with the interpreter's error readable.
  bool Run(const std::string& source) {
    std::string main;
    if (!calc_.Prepare(source, main)) return false;
    return calc_.Run(main);
  }

  ScriptValue Var(const std::string& name) {
    TVar found;
    EXPECT_TRUE(calc_.Variables().FindLocal(name, found)) << "no variable " << name;
    return found.Value;
  }

  std::string Text(const std::string& name) {
    ScriptValue v = Var(name);
    EXPECT_EQ(v.kind(), ValueKind::String) << name;
    return v.text();
  }

  // Runs "R := <expression>;" and returns R.
  ScriptValue Eval(const std::string& expression) {
    EXPECT_TRUE(Run("R := " + expression + ";")) << expression << ": " << Error();
    return Var("R");
  }

  // Runs a script expected to fail and returns its message.
  std::string FailureOf(const std::string& source) {
    EXPECT_FALSE(Run(source)) << source;
    return Error();
  }

  std::string Error() const { return calc_.ErrorMessage(); }

  ScriptEnvironment env_;
  TPasCalc calc_;
  BuiltinContext context_;
};

}  // namespace lum::test
