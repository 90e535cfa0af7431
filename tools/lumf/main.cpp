// lumf: the game file tool. Dumps game files as JSON, builds them from JSON,
// prints their outline, prints progress files, and works on archives and
// bitmap fonts.
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "scene/db.h"
#include "scene/game_file.h"
#include "scene/game_json.h"
#include "scene/tree_outline.h"
#include "tools/lumf/archive_commands.h"
#include "tools/lumf/check_command.h"
#include "tools/lumf/progress_command.h"

namespace {

constexpr const char* kUsage =
    "usage: lumf check GAME [--json] [--codepage CP]\n"
    "       lumf dump GAME.lumf [--codepage CP]\n"
    "       lumf build GAME.json -o GAME.lumf [--codepage CP]\n"
    "       lumf tree GAME.lumf [--codepage CP]\n"
    "       lumf progress FILE [--game GAME.lumf] [--codepage CP]\n"
    "       lumf archive list|extract|pack ...\n"
    "       lumf font FONT.ttf --size N [--first C] [--count N] [--codepage CP] --key NAME "
    "-o ARCHIVE\n";

int usage() {
  std::cerr << kUsage;
  return 2;
}

struct Options {
  std::string input;
  std::string output;
  std::string codePage;
};

bool parseOptions(const std::vector<std::string>& args, Options& opt) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "-o" || a == "--codepage") && i + 1 < args.size()) {
      (a == "-o" ? opt.output : opt.codePage) = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "lumf: unknown option " << a << '\n';
      return false;
    } else if (opt.input.empty()) {
      opt.input = a;
    } else {
      std::cerr << "lumf: unexpected argument " << a << '\n';
      return false;
    }
  }
  if (opt.input.empty()) {
    std::cerr << "lumf: no input file given\n";
    return false;
  }
  return true;
}

bool makeCodePage(const Options& opt, lum::CodePage& cp) {
  if (opt.codePage.empty()) return true;
  lum::Result<lum::CodePage> made = lum::CodePage::create(opt.codePage);
  if (!made) {
    std::cerr << "lumf: " << made.error().text() << '\n';
    return false;
  }
  cp = *made;
  return true;
}

int loadRoot(const Options& opt, lum::TLumDB& root) {
  lum::Status s = lum::loadGameFile(root, opt.input);
  if (!s) {
    std::cerr << "lumf: " << s.error().text() << '\n';
    return 2;
  }
  return 0;
}

int dump(const Options& opt, const lum::CodePage& cp) {
  lum::TLumDB root;
  if (int rc = loadRoot(opt, root)) return rc;
  // Streamed: neither a big game's text nor its JSON tree exists whole in memory.
  lum::writeElementJson(std::cout, root, cp);
  std::cout << '\n';
  return 0;
}

int tree(const Options& opt, const lum::CodePage& cp) {
  lum::TLumDB root;
  if (int rc = loadRoot(opt, root)) return rc;
  lum::writeOutline(std::cout, root, cp);
  return 0;
}

int build(const Options& opt, const lum::CodePage& cp) {
  if (opt.output.empty()) {
    std::cerr << "lumf: build needs -o GAME.lumf\n";
    return 2;
  }
  std::ifstream in(opt.input, std::ios::binary);
  if (!in) {
    std::cerr << "lumf: cannot open " << opt.input << '\n';
    return 2;
  }
  lum::OrderedJson json = lum::OrderedJson::parse(in, nullptr, false);
  if (json.is_discarded()) {
    std::cerr << "lumf: " << opt.input << " is not valid JSON\n";
    return 2;
  }
  lum::Result<std::string> bytes = lum::gameFileFromJson(json, cp);
  if (!bytes) {
    std::cerr << "lumf: " << opt.input << ": " << bytes.error().text() << '\n';
    return 2;
  }
  std::ofstream out(opt.output, std::ios::binary | std::ios::trunc);
  out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
  if (!out.flush()) {
    std::cerr << "lumf: cannot write " << opt.output << '\n';
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Only the C++ streams write here: unsynchronised, they buffer a dump's
  // many small writes.
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usage();
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--version") {
    std::cout << "lumf " << LUMRUN_VERSION << '\n';
    return 0;
  }
  if (command == "archive") return lum::runArchiveCommand(args);
  if (command == "font") return lum::runFontCommand(args);
  if (command == "check") return lum::runCheckCommand(args);
  if (command == "progress") return lum::runProgressCommand(args);
  if (command != "dump" && command != "build" && command != "tree") return usage();

  Options opt;
  lum::CodePage cp;
  if (!parseOptions(args, opt) || !makeCodePage(opt, cp)) return 2;
  if (command == "dump") return dump(opt, cp);
  if (command == "tree") return tree(opt, cp);
  return build(opt, cp);
}
