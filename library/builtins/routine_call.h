#pragma once
// One call of a built-in routine: its arguments, the record that receives
// its value, and conversions that remember why they failed, so that the
// interpreter can append the reason to "Invalid parameters, function ".
#include <cstdint>
#include <string>

#include "library/builtins/builtin_context.h"
#include "script/var_list.h"

namespace lum {

class TPasCalc;

class RoutineCall {
 public:
  // `calc` may be null for routines that need no interpreter (tests).
  RoutineCall(TPasCalc* calc, TVarList& params, TVar& result, BuiltinContext& context)
      : calc_(calc), params_(params), result_(result), context_(context) {}

  size_t Count() const { return params_.size(); }
  const ScriptValue& Arg(size_t i) const { return params_[i].Value; }
  // True when argument i names an existing variable, which receives the
  // argument's final value after a successful call.
  bool IsVar(size_t i) const { return params_[i].Name == "VAR"; }
  void Write(size_t i, const ScriptValue& value) { params_.SetAt(i, value); }
  void Return(ScriptValue value) { result_.Value = std::move(value); }

  // Conversions of argument i; false with the reason recorded.
  bool Int(size_t i, int32_t& out);       // rounded to a 32-bit integer
  bool Real(size_t i, double& out);
  bool Truncated(size_t i, int64_t& out); // integer part, held within +-2^62
  bool Text(size_t i, std::string& out);
  // A date-time: a number, or a string holding a number, a date or a time.
  bool Date(size_t i, double& out);

  // Records the reason and returns false, for `return call.Fail(...)`.
  bool Fail(std::string reason);
  const std::string& Failure() const { return failure_; }

  // Wide escapes count as one character while the game's UNICODE is on.
  bool UnicodeOn() const;

  // The interpreter's limit on string length; routines that build longer
  // strings than their arguments keep to it, as concatenation does.
  size_t MaxStringLength() const;

  TPasCalc* Calc() const { return calc_; }
  BuiltinContext& Context() const { return context_; }

 private:
  TPasCalc* calc_;
  TVarList& params_;
  TVar& result_;
  BuiltinContext& context_;
  std::string failure_;
};

// Every built-in routine has this form; false means a wrong call.
using BuiltinRoutine = bool (*)(RoutineCall& call);

}  // namespace lum
