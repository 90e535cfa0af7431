#include "script/plans.h"

#include "script/expr_compile.h"
#include "script/var_list.h"

namespace lum {

namespace {

using Plan = StatementPlan;
using Kind = StatementPlan::Kind;

std::unique_ptr<Plan> Failing(Msg msg, std::string arg = {}) {
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Fail;
  plan->failMsg = msg;
  plan->failArg = std::move(arg);
  return plan;
}

uint8_t CodeAt(const TokenText& text, uint32_t pos, uint32_t end) {
  return pos < end ? text.at(pos)->code : uint8_t{tkEndOfText};
}

std::unique_ptr<Plan> Assignment(const TokenText& text, Span p) {
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Assign;
  plan->target = text.at(p.begin)->text;
  plan->targetValid = IsValidName(plan->target);
  plan->targetDotted = plan->target.find('.') != std::string::npos;
  uint32_t pos = p.begin + 1;
  if (CodeAt(text, pos, p.end) == tkOpenBracket) {
    plan->index1 = ReadIndexList(text, pos, p.end);
    if (plan->index1->closed && CodeAt(text, pos, p.end) == tkOpenBracket)
      plan->index2 = ReadIndexList(text, pos, p.end);
  }
  const uint8_t next = CodeAt(text, pos, p.end);
  if (next == tkAssign) {
    plan->assign = true;
    plan->expr.span = Span{pos + 1, p.end};
  } else if (next == tkOpenParen || next == tkOpenBracket || next == tkEndOfText) {
    plan->expr.span = p;
  } else {
    plan->failAt = 1;
    plan->failMsg = Msg::FoundExpected;
    plan->failArg = text.at(pos)->text;
  }
  plan->plainElement = plan->assign && plan->targetValid && !plan->targetDotted && plan->index1 &&
                       !plan->index2 && plan->index1->closed && plan->index1->parts.size() == 1;
  return plan;
}

std::unique_ptr<Plan> Compound(const TokenText& text, Span p) {
  if (p.size() < 2 || text.at(p.end - 1)->code != tkEnd) return Failing(Msg::EndExpected);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Begin;
  plan->body.span = Span{p.begin + 1, p.end - 1};
  return plan;
}

std::unique_ptr<Plan> Conditional(const TokenText& text, Span p) {
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::If;
  const uint32_t then = FindToken(text.tokens(), Span{p.begin + 1, p.end}, tkThen);
  plan->expr.span = Span{p.begin + 1, then};
  if (then == p.end) return plan;
  const StatementCut cut = ReadStatement(text.tokens(), then + 1, p.end, true);
  if (cut.failure) plan->readFailure = ReadFailure{*cut.failure, cut.statement};
  if (cut.found) plan->body.span = cut.statement;
  plan->elseBody.span = Span{cut.next, p.end};
  return plan;
}

std::unique_ptr<Plan> ForLoop(const TokenText& text, Span p) {
  uint32_t to = p.begin + 1;
  while (to < p.end && text.at(to)->code != tkTo && text.at(to)->code != tkDownto) ++to;
  if (to == p.end) return Failing(Msg::ToExpected);
  const Span head{p.begin + 1, to};
  if (head.empty() || text.at(head.begin)->code != tkIdentifier) return Failing(Msg::ForVariableExpected);
  if (head.size() < 2 || text.at(head.begin + 1)->code != tkAssign)
    return Failing(Msg::InvalidForOperator, head.size() < 2 ? std::string() : text.at(head.begin + 1)->text);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::For;
  plan->target = text.at(head.begin)->text;
  plan->downto = text.at(to)->code == tkDownto;
  plan->expr.span = Span{head.begin + 2, to};
  const uint32_t doPos = FindToken(text.tokens(), Span{to + 1, p.end}, tkDo);
  if (doPos == p.end) {
    plan->failAt = 1;
    plan->failMsg = Msg::DoExpected;
    return plan;
  }
  plan->expr2.span = Span{to + 1, doPos};
  plan->body.span = Span{doPos + 1, p.end};
  return plan;
}

std::unique_ptr<Plan> WhileLoop(const TokenText& text, Span p) {
  const uint32_t doPos = FindToken(text.tokens(), Span{p.begin + 1, p.end}, tkDo);
  if (doPos == p.end) return Failing(Msg::DoExpected);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::While;
  plan->expr.span = Span{p.begin + 1, doPos};
  plan->body.span = Span{doPos + 1, p.end};
  return plan;
}

std::unique_ptr<Plan> RepeatLoop(const TokenText& text, Span p) {
  const uint32_t until = FindToken(text.tokens(), Span{p.begin + 1, p.end}, tkUntil);
  if (until == p.end) return Failing(Msg::UntilExpected);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Repeat;
  plan->body.span = Span{p.begin + 1, until};
  plan->expr.span = Span{until + 1, p.end};
  return plan;
}

CaseItem FailItem(Msg msg, Span source) {
  CaseItem item;
  item.kind = CaseItem::Kind::Fail;
  item.failure = msg;
  item.failureSource = source;
  return item;
}

std::unique_ptr<Plan> Selection(const TokenText& text, Span p) {
  const uint32_t of = FindToken(text.tokens(), Span{p.begin + 1, p.end}, tkOf);
  if (of == p.end) return Failing(Msg::OfExpected);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Case;
  plan->expr.span = Span{p.begin + 1, of};
  uint32_t pos = of + 1;
  bool sawElse = false;
  for (;;) {
    if (pos >= p.end) {
      plan->items.push_back(FailItem(Msg::ErrorInCase, p));
      break;
    }
    const uint8_t code = text.at(pos)->code;
    if (code == tkEnd) {
      plan->items.emplace_back();  // End
      break;
    }
    if (code == tkElse) {
      if (sawElse) {
        plan->items.push_back(FailItem(Msg::TooManyElse, p));
        break;
      }
      sawElse = true;
      const StatementCut cut = ReadStatement(text.tokens(), pos + 1, p.end, false);
      if (cut.failure) {
        plan->items.push_back(FailItem(*cut.failure, cut.statement));
        break;
      }
      CaseItem item;
      item.kind = CaseItem::Kind::Else;
      item.body = std::make_unique<Block>();
      if (cut.found) item.body->span = cut.statement;
      plan->items.push_back(std::move(item));
      pos = cut.next;
      continue;
    }
    const uint32_t colon = FindToken(text.tokens(), Span{pos, p.end}, tkColon);
    if (colon == p.end) {
      plan->items.push_back(FailItem(Msg::ColonExpected, p));
      break;
    }
    if (colon == pos) {
      plan->items.push_back(FailItem(Msg::RangeExpected, p));
      break;
    }
    const StatementCut cut = ReadStatement(text.tokens(), colon + 1, p.end, false);
    if (cut.failure) {
      plan->items.push_back(FailItem(*cut.failure, cut.statement));
      break;
    }
    CaseItem item;
    item.kind = CaseItem::Kind::Branch;
    item.body = std::make_unique<Block>();
    if (cut.found) item.body->span = cut.statement;
    for (const Span& part : SplitAtCommas(text, Span{pos, colon}, true)) {
      CaseLabel label;
      const uint32_t range = FindToken(text.tokens(), part, tkRange);
      label.low.span = Span{part.begin, range};
      if (range != part.end) {
        label.range = true;
        label.high.span = Span{range + 1, part.end};
      }
      item.labels.push_back(std::move(label));
    }
    plan->items.push_back(std::move(item));
    pos = cut.next;
  }
  return plan;
}

std::unique_ptr<Plan> Jump(const TokenText& text, Span p, uint8_t code) {
  if (p.size() > 1) {
    return Failing(code == tkBreak ? Msg::InvalidBreak
                   : code == tkContinue ? Msg::InvalidContinue
                                        : Msg::InvalidExit);
  }
  (void)text;
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Jump;
  plan->jump = code;
  return plan;
}

std::unique_ptr<Plan> GotoJump(const TokenText& text, Span p) {
  bool validLabel = p.size() >= 2;
  if (validLabel) {
    const Token& t = *text.at(p.begin + 1);
    validLabel = (t.code == tkIdentifier || t.code == tkLiteral) && !t.text.empty();
    for (char c : t.text) validLabel = validLabel && IsIdentifierChar(static_cast<unsigned char>(c));
  }
  if (!validLabel) return Failing(Msg::InvalidGotoLabel);
  if (p.size() > 2) return Failing(Msg::ErrorInGoto);
  auto plan = std::make_unique<Plan>();
  plan->kind = Kind::Goto;
  plan->label = text.at(p.begin + 1)->text;
  return plan;
}

}  // namespace

void ScanBlock(const TokenText& text, Block& block) {
  block.scanned = true;
  uint32_t pos = block.span.begin;
  for (;;) {
    const StatementCut cut = ReadStatement(text.tokens(), pos, block.span.end, false);
    if (!cut.found) break;
    if (cut.failure) {
      block.failure = ReadFailure{*cut.failure, cut.statement};
      break;
    }
    Statement st;
    st.span = cut.statement;
    st.proper = cut.statement;
    const Span s = cut.statement;
    if (s.size() >= 2 && text.at(s.begin + 1)->code == tkColon &&
        (text.at(s.begin)->code == tkIdentifier || text.at(s.begin)->code == tkLiteral)) {
      st.hasLabel = true;
      st.label = text.at(s.begin)->text;
      st.proper.begin = s.begin + 2;
    }
    block.statements.push_back(std::move(st));
    pos = cut.next;
  }
  block.single = block.statements.size() == 1 && !block.failure && !block.statements[0].hasLabel;
  block.empty = block.statements.empty() && !block.failure;
}

std::unique_ptr<StatementPlan> BuildPlan(const TokenText& text, const Statement& statement) {
  const Span p = statement.proper;
  if (p.empty()) {
    auto plan = std::make_unique<Plan>();
    plan->kind = Kind::Empty;
    return plan;
  }
  const Token& first = *text.at(p.begin);
  switch (first.code) {
    case tkIdentifier: return Assignment(text, p);
    case tkBegin: return Compound(text, p);
    case tkIf: return Conditional(text, p);
    case tkFor: return ForLoop(text, p);
    case tkWhile: return WhileLoop(text, p);
    case tkRepeat: return RepeatLoop(text, p);
    case tkCase: return Selection(text, p);
    case tkBreak:
    case tkContinue:
    case tkExit: return Jump(text, p, first.code);
    case tkGoto: return GotoJump(text, p);
    case tkEnd: return Failing(Msg::TooManyEnd);
    case tkElse: return Failing(Msg::ElseWithoutIf);
    default: return Failing(Msg::InvalidOperator, first.text);
  }
}

}  // namespace lum
