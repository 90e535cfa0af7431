// FOR, WHILE, REPEAT and CASE.
#include "script/operators.h"
#include "script/pas_calc.h"

namespace lum {

bool TPasCalc::LoopContinuesAfterJump() {
  if (errorCode_ != 0) return false;
  switch (pendingJump_) {
    case 0: return true;
    case tkBreak: pendingJump_ = 0; return false;
    case tkContinue: pendingJump_ = 0; return true;
    default: return false;  // exit and goto stay pending
  }
}

void TPasCalc::RunFor(const TokenText& text, StatementPlan& plan) {
  ScriptValue value;
  int32_t start, end;
  if (!EvaluateUnit(text, plan.expr, value)) {
    Fail(Msg::ErrorInExpression);
    return;
  }
  if (!ToInt32(value, start)) {
    Fail(Msg::InvalidLoopValue);
    return;
  }
  if (plan.failAt == 1) {
    Fail(plan.failMsg);
    return;
  }
  if (!EvaluateUnit(text, plan.expr2, value)) {
    Fail(Msg::ErrorInExpression);
    return;
  }
  if (!ToInt32(value, end)) {
    Fail(Msg::InvalidLoopValue);
    return;
  }
  const bool downto = plan.downto;  // read once: the body may not change it, but the compiler cannot tell
  const int64_t step = downto ? -1 : 1;
  for (int64_t counter = start; downto ? counter >= end : counter <= end; counter += step) {
    if (counter != start && !CountStatement()) return;
    if (plan.varStamp != vars_.positionsStamp()) {
      const int slot = vars_.IndexOfHinted(plan.target, plan.slotHint);
      if (slot < 0) {
        Fail(Msg::InvalidForVariable, {plan.target});
        return;
      }
      plan.varStamp = vars_.positionsStamp();
      plan.varSlot = static_cast<uint32_t>(slot);
    }
    vars_.SetIntegerAt(plan.varSlot, static_cast<int32_t>(counter));
    RunBlock(text, plan.body);
    if (!LoopContinues()) return;
  }
}

void TPasCalc::RunWhile(const TokenText& text, StatementPlan& plan) {
  for (bool firstPass = true;; firstPass = false) {
    if (!firstPass && !CountStatement()) return;
    ScriptValue condition;
    if (!EvaluateUnit(text, plan.expr, condition)) {
      Fail(Msg::ErrorInExpression);
      return;
    }
    bool holds;
    if (!ToBoolean(condition, holds)) {
      Fail(Msg::InvalidConditionType);
      return;
    }
    if (!holds) return;
    RunBlock(text, plan.body);
    if (!LoopContinues()) return;
  }
}

void TPasCalc::RunRepeat(const TokenText& text, StatementPlan& plan) {
  for (bool firstPass = true;; firstPass = false) {
    if (!firstPass && !CountStatement()) return;
    RunBlock(text, plan.body);
    if (errorCode_ != 0) return;
    ScriptValue condition;
    if (!EvaluateUnit(text, plan.expr, condition)) {
      Fail(Msg::ErrorInExpression);
      return;
    }
    bool holds;
    if (!ToBoolean(condition, holds)) {
      Fail(Msg::InvalidConditionType);
      return;
    }
    if (holds || !LoopContinues()) return;
  }
}

bool TPasCalc::CaseLabelMatches(const TokenText& text, CaseLabel& label,
                                const ScriptValue& selector, bool& matched) {
  ScriptValue low, high;
  if (!EvaluateUnit(text, label.low, low)) {
    Fail(Msg::ErrorInExpression);
    return false;
  }
  if (label.range) {
    if (!EvaluateUnit(text, label.high, high)) {
      Fail(Msg::ErrorInExpression);
      return false;
    }
    if (low.IsStringLike() != high.IsStringLike()) {
      Fail(Msg::InvalidCaseTypecast);
      return false;
    }
  } else {
    high = low;
  }
  ScriptValue test;
  if (!ApplyBinary(tkGreater, low, high, test, 0)) {
    Fail(Msg::InvalidOperandTypes, {">"});
    return false;
  }
  if (test.boolean()) std::swap(low, high);
  matched = false;
  if (selector.IsStringLike() != low.IsStringLike()) return true;
  ScriptValue lowOk, highOk;
  if (!ApplyBinary(tkLessEqual, low, selector, lowOk, 0) ||
      !ApplyBinary(tkLessEqual, selector, high, highOk, 0)) {
    Fail(Msg::InvalidOperandTypes, {"<="});
    return false;
  }
  matched = lowOk.boolean() && highOk.boolean();
  return true;
}

void TPasCalc::RunCase(const TokenText& text, StatementPlan& plan) {
  ScriptValue selector;
  if (!EvaluateUnit(text, plan.expr, selector)) {
    Fail(Msg::ErrorInExpression);
    return;
  }
  Block* elsePart = nullptr;
  for (CaseItem& item : plan.items) {
    switch (item.kind) {
      case CaseItem::Kind::Branch:
        for (CaseLabel& label : item.labels) {
          bool matched;
          if (!CaseLabelMatches(text, label, selector, matched)) return;
          if (matched) {
            RunBlock(text, *item.body);
            return;
          }
        }
        break;
      case CaseItem::Kind::Else:
        elsePart = item.body.get();
        break;
      case CaseItem::Kind::End:
        if (elsePart != nullptr) RunBlock(text, *elsePart);
        return;
      case CaseItem::Kind::Fail:
        context_ = Context{&text, item.failureSource};
        Fail(item.failure);
        return;
    }
  }
}

}  // namespace lum
