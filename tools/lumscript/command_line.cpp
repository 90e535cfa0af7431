#include "command_line.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>


namespace lum {

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

std::optional<int> ReadCommandLine(int argc, char** argv, Options& options) {
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
  return std::nullopt;
}

}  // namespace lum
