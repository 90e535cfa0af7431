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
  std::string encoded;
  if (source.find(kTokenMark) != std::string_view::npos) {
    encoded = std::string(source);
  } else {
    if (source != lastSource_ || lastTokens_.empty()) {
      lastSource_ = std::string(source);
      lastTokens_ = Tokenise(source);
    }
    encoded = lastTokens_;
  }
  PreparedScript prepared;
  includedBytes_ = 0;
  Collect(encoded, prepared.mainText, 0);
  prepared.compiled = std::make_shared<TokenText>(prepared.mainText);
  prepared.procedures = procs_.records();
  return prepared;
}

bool TPasCalc::Prepare(std::string_view source, std::string& mainText) {
  PreparedScript prepared = PrepareScript(source);
  mainText = std::move(prepared.mainText);
  return errorCode_ == 0;
}

}  // namespace lum
