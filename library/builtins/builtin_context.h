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
#include "platform/random.h"

namespace lum {

// Local wall-clock time as a date-time value.
double SystemNow();

class BuiltinContext {
 public:
  // With a code page and a random generator of its own (scripts run
  // without a game).
  BuiltinContext();
  // Sharing the game's code page and random generator, which must outlive
  // the context.
  BuiltinContext(const CodePage& page, Random& random);
  BuiltinContext(const BuiltinContext&) = delete;
  BuiltinContext& operator=(const BuiltinContext&) = delete;

  // False for an unknown name; the locale stays as it was.
  bool SelectLocale(std::string_view name);

  const CodePage& codePage() const { return *codePage_; }
  Random& random() { return *random_; }

  ScriptLocale locale;
  // Now, Date and Time read this; a date-time value.
  std::function<double()> now = SystemNow;
  // Whether strings carry wide escapes. Unset: the database root's UNICODE
  // value is asked on each call.
  std::optional<bool> unicode;

 private:
  CodePage ownCodePage_;
  Random ownRandom_;
  const CodePage* codePage_ = &ownCodePage_;
  Random* random_ = &ownRandom_;
};

}  // namespace lum
