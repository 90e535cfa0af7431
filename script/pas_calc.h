#pragma once
// One script interpreter: its variables, routine and procedure registries,
// the run state of statements and the first error of a run.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/compiled.h"
#include "script/environment.h"
#include "script/func_list.h"
#include "script/operators.h"
#include "script/procedures.h"
#include "script/var_list.h"

namespace lum {

class TPasCalc {
 public:
  explicit TPasCalc(ScriptEnvironment& env);
  TPasCalc(const TPasCalc&) = delete;
  TPasCalc& operator=(const TPasCalc&) = delete;

  ScriptEnvironment& Environment() { return env_; }
  TVarList& Variables() { return vars_; }
  TFuncList& Functions() { return funcs_; }
  TProcList& Procedures() { return procs_; }

  bool AddFunction(std::string_view name, NativeRoutine routine) {
    return funcs_.AddFunction(name, std::move(routine));
  }

  // Tokenises (or takes encoded text as it is), collects procedures and
  // include files, and returns the main code. False when an error was met.
  bool Prepare(std::string_view source, std::string& mainText);
  PreparedScript PrepareScript(std::string_view source);
  // Runs main code; the procedure list is emptied first. The prepared form
  // brings its own procedures back.
  bool Run(std::string_view mainText);
  bool Run(const PreparedScript& script);
  void ExecuteBlock(std::string_view encoded);
  bool Evaluate(std::string_view encoded, TVar& result);

  bool ReadVariable(std::string_view name, TVar& out);
  bool WriteVariable(std::string_view name, const ScriptValue& value);
  bool SetVariable(const TVar& var) { return vars_.SetOrAdd(var, &env_); }
  int VariableIndex(std::string_view name) const { return vars_.IndexOf(name); }

  // Records the first error of a run (source is encoded token text) and
  // logs it while the SaveErr switch is on.
  void ReportError(std::string_view message, std::string_view sourceEncoded, int code);
  // A native routine's reason for returning false.
  void SetRoutineFailure(std::string message) { routineFailure_ = std::move(message); }

  int ErrorCode() const { return errorCode_; }
  const std::string& ErrorMessage() const { return errorMessage_; }
  const std::string& ErrorSource() const { return errorSource_; }
  int BlockDepth() const { return blockDepth_; }
  uint8_t PendingJump() const { return pendingJump_; }
  const std::string& TargetLabel() const { return targetLabel_; }

  // Ends a run with an error after this many statements and loop passes;
  // 0 (the default) takes the budget shared by the pool's environment.
  void SetStatementLimit(uint64_t limit) {
    statementLimit_ = limit;
    statementCap_ = 0;
  }
  // Statements and loop passes of the current (or last) run.
  uint64_t StatementsRun() const { return statementsRun_; }
  static constexpr int kMaxCallDepth = 200;
  static constexpr int kMaxIncludeDepth = 16;

 private:
  friend class RecursionGuard;
  struct Context {
    const TokenText* text = nullptr;
    Span span;
  };

  void ResetErrorState();
  void Fail(Msg id, std::initializer_list<std::string_view> args = {});
  void ReportSpaced(std::string message, std::string spaced, int code);
  std::shared_ptr<TokenText> Cached(std::string_view encoded);

