#include "shell/command_line.h"

#include <charconv>

#include "platform/ascii_case.h"

namespace lum {

const char* const kRunnerUsage =
    "usage: lumrun [/TESTMODE] [OPTIONS] [GAME]\n"
    "  GAME                a game folder or .lumf file (default: beside lumrun)\n"
    "  --info              print the game's element tree and class counts, then stop\n"
    "  --renderer gl|soft  drawing backend (default gl, falling back to soft)\n"
    "  --fullscreen        start full screen; --windowed starts in a window\n"
    "  --scale N           initial window size N times 1024 x 768\n"
    "  --headless          no window and no sound; one logic tick per frame\n"
    "  --ticks N           stop after N logic ticks\n"
    "  --seed N            seed of the random generator (default 0)\n"
    "  --input FILE        replay input: 'TICK mousemove|mousedown|mouseup X Y',\n"
    "                      'TICK key CODE [alt]', 'TICK char CODE', 'TICK deactivate|activate'\n"
    "  --screenshot T:FILE write the frame drawn after T logic ticks as PNG (repeatable)\n"
    "  --screenshot-dir DIR  where F12 saves screenshots (default: the XDG pictures folder)\n"
    "  --save-dir DIR      keep settings and progress under DIR instead of the user data folder\n"
    "  --dump-state FILE   write the element tree with its variables as JSON at the end\n"
    "  --mute              no sound\n"
    "  --codepage CP       the game's 8-bit code page (default windows-1251)\n"
    "  --script-budget N   statements one script run may take (default 10000000, 0 = no limit)\n"
    "  --version           print the version and stop\n"
    "  --help              this text\n";

namespace {

template <typename N>
bool parseNumber(const std::string& text, N& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  size_t i = 0;
  if (!args.empty() && upperAscii(args[0]) == "/TESTMODE") {
    cl.testMode = true;
    i = 1;
  }
  auto value = [&](const std::string& option) -> Result<std::string> {
    if (i + 1 >= args.size()) return Error{option + " needs a value"};
    return args[++i];
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--info") {
      cl.info = true;
    } else if (a == "--headless") {
      cl.headless = true;
    } else if (a == "--mute") {
      cl.mute = true;
    } else if (a == "--fullscreen") {
      cl.fullscreen = true;
    } else if (a == "--windowed") {
      cl.windowed = true;
    } else if (a == "--codepage" || a == "--renderer" || a == "--input" || a == "--save-dir" ||
               a == "--dump-state" || a == "--ticks" || a == "--seed" || a == "--scale" ||
               a == "--screenshot" || a == "--screenshot-dir" || a == "--script-budget") {
      Result<std::string> v = value(a);
      if (!v) return v.error();
      uint32_t n = 0;
      if (a == "--codepage") {
        cl.codePage = *v;
      } else if (a == "--renderer") {
        if (*v != "gl" && *v != "soft") return Error{"--renderer takes gl or soft"};
        cl.renderer = *v;
        cl.rendererChosen = true;
      } else if (a == "--input") {
        cl.inputFile = *v;
      } else if (a == "--save-dir") {
        cl.saveDir = *v;
      } else if (a == "--screenshot-dir") {
        cl.screenshotDir = *v;
      } else if (a == "--dump-state") {
        cl.dumpState = *v;
      } else if (a == "--screenshot") {
        size_t colon = v->find(':');
        if (colon == std::string::npos || !parseNumber(v->substr(0, colon), n) ||
            colon + 1 == v->size()) {
          return Error{"--screenshot takes TICK:FILE"};
        }
        cl.screenshots.push_back(Screenshot{n, v->substr(colon + 1)});
      } else if (a == "--script-budget") {
        uint64_t budget = 0;
        if (!parseNumber(*v, budget)) return Error{a + " takes a whole number"};
        cl.scriptBudget = budget;
      } else if (!parseNumber(*v, n)) {
        return Error{a + " takes a whole number"};
      } else if (a == "--ticks") {
        cl.ticks = n;
      } else if (a == "--seed") {
        cl.seed = n;
      } else if (n < 1 || n > 8) {
        return Error{"--scale takes 1 to 8"};
      } else {
        cl.scale = static_cast<int>(n);
      }
    } else if (!a.empty() && a[0] == '-') {
      return Error{"unknown option " + a};
    } else if (!cl.game) {
      cl.game = a;
    } else {
      return Error{"more than one game given: " + a};
    }
  }
  if (cl.headless && !cl.rendererChosen) cl.renderer = "soft";
  return cl;
}

}  // namespace lum
