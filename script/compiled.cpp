#include "script/compiled.h"

namespace lum {

TokenText::TokenText(std::string_view encoded) : tokens_(DecodeTokens(encoded)) {
  main_.span = all();
  expression_.span = all();
}

std::string TokenText::Spaced(Span s) const {
  if (s.empty()) return std::string();
  return SpacedText(at(s.begin), at(s.end));
}

std::string TokenText::Encoded(Span s) const {
  if (s.empty()) return std::string();
  return EncodeTokens(at(s.begin), at(s.end));
}

StatementCut ReadStatement(const std::vector<Token>& tokens, uint32_t pos, uint32_t end,
                           bool elseEnds) {
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

uint32_t FindToken(const std::vector<Token>& tokens, Span span, uint8_t code) {
  for (uint32_t i = span.begin; i < span.end; ++i)
    if (tokens[i].code == code) return i;
  return span.end;
}

}  // namespace lum