  // Expressions (expr_eval.cpp).
  // Most expressions are a constant, a variable, or an integer operator on
  // two of them: nothing there can fail or have effects, so they are
  // evaluated here, inline and without the error context; anything unusual
  // (a kind other than Integer, an overflow, a name not cached) goes the
  // full way.
  bool EvaluateUnit(const TokenText& text, ExprUnit& unit, ScriptValue& out) {
    if (TreeHolds(unit) && errorCode_ == 0 &&
        env_.recursionUsed + static_cast<int>(unit.depth) + 1 <= env_.recursionLimit &&
        ((unit.simpleShape && EvaluateSimple(*unit.root, out)) || EvaluateQuickForms(*unit.root, out)))
      return true;
    return EvaluateUnitFully(text, unit, out);
  }
  // What a plain name (no index) was found to be still holds: a position
  // while no record before it moved, an absence while the list is the same.
  bool PlainNameCacheHolds(const ExprNode& node) const {
    return node.varSlot >= 0 ? node.varStamp == vars_.positionsStamp()
                             : node.varSlot == ExprNode::kNoRecord && node.varStamp == vars_.stamp();
  }
  // The same forms where an operand is a name read as a property path
  // before (one name, or two) and the path's short way finds it again, an
  // array element A[I] read before, or a call of a routine with a shortcut
  // on simple arguments that the shortcut takes; false (nothing reported,
  // nothing changed) for everything else.
  [[gnu::flatten]] bool EvaluateQuickForms(const ExprNode& node, ScriptValue& out);
  bool QuickPathRead(const ExprNode& node, ScriptValue& out);
  bool QuickCall(const ExprNode& node, ScriptValue& out);
  // An argument or index evaluated inside a quick form: the full way would
  // evaluate it under the guard of the expression around it, which is at
  // most this deep, so it is evaluated quickly only where that guard and
  // its own would both pass.
  static constexpr int kQuickFormDepth = 3;
  bool WithinNestingLimit(const ExprUnit& inner) const {
    return env_.recursionUsed + kQuickFormDepth + static_cast<int>(inner.depth) + 1 <= env_.recursionLimit;
  }
  const ScriptValue* QuickElement(const ExprNode& node);
  // A simple operand, or one of the quick forms above (in `scratch` unless
  // it is a value held elsewhere); null for anything else.
  const ScriptValue* QuickOperand(const ExprNode& node, ScriptValue& scratch);
  bool EvaluateUnitFully(const TokenText& text, ExprUnit& unit, ScriptValue& out);
  // The unit's tree is whole and reads as it did for the routine lists as
  // they are now.
  bool TreeHolds(const ExprUnit& unit) const {
    return unit.quick == ExprUnit::Quick::Always ||
           (unit.quick == ExprUnit::Quick::WhileAssumed && unit.assumedFuncs == funcs_.version() &&
            unit.assumedProcs == procs_.version());
  }
  bool AssumptionsHold(const ExprUnit& unit) const;
  // A constant, a cached variable, or an integer operator on two of them;
  // false (with `out` untouched) for everything else.
  [[gnu::always_inline]] const ScriptValue* SimpleOperand(const ExprNode& node) const {
    if (node.kind == ExprNode::Kind::Constant) return &node.constant;
    if (node.kind == ExprNode::Kind::Name && node.varSlot >= 0 &&
        node.varStamp == vars_.positionsStamp() &&
        node.decidedFuncs == funcs_.version() && node.decidedProcs == procs_.version() &&
        !node.decidedCall)
      return &vars_[static_cast<size_t>(node.varSlot)].Value;
    return nullptr;
  }

  [[gnu::always_inline]] bool EvaluateSimple(const ExprNode& node, ScriptValue& out) const {
    if (node.kind == ExprNode::Kind::Binary) {
      const ScriptValue* a = SimpleOperand(*node.left);
      const ScriptValue* b = a != nullptr ? SimpleOperand(*node.right) : nullptr;
      return b != nullptr && a->kind() == ValueKind::Integer && b->kind() == ValueKind::Integer &&
             IntegerBinary(node.op, static_cast<int32_t>(a->whole()), static_cast<int32_t>(b->whole()),
                           out);
    }
    if (node.kind == ExprNode::Kind::Prefix && node.op == tkMinus) {
      // -I of an integer other than the lowest, which leaves 32 bits.
      const ScriptValue* v = SimpleOperand(*node.left);
      if (v == nullptr || v->kind() != ValueKind::Integer || v->whole() == INT32_MIN) return false;
      out = ScriptValue::Integer(static_cast<int32_t>(-v->whole()));
      return true;
    }
    const ScriptValue* v = SimpleOperand(node);
    if (v == nullptr) return false;
    out = *v;
    return true;
  }
  // An index that EvaluateSimple reads as an integer; a name or a constant
  // is read where it is held.
  [[gnu::always_inline]] bool SimpleIntegerIndex(const ExprNode& root, int32_t& out) const {
    const ScriptValue* v = SimpleOperand(root);
    ScriptValue computed;
    if (v == nullptr) {
      if (!EvaluateSimple(root, computed)) return false;
      v = &computed;
    }
    if (v->kind() != ValueKind::Integer) return false;
    out = static_cast<int32_t>(v->whole());
    return true;
  }
  bool EvaluateReread(const TokenText& text, const ExprUnit& unit, ScriptValue& out);
  void EvalNode(const TokenText& text, const ExprNode& node, ScriptValue& out);
  void EvalBinary(const TokenText& text, const ExprNode& node, ScriptValue& out);
  void EvalOther(const TokenText& text, const ExprNode& node, ScriptValue& out);
  void EvalName(const TokenText& text, const ExprNode& node, ScriptValue& out);
  void EvalVariable(const TokenText& text, const ExprNode& node, ScriptValue& out);
  bool EvalIndexList(const TokenText& text, IndexList& list, std::string& out);
  // One index and no character index: the form arrays are read with.
  static bool IsSingleIndex(const IndexList* index1, const IndexList* index2) {
    return index1 != nullptr && index2 == nullptr && index1->parts.size() == 1;
  }
  bool EvalSingleIndex(const TokenText& text, IndexList& list, int32_t& out);
  bool ReadCharIndex(const std::string& index, size_t length, size_t& position);
  void Translate(ScriptValue& v) const;
  bool IsRoutineName(std::string_view name) const;

