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

uint32_t FindToken(const std::vector<Token>& tokens, Span span, uint8_t code) {
  for (uint32_t i = span.begin; i < span.end; ++i)
    if (tokens[i].code == code) return i;
  return span.end;
}

}  // namespace lum
