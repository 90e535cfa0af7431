#pragma once
// What the built-in routines of one interpreter pool share: the locale of
// dates and case, the game's code page, the clock and the random generator.
// The host owns one context and keeps it alive while the interpreters that
// registered it exist; tests replace the clock and seed the generator.
#include <cstdint>
#include <functional>
#include <optional>

#include "library/builtins/script_locale.h"
#include "platform/code_page.h"

namespace lum {

// The generator behind Random: a 32-bit linear congruential sequence, so a
// seed gives the same numbers on every machine and standard library.
class ScriptRandom {
 public:
  explicit ScriptRandom(uint32_t seed = 0) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  uint32_t State() const { return state_; }
  // 0 .. range-1; 0 for a range below 1.
  int32_t Next(int32_t range);

 private:
  uint32_t state_;
};

// Local wall-clock time as a date-time value.
double SystemNow();

struct BuiltinContext {
  BuiltinContext() : locale(ScriptLocale::Default(codePage)) {}
  explicit BuiltinContext(CodePage page)
      : codePage(std::move(page)), locale(ScriptLocale::Default(codePage)) {}

  // False for an unknown name; the locale stays as it was.
  bool SelectLocale(std::string_view name);

  CodePage codePage;
  ScriptLocale locale;
  // Now, Date and Time read this; a date-time value.
  std::function<double()> now = SystemNow;
  ScriptRandom random;
  // Whether strings carry wide escapes. Unset: the database root's UNICODE
  // value is asked on each call.
  std::optional<bool> unicode;
};

}  // namespace lum