  // Calls (calls.cpp).
  bool CallRoutine(const TokenText& text, const ExprNode& node, ScriptValue& out);
  bool CallUser(const TokenText& text, TProcedure& proc, std::vector<CallArg>& args,
                ScriptValue& out);
  bool CallNative(const TokenText& text, const std::string& name, const TFunc* func,
                  std::vector<CallArg>& args, ScriptValue& out);

  // Statements (statements.cpp, loops.cpp).
  // A block of one statement (most loop bodies and IF branches) runs here,
  // inline; a pending jump is checked out of line, as the full way would.
  // An empty block without a pending jump has nothing to do.
  void RunBlock(const TokenText& text, Block& block) {
    const bool fits = env_.recursionUsed + kBlockUnits <= env_.recursionLimit;
    if (block.empty && fits && pendingJump_ == 0) return;
    if (!block.single || !fits) {
      RunBlockFully(text, block);
      return;
    }
    env_.recursionUsed += kBlockUnits;
    ++blockDepth_;
    if (errorCode_ == 0) RunStatement(text, block.statements[0]);
    if (pendingJump_ != 0) EndSingleBlockWithJump(text, block);
    else --blockDepth_;
    env_.recursionUsed -= kBlockUnits;
  }
  static constexpr int kBlockUnits = 4;  // a block's share of the nesting limit
  void RunBlockFully(const TokenText& text, Block& block);
  void EndSingleBlockWithJump(const TokenText& text, Block& block);
  // An assignment read before (most loop bodies) runs here, inline;
  // everything else in RunStatementFully, in the same order of steps.
  void RunStatement(const TokenText& text, Statement& statement) {
    StatementPlan* plan = statement.plan.get();
    if (plan == nullptr || plan->kind != StatementPlan::Kind::Assign) {
      RunStatementFully(text, statement);
      return;
    }
    if (!CountStatement()) return;
    const Context saved = context_;
    context_ = Context{&text, statement.span};
    if (plan->index1) RunAssign(text, *plan);
    else RunPlainAssign(text, *plan);
    context_ = saved;
  }
  void RunStatementFully(const TokenText& text, Statement& statement);
  void RunAssign(const TokenText& text, StatementPlan& plan);
  void RunIndexedAssign(const TokenText& text, StatementPlan& plan);
  // A[I] := value, the index and the value simple forms and A an array of
  // the list (or no name yet): the steps of RunAssign in one place. False,
  // with nothing done, for anything else.
  // `taken`, when given, keeps whether the current element may take the
  // names of new elements, from one store to the next of a run of them.
  enum class NamesTaken : uint8_t { Unknown, Maybe, Never };
  bool StoreElementQuickly(StatementPlan& plan, NamesTaken* taken = nullptr);
  [[gnu::flatten]] void RunPlainAssign(const TokenText& text, StatementPlan& plan);
  bool AssignedValue(const TokenText& text, StatementPlan& plan, ScriptValue& value);
  bool UpdateInPlace(StatementPlan& plan);
  bool UpdateVariableInPlace(StatementPlan& plan);
  static void ReadUpdateForm(StatementPlan& plan);
  void AssignCharacter(const std::string& name, const std::string& index, const ScriptValue& value);
  void RunIf(const TokenText& text, StatementPlan& plan);
  void RunFor(const TokenText& text, StatementPlan& plan);
  enum class Passes { Ended, Usual };
  bool PlannedAssignment(const Block& body) const;
  Passes RunAssignmentPasses(const TokenText& text, StatementPlan& loop, int64_t& counter, int64_t end);
  void RunWhile(const TokenText& text, StatementPlan& plan);
  void RunRepeat(const TokenText& text, StatementPlan& plan);
  void RunCase(const TokenText& text, StatementPlan& plan);
  bool CaseLabelMatches(const TokenText& text, CaseLabel& label, const ScriptValue& selector,
                        bool& matched);
  // After a loop body: false when the loop must end. Inline for the pass
  // without a jump; BREAK, CONTINUE and the rest in LoopContinuesAfterJump.
  bool LoopContinues() { return pendingJump_ == 0 ? errorCode_ == 0 : LoopContinuesAfterJump(); }
  bool LoopContinuesAfterJump();
  // Counts a statement or loop pass; false (with the error) past the limit.
  // Past `statementCap_` the limit is looked up again (and the cap raised
  // to it); the cap starts at 0 on every entry, so a limit changed between
  // runs is always seen.
  bool CountStatement() { return ++statementsRun_ <= statementCap_ || !StatementLimitReached(); }
  bool StatementLimitReached();

