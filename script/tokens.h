#pragma once
// Token codes and their texts, the encoded token text that prepared scripts
// are kept in (character 127, code + 64, text), and its spaced form.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

enum TokenCode : uint8_t {
  tkEndOfText = 0, tkIdentifier = 1, tkLiteral = 2,
  tkTrue = 3, tkFalse, tkEqual, tkOr, tkAnd, tkNot, tkXor, tkComma, tkColon,
  tkNotEqual, tkGreater, tkLess, tkGreaterEqual, tkLessEqual, tkPlus, tkMinus,
  tkStar, tkSlash, tkCaret, tkOpenParen, tkCloseParen, tkOpenBracket,
  tkCloseBracket, tkSemicolon, tkLineComment, tkOpenBrace, tkCloseBrace,
  tkAssign, tkBegin, tkEnd, tkIf, tkThen, tkElse, tkFor, tkTo, tkDownto, tkDo,
  tkWhile, tkRepeat, tkUntil, tkBreak, tkContinue, tkExit, tkGoto, tkShl, tkShr,
  tkProcedure, tkFunction, tkUses, tkInclude, tkCase, tkOf, tkRange = 55,
};

constexpr int kFirstTableCode = tkTrue;
constexpr int kLastTableCode = tkRange;
constexpr char kTokenMark = '\x7f';

// Text of a table entry ("" for codes outside the table).
std::string_view TokenTableText(int code);

struct Token {
  uint8_t code = tkEndOfText;
  std::string text;
};

bool IsQuoteChar(unsigned char c);
bool IsBlankChar(unsigned char c);

void AppendEncoded(std::string& out, uint8_t code, std::string_view text);
std::string EncodeTokens(const Token* begin, const Token* end);
// Reads encoded text back into tokens. A code 0 token ends the text, as it
// would for the token reader.
std::vector<Token> DecodeTokens(std::string_view encoded);
// Where each token of an encoded text lies, without copying its text: the
// token starts at `at` (its mark) and its text runs from `at + 2` to `end`.
// Reads the same tokens as DecodeTokens.
struct TokenSpan {
  uint8_t code = tkEndOfText;
  size_t at = 0, end = 0;
  std::string_view text(std::string_view encoded) const {
    return encoded.substr(at + 2, end - at - 2);
  }
};
// The spans of every token of an encoded text, into `spans` (its memory reused).
void TokenSpans(std::string_view encoded, std::vector<TokenSpan>& spans);
// Every token's text followed by a blank, and one more blank at the end.
std::string SpacedText(const Token* begin, const Token* end);
std::string SpacedEncoded(std::string_view encoded);

}  // namespace lum
