#pragma once
// What reading the token text produces, kept so that it is read only once:
// expression trees, statement boundaries and statement parts. Everything is
// built lazily, the first time the interpreter reaches it, so that a fault
// in a branch that never runs is never reported, exactly as when the text
// is re-read on every pass.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "script/messages.h"
#include "script/paths.h"
#include "script/tokens.h"
#include "script/value.h"
#include "script/var_list.h"

namespace lum {

struct Span {
  uint32_t begin = 0;
  uint32_t end = 0;
  bool empty() const { return begin >= end; }
  uint32_t size() const { return empty() ? 0 : end - begin; }
};

struct ExprNode;
struct TFunc;
struct TProcedure;
using ArrayElements = TVarList::ElementIndex;

// The tokens of one Evaluate call and their tree.
struct ExprUnit {
  Span span;
  bool compiled = false;
  // Whether the quick forms may evaluate the tree: never (not compiled,
  // or something left over after it), always (no routine name can make it
  // read otherwise), or while the routine lists are those under which the
  // assumptions below were last found to hold.
  enum class Quick : uint8_t { Never, Always, WhileAssumed };
  Quick quick = Quick::Never;
  uint64_t assumedFuncs = 0, assumedProcs = 0;
  std::unique_ptr<ExprNode> root;
  uint32_t trailing = 0;  // tokens left after the expression
  uint32_t depth = 0;     // deepest nesting of the tree
  bool simpleShape = false;  // a form EvaluateSimple may take
  // Names followed by '[' parse differently when they name a routine; the
  // tree is valid while each listed name still is (or is not) one.
  std::vector<std::pair<std::string, bool>> routineAssumptions;
};

// "[ part, part ]" after a name.
struct IndexList {
  Span inner;
  bool closed = true;
  std::vector<ExprUnit> parts;
};

struct CallArg {
  ExprUnit unit;
  std::string joined;      // tokens joined without blanks
  bool namesVariable = false;  // joined text is a valid variable name
  // Position of the variable `joined` names in the list of `varStamp`, or -1.
  uint64_t varStamp = 0;
  int32_t varSlot = -1;
};

struct ExprNode {
  enum class Kind : uint8_t { Constant, Error, Prefix, Binary, Name, Variable, Call, Paren };
  // What every evaluation reads comes first, so that a constant or a cached
  // variable is read from one cache line.
  Kind kind = Kind::Constant;
  uint8_t op = 0;
  // Whether a bare name is a call, for the routine lists of the stamps
  // `decidedFuncs` and `decidedProcs` below.
  mutable bool decidedCall = false;
  mutable bool boundIsProcedure = false;
  bool singleIndex = false;  // A[one index], the bracket closed
  // Caches, each valid while the stamps it was made under still hold
  // (stamps are unique, so they also tell interpreters and lists apart).
  // What a plain name (no index) is in the variable list of `varStamp`:
  // a position, or kNoRecord when no record has the name and no array
  // uses it as its base (it is then read as a property path).
  static constexpr int32_t kNoRecord = -1;
  static constexpr int32_t kUnknown = -2;
  mutable int32_t varSlot = kUnknown;
  mutable uint64_t varStamp = 0;
  mutable uint64_t decidedFuncs = 0, decidedProcs = 0;
  ScriptValue constant;
  std::unique_ptr<ExprNode> left, right;

