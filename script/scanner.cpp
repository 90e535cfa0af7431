#include "script/scanner.h"

#include <array>

#include "script/var_list.h"

namespace lum {

std::string Normalise(std::string_view source) {
  std::string out;
  NormaliseInto(source, out);
  return out;
}

void NormaliseInto(std::string_view source, std::string& out) {
  out.clear();
  out.reserve(source.size());
  bool inString = false, inComment = false;
  for (size_t i = 0; i < source.size(); ++i) {
    const auto c = static_cast<unsigned char>(source[i]);
    if (inComment) {
      if (c == '\r' || c == '\n') {
        inComment = false;
        out.push_back(static_cast<char>(c));
      } else if (c == '}') {
        inComment = false;
      }
      continue;
    }
    if (IsQuoteChar(c)) {
      inString = !inString;
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (inString) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c == '{' || (c == '/' && i + 1 < source.size() && source[i + 1] == '/')) {
      inComment = true;
      continue;
    }
    if (c == '}') continue;
    out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c));
  }
}

namespace {

// Table codes grouped by their first byte, so a position tries only the
// entries that can match there.
struct FirstByteIndex {
  std::array<std::vector<uint8_t>, 256> codes;
  std::array<bool, kLastTableCode + 1> wordOnly{};
  FirstByteIndex() {
    for (int code = kFirstTableCode; code <= kLastTableCode; ++code) {
      const std::string_view text = TokenTableText(code);
      codes[static_cast<unsigned char>(text[0])].push_back(static_cast<uint8_t>(code));
      bool word = true;
      for (char c : text) word = word && IsIdentifierChar(static_cast<unsigned char>(c));
      wordOnly[static_cast<size_t>(code)] = word;
    }
  }
};

const FirstByteIndex& Index() {
  static const FirstByteIndex index;  // immutable table, built once
  return index;
}

bool IsDigitChar(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

TokenView ScanTokenView(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsBlankChar(static_cast<unsigned char>(text[pos]))) ++pos;
  if (pos >= text.size()) return TokenView{tkEndOfText, {}};
  const auto first = static_cast<unsigned char>(text[pos]);

  const FirstByteIndex& index = Index();
  int best = 0;
  size_t bestLength = 0;
  for (uint8_t code : index.codes[first]) {
    const std::string_view entry = TokenTableText(code);
    if (text.compare(pos, entry.size(), entry) != 0) continue;
    if (index.wordOnly[code] && pos + entry.size() < text.size() &&
        IsIdentifierChar(static_cast<unsigned char>(text[pos + entry.size()])))
      continue;
    if (entry.size() > bestLength) {  // codes ascend, so ties keep the lower code
      best = code;
      bestLength = entry.size();
    }
  }
  if (best != 0) {
    TokenView t{static_cast<uint8_t>(best), text.substr(pos, bestLength)};
    pos += bestLength;
    return t;
  }

  if (IsQuoteChar(first)) {
    size_t end = pos + 1;
    while (end < text.size() && !IsQuoteChar(static_cast<unsigned char>(text[end]))) ++end;
    if (end < text.size()) ++end;  // include the closing quote
    TokenView t{tkLiteral, TrimBlanks(text.substr(pos, end - pos))};
    pos = end;
    return t;
  }

  size_t end = pos + 1;
  while (end < text.size() && IsIdentifierChar(static_cast<unsigned char>(text[end]))) ++end;
  std::string_view word = text.substr(pos, end - pos);
  if (IsDigitChar(first)) {
    const size_t range = word.find("..");
    if (range != std::string_view::npos) word = word.substr(0, range);
  }
  pos += word.size();
  return TokenView{static_cast<uint8_t>(IsDigitChar(first) ? tkLiteral : tkIdentifier), word};
}

Token ScanToken(std::string_view text, size_t& pos) {
  const TokenView t = ScanTokenView(text, pos);
  return Token{t.code, std::string(t.text)};
}

std::vector<Token> ScanAll(std::string_view normalised) {
  std::vector<Token> tokens;
  size_t pos = 0;
  for (;;) {
    Token t = ScanToken(normalised, pos);
    if (t.code == tkEndOfText) break;
    tokens.push_back(std::move(t));
  }
  return tokens;
}

std::string Tokenise(std::string_view source) {
  std::string out, normalised;
  TokeniseInto(source, out, normalised);
  return out;
}

void TokeniseInto(std::string_view source, std::string& out, std::string& normalised) {
  // Straight into the encoded form: no token strings on the way. Encoding
  // adds two bytes a token and blanks go, so the normalised size plus a
  // little is nearly always enough.
  NormaliseInto(source, normalised);
  out.clear();
  out.reserve(normalised.size() + normalised.size() / 4 + 16);
  size_t pos = 0;
  for (;;) {
    const TokenView t = ScanTokenView(normalised, pos);
    if (t.code == tkEndOfText) break;
    AppendEncoded(out, t.code, t.text);
  }
}

}  // namespace lum
