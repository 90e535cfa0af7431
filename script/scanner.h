#pragma once
// Source text to tokens: comments out, letters up outside strings, then
// the longest-match scanner.
#include <string>
#include <string_view>
#include <vector>

#include "script/tokens.h"

namespace lum {

// Drops comments and upper-cases ASCII letters outside string literals.
std::string Normalise(std::string_view source);
// The same into `out`, whose memory is reused (`out` is not `source`).
void NormaliseInto(std::string_view source, std::string& out);

// Reads one token of normalised text from `pos` and advances it; code 0 at
// the end of the text. The view's text lies in `text`.
struct TokenView {
  uint8_t code = tkEndOfText;
  std::string_view text;
};
TokenView ScanTokenView(std::string_view text, size_t& pos);
Token ScanToken(std::string_view text, size_t& pos);

std::vector<Token> ScanAll(std::string_view normalised);
// Normalises, scans and encodes a whole source.
std::string Tokenise(std::string_view source);
// The same into `out`, with `normalised` for the text on the way: loading a
// game prepares thousands of scripts, and reused buffers spare the
// allocator a large request (and its tidying up) for each.
void TokeniseInto(std::string_view source, std::string& out, std::string& normalised);

}  // namespace lum
