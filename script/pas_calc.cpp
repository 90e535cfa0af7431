#include "script/pas_calc.h"

namespace lum {

TPasCalc::TPasCalc(ScriptEnvironment& env) : env_(env) {}

void TPasCalc::ResetErrorState() {
  errorCode_ = 0;
  errorMessage_.clear();
  errorSource_.clear();
  pendingJump_ = 0;
  targetLabel_.clear();
  blockDepth_ = -1;
  callDepth_ = 0;
  statementsRun_ = 0;
  statementCap_ = 0;
}

void TPasCalc::ReportSpaced(std::string message, std::string spaced, int code) {
  if (errorCode_ != 0) return;
  errorCode_ = code;
  errorMessage_ = std::move(message);
  errorSource_ = std::move(spaced);
  env_.log.Append(errorMessage_ + " (" + errorSource_ + " in " + env_.ElementText() + ") " +
                  env_.eventLabel);
}

void TPasCalc::ReportError(std::string_view message, std::string_view sourceEncoded, int code) {
  if (errorCode_ != 0) return;
  ReportSpaced(std::string(message), SpacedEncoded(sourceEncoded), code);
}

void TPasCalc::Fail(Msg id, std::initializer_list<std::string_view> args) {
  if (errorCode_ != 0) return;
  std::string source = context_.text != nullptr ? context_.text->Spaced(context_.span) : std::string();
  ReportSpaced(FormatMessage(id, args), std::move(source), Message(id).code);
}

std::shared_ptr<TokenText> TPasCalc::Cached(std::string_view encoded) {
  auto it = textCache_.find(std::string(encoded));
  if (it != textCache_.end()) return it->second;
  if (textCache_.size() >= 64) textCache_.clear();
  auto text = std::make_shared<TokenText>(encoded);
  textCache_.emplace(std::string(encoded), text);
  return text;
}

bool TPasCalc::Run(std::string_view mainText) {
  PreparedScript script;
  script.mainText = std::string(mainText);
  script.compiled = Cached(mainText);
  return Run(script);
}

bool TPasCalc::Run(const PreparedScript& script) {
  ResetErrorState();
  if (procs_.records() != script.procedures) {
    procs_.Clear();
    for (const auto& proc : script.procedures) procs_.Add(proc);
  }
  if (!script.compiled) script.compiled = std::make_shared<TokenText>(script.mainText);
  std::shared_ptr<TokenText> text = script.compiled;
  context_ = Context{};
  RunBlock(*text, text->main());
  context_ = Context{};
  return errorCode_ == 0;
}

void TPasCalc::ExecuteBlock(std::string_view encoded) {
  statementCap_ = 0;
  std::shared_ptr<TokenText> text = Cached(encoded);
  const Context saved = context_;
  RunBlock(*text, text->main());
  context_ = saved;
}

bool TPasCalc::Evaluate(std::string_view encoded, TVar& result) {
  statementCap_ = 0;
  std::shared_ptr<TokenText> text = Cached(encoded);
  return EvaluateUnit(*text, text->expression(), result.Value);
}

bool TPasCalc::ReadVariable(std::string_view name, TVar& out) {
  return vars_.Find(UpperAscii(TrimBlanks(name)), out, &env_);
}

bool TPasCalc::WriteVariable(std::string_view name, const ScriptValue& value) {
  return vars_.SetExisting(UpperAscii(TrimBlanks(name)), value);
}

}  // namespace lum
