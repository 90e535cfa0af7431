// lumscript: runs one script file (or evaluates one expression) on a fresh
// interpreter pool and prints the variables it leaves, for checks to read.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game_mode.h"
#include "library/builtins/builtin_context.h"
#include "platform/game_folder.h"
#include "routines.h"
#include "script/pool.h"
#include "script/scanner.h"
#include "script/value_text.h"

namespace {

using namespace lum;

struct Options {
  std::string logPath = "lumware.err";
  std::vector<std::string> presets;
  std::string eval;
  bool evalMode = false;
  std::string tokensFile;
  std::string scriptFile;
  std::optional<uint64_t> scriptBudget;
  bool gameMode = false;
  GameModeOptions game;
};

int Usage() {
  std::cerr << "usage: lumscript [--log FILE] [--script-budget N] [--var NAME=VALUE]... SCRIPT_FILE|-\n"
               "       lumscript --game GAME.lumf [--init] [--as KEY] [--dump] [--script-budget N] SCRIPT_FILE\n"
               "       lumscript --eval EXPRESSION\n"
               "       lumscript --tokens FILE\n";
  return 2;
}

bool ReadWhole(const std::string& path, std::string& out, int& error) {
  if (path == "-") {
    out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = errno != 0 ? errno : ENOENT;
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  out = buffer.str();
  return true;
}

ScriptValue PresetValue(const std::string& text) {
  bool digits = !text.empty();
  for (size_t i = 0; i < text.size(); ++i)
    digits = digits && ((text[i] >= '0' && text[i] <= '9') || (i == 0 && text[i] == '-' && text.size() > 1));
  int64_t whole;
  if (digits && ParseDecimalInteger(text, whole) && whole >= INT32_MIN && whole <= INT32_MAX)
    return ScriptValue::Integer(static_cast<int32_t>(whole));
  double real;
  if (text.find('.') != std::string::npos && ParseDecimalReal(text, real)) return ScriptValue::Real(real);
  return ScriptValue::String(text);
}

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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--version") {
      std::cout << "lumscript " << LUMRUN_VERSION << '\n';
      return 0;
    }
    if (a == "--log" && hasValue) {
      options.logPath = args[++i];
    } else if (a == "--var" && hasValue) {
      if (args[i + 1].find('=') == std::string::npos) return Usage();
      options.presets.push_back(args[++i]);
    } else if (a == "--eval" && hasValue) {
      options.evalMode = true;
      options.eval = args[++i];
    } else if (a == "--game" && hasValue) {
      options.gameMode = true;
      options.game.gameFile = args[++i];
    } else if (a == "--init") {
      options.game.init = true;
    } else if (a == "--dump") {
      options.game.dump = true;
    } else if (a == "--as" && hasValue) {
      const ScriptValue key = PresetValue(args[++i]);
      if (key.kind() != ValueKind::Integer) return Usage();
      options.game.asKey = static_cast<int32_t>(key.whole());
    } else if (a == "--script-budget" && hasValue) {
      uint64_t budget = 0;
      const std::string& v = args[++i];
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), budget);
      if (ec != std::errc() || end != v.data() + v.size()) return Usage();
      options.scriptBudget = budget;
    } else if (a == "--tokens" && hasValue) {
      options.tokensFile = args[++i];
    } else if (a == "-" || (a.rfind("--", 0) != 0 && options.scriptFile.empty())) {
      options.scriptFile = a;
    } else {
      return Usage();
    }
  }
  if (!options.tokensFile.empty()) return PrintTokens(options.tokensFile);

  if (options.gameMode && !options.evalMode) {
    if (options.scriptFile.empty()) return Usage();
    std::string source;
    int error = 0;
    if (!ReadWhole(options.scriptFile, source, error)) {
      std::cerr << "lumscript: cannot read " << options.scriptFile << " (error " << error << ")\n";
      return 2;
    }
    options.game.scriptFile = options.scriptFile;
    options.game.logPath = options.logPath;
    options.game.scriptBudget = options.scriptBudget;
    return RunInGame(options.game, source);
  }
  BuiltinContext builtins;
  InterpreterPool pool([&builtins](TFuncList& f) { registerAllRoutines(f, builtins); });
  pool.Environment().log.SetPath(options.logPath);
  pool.Environment().log.SetSaveErr(true);
  if (options.scriptBudget) pool.Environment().statementBudget = *options.scriptBudget;
  if (options.evalMode) return EvaluateOne(pool, options.eval);
  if (options.scriptFile.empty()) return Usage();
  return RunScript(pool, options);
}
