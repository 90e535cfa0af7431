#include "shell/command_line.h"

#include "scene/element.h"

namespace lum {

const char* const kRunnerUsage =
    "usage: lumrun [/TESTMODE] [OPTIONS] [GAME]\n"
    "  GAME              a game folder or .lumf file (default: beside lumrun)\n"
    "  --info            print the game's element tree and class counts, then stop\n"
    "  --codepage CP     the game's 8-bit code page (default windows-1251)\n"
    "  --help            this text\n";

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  size_t i = 0;
  if (!args.empty() && upperAscii(args[0]) == "/TESTMODE") {
    cl.testMode = true;
    i = 1;
  }
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--info") {
      cl.info = true;
    } else if (a == "--codepage") {
      if (i + 1 >= args.size()) return Error{"--codepage needs a code page name"};
      cl.codePage = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      return Error{"unknown option " + a};
    } else if (!cl.game) {
      cl.game = a;
    } else {
      return Error{"more than one game given: " + a};
    }
  }
  return cl;
}

}  // namespace lum
