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
    if (counter != start) {
      if (plan.body.single && PlannedAssignment(plan.body)) {
        switch (RunAssignmentPasses(text, plan, counter, end)) {
          case Passes::Ended: return;
          case Passes::Usual: break;  // `counter` is the next pass, not begun
        }
        if (downto ? counter < end : counter > end) return;
      }
      if (!CountStatement()) return;
    }
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

bool TPasCalc::PlannedAssignment(const Block& body) const {
  const StatementPlan* only = body.statements[0].plan.get();
  return only != nullptr && only->kind == StatementPlan::Kind::Assign;
}

// Passes of a FOR loop whose body is one assignment, from `counter` on:
// the steps RunFor and RunBlock take for each, with the body's block
// entered once for all of them and the two counts of a pass (the pass, the
// statement) made in one. A pass that
// would meet anything else (the statement limit, the loop variable moved)
// is left to the usual way: Usual, `counter` that pass.
TPasCalc::Passes TPasCalc::RunAssignmentPasses(const TokenText& text, StatementPlan& loop,
                                               int64_t& counter, int64_t end) {
  Block& body = loop.body;
  if (env_.recursionUsed + kBlockUnits > env_.recursionLimit) return Passes::Usual;
  Statement& statement = body.statements[0];
  StatementPlan& assign = *statement.plan;
  const bool downto = loop.downto;
  const int64_t step = downto ? -1 : 1;
  const Context saved = context_;
  NamesTaken taken = NamesTaken::Unknown;
  env_.recursionUsed += kBlockUnits;
  ++blockDepth_;
  for (; downto ? counter >= end : counter <= end; counter += step) {
    if (statementCap_ - statementsRun_ < 2 || statementsRun_ > statementCap_ ||
        loop.varStamp != vars_.positionsStamp())
      break;
    statementsRun_ += 2;
    vars_.SetIntegerAt(loop.varSlot, static_cast<int32_t>(counter));
    context_ = Context{&text, statement.span};
    if (!assign.index1) RunPlainAssign(text, assign);
    else if (!assign.plainElement || !StoreElementQuickly(assign, &taken)) {
      RunIndexedAssign(text, assign);
      taken = NamesTaken::Unknown;  // the full way may have called anything
    }
    if (pendingJump_ == 0 && errorCode_ == 0) continue;
    // The end of the block and of the pass, as the usual way has them.
    context_ = saved;
    if (pendingJump_ != 0) EndSingleBlockWithJump(text, body);
    else --blockDepth_;
    env_.recursionUsed -= kBlockUnits;
    if (!LoopContinues()) return Passes::Ended;
    counter += step;
    return Passes::Usual;
  }
  context_ = saved;
  --blockDepth_;
  env_.recursionUsed -= kBlockUnits;
  return Passes::Usual;
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
