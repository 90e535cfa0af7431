#include "script/expr_compile.h"

#include <algorithm>

#include "script/var_list.h"

namespace lum {

namespace {

constexpr uint32_t kMaxTreeDepth = 200;

using NodePtr = std::unique_ptr<ExprNode>;

bool IsLevelOperator(int level, uint8_t code) {
  switch (level) {
    case 1: return code == tkOr || code == tkXor;
    case 2: return code == tkAnd;
    case 3:
      return code == tkEqual || code == tkNotEqual || code == tkGreater || code == tkLess ||
             code == tkGreaterEqual || code == tkLessEqual;
    case 4: return code == tkPlus || code == tkMinus;
    case 5: return code == tkStar || code == tkSlash;
    default: return code == tkCaret || code == tkShl || code == tkShr;
  }
}

class Parser {
 public:
  Parser(const TokenText& text, ExprUnit& unit, const RoutineCheck& isRoutine)
      : text_(text), unit_(unit), isRoutine_(isRoutine), pos_(unit.span.begin), end_(unit.span.end) {}

  void Run() {
    NodePtr root = Level(1);
    unit_.depth = Depth(root);
    unit_.trailing = aborted_ ? 0 : end_ - pos_;
    unit_.root = std::move(root);
    unit_.compiled = true;
  }

 private:
  uint8_t Code() const { return pos_ < end_ ? text_.at(pos_)->code : uint8_t{tkEndOfText}; }
  const std::string& Text() const { return pos_ < end_ ? text_.at(pos_)->text : empty_; }

  // Depth is kept in slotHint while reading; it is reset before use.
  static uint32_t Depth(const NodePtr& n) { return n ? n->slotHint : 0; }
  NodePtr Make(ExprNode::Kind kind, uint32_t depth) {
    auto n = std::make_unique<ExprNode>();
    n->kind = kind;
    n->slotHint = depth;
    return n;
  }
  NodePtr Error(Msg msg, std::string arg = {}) {
    aborted_ = true;
    NodePtr n = Make(ExprNode::Kind::Error, 1);
    n->error = msg;
    n->errorArg = std::move(arg);
    return n;
  }

  NodePtr Level(int level) {
    if (level == 7) return Prefixed();
    NodePtr left = Level(level + 1);
    while (!aborted_ && IsLevelOperator(level, Code())) {
      const uint8_t op = Code();
      ++pos_;
      NodePtr right = Level(level + 1);
      const uint32_t depth = std::max(Depth(left), Depth(right)) + 1;
      NodePtr n = Make(ExprNode::Kind::Binary, depth);
      n->op = op;
      n->left = std::move(left);
      n->right = std::move(right);
      left = std::move(n);
      if (depth > kMaxTreeDepth) return Error(Msg::NestingTooDeep);
    }
    return left;
  }

  NodePtr Prefixed() {
    const uint8_t code = Code();
    if (code != tkNot && code != tkPlus && code != tkMinus) return Primary();
    ++pos_;
    NodePtr operand = Primary();
    NodePtr n = Make(ExprNode::Kind::Prefix, Depth(operand) + 1);
    n->op = code;
    n->left = std::move(operand);
    return n;
  }

  NodePtr Primary() {
    const uint8_t code = Code();
    if (code == tkTrue || code == tkFalse) {
      NodePtr n = Make(ExprNode::Kind::Constant, 1);
      n->constant = ScriptValue::Boolean(code == tkTrue);
      ++pos_;
      return n;
    }
    if (code == tkOpenParen) return Parenthesised();
    if (code == tkLiteral) return Literal();
    if (code == tkIdentifier) return Identifier();
    return Error(Msg::UnknownOperator, Text());
  }

  NodePtr Parenthesised() {
    ++pos_;
    if (++parens_ > static_cast<int>(kMaxTreeDepth / 4)) return Error(Msg::NestingTooDeep);
    NodePtr inner = Level(1);
    --parens_;
    NodePtr n = Make(ExprNode::Kind::Paren, Depth(inner) + 1);
    n->left = std::move(inner);
    if (aborted_) {
      n->op = 1;
      return n;
    }
    if (Code() == tkCloseParen) {
      ++pos_;
      n->op = 1;
    } else {
      n->op = 2;
      n->error = Msg::ParenExpected;
      aborted_ = true;
    }
    return n;
  }

  NodePtr Literal() {
    const std::string& t = Text();
    ++pos_;
    const auto first = static_cast<unsigned char>(t[0]);
    NodePtr n = Make(ExprNode::Kind::Constant, 1);
    if (IsQuoteChar(first)) {
      if (t.size() == 1 || !IsQuoteChar(static_cast<unsigned char>(t.back())))
        return Error(Msg::UnterminatedString, t);
      n->constant = first == '"' ? ScriptValue::String(t) : ScriptValue::String(t.substr(1, t.size() - 2));
      return n;
    }
    if (!(first >= '0' && first <= '9')) return Error(Msg::UnknownOperator, t);
    std::string number = t;
    for (char& c : number) {
      if (c == ',') c = '.';
      else if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-')) return Error(Msg::InvalidNumber, t);
    }
    int64_t whole;
    if (number.find('.') == std::string::npos && ParseDecimalInteger(number, whole)) {
      if (whole > -2147483647 && whole < 2147483647) n->constant = ScriptValue::Integer(static_cast<int32_t>(whole));
      else n->constant = ScriptValue::Real(static_cast<double>(whole));
      return n;
    }
    double real;
    if (!ParseDecimalReal(number, real)) return Error(Msg::InvalidNumber, t);
    n->constant = ScriptValue::Real(real);
    return n;
  }