  // Preparation (prepare.cpp).
  void Collect(std::string_view encoded, std::string& main, int includeDepth);
  size_t includedBytes_ = 0;  // of the script being prepared

  ScriptEnvironment& env_;
  TVarList vars_;
  Context context_;
  int blockDepth_ = -1;
  uint8_t pendingJump_ = 0;
  std::string targetLabel_;
  TFuncList funcs_;
  TProcList procs_;
  std::string lastSource_;
  std::string lastTokens_;
  // Buffers that preparing a script reuses.
  std::string normalisedScratch_;
  std::vector<TokenSpan> spanScratch_;
  int errorCode_ = 0;
  std::string errorMessage_;
  std::string errorSource_;

  std::string routineFailure_;
  // An argument naming a variable: its parameter and where the variable
  // was found, for writing the parameter back after the call.
  struct VarTarget {
    size_t arg;
    uint64_t stamp;
    uint32_t slot;
  };
  struct ParamFrame {
    TVarList params;
    std::vector<VarTarget> targets;
  };
  std::vector<std::unique_ptr<ParamFrame>> paramFrames_;
  // Calls with at most this many arguments may take a routine's shortcut.
  static constexpr size_t kShortcutArgs = 4;
  // Evaluates argument `position` and says whether it names a variable
  // (and where); false with the error reported.
  bool EvaluateArgument(const TokenText& text, CallArg& arg, size_t position, ScriptValue& value,
                        VarTarget& target, bool& isVariable);
  // A variable passed to a routine takes the parameter's final value.
  void WriteBack(const VarTarget& target, const std::string& name, const ScriptValue& value);
  size_t nativeDepth_ = 0;
  int callDepth_ = 0;
  uint64_t statementsRun_ = 0;
  uint64_t statementLimit_ = 0;
  uint64_t statementCap_ = 0;
  std::unordered_map<std::string, std::shared_ptr<TokenText>> textCache_;
};

// Charges the shared recursion budget for the lifetime of a scope.
class RecursionGuard {
 public:
  RecursionGuard(ScriptEnvironment& env, int units) : env_(env), units_(units) {
    env_.recursionUsed += units_;
  }
  ~RecursionGuard() { env_.recursionUsed -= units_; }
  bool exceeded() const { return env_.recursionUsed > env_.recursionLimit; }

 private:
  ScriptEnvironment& env_;
  int units_;
};

}  // namespace lum
