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
  std::shared_ptr<const void> bound = node.boundRoutine.lock();
  if (node.boundFor != this || node.boundFuncs != funcs_.version() ||
      node.boundProcs != procs_.version() || (!bound && node.boundIsProcedure)) {
    std::shared_ptr<TProcedure> proc = procs_.Find(node.name);
    node.boundIsProcedure = proc != nullptr;
    if (proc) bound = std::move(proc);
    else bound = funcs_.Find(node.name);
    node.boundRoutine = bound;
    node.boundFor = this;
    node.boundFuncs = funcs_.version();
    node.boundProcs = procs_.version();
  }
  // The local reference keeps the routine alive even if it unregisters itself.
  if (node.boundIsProcedure) {
    auto& proc = *static_cast<TProcedure*>(const_cast<void*>(bound.get()));
    const bool ok = CallUser(text, proc, args, out);
    if (!ok) Fail(proc.IsFunction ? Msg::ErrorInFunction : Msg::ErrorInProcedure, {node.name});
    return ok;
  }
  const bool ok = CallNative(text, node.name, static_cast<const TFunc*>(bound.get()), args, out);
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
    ~Deeper() { --depth; }
  } deeper{++nativeDepth_};
  TVarList& params = frame.params;
  params.ClearVars();
  std::vector<const std::string*>& targets = frame.targets;
  targets.assign(args.size(), nullptr);
  for (size_t i = 0; i < args.size(); ++i) {
    ScriptValue v;
    if (!EvaluateUnit(text, args[i].unit, v)) {
      Fail(Msg::InvalidParamExpression, {text.Encoded(args[i].unit.span)});
      return false;
    }
    const bool isVariable = args[i].namesVariable && vars_.Exists(args[i].joined);
    if (isVariable) targets[i] = &args[i].joined;
    params.Append(TVar{isVariable ? "VAR" : "VALUE", std::move(v)});
  }
  TVar result;
  routineFailure_.clear();
  if (!func->Routine(*this, params, result)) {
    if (routineFailure_.empty()) Fail(Msg::InvalidParameters, {name});
    else Fail(Msg::InvalidParametersWithReason, {name, routineFailure_});
    return false;
  }
  for (size_t i = 0; i < targets.size() && i < params.size(); ++i)
    if (targets[i] != nullptr) vars_.SetExisting(*targets[i], params[i].Value);
  out = std::move(result.Value);
  return true;
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