  NodePtr Identifier() {
    const std::string& name = Text();
    ++pos_;
    if (Code() == tkOpenParen) return Call(name);
    NodePtr n = Make(ExprNode::Kind::Name, 1);
    n->name = name;
    if (Code() != tkOpenBracket) return n;
    // A routine name takes no index: the bracket is left as a stray token.
    const bool routine = isRoutine_(name);
    unit_.routineAssumptions.emplace_back(name, routine);
    if (routine) return n;
    n->kind = ExprNode::Kind::Variable;
    n->index1 = ReadIndexList(text_, pos_, end_);
    if (!n->index1->closed) {
      aborted_ = true;
      return n;
    }
    if (Code() == tkOpenBracket) {
      n->index2 = ReadIndexList(text_, pos_, end_);
      if (!n->index2->closed) aborted_ = true;
    }
    n->singleIndex = !n->index2 && n->index1->parts.size() == 1;
    return n;
  }

  NodePtr Call(const std::string& name) {
    NodePtr n = Make(ExprNode::Kind::Call, 1);
    n->name = name;
    const uint32_t open = pos_;
    int depth = 0;
    uint32_t close = end_;
    for (uint32_t i = open; i < end_; ++i) {
      const uint8_t c = text_.at(i)->code;
      if (c == tkOpenParen) ++depth;
      else if (c == tkCloseParen && --depth == 0) {
        close = i;
        break;
      }
    }
    if (close == end_) {
      n->argsUnbalanced = true;
      n->argsSpaced = text_.Spaced(Span{open + 1, end_});
      pos_ = end_;
      aborted_ = true;
      return n;
    }
    for (const Span& s : SplitAtCommas(text_, Span{open + 1, close}, false)) {
      CallArg arg;
      arg.unit.span = s;
      for (uint32_t i = s.begin; i < s.end; ++i) arg.joined += text_.at(i)->text;
      arg.namesVariable = IsValidName(arg.joined);
      n->args.push_back(std::move(arg));
    }
    pos_ = close + 1;
    return n;
  }

  const TokenText& text_;
  ExprUnit& unit_;
  const RoutineCheck& isRoutine_;
  uint32_t pos_, end_;
  bool aborted_ = false;
  int parens_ = 0;
  const std::string empty_;
};

void ResetHints(ExprNode* n) {
  // Iterative over the left spine keeps this safe for long operator chains.
  while (n != nullptr) {
    n->slotHint = 0;
    if (n->right) ResetHints(n->right.get());
    n = n->left.get();
  }
}

}  // namespace

std::vector<Span> SplitAtCommas(const TokenText& text, Span span, bool bracketsNest) {
  std::vector<Span> parts;
  if (span.empty()) return parts;
  int depth = 0;
  uint32_t start = span.begin;
  for (uint32_t i = span.begin; i < span.end; ++i) {
    const uint8_t c = text.at(i)->code;
    if (c == tkOpenParen || (bracketsNest && c == tkOpenBracket)) ++depth;
    else if (c == tkCloseParen || (bracketsNest && c == tkCloseBracket)) --depth;
    else if (c == tkComma && depth == 0) {
      parts.push_back(Span{start, i});
      start = i + 1;
    }
  }
  parts.push_back(Span{start, span.end});
  return parts;
}

std::unique_ptr<IndexList> ReadIndexList(const TokenText& text, uint32_t& pos, uint32_t end) {
  auto list = std::make_unique<IndexList>();
  const uint32_t open = pos;
  int depth = 0;
  for (uint32_t i = open; i < end; ++i) {
    const uint8_t c = text.at(i)->code;
    if (c == tkOpenBracket) ++depth;
    else if (c == tkCloseBracket && --depth == 0) {
      list->inner = Span{open + 1, i};
      for (const Span& s : SplitAtCommas(text, list->inner, true)) {
        list->parts.emplace_back();
        list->parts.back().span = s;
      }
      pos = i + 1;
      return list;
    }
  }
  list->closed = false;
  list->inner = Span{open + 1, end};
  pos = end;
  return list;
}

namespace {
bool IsLeaf(const ExprNode* node) {
  return node != nullptr && (node->kind == ExprNode::Kind::Constant || node->kind == ExprNode::Kind::Name);
}
// The forms TPasCalc::EvaluateSimple may take: a constant or a name, an
// operator on two of them, or one negated.
bool HasSimpleShape(const ExprNode& root) {
  if (root.kind == ExprNode::Kind::Binary) return IsLeaf(root.left.get()) && IsLeaf(root.right.get());
  if (root.kind == ExprNode::Kind::Prefix) return root.op == tkMinus && IsLeaf(root.left.get());
  return IsLeaf(&root);
}
}  // namespace

void CompileUnit(const TokenText& text, ExprUnit& unit, const RoutineCheck& isRoutine) {
  unit.routineAssumptions.clear();
  unit.root.reset();
  unit.quick = ExprUnit::Quick::Never;
  unit.simpleShape = false;
  if (unit.span.empty()) {
    unit.compiled = true;
    return;
  }
  Parser(text, unit, isRoutine).Run();
  ResetHints(unit.root.get());
  unit.assumedFuncs = unit.assumedProcs = 0;
  if (unit.root && unit.trailing <= 1)
    unit.quick = unit.routineAssumptions.empty() ? ExprUnit::Quick::Always : ExprUnit::Quick::WhileAssumed;
  unit.simpleShape = unit.root != nullptr && HasSimpleShape(*unit.root);
}

}  // namespace lum
