// Blocks, assignments, IF and the jumps.
#include "script/pas_calc.h"
#include "script/paths.h"
#include "script/plans.h"

namespace lum {

void TPasCalc::EndSingleBlockWithJump(const TokenText& text, Block& block) {
  // BREAK or CONTINUE outside any loop ends the run here; anything else
  // goes up to the enclosing block.
  if (errorCode_ == 0 && blockDepth_ == 0 && (pendingJump_ == tkBreak || pendingJump_ == tkContinue)) {
    context_ = Context{&text, block.statements[0].span};
    Fail(Msg::OutsideLoop, {TokenTableText(pendingJump_)});
  }
  --blockDepth_;
  if (blockDepth_ < 0 && pendingJump_ == tkGoto && errorCode_ == 0) {
    context_ = Context{&text, block.span};
    Fail(Msg::LabelUnreachable, {targetLabel_});
  }
}

void TPasCalc::RunBlockFully(const TokenText& text, Block& block) {
  RecursionGuard guard(env_, kBlockUnits);
  if (guard.exceeded()) {
    Fail(Msg::NestingTooDeep);
    return;
  }
  ++blockDepth_;
  if (!block.scanned) ScanBlock(text, block);
  if (block.single) {
    if (errorCode_ == 0) RunStatement(text, block.statements[0]);
    if (pendingJump_ != 0) EndSingleBlockWithJump(text, block);
    else --blockDepth_;
    return;
  }
  size_t i = 0;
  while (errorCode_ == 0) {
    if (i >= block.statements.size()) {
      if (block.failure) {
        context_ = Context{&text, block.failure->partial};
        Fail(block.failure->msg);
      }
      break;
    }
    const Span ran = block.statements[i].span;
    RunStatement(text, block.statements[i++]);
    if (pendingJump_ == 0 || errorCode_ != 0) continue;
    if (blockDepth_ == 0 && (pendingJump_ == tkBreak || pendingJump_ == tkContinue)) {
      context_ = Context{&text, ran};
      Fail(Msg::OutsideLoop, {TokenTableText(pendingJump_)});
      break;
    }
    if (pendingJump_ != tkGoto) break;
    size_t target = 0;
    while (target < block.statements.size() &&
           !(block.statements[target].hasLabel && block.statements[target].label == targetLabel_))
      ++target;
    if (target == block.statements.size()) {
      if (block.failure) {
        context_ = Context{&text, block.failure->partial};
        Fail(block.failure->msg);
      }
      break;
    }
    pendingJump_ = 0;
    i = target;
  }
  --blockDepth_;
  if (blockDepth_ < 0 && pendingJump_ == tkGoto && errorCode_ == 0) {
    context_ = Context{&text, block.span};
    Fail(Msg::LabelUnreachable, {targetLabel_});
  }
}

bool TPasCalc::StatementLimitReached() {
  const uint64_t limit = statementLimit_ != 0 ? statementLimit_ : env_.statementBudget;
  if (limit != 0 && statementsRun_ > limit) {
    Fail(Msg::StatementLimit);
    return true;
  }
  statementCap_ = limit != 0 ? limit : UINT64_MAX;
  return false;
}

void TPasCalc::RunStatementFully(const TokenText& text, Statement& statement) {
  if (!CountStatement()) return;
  const Context saved = context_;
  context_ = Context{&text, statement.span};
  if (!statement.plan) statement.plan = BuildPlan(text, statement);
  StatementPlan& plan = *statement.plan;
  switch (plan.kind) {
    case StatementPlan::Kind::Empty: break;
    case StatementPlan::Kind::Fail: Fail(plan.failMsg, {plan.failArg}); break;
    case StatementPlan::Kind::Assign:
      if (plan.index1) RunAssign(text, plan);
      else RunPlainAssign(text, plan);
      break;
    case StatementPlan::Kind::Begin: RunBlock(text, plan.body); break;
    case StatementPlan::Kind::If: RunIf(text, plan); break;
    case StatementPlan::Kind::For: RunFor(text, plan); break;
    case StatementPlan::Kind::While: RunWhile(text, plan); break;
    case StatementPlan::Kind::Repeat: RunRepeat(text, plan); break;
    case StatementPlan::Kind::Case: RunCase(text, plan); break;
    case StatementPlan::Kind::Jump: pendingJump_ = plan.jump; break;
    case StatementPlan::Kind::Goto:
      targetLabel_ = plan.label;
      pendingJump_ = tkGoto;
      break;
  }
  context_ = saved;
}

namespace {
constexpr uint32_t kNoSlot = UINT32_MAX;  // the plan's target is no variable of the list
}  // namespace

// The value to assign, after the statement's own fault if it has one;
// false when there is nothing to assign (a fault, or a call statement).
bool TPasCalc::AssignedValue(const TokenText& text, StatementPlan& plan, ScriptValue& value) {
  if (plan.failAt == 1) {
    Fail(plan.failMsg, {plan.failArg});
    return false;
  }
  if (!EvaluateUnit(text, plan.expr, value)) {
    Fail(Msg::ErrorInExpression);
    return false;
  }
  return plan.assign;
}

// NAME := NAME + step, NAME an integer property found through its path
// cell, `step` a constant or a variable holding an integer: what the full
// way does, with one lookup of the path instead of two. False (nothing
// done) whenever anything differs from the case the full way would take
// the same steps for.
bool TPasCalc::UpdateInPlace(StatementPlan& plan) {
  // The target is still no variable; the expression still reads the same
  // name as a path, under the same guards as EvaluateUnit's.
  if (plan.varSlot != kNoSlot || plan.varStamp != vars_.stamp() || errorCode_ != 0 ||
      !TreeHolds(plan.expr) ||
      env_.recursionUsed + static_cast<int>(plan.expr.depth) + 1 > env_.recursionLimit)
    return false;
  const ExprNode& sum = *plan.expr.root;
  const ExprNode& name = *sum.left;
  if (name.varSlot != ExprNode::kNoRecord || name.varStamp != vars_.stamp() ||
      name.decidedFuncs != funcs_.version() || name.decidedProcs != procs_.version() ||
      name.decidedCall)
    return false;
  const ScriptValue* step = SimpleOperand(*sum.right);
  if (step == nullptr || step->kind() != ValueKind::Integer) return false;
  // Read and write go through the same cell: the read path and the
  // written one are the same text from the same element.
  ScriptElement* owner = plan.path.cell.Owner(env_, env_.currentElement);
  const ScriptElement::PropertyCell& property = plan.path.cell.property;
  if (owner == nullptr || property.read == nullptr || property.write == nullptr) return false;
  const int64_t old = property.read(*owner, property.property);
  const int64_t change = static_cast<int32_t>(step->whole());
  const int64_t wide = sum.op == tkPlus ? old + change : old - change;
  if (wide < INT32_MIN || wide > INT32_MAX) return false;  // the full way widens it
  property.write(*owner, property.property, wide);
  return true;
}

// NAME := NAME + step or NAME - step, NAME a variable holding a number and
// `step` a number read without effects (a constant, a variable, an
// element, a property): the sum written into the variable, as the full way
// would after evaluating it. False (nothing done) for anything else, an
// integer sum that leaves 32 bits included.
bool TPasCalc::UpdateVariableInPlace(StatementPlan& plan) {
  if (plan.varStamp != vars_.positionsStamp() || errorCode_ != 0 || !TreeHolds(plan.expr) ||
      env_.recursionUsed + static_cast<int>(plan.expr.depth) + 1 > env_.recursionLimit)
    return false;
  const ExprNode& sum = *plan.expr.root;
  const ScriptValue& target = vars_[plan.varSlot].Value;
  if (SimpleOperand(*sum.left) != &target) return false;
  const bool realA = target.kind() == ValueKind::Real;
  if (!realA && target.kind() != ValueKind::Integer) return false;
  ScriptValue scratch;
  const ScriptValue* step = QuickOperand(*sum.right, scratch);
  if (step == nullptr) return false;
  const bool realB = step->kind() == ValueKind::Real;
  if (!realB && step->kind() != ValueKind::Integer) return false;
  const bool plus = sum.op == tkPlus;
  if (!realA && !realB) {
    const int64_t a = static_cast<int32_t>(target.whole()), b = static_cast<int32_t>(step->whole());
    const int64_t wide = plus ? a + b : a - b;
    if (wide < INT32_MIN || wide > INT32_MAX) return false;
    vars_.SetIntegerAt(plan.varSlot, static_cast<int32_t>(wide));
    return true;
  }
  const double x = realA ? target.real() : static_cast<double>(target.whole());
  const double y = realB ? step->real() : static_cast<double>(step->whole());
  vars_.SetRealAt(plan.varSlot, plus ? x + y : x - y);
  return true;
}

void TPasCalc::ReadUpdateForm(StatementPlan& plan) {
  const ExprNode* sum = plan.expr.root.get();
  const bool inPlace = plan.assign && plan.failAt != 1 && !plan.index1 && plan.targetValid &&
                       sum != nullptr && sum->kind == ExprNode::Kind::Binary &&
                       (sum->op == tkPlus || sum->op == tkMinus) &&
                       sum->left->kind == ExprNode::Kind::Name && sum->left->name == plan.target;
  plan.update = inPlace ? StatementPlan::Update::InPlace : StatementPlan::Update::No;
}

// NAME := value, or a call statement.
void TPasCalc::RunPlainAssign(const TokenText& text, StatementPlan& plan) {
  if (plan.update != StatementPlan::Update::No) {
    if (plan.update == StatementPlan::Update::InPlace) {
      if (plan.varSlot != kNoSlot ? UpdateVariableInPlace(plan) : UpdateInPlace(plan)) return;
    } else if (plan.expr.compiled) {
      ReadUpdateForm(plan);
    }
  }
  ScriptValue value;
  if (!AssignedValue(text, plan, value)) return;
  // The variable where it was last time (records appended since do not
  // move it), or no variable of this name while the list is the same.
  if (plan.varSlot != kNoSlot ? plan.varStamp == vars_.positionsStamp()
                              : plan.varStamp == vars_.stamp()) {
    if (plan.varSlot != kNoSlot) {
      vars_.SetAt(plan.varSlot, std::move(value));
    } else if (!WritePathFromCurrent(env_, plan.target, value, &vars_, plan.path)) {
      // No variable of this name, as last time, and no property took it.
      vars_.AddVar(TVar{plan.target, std::move(value)}, &env_);
    }
    return;
  }
  const std::string& name = plan.target;
  if (!plan.targetValid) {
    Fail(Msg::InvalidVariableName, {name});
    return;
  }
  if (vars_.HasArray(name)) {
    Fail(Msg::SameNameArray, {name});
    return;
  }
  const int slot = vars_.IndexOfHinted(name, plan.slotHint);
  plan.varStamp = slot >= 0 ? vars_.positionsStamp() : vars_.stamp();
  if (slot >= 0) {
    plan.varSlot = static_cast<uint32_t>(slot);
    vars_.SetAt(static_cast<size_t>(slot), std::move(value));
  } else {
    plan.varSlot = kNoSlot;
    vars_.SetOrAdd(TVar{name, std::move(value)}, &env_);
  }
}

bool TPasCalc::StoreElementQuickly(StatementPlan& plan, NamesTaken* taken) {
  // The guards EvaluateUnit takes for each of the two expressions.
  const ExprUnit& part = plan.index1->parts[0];
  const int room = env_.recursionLimit - env_.recursionUsed - 1;
  if (errorCode_ != 0 || !TreeHolds(part) || !TreeHolds(plan.expr) ||
      static_cast<int>(part.depth) > room || static_cast<int>(plan.expr.depth) > room)
    return false;
  int32_t at;
  ScriptValue value;
  if (!SimpleIntegerIndex(*part.root, at) || !EvaluateSimple(*plan.expr.root, value)) return false;
  bool plain = true;
  const int slot = vars_.ElementForWrite(plan.target, at, plain);
  if (plain) return false;
  if (slot >= 0) {
    vars_.SetAt(static_cast<size_t>(slot), std::move(value));
    return true;
  }
  // A new element: the current element may take names like it. The
  // answer holds while nothing but quick stores runs (they call nothing).
  bool mayTake;
  if (taken != nullptr && *taken != NamesTaken::Unknown) {
    mayTake = *taken == NamesTaken::Maybe;
  } else {
    ScriptElement* current = env_.Current();
    mayTake = current != nullptr && current->MayTakeIndexedName();
    if (taken != nullptr) *taken = mayTake ? NamesTaken::Maybe : NamesTaken::Never;
  }
  if (mayTake) return false;
  return vars_.AddAbsentElement(plan.target, at, std::move(value), &env_);
}

void TPasCalc::RunAssign(const TokenText& text, StatementPlan& plan) {
  if (!plan.index1) {
    RunPlainAssign(text, plan);
    return;
  }
  if (plan.plainElement && StoreElementQuickly(plan)) return;
  RunIndexedAssign(text, plan);
}

// A[...] := value, A[...][...] := value and S[...] := character, the full way.
void TPasCalc::RunIndexedAssign(const TokenText& text, StatementPlan& plan) {
  std::string first, second;
  const bool single = IsSingleIndex(plan.index1.get(), plan.index2.get());
  int32_t index = 0;
  if (single) {
    // A simple integer index (A[I], A[3]) is read here; anything else, or
    // any doubt, the full way.
    ExprUnit& part = plan.index1->parts[0];
    ScriptValue quick;
    if (plan.index1->closed && TreeHolds(part) && errorCode_ == 0 &&
        env_.recursionUsed + static_cast<int>(part.depth) + 1 <= env_.recursionLimit &&
        EvaluateSimple(*part.root, quick) && quick.kind() == ValueKind::Integer) {
      index = static_cast<int32_t>(quick.whole());
    } else if (!EvalSingleIndex(text, *plan.index1, index)) {
      return;
    }
  } else if (plan.index1 && !EvalIndexList(text, *plan.index1, first)) {
    return;
  }
  if (plan.index2 && !EvalIndexList(text, *plan.index2, second)) return;
  ScriptValue value;
  if (!AssignedValue(text, plan, value)) return;

  const std::string& name = plan.target;
  if (single) {
    bool plain = true;
    const int slot = plan.targetValid ? vars_.ElementForWrite(name, index, plain) : -1;
    if (!plain) {
      // A[I] := ...: an existing element is found by its integer index; a
      // new one goes where SetOrAdd puts a name the list does not hold.
      if (slot >= 0) {
        vars_.SetAt(static_cast<size_t>(slot), std::move(value));
        return;
      }
      // A name without a point goes to the current element, which may say
      // at once that it has no such name.
      ScriptElement* current = env_.Current();
      if (plan.targetDotted ||
          (current != nullptr && current->MayTakeIndexedName())) {
        const std::string indexed = name + "[" + std::to_string(index) + "]";
        if (WritePath(env_, current, indexed, value, &vars_)) return;
      }
      vars_.AddAbsentElement(name, index, std::move(value), &env_);
      return;
    }
    first = std::to_string(index);
  }
  bool arrayIndex = plan.index1 != nullptr;
  bool charIndex = plan.index2 != nullptr;
  const std::string* charText = &second;
  if (arrayIndex && !charIndex && vars_.Exists(name)) {
    arrayIndex = false;
    charIndex = true;
    charText = &first;
  }
  if (!plan.targetValid) {
    Fail(Msg::InvalidVariableName, {name});
    return;
  }
  std::string indexed;
  const std::string* target = &name;
  if (arrayIndex) {
    if (vars_.Exists(name)) {
      Fail(Msg::SameNameVariable, {name});
      return;
    }
    indexed = name + "[" + first + "]";
    target = &indexed;
  } else if (vars_.HasArray(name)) {
    Fail(Msg::SameNameArray, {name});
    return;
  }
  if (charIndex) {
    AssignCharacter(*target, *charText, value);
    return;
  }
  const int slot = vars_.IndexOfHinted(*target, plan.slotHint);
  if (slot >= 0) {
    vars_.SetAt(static_cast<size_t>(slot), std::move(value));
  } else {
    vars_.SetOrAdd(TVar{*target, std::move(value)}, &env_);
  }
}

void TPasCalc::AssignCharacter(const std::string& name, const std::string& index,
                               const ScriptValue& value) {
  TVar found;
  if (!vars_.Find(name, found, &env_)) {
    Fail(Msg::VariableNotFoundChar, {name});
    return;
  }
  if (!found.Value.IsStringLike()) {
    Fail(Msg::InvalidVariableType, {name});
    return;
  }
  size_t position;
  if (!ReadCharIndex(index, found.Value.text().size(), position)) return;
  char replacement;
  if (value.IsStringLike()) {
    if (value.text().size() != 1) {
      Fail(Msg::CharacterExpected, {value.text()});
      return;
    }
    replacement = value.text()[0];
  } else {
    int32_t code;
    if (!ToInt32(value, code)) {
      Fail(Msg::InvalidVariableType, {name});
      return;
    }
    if (code < 0 || code > 255) {
      std::string text;
      ToText(value, text);
      Fail(Msg::CharacterRange, {text});
      return;
    }
    replacement = static_cast<char>(code);
  }
  std::string changed = found.Value.text();
  changed[position - 1] = replacement;
  vars_.SetOrAdd(TVar{name, ScriptValue::String(std::move(changed))}, &env_);
}

void TPasCalc::RunIf(const TokenText& text, StatementPlan& plan) {
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
  if (plan.readFailure) {
    context_ = Context{&text, plan.readFailure->partial};
    Fail(plan.readFailure->msg);
    return;
  }
  RunBlock(text, holds ? plan.body : plan.elseBody);
}

}  // namespace lum
