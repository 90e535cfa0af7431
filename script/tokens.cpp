#include "script/tokens.h"

#include <algorithm>

namespace lum {

namespace {

constexpr std::string_view kTable[] = {
    "", "", "",  // end of text, identifier, literal
    "TRUE", "FALSE", "=", "OR", "AND", "NOT", "XOR", ",", ":", "<>", ">", "<", ">=", "<=",
    "+", "-", "*", "/", "^", "(", ")", "[", "]", ";", "//", "{", "}", ":=", "BEGIN", "END",
    "IF", "THEN", "ELSE", "FOR", "TO", "DOWNTO", "DO", "WHILE", "REPEAT", "UNTIL", "BREAK",
    "CONTINUE", "EXIT", "GOTO", "SHL", "SHR", "PROCEDURE", "FUNCTION", "USES", "INCLUDE",
    "CASE", "OF", "..",
};
static_assert(sizeof kTable / sizeof kTable[0] == kLastTableCode + 1);

}  // namespace

std::string_view TokenTableText(int code) {
  if (code < kFirstTableCode || code > kLastTableCode) return {};
  return kTable[code];
}

bool IsQuoteChar(unsigned char c) { return c == '"' || c == '\''; }
bool IsBlankChar(unsigned char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

void AppendEncoded(std::string& out, uint8_t code, std::string_view text) {
  out.push_back(kTokenMark);
  out.push_back(static_cast<char>(code + 64));
  out.append(text);
}

std::string EncodeTokens(const Token* begin, const Token* end) {
  std::string out;
  for (const Token* t = begin; t != end; ++t) AppendEncoded(out, t->code, t->text);
  return out;
}

std::vector<Token> DecodeTokens(std::string_view encoded) {
  std::vector<Token> tokens;
  tokens.reserve(static_cast<size_t>(std::count(encoded.begin(), encoded.end(), kTokenMark)));
  size_t pos = encoded.find(kTokenMark);
  while (pos != std::string_view::npos && pos + 1 < encoded.size()) {
    const auto code = static_cast<uint8_t>(static_cast<unsigned char>(encoded[pos + 1]) - 64);
    if (code == tkEndOfText) break;
    size_t next = encoded.find(kTokenMark, pos + 2);
    const size_t stop = next == std::string_view::npos ? encoded.size() : next;
    tokens.push_back(Token{code, std::string(encoded.substr(pos + 2, stop - pos - 2))});
    pos = next;
  }
  return tokens;
}

void TokenSpans(std::string_view encoded, std::vector<TokenSpan>& spans) {
  spans.clear();
  spans.reserve(static_cast<size_t>(std::count(encoded.begin(), encoded.end(), kTokenMark)));
  size_t pos = encoded.find(kTokenMark);
  while (pos != std::string_view::npos && pos + 1 < encoded.size()) {
    const auto code = static_cast<uint8_t>(static_cast<unsigned char>(encoded[pos + 1]) - 64);
    if (code == tkEndOfText) break;
    const size_t next = encoded.find(kTokenMark, pos + 2);
    spans.push_back(TokenSpan{code, pos, next == std::string_view::npos ? encoded.size() : next});
    pos = next;
  }
}

std::string SpacedText(const Token* begin, const Token* end) {
  std::string out;
  for (const Token* t = begin; t != end; ++t) {
    out.append(t->text);
    out.push_back(' ');
  }
  if (begin != end) out.push_back(' ');
  return out;
}

std::string SpacedEncoded(std::string_view encoded) {
  const std::vector<Token> tokens = DecodeTokens(encoded);
  return SpacedText(tokens.data(), tokens.data() + tokens.size());
}

}  // namespace lum
