#pragma once
// Format: text with %-conversions filled from script values.
//
// A conversion runs from '%' to the next ASCII letter:
//   % [index ':'] ['-'] [width | '*'] ['.' (precision | '*')] letter
// with the letters d u x (integers; x in upper-case hex), p (eight hex
// digits), f e g n m (reals; m adds the locale's currency symbol), s (any
// value's text). "%%" is a literal '%'. Each conversion takes the next
// argument; an index makes that argument the current one, and each '*'
// takes an integer argument as width or precision. A conversion with no
// argument left writes nothing; one left open at the end of the text is
// copied as it stands. When a value does not suit its letter (a real for
// %d), a value that is not a string is truncated to an integer and tried
// again; otherwise the whole call fails.
#include <string_view>
#include <vector>

#include "library/builtins/script_locale.h"
#include "platform/result.h"
#include "script/value.h"

namespace lum {

Result<std::string> FormatText(std::string_view format, const std::vector<ScriptValue>& args,
                               const ScriptLocale& locale);

}  // namespace lum