  Msg error = Msg::ErrorInExpression;
  bool argsUnbalanced = false;
  std::string errorArg;
  std::string name;
  std::unique_ptr<IndexList> index1, index2;
  mutable std::vector<CallArg> args;  // compiled on first evaluation
  std::string argsSpaced;
  mutable uint32_t slotHint = 0;
  // For A[I]: under `varStamp`, `varSlot` tells whether A is a plain
  // variable and this is the list's index of the elements of A (or null).
  mutable const ArrayElements* elements = nullptr;
  // A plain name read as a property path: its last name's handle.
  mutable PathHandle path;
  // The routine or procedure a call reached, for the same list stamps.
  mutable uint64_t boundFuncs = 0, boundProcs = 0;
  mutable const TFunc* boundNative = nullptr;  // the routine list keeps it alive
  // Weak: a recursive procedure's body holds calls to the procedure itself.
  mutable std::weak_ptr<TProcedure> boundProcedure;
};

struct ReadFailure {
  Msg msg;
  Span partial;
};

struct StatementPlan;

struct Statement {
  Span span;
  Span proper;  // after the label
  bool hasLabel = false;
  std::string label;
  std::unique_ptr<StatementPlan> plan;
};

// A run of statements as ExecuteBlock reads them.
struct Block {
  Span span;
  bool scanned = false;
  // One statement without a label and nothing after it (most loop bodies
  // and IF branches): no jump can land in the block.
  bool single = false;
  // No statement and nothing to report (an IF without ELSE).
  bool empty = false;
  std::vector<Statement> statements;
  std::optional<ReadFailure> failure;  // met when reading past the last one
};

struct CaseLabel {
  ExprUnit low, high;
  bool range = false;
};

struct CaseItem {
  enum class Kind : uint8_t { Branch, Else, End, Fail } kind = Kind::End;
  std::vector<CaseLabel> labels;
  std::unique_ptr<Block> body;
  Msg failure = Msg::ErrorInCase;
  Span failureSource;
};

struct StatementPlan {
  enum class Kind : uint8_t {
    Fail, Empty, Assign, Begin, If, For, While, Repeat, Case, Jump, Goto
  };
  Kind kind = Kind::Empty;
  // Fail (also the static faults of other kinds, reported at `failAt`).
  Msg failMsg = Msg::ErrorInExpression;
  std::string failArg;
  int failAt = 0;  // stage of the statement at which the fault shows
  // Assign and call.
  std::string target;
  bool targetValid = false;  // IsValidName(target)
  bool targetDotted = false;  // the target holds a point: a property path
  // NAME[one index] := ..., NAME a valid name without a point: may be
  // stored by StoreElementQuickly.
  bool plainElement = false;
  std::unique_ptr<IndexList> index1, index2;
  bool assign = false;
  // Expressions: value, condition, selector, FOR start.
  ExprUnit expr, expr2;
  // Bodies: BEGIN, loop bodies, then-part.
  Block body, elseBody;
  std::optional<ReadFailure> readFailure;
  bool downto = false;
  uint8_t jump = 0;
  uint32_t slotHint = 0;  // where the assigned or counted variable was last found
  // Position of the plain assigned or counted variable in the list of
  // `varStamp` (valid only when the stamp still holds).
  uint64_t varStamp = 0;
  uint32_t varSlot = 0;
  PathHandle path;  // a plain target written as a property path
  // NAME := NAME + step (or - step), NAME a property path: once the
  // expression is compiled, whether it has that form, in which case the
  // property is read and written through the target's path cell alone.
  enum class Update : uint8_t { Unread, No, InPlace };
  Update update = Update::Unread;
  std::string label;
  std::vector<CaseItem> items;
};

// A decoded token text with everything read from it so far.
class TokenText {
 public:
  explicit TokenText(std::string_view encoded);
  const std::vector<Token>& tokens() const { return tokens_; }
  const Token* at(uint32_t i) const { return tokens_.data() + i; }
  Span all() const { return Span{0, static_cast<uint32_t>(tokens_.size())}; }
  Block& main() { return main_; }
  ExprUnit& expression() { return expression_; }  // the whole text as one expression
  std::string Spaced(Span s) const;
  std::string Encoded(Span s) const;

 private:
  std::vector<Token> tokens_;
  Block main_;
  ExprUnit expression_;
};

// Statement boundaries: from `pos`, up to a ';' (or ELSE) met while the
// BEGIN/CASE..END and REPEAT..UNTIL balances are zero.
struct StatementCut {
  bool found = false;  // false at the end of the text
  Span statement;
  uint32_t next = 0;
  std::optional<Msg> failure;
  uint8_t terminator = tkEndOfText;
};
// Works on any list of tokens with a `code` (read tokens, token spans).
template <class TokenList>
StatementCut ReadStatement(const TokenList& tokens, uint32_t pos, uint32_t end, bool elseEnds) {
  StatementCut cut;
  while (pos < end && tokens[pos].code == tkSemicolon) ++pos;
  if (pos >= end) {
    cut.next = end;
    return cut;
  }
  cut.found = true;
  int blocks = 0, repeats = 0;
  for (uint32_t i = pos; i < end; ++i) {
    const uint8_t code = tokens[i].code;
    if ((code == tkSemicolon || (elseEnds && code == tkElse)) && blocks == 0 && repeats == 0) {
      cut.statement = Span{pos, i};
      cut.next = i + 1;
      cut.terminator = code;
      return cut;
    }
    if (code == tkBegin || code == tkCase) ++blocks;
    else if (code == tkEnd) --blocks;
    else if (code == tkRepeat) ++repeats;
    else if (code == tkUntil) --repeats;
  }
  cut.statement = Span{pos, end};
  cut.next = end;
  if (blocks > 0) cut.failure = Msg::EndExpected;
  else if (blocks < 0) cut.failure = Msg::TooManyEnd;
  else if (repeats > 0) cut.failure = Msg::UntilExpected;
  else if (repeats < 0) cut.failure = Msg::TooManyUntil;
  return cut;
}


// First token with this code in the span at any nesting, or span.end.
uint32_t FindToken(const std::vector<Token>& tokens, Span span, uint8_t code);

}  // namespace lum
