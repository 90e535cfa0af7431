// Evaluating expression trees: operands left to right, and nothing more
// once the run has recorded an error.
#include <cassert>
#include <new>

#include "script/expr_compile.h"
#include "script/operators.h"
#include "script/pas_calc.h"
#include "script/paths.h"

namespace lum {

bool TPasCalc::IsRoutineName(std::string_view name) const {
  return procs_.Contains(name) || funcs_.Contains(name);
}

bool TPasCalc::QuickPathRead(const ExprNode& node, ScriptValue& out) {
  return node.kind == ExprNode::Kind::Name && node.varSlot == ExprNode::kNoRecord &&
         node.varStamp == vars_.stamp() && node.decidedFuncs == funcs_.version() &&
         node.decidedProcs == procs_.version() && !node.decidedCall &&
         ReadPathQuickFromCurrent(env_, node.name, node.path, out);
}

bool TPasCalc::QuickCall(const ExprNode& node, ScriptValue& out) {
  if (node.kind != ExprNode::Kind::Call || node.argsUnbalanced || node.boundIsProcedure ||
      node.boundNative == nullptr || node.boundNative->Shortcut == nullptr ||
      node.boundFuncs != funcs_.version() || node.boundProcs != procs_.version() ||
      node.args.size() > kShortcutArgs)
    return false;
  // Simple arguments cannot fail or change anything, and a variable passed
  // would only take back the value just read from it: the call is the
  // shortcut alone.
  // What EvaluateSimple computes past a plain operand is an integer, which
  // holds nothing to release: the slots are built only when used and
  // never destroyed.
  union Computed {
    Computed() {}
    ~Computed() {}
    ScriptValue value;
  };
  Computed computed[kShortcutArgs];
  const ScriptValue* given[kShortcutArgs];
  const size_t count = node.args.size();
  for (size_t i = 0; i < count; ++i) {
    const ExprUnit& unit = node.args[i].unit;
    if (!TreeHolds(unit) || !WithinNestingLimit(unit)) return false;
    given[i] = SimpleOperand(*unit.root);  // a constant or variable as it is
    if (given[i] == nullptr) {
      ScriptValue* value = new (&computed[i].value) ScriptValue();
      if (!EvaluateSimple(*unit.root, *value)) return false;
      assert(value->kind() != ValueKind::String);
      given[i] = value;
    }
  }
  return node.boundNative->Shortcut(given, count, out);
}

const ScriptValue* TPasCalc::QuickElement(const ExprNode& node) {
  // A[I] as EvalVariable found it under this layout: A no plain variable,
  // its elements indexed; the index a simple integer, an element there.
  if (!node.singleIndex || node.varStamp != vars_.stamp() || node.varSlot >= 0 ||
      node.elements == nullptr)
    return nullptr;
  const ExprUnit& part = node.index1->parts[0];
  if (!TreeHolds(part) || !WithinNestingLimit(part)) return nullptr;
  int32_t index;
  if (!SimpleIntegerIndex(*part.root, index)) return nullptr;
  const int slot = node.elements->Find(index);
  return slot < 0 ? nullptr : &vars_[static_cast<size_t>(slot)].Value;
}

const ScriptValue* TPasCalc::QuickOperand(const ExprNode& node, ScriptValue& scratch) {
  // The two common kinds before the table of the others.
  if (node.kind == ExprNode::Kind::Constant) return &node.constant;
  if (node.kind == ExprNode::Kind::Name) {
    if (const ScriptValue* v = SimpleOperand(node)) return v;
    return QuickPathRead(node, scratch) ? &scratch : nullptr;
  }
  switch (node.kind) {
    case ExprNode::Kind::Variable: return QuickElement(node);
    case ExprNode::Kind::Call: return QuickCall(node, scratch) ? &scratch : nullptr;
    default: return nullptr;
  }
}

bool TPasCalc::EvaluateQuickForms(const ExprNode& node, ScriptValue& out) {
  if (node.kind != ExprNode::Kind::Binary) {
    switch (node.kind) {
      case ExprNode::Kind::Name: return QuickPathRead(node, out);  // a simple name was tried
      case ExprNode::Kind::Call: return QuickCall(node, out);
      default: {
        const ScriptValue* v = QuickOperand(node, out);
        if (v != nullptr && v != &out) out = *v;
        return v != nullptr;
      }
    }
  }
  // Reading a property or an element has no effects, nor has a shortcut or
  // an operator: when the right operand turns out not to be quick, the full
  // way reads the left again.
  ScriptValue left, right;
  const ScriptValue* a = QuickOperand(*node.left, left);
  if (a == nullptr || a->IsStringLike()) return false;
  const ScriptValue* b = QuickOperand(*node.right, right);
  if (b == nullptr || b->IsStringLike()) return false;
  if (a->kind() == ValueKind::Integer && b->kind() == ValueKind::Integer &&
      IntegerBinary(node.op, static_cast<int32_t>(a->whole()), static_cast<int32_t>(b->whole()), out))
    return true;
  // A real with a real or an integer under + - * (sums that left 32 bits):
  // what the operator does, without the call.
  const bool realA = a->kind() == ValueKind::Real, realB = b->kind() == ValueKind::Real;
  if ((realA || realB) && (realA || a->kind() == ValueKind::Integer) &&
      (realB || b->kind() == ValueKind::Integer)) {
    const double x = realA ? a->real() : static_cast<double>(a->whole());
    const double y = realB ? b->real() : static_cast<double>(b->whole());
    switch (node.op) {
      case tkPlus: out.SetReal(x + y); return true;
      case tkMinus: out.SetReal(x - y); return true;
      case tkStar: out.SetReal(x * y); return true;
      default: break;
    }
  }
  // Without strings there is nothing to translate: the operator's answer,
  // or (when it fails) the full way with its report.
  return ApplyBinary(node.op, *a, *b, out, env_.maxStringLength);
}

bool TPasCalc::EvaluateUnitFully(const TokenText& text, ExprUnit& unit, ScriptValue& out) {
  const Context saved = context_;
  context_ = Context{&text, unit.span};
  bool ok = false;
  if (unit.span.empty()) {
    Fail(Msg::EmptyExpression);
  } else {
    if (!unit.compiled) CompileUnit(text, unit, [this](std::string_view n) { return IsRoutineName(n); });
    const bool assumptionsHold = unit.routineAssumptions.empty() || AssumptionsHold(unit);
    if (assumptionsHold) {
      unit.assumedFuncs = funcs_.version();
      unit.assumedProcs = procs_.version();
    }
    if (!assumptionsHold) {
      ok = EvaluateReread(text, unit, out);
    } else {
      RecursionGuard guard(env_, static_cast<int>(unit.depth) + 1);
      if (guard.exceeded()) {
        Fail(Msg::NestingTooDeep);
      } else {
        EvalNode(text, *unit.root, out);
        ok = errorCode_ == 0 && unit.trailing <= 1;
      }
    }
  }
  context_ = saved;
  return ok;
}

bool TPasCalc::AssumptionsHold(const ExprUnit& unit) const {
  for (const auto& [name, wasRoutine] : unit.routineAssumptions)
    if (IsRoutineName(name) != wasRoutine) return false;
  return true;
}

bool TPasCalc::EvaluateReread(const TokenText& text, const ExprUnit& unit, ScriptValue& out) {
  // The registries changed how this text reads; read it again for this
  // evaluation only (the cached tree may be running further up).
  ExprUnit fresh;
  fresh.span = unit.span;
  CompileUnit(text, fresh, [this](std::string_view n) { return IsRoutineName(n); });
  RecursionGuard guard(env_, static_cast<int>(fresh.depth) + 1);
  if (guard.exceeded()) {
    Fail(Msg::NestingTooDeep);
    return false;
  }
  EvalNode(text, *fresh.root, out);
  return errorCode_ == 0 && fresh.trailing <= 1;
}

void TPasCalc::Translate(ScriptValue& v) const {
  if (!v.IsStringLike() || v.text().empty() || v.text()[0] != '"' || !env_.languageText) return;
  const std::string& t = v.text();
  const std::string_view key = t.size() >= 2 ? std::string_view(t).substr(1, t.size() - 2) : std::string_view();
  std::string translated = env_.LanguageText(key);
  if (!translated.empty()) v = ScriptValue::String(std::move(translated));
}

// The frequent kinds first, each in a few instructions; the rest in
// functions of their own so that this one stays small.
void TPasCalc::EvalNode(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  switch (node.kind) {
    case ExprNode::Kind::Constant:
      out = node.constant;
      return;
    case ExprNode::Kind::Name:
      // A plain variable where it was last time: no record before it moved.
      if (node.varSlot >= 0 && node.varStamp == vars_.positionsStamp() &&
          node.decidedFuncs == funcs_.version() && node.decidedProcs == procs_.version() &&
          !node.decidedCall) {
        out = vars_[static_cast<size_t>(node.varSlot)].Value;
        return;
      }
      EvalName(text, node, out);
      return;
    case ExprNode::Kind::Binary:
      EvalBinary(text, node, out);
      return;
    default:
      EvalOther(text, node, out);
      return;
  }
}

void TPasCalc::EvalBinary(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  ScriptValue left, right;
  EvalNode(text, *node.left, left);
  if (errorCode_ != 0) return;
  EvalNode(text, *node.right, right);
  if (errorCode_ != 0) return;
  if (left.kind() == ValueKind::Integer && right.kind() == ValueKind::Integer &&
      IntegerBinary(node.op, static_cast<int32_t>(left.whole()),
                    static_cast<int32_t>(right.whole()), out))
    return;
  if (!left.IsStringLike() && !right.IsStringLike()) {  // nothing to translate
    if (!ApplyBinary(node.op, left, right, out, env_.maxStringLength))
      Fail(Msg::InvalidOperandTypes, {TokenTableText(node.op)});
    return;
  }
  Translate(left);
  Translate(right);
  if (!ApplyBinary(node.op, left, right, out, env_.maxStringLength))
    Fail(Msg::InvalidOperandTypes, {TokenTableText(node.op)});
}

void TPasCalc::EvalOther(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  switch (node.kind) {
    case ExprNode::Kind::Error:
      Fail(node.error, {node.errorArg});
      return;
    case ExprNode::Kind::Paren:
      EvalNode(text, *node.left, out);
      if (errorCode_ == 0 && node.op == 2) Fail(node.error);
      return;
    case ExprNode::Kind::Prefix: {
      EvalNode(text, *node.left, out);
      if (errorCode_ != 0 || node.op == tkPlus) return;
      ScriptValue result;
      const bool ok = node.op == tkMinus ? Negate(out, result) : LogicalNot(out, result);
      if (!ok) {
        Fail(Msg::InvalidOperandTypes, {TokenTableText(node.op)});
        return;
      }
      out = std::move(result);
      return;
    }
    case ExprNode::Kind::Variable:
      EvalVariable(text, node, out);
      return;
    case ExprNode::Kind::Call:
      CallRoutine(text, node, out);
      return;
    default:
      EvalNode(text, node, out);
      return;
  }
}

void TPasCalc::EvalName(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  if (node.varStamp == vars_.stamp() && node.varSlot == ExprNode::kNoRecord &&
      node.decidedFuncs == funcs_.version() && node.decidedProcs == procs_.version() &&
      !node.decidedCall) {
    // No variable of this name, as last time: a property path.
    if (!ReadPath(env_, env_.Current(), node.name, &vars_, out, &node.path))
      Fail(Msg::VariableNotFound, {node.name});
    return;
  }
  if (node.decidedFuncs != funcs_.version() || node.decidedProcs != procs_.version()) {
    node.decidedCall = IsRoutineName(node.name);
    node.decidedFuncs = funcs_.version();
    node.decidedProcs = procs_.version();
  }
  if (node.decidedCall) CallRoutine(text, node, out);
  else EvalVariable(text, node, out);
}

bool TPasCalc::EvalIndexList(const TokenText& text, IndexList& list, std::string& out) {
  if (!list.closed) {
    Fail(Msg::BracketCloseExpected);
    return false;
  }
  out.clear();
  for (size_t i = 0; i < list.parts.size(); ++i) {
    ExprUnit& part = list.parts[i];
    ScriptValue v;
    if (!EvaluateUnit(text, part, v)) {
      Fail(Msg::ErrorInExpressionPart, {text.Spaced(part.span)});
      return false;
    }
    int32_t n;
    if (!ToInt32(v, n)) {
      Fail(Msg::InvalidIndex, {text.Spaced(part.span)});
      return false;
    }
    if (i > 0) out.push_back(',');
    out += std::to_string(n);
  }
  return true;
}

bool TPasCalc::EvalSingleIndex(const TokenText& text, IndexList& list, int32_t& out) {
  if (!list.closed) {
    Fail(Msg::BracketCloseExpected);
    return false;
  }
  ExprUnit& part = list.parts[0];
  ScriptValue v;
  if (!EvaluateUnit(text, part, v)) {
    Fail(Msg::ErrorInExpressionPart, {text.Spaced(part.span)});
    return false;
  }
  if (v.kind() == ValueKind::Integer) {
    out = static_cast<int32_t>(v.whole());
    return true;
  }
  if (!ToInt32(v, out)) {
    Fail(Msg::InvalidIndex, {text.Spaced(part.span)});
    return false;
  }
  return true;
}

bool TPasCalc::ReadCharIndex(const std::string& index, size_t length, size_t& position) {
  if (index.empty()) {
    Fail(Msg::EmptyStringIndex);
    return false;
  }
  if (index.find(',') != std::string::npos) {
    Fail(Msg::InvalidStringIndex);
    return false;
  }
  int64_t n;
  if (!ParseDecimalInteger(index, n)) {
    Fail(Msg::InvalidStringIndexValue, {index});
    return false;
  }
  if (n < 1 || static_cast<uint64_t>(n) > length) {
    Fail(Msg::StringIndexRange, {index});
    return false;
  }
  position = static_cast<size_t>(n);
  return true;
}

void TPasCalc::EvalVariable(const TokenText& text, const ExprNode& node, ScriptValue& out) {
  std::string first, second;
  const std::string& name = node.name;
  if (IsSingleIndex(node.index1.get(), node.index2.get())) {
    // A[I]: the element is found by its integer index, no name is built.
    int32_t index;
    if (!EvalSingleIndex(text, *node.index1, index)) return;
    // Whether A is a plain variable, and where its elements are indexed,
    // as long as the list keeps its layout.
    if (node.varStamp != vars_.stamp()) {
      node.varStamp = vars_.stamp();
      node.varSlot = vars_.IndexOf(name);
      node.elements = node.varSlot >= 0 ? nullptr : vars_.ElementsOf(name);
    }
    if (node.varSlot < 0) {
      const int slot = TVarList::IndexIn(node.elements, index);
      if (slot >= 0) {
        out = vars_[static_cast<size_t>(slot)].Value;
        return;
      }
    }
    first = std::to_string(index);
  } else if (node.index1 && !EvalIndexList(text, *node.index1, first)) {
    return;
  }
  if (node.index2 && !EvalIndexList(text, *node.index2, second)) return;
  bool arrayIndex = node.index1 != nullptr;
  bool charIndex = node.index2 != nullptr;
  const std::string* charText = &second;
  if (arrayIndex && !charIndex && vars_.Exists(name)) {
    arrayIndex = false;
    charIndex = true;
    charText = &first;
  }
  std::string indexed;
  const std::string* lookup = &name;
  if (arrayIndex) {
    if (vars_.Exists(name)) {
      Fail(Msg::SameNameVariable, {name});
      return;
    }
    indexed = name + "[" + first + "]";
    lookup = &indexed;
  } else if (!(!node.index1 && PlainNameCacheHolds(node)) && vars_.HasArray(name)) {
    Fail(Msg::SameNameArray, {name});
    return;
  }
  int slot;
  if (!node.index1 && PlainNameCacheHolds(node)) {
    slot = node.varSlot;
  } else {
    slot = vars_.IndexOfHinted(*lookup, node.slotHint);
    if (!node.index1) {
      node.varStamp = slot >= 0 ? vars_.positionsStamp() : vars_.stamp();
      node.varSlot = slot >= 0 ? slot : ExprNode::kNoRecord;
    }
  }
  if (slot >= 0) {
    out = vars_[static_cast<size_t>(slot)].Value;
  } else if (!ReadPath(env_, env_.Current(), *lookup, &vars_, out)) {
    Fail(Msg::VariableNotFound, {*lookup});
    return;
  }
  if (!charIndex) return;
  if (!out.IsStringLike()) {
    Fail(Msg::InvalidVariableType, {*lookup});
    return;
  }
  size_t position;
  if (!ReadCharIndex(*charText, out.text().size(), position)) return;
  out = ScriptValue::String(std::string(1, out.text()[position - 1]));
}

}  // namespace lum
