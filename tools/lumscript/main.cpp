// lumscript: runs one script file (or evaluates one expression) on a fresh
// interpreter pool and prints the variables it leaves, for checks to read;
// with --game it hands over to its helper, lumscript-game.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "library/builtins/builtin_context.h"
#include "library/routine_table.h"
#include "platform/game_folder.h"
#include "script/pool.h"
#include "script/scanner.h"
#include "script/value_text.h"

namespace {

using namespace lum;

void PrintErrorLines(const TPasCalc& calc) {
  std::cout << "error " << calc.ErrorCode() << ": " << calc.ErrorMessage() << "\n"
            << "source: " << calc.ErrorSource() << "\n";
}

int PrintTokens(const std::string& path) {
  std::string source;
  int error = 0;
  if (!ReadWhole(path, source, error)) {
    std::cerr << "lumscript: cannot read " << path << " (error " << error << ")\n";
    return 2;
  }
  for (const Token& t : DecodeTokens(Tokenise(source)))
    std::cout << static_cast<int>(t.code) << " " << t.text << "\n";
  return 0;
}

int EvaluateOne(InterpreterPool& pool, const std::string& expression) {
  TPasCalc& calc = pool.Current();
  const std::string encoded = Tokenise(expression);
  TVar result;
  if (!calc.Evaluate(encoded, result)) {
    calc.ReportError(FormatMessage(Msg::ErrorInExpression), encoded, Message(Msg::ErrorInExpression).code);
    PrintErrorLines(calc);
    return 1;
  }
  std::cout << KindAndValue(result.Value, pool.Environment().elements) << "\n";
  return 0;
}

int RunScript(InterpreterPool& pool, const Options& options) {
  std::string source;
  int error = 0;
  if (!ReadWhole(options.scriptFile, source, error)) {
    std::cerr << "lumscript: cannot read " << options.scriptFile << " (error " << error << ")\n";
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path folder = options.scriptFile == "-" ? fs::current_path()
                                                    : fs::absolute(options.scriptFile).parent_path();
  // Include names are game names: Windows separators, any letter case.
  auto games = std::make_shared<GameFolder>(folder);
  pool.Environment().readInclude = [games](std::string_view name) {
    IncludeRead read;
    read.text = games->readFile(name);
    return read;  // a missing file reports the system's "file not found", 2
  };

  TPasCalc& calc = pool.Current();
  for (const std::string& preset : options.presets) {
    const size_t eq = preset.find('=');
    calc.SetVariable(TVar{UpperAscii(TrimBlanks(preset.substr(0, eq))), PresetValue(preset.substr(eq + 1))});
  }
  const PreparedScript prepared = calc.PrepareScript(source);
  const bool prepareFailed = calc.ErrorCode() != 0;
  if (prepareFailed)
    std::cout << "prepare-error " << calc.ErrorCode() << ": " << calc.ErrorMessage() << "\n";
  const bool ran = calc.Run(prepared);
  for (const TVar& var : calc.Variables().records())
    std::cout << var.Name << " = " << KindAndValue(var.Value, pool.Environment().elements) << "\n";
  if (!ran) PrintErrorLines(calc);
  return prepareFailed || !ran ? 1 : 0;
}

// The game mode's helper, where the build and the installation put it
// relative to this program; it takes the command line as it is.
int RunGameHelper(char** argv) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path helper = (ec ? fs::path(argv[0]) : self).parent_path() / LUMSCRIPT_HELPER;
  const std::string path = helper.lexically_normal().string();
  argv[0] = const_cast<char*>(path.c_str());
  execv(path.c_str(), argv);
  std::cerr << "lumscript: cannot run " << path << ": " << std::strerror(errno) << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (std::optional<int> answered = ReadCommandLine(argc, argv, options)) return *answered;
  if (!options.tokensFile.empty()) return PrintTokens(options.tokensFile);
  if (options.runsInGame()) return RunGameHelper(argv);

  BuiltinContext builtins;
  InterpreterPool pool([&builtins](TFuncList& f) { registerRoutinesWithoutGame(f, builtins); });
  pool.Environment().log.SetPath(options.logPath);
  pool.Environment().log.SetSaveErr(true);
  if (options.scriptBudget) pool.Environment().statementBudget = *options.scriptBudget;
  if (options.evalMode) return EvaluateOne(pool, options.eval);
  if (options.scriptFile.empty()) return Usage();
  return RunScript(pool, options);
}
