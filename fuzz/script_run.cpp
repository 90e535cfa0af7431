// Prepares and runs arbitrary bytes as a script (and as one expression):
// any content must end in a result or an error, within bounded work.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/pool.h"
#include "script/scanner.h"

namespace {

bool Stand(lum::TPasCalc&, lum::TVarList& params, lum::TVar& result) {
  if (params.size() == 0) return false;
  result.Value = params[0].Value;
  return true;
}

bool Nest(lum::TPasCalc& calc, lum::TVarList& params, lum::TVar&) {
  // Re-enters the interpreter the way engine commands run other scripts.
  if (params.size() != 1 || !params[0].Value.IsStringLike()) return false;
  lum::TVar out;
  calc.Evaluate(params[0].Value.text(), out);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  lum::InterpreterPool pool([](lum::TFuncList& funcs) {
    funcs.AddFunction("Abs", Stand);
    funcs.AddFunction("Max", Stand);
    funcs.AddFunction("Nest", Nest);
  });
  lum::ScriptEnvironment& env = pool.Environment();
  env.maxStringLength = 1 << 16;
  env.languageText = [](std::string_view key) { return std::string(key) + "!"; };
  env.readInclude = [input](std::string_view) {
    lum::IncludeRead read;
    read.text = std::string(input);
    return read;
  };
  lum::TPasCalc& calc = pool.Current();
  calc.SetStatementLimit(2000);
  const lum::PreparedScript prepared = calc.PrepareScript(input);
  calc.Run(prepared);
  lum::TVar result;
  calc.Evaluate(lum::Tokenise(input), result);
  return 0;
}
