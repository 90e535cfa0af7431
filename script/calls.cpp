// Calls from expressions: script procedures and functions with
// value-result parameters, and native routines with VAR write-back.
#include "script/pas_calc.h"

namespace lum {

bool TPasCalc::CallRoutine(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  if (node.argsUnbalanced) {
    Fail(Msg::InvalidFunctionParams, {node.argsSpaced});
    return false;
  }
  // Arguments are evaluated through their own cached units.
  std::vector<CallArg>& args = node.args;
  if (node.boundFuncs != funcs_.version() || node.boundProcs != procs_.version() ||
      (node.boundIsProcedure && node.boundProcedure.expired())) {
    std::shared_ptr<TProcedure> proc = procs_.Find(node.name);
    node.boundIsProcedure = proc != nullptr;
    node.boundProcedure = proc;
    node.boundNative = proc ? nullptr : funcs_.Find(node.name);
    node.boundFuncs = funcs_.version();
    node.boundProcs = procs_.version();
  }
  if (node.boundIsProcedure) {
    // The local reference keeps the procedure alive even if it is replaced.
    const std::shared_ptr<TProcedure> proc = node.boundProcedure.lock();
    const bool ok = CallUser(text, *proc, args, out);
    if (!ok) Fail(proc->IsFunction ? Msg::ErrorInFunction : Msg::ErrorInProcedure, {node.name});
    return ok;
  }
  const bool ok = CallNative(text, node.name, node.boundNative, args, out);
  if (!ok) Fail(Msg::ErrorInFunction, {node.name});
  return ok;
}

bool TPasCalc::CallNative(const TokenText& text, const std::string& name, const TFunc* func,
                          std::vector<CallArg>& args, ScriptValue& out) {
  if (func == nullptr) {
    Fail(Msg::UnknownFunction, {name});
    return false;
  }
  // One parameter list per nesting of native calls (an argument may call
  // another routine), kept from call to call so that a call allocates
  // nothing once the lists have grown.
  if (nativeDepth_ >= paramFrames_.size()) paramFrames_.push_back(std::make_unique<ParamFrame>());
  ParamFrame& frame = *paramFrames_[nativeDepth_];
  struct Deeper {
    size_t& depth;
    TFuncList& funcs;
    ~Deeper() {
      // Routines replaced or removed meanwhile may be freed once none runs.
      if (--depth == 0) funcs.DropRetired();
    }
  } deeper{++nativeDepth_, funcs_};
  TVarList& params = frame.params;
  std::vector<VarTarget>& targets = frame.targets;
  const size_t count = args.size();
  if (func->Shortcut != nullptr && count <= kShortcutArgs) {
    // Arguments straight into a small array; the parameter list is made
    // only when the shortcut hands the call to the full routine.
    ScriptValue values[kShortcutArgs];
    VarTarget found[kShortcutArgs] = {};
    bool isVariable[kShortcutArgs] = {};
    for (size_t i = 0; i < count; ++i) {
      if (!EvaluateArgument(text, args[i], i, values[i], found[i], isVariable[i])) return false;
    }
    const ScriptValue* given[kShortcutArgs];
    for (size_t i = 0; i < count; ++i) given[i] = &values[i];
    if (func->Shortcut(given, count, out)) {
      // As after the full routine: variables passed take back the
      // parameter's value (here unchanged, as the routine has no effects).
      for (size_t i = 0; i < count; ++i)
        if (isVariable[i]) WriteBack(found[i], args[i].joined, values[i]);
      return true;
    }
    params.BeginParameters(count);
    targets.clear();
    for (size_t i = 0; i < count; ++i) {
      if (isVariable[i]) targets.push_back(found[i]);
      params.SetParameter(i, isVariable[i], std::move(values[i]));
    }
  } else {
    params.BeginParameters(count);
    targets.clear();
    for (size_t i = 0; i < count; ++i) {
      ScriptValue v;
      VarTarget target{};
      bool isVariable = false;
      if (!EvaluateArgument(text, args[i], i, v, target, isVariable)) return false;
      if (isVariable) targets.push_back(target);
      params.SetParameter(i, isVariable, std::move(v));
    }
  }
  params.EndParameters();
  TVar result;
  routineFailure_.clear();
  if (!func->Routine(*this, params, result)) {
    if (routineFailure_.empty()) Fail(Msg::InvalidParameters, {name});
    else Fail(Msg::InvalidParametersWithReason, {name, routineFailure_});
    return false;
  }
  for (const VarTarget& target : targets) {
    if (target.arg < params.size()) WriteBack(target, args[target.arg].joined, params[target.arg].Value);
  }
  out = std::move(result.Value);
  return true;
}

bool TPasCalc::EvaluateArgument(const TokenText& text, CallArg& arg, size_t position,
                                ScriptValue& value, VarTarget& target, bool& isVariable) {
  if (!EvaluateUnit(text, arg.unit, value)) {
    Fail(Msg::InvalidParamExpression, {text.Encoded(arg.unit.span)});
    return false;
  }
  isVariable = false;
  if (arg.namesVariable) {
    if (arg.varSlot >= 0 ? arg.varStamp != vars_.positionsStamp() : arg.varStamp != vars_.stamp()) {
      arg.varSlot = vars_.IndexOf(arg.joined);
      arg.varStamp = arg.varSlot >= 0 ? vars_.positionsStamp() : vars_.stamp();
    }
    if (arg.varSlot >= 0) {
      isVariable = true;
      target = VarTarget{position, arg.varStamp, static_cast<uint32_t>(arg.varSlot)};
    }
  }
  return true;
}

void TPasCalc::WriteBack(const VarTarget& target, const std::string& name, const ScriptValue& value) {
  if (target.stamp == vars_.positionsStamp()) vars_.SetAt(target.slot, value);
  else vars_.SetExisting(name, value);
}

bool TPasCalc::CallUser(const TokenText& text, TProcedure& proc, std::vector<CallArg>& args,
                        ScriptValue& out) {
  if (callDepth_ >= kMaxCallDepth) {
    Fail(Msg::CallsTooDeep, {proc.Name});
    return false;
  }
  RecursionGuard guard(env_, 8);
  if (guard.exceeded()) {
    Fail(Msg::NestingTooDeep);
    return false;
  }
  TVarList saved = vars_;
  const std::vector<std::string> params = proc.ParamNames();
  if (args.size() != params.size()) {
    Fail(Msg::WrongParameterCount, {proc.Name});
    return false;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    ScriptValue v;
    if (!EvaluateUnit(text, args[i].unit, v)) {
      Fail(Msg::InvalidParamExpression, {text.Encoded(args[i].unit.span)});
      return false;
    }
    if (!vars_.SetOrAdd(TVar{params[i], std::move(v)}, &env_)) {
      Fail(Msg::DuplicateVariable, {params[i]});
      return false;
    }
  }
  if (proc.IsFunction) vars_.Remove("RESULT");

  if (!proc.compiled) proc.compiled = std::make_shared<TokenText>(proc.Body);
  const std::shared_ptr<TokenText> body = proc.compiled;  // alive even if re-prepared meanwhile
  ++callDepth_;
  RunBlock(*body, body->main());
  --callDepth_;

  bool failed = errorCode_ != 0;
  if (!failed) {
    if (pendingJump_ == tkExit) {
      pendingJump_ = 0;
    } else if (pendingJump_ == tkBreak || pendingJump_ == tkContinue) {
      Fail(Msg::OutsideLoop, {TokenTableText(pendingJump_)});
      failed = true;
    } else if (pendingJump_ == tkGoto) {
      Fail(Msg::LabelUnreachable, {targetLabel_});
      failed = true;
    }
  }

  TVarList left = std::move(vars_);
  vars_ = std::move(saved);
  for (size_t i = 0; i < args.size(); ++i) {
    if (!args[i].namesVariable || !vars_.Exists(args[i].joined)) continue;
    const int k = left.IndexOf(params[i]);
    if (k >= 0) vars_.SetExisting(args[i].joined, left[static_cast<size_t>(k)].Value);
  }
  if (failed) return false;
  if (proc.IsFunction) {
    const int k = left.IndexOf("RESULT");
    if (k < 0) {
      Fail(Msg::FunctionMustReturn, {proc.Name});
      return false;
    }
    out = left[static_cast<size_t>(k)].Value;
  } else {
    out = ScriptValue();
  }
  return true;
}

}  // namespace lum
