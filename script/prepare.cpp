// Preparing a script: tokens, then its procedures, functions and include
// files collected apart from the main code.
#include "script/pas_calc.h"
#include "script/scanner.h"

namespace lum {

namespace {

constexpr size_t kIncludeCharge = 64;

// Parses "PROCEDURE NAME ( A , B )"; on a fault returns the message.
std::optional<Msg> ParseHeader(const TokenText& text, Span s, TProcedure& proc) {
  uint32_t pos = s.begin + 1;
  auto code = [&](uint32_t i) { return i < s.end ? text.at(i)->code : uint8_t{tkEndOfText}; };
  if (code(pos) != tkIdentifier) return Msg::InvalidProcedureName;
  proc.Name = text.at(pos)->text;
  ++pos;
  if (code(pos) != tkOpenParen) return Msg::OpenParenExpected;
  ++pos;
  if (code(pos) == tkCloseParen) return std::nullopt;
  for (;;) {
    if (code(pos) != tkIdentifier) return Msg::InvalidFunctionCall;
    if (!proc.Params.empty()) proc.Params += "\r\n";
    proc.Params += text.at(pos)->text;
    ++pos;
    if (code(pos) == tkCloseParen) return std::nullopt;
    if (code(pos) != tkComma) return Msg::InvalidFunctionCall;
    ++pos;
  }
}


// The encoded text of a run of tokens: the bytes they were read from.
std::string_view EncodedRun(std::string_view encoded, const std::vector<TokenSpan>& tokens,
                            Span s) {
  if (s.empty()) return {};
  return encoded.substr(tokens[s.begin].at, tokens[s.end - 1].end - tokens[s.begin].at);
}

// Collect for the common script: plain statements, procedures and
// functions, no fault and no included file, read over the token spans
// without copying token texts. False when the script has anything else;
// the full collection then runs from the start and reports as always.
bool CollectPlain(std::string_view encoded, std::string& main,
                  std::vector<std::shared_ptr<TProcedure>>& procs, std::vector<TokenSpan>& tokens) {
  TokenSpans(encoded, tokens);
  auto code = [&](uint32_t i, uint32_t stop) {
    return i < stop ? tokens[i].code : uint8_t{tkEndOfText};
  };
  main.reserve(encoded.size() + 3);
  uint32_t pos = 0;
  for (;;) {
    const StatementCut cut = ReadStatement(tokens, pos, static_cast<uint32_t>(tokens.size()), false);
    if (!cut.found) return true;
    if (cut.failure) return false;
    pos = cut.next;
    const Span s = cut.statement;
    const uint8_t first = tokens[s.begin].code;
    if (first == tkUses || first == tkInclude) return false;
    if (first != tkProcedure && first != tkFunction) {
      main.append(EncodedRun(encoded, tokens, s));
      AppendEncoded(main, tkSemicolon, ";");
      continue;
    }
    // "PROCEDURE NAME ( A , B )", exactly as ParseHeader reads it.
    auto proc = std::make_shared<TProcedure>();
    proc->IsFunction = first == tkFunction;
    uint32_t at = s.begin + 1;
    if (code(at, s.end) != tkIdentifier) return false;
    proc->Name = tokens[at].text(encoded);
    if (code(++at, s.end) != tkOpenParen) return false;
    if (code(++at, s.end) != tkCloseParen) {
      for (;;) {
        if (code(at, s.end) != tkIdentifier) return false;
        if (!proc->Params.empty()) proc->Params += "\r\n";
        proc->Params += tokens[at].text(encoded);
        const uint8_t after = code(++at, s.end);
        if (after == tkCloseParen) break;
        if (after != tkComma) return false;
        ++at;
      }
    }
    for (const auto& known : procs)
      if (known->Name == proc->Name) return false;
    const StatementCut body = ReadStatement(tokens, pos, static_cast<uint32_t>(tokens.size()), false);
    if (body.failure) return false;
    if (body.found) proc->Body = EncodedRun(encoded, tokens, body.statement);
    pos = body.next;
    procs.push_back(std::move(proc));
  }
}

}  // namespace

void TPasCalc::Collect(std::string_view encoded, std::string& main, int includeDepth) {
  const TokenText text(encoded);
  const std::vector<Token>& tokens = text.tokens();
  const uint32_t end = static_cast<uint32_t>(tokens.size());
  uint32_t pos = 0;
  while (errorCode_ == 0) {
    const StatementCut cut = ReadStatement(tokens, pos, end, false);
    if (!cut.found) break;
    context_ = Context{&text, cut.statement};
    if (cut.failure) {
      Fail(*cut.failure);
      break;
    }
    pos = cut.next;
    const Span s = cut.statement;
    const uint8_t first = tokens[s.begin].code;
    if (first == tkProcedure || first == tkFunction) {
      auto proc = std::make_shared<TProcedure>();
      proc->IsFunction = first == tkFunction;
      if (std::optional<Msg> fault = ParseHeader(text, s, *proc)) {
        Fail(*fault);
        break;
      }
      if (procs_.Contains(proc->Name)) {
        Fail(Msg::DuplicateProcedure);
        break;
      }
      const StatementCut body = ReadStatement(tokens, pos, end, false);
      if (body.failure) {
        context_ = Context{&text, body.statement};
        Fail(*body.failure);
        break;
      }
      if (body.found) proc->Body = text.Encoded(body.statement);
      pos = body.next;
      procs_.Add(std::move(proc));
    } else if (first == tkUses || first == tkInclude) {
      ExprUnit rest;
      rest.span = Span{s.begin + 1, s.end};
      const std::string restEncoded = text.Encoded(rest.span);
      const std::string keyword = tokens[s.begin].text;
      ScriptValue value;
      std::string fileName;
      if (!EvaluateUnit(text, rest, value) || !ToText(value, fileName)) {
        Fail(Msg::InvalidFilename, {restEncoded, keyword});
        break;
      }
      if (includeDepth >= kMaxIncludeDepth) {
        Fail(Msg::IncludesTooDeep, {fileName});
        break;
      }
      IncludeRead file;
      if (env_.readInclude) file = env_.readInclude(fileName);
      if (!file.text) {
        Fail(Msg::CannotOpenFile, {restEncoded, std::to_string(file.systemError)});
        break;
      }
      // Each inclusion also costs a little on its own, so that empty files
      // including each other many times are bounded too.
      includedBytes_ += file.text->size() + kIncludeCharge;
      if (includedBytes_ > env_.includeBudget) {
        Fail(Msg::IncludesTooLarge, {fileName, std::to_string(env_.includeBudget)});
        break;
      }
      std::string included;
      Collect(Tokenise(*file.text), included, includeDepth + 1);
      if (first == tkInclude) main += included;
    } else {
      main += text.Encoded(s);
      AppendEncoded(main, tkSemicolon, ";");
    }
  }
  context_ = Context{};
}

PreparedScript TPasCalc::PrepareScript(std::string_view source) {
  ResetErrorState();
  procs_.Clear();
  std::string_view encoded = source;
  if (source.find(kTokenMark) == std::string_view::npos) {
    if (source != lastSource_ || lastTokens_.empty()) {
      lastSource_.assign(source);
      TokeniseInto(source, lastTokens_, normalisedScratch_);
    }
    encoded = lastTokens_;
  }
  PreparedScript prepared;
  includedBytes_ = 0;
  std::vector<std::shared_ptr<TProcedure>> procs;
  if (CollectPlain(encoded, prepared.mainText, procs, spanScratch_)) {
    for (auto& proc : procs) procs_.Add(std::move(proc));
    context_ = Context{};
  } else {
    // A copy: evaluating an included file's name may run routines that
    // prepare other scripts meanwhile.
    const std::string own(encoded);
    prepared.mainText.clear();
    procs_.Clear();
    Collect(own, prepared.mainText, 0);
  }
  prepared.procedures = procs_.records();
  return prepared;
}

bool TPasCalc::Prepare(std::string_view source, std::string& mainText) {
  PreparedScript prepared = PrepareScript(source);
  mainText = std::move(prepared.mainText);
  return errorCode_ == 0;
}

}  // namespace lum
