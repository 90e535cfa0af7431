// Loading a big game: generates a game file of many elements with event
// scripts, then measures, each in a fresh process, the load of that file
// into the element tree as the game host loads it (wall time and peak
// resident memory) and `lumf dump` of it. Prints the figures beside the
// targets; never fails on a missed target.
//
//   bench_game_load [ELEMENTS] [LUMF]   generate into a temporary folder, measure all
//   bench_game_load generate DIR [ELEMENTS]
//   bench_game_load load DIR            one load, prints "SECONDS PEAK_KB"
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "library/engine/game_routines.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/game_json.h"

namespace fs = std::filesystem;
using lum::OrderedJson;

namespace {

constexpr int kDefaultElements = 100000;
constexpr int kElementsPerScreen = 250;
constexpr int kSharedScripts = 24;  // scripts that many elements repeat word for word

// Script bodies with holes (%N) filled from numbers; each has a few hundred
// bytes as a real game's event scripts do.
const char* const kTemplates[] = {
    "// open the door when the key is held\r\n"
    "IF LUMDB.Inventory.Key%1.Vis THEN\r\nBEGIN\r\n  SELF.Vis := FALSE;\r\n"
    "  Opened%2 := Opened%2 + 1;\r\n  PlaySound('sfx/door%3.wav');\r\n"
    "  LUMDB.Hall%4.Light.Vis := TRUE;\r\n  GoScreen(%5);\r\nEND\r\n"
    "ELSE\r\n  ShowText('The door is locked, find the key number %1 first');\r\n",

    "{ drift with the wind }\r\nSELF.X := SELF.X + %1;\r\nIF SELF.X > %2 THEN SELF.X := %3;\r\n"
    "Phase := Phase + 1;\r\nIF Phase MOD %4 = 0 THEN\r\nBEGIN\r\n"
    "  SELF.Y := SELF.Y + Random(%5) - %6;\r\n  SELF.Angle := SELF.Angle + 0.%1;\r\nEND;\r\n"
    "Alpha := Max(0, Min(255, Alpha + %2 - %3));\r\nSELF.hxTrans := Alpha;\r\n",

    "FUNCTION Price%1(Count);\r\nBEGIN\r\n  RESULT := Count * %2 + %3;\r\n"
    "  IF Count > %4 THEN RESULT := RESULT - %5;\r\nEND;\r\n"
    "Total := 0;\r\nFOR I := 1 TO %6 DO\r\n  Total := Total + Price%1(I);\r\n"
    "LUMDB.Shop.Sum.TextId := 'Shop.Total';\r\nSetVar('Gold', GetVar('Gold') - Total);\r\n"
    "IF GetVar('Gold') < 0 THEN ShowText('Not enough gold for item %1');\r\n",

    "CASE LUMDB.State%1 OF\r\n  0: BEGIN SELF.imImage := 'pics/idle%2.png'; Wait := %3; END;\r\n"
    "  1: BEGIN SELF.imImage := 'pics/walk%2.png'; Wait := %4; END;\r\n"
    "  2, 3: SELF.imImage := 'pics/run%2.png';\r\n"
    "ELSE\r\n  SELF.imImage := 'pics/rest%2.png';\r\nEND;\r\n"
    "Wait := Wait - 1;\r\nIF Wait <= 0 THEN LUMDB.State%1 := (LUMDB.State%1 + 1) MOD %5;\r\n",

    "PROCEDURE Award%1(Points);\r\nBEGIN\r\n  Score := Score + Points;\r\n"
    "  LUMDB.Hud.Score.TextId := 'Hud.Score' + IntToStr(%2);\r\nEND;\r\n"
    "Found%3 := TRUE;\r\nSELF.Vis := FALSE;\r\nAward%1(%4);\r\n"
    "IF Score >= %5 THEN\r\nBEGIN\r\n  PlaySound('sfx/fanfare.wav');\r\n  GoScreen(%6);\r\nEND;\r\n",

    "// count the clicks, three opens the chest\r\nClicks%1 := Clicks%1 + 1;\r\n"
    "REPEAT\r\n  Shake := Shake - %2;\r\n  SELF.rX := SELF.rX + Shake;\r\nUNTIL Shake <= %3;\r\n"
    "IF Clicks%1 >= 3 THEN\r\nBEGIN\r\n  LUMDB.Room%4.Chest.imImage := 'pics/chest_open%5.png';\r\n"
    "  SetVar('Chest%1', 1);\r\nEND;\r\n",

    "WHILE Step%1 < %2 DO\r\nBEGIN\r\n  Step%1 := Step%1 + %3;\r\n"
    "  SELF.Scale := 1 + Step%1 / %4;\r\nEND;\r\n"
    "Message := 'Level ' + IntToStr(%5) + ' of ' + IntToStr(%6);\r\n"
    "LUMDB.Hud.Level.TextId := Message;\r\nIF NOT LUMDB.Options.Music.Vis THEN StopMusic();\r\n",
};

// A script body made from a template and numbers drawn from `rng`.
std::string fill(const char* templ, std::mt19937& rng) {
  std::uniform_int_distribution<int> number(1, 999);
  int values[10];
  for (int& v : values) v = number(rng);
  std::string out;
  for (const char* p = templ; *p; ++p) {
    if (*p == '%' && p[1] >= '1' && p[1] <= '9') {
      out += std::to_string(values[p[1] - '0']);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

class ScriptSource {
 public:
  explicit ScriptSource(std::mt19937& rng) : rng_(rng) {
    for (int i = 0; i < kSharedScripts; ++i) shared_.push_back(fresh());
  }
  // About a third of the scripts repeat one of a few common ones.
  std::string next() {
    if (rng_() % 3 == 0) return shared_[rng_() % shared_.size()];
    return fresh();
  }

 private:
  std::string fresh() {
    return fill(kTemplates[rng_() % (sizeof kTemplates / sizeof kTemplates[0])], rng_);
  }
  std::mt19937& rng_;
  std::vector<std::string> shared_;
};

OrderedJson element(const char* cls, int key, const std::string& id, std::mt19937& rng) {
  OrderedJson e;
  e["class"] = cls;
  OrderedJson& p = e["properties"];
  p["Key"] = key;
  p["Id"] = id;
  p["X"] = static_cast<int>(rng() % 1024);
  p["Y"] = static_cast<int>(rng() % 768);
  return e;
}

// The game tree: screens of images, texts and shapes (some nested), each
// element with one or two event scripts.
OrderedJson makeGame(int elements) {
  std::mt19937 rng(15);
  ScriptSource scripts(rng);
  OrderedJson root;
  root["class"] = "TLumDB";
  root["properties"] = {{"Key", 0}, {"Id", "BigGame"}, {"InitScreen", 1}};
  OrderedJson& screens = root["children"] = OrderedJson::array();
  int key = 1;
  while (key <= elements) {
    OrderedJson screen = element("TLumScreen", key, "Screen" + std::to_string(key), rng);
    screen["properties"]["exInit"] = scripts.next();
    ++key;
    OrderedJson& children = screen["children"] = OrderedJson::array();
    for (int i = 1; i < kElementsPerScreen && key <= elements; ++i, ++key) {
      const unsigned kind = rng() % 20;
      OrderedJson e;
      if (kind < 10) {
        e = element("TLumImage", key, "Image" + std::to_string(key), rng);
        e["properties"]["imImage"] = "pics/item" + std::to_string(rng() % 300) + ".png";
        e["properties"]["Order"] = static_cast<int>(rng() % 10);
        e["properties"]["exMouseUp"] = scripts.next();
        if (rng() % 4 == 0) e["properties"]["exUpdate"] = scripts.next();
      } else if (kind < 15) {
        e = element("TLumText", key, "Text" + std::to_string(key), rng);
        e["properties"]["TextId"] = "Text.Line" + std::to_string(rng() % 2000);
        e["properties"]["exInit"] = scripts.next();
      } else {
        e = element("TLumShape", key, "Shape" + std::to_string(key), rng);
        e["properties"]["ShapeType"] = rng() % 2 ? "stBox" : "stCircle";
        e["properties"]["SizeX"] = static_cast<int>(rng() % 200);
        e["properties"]["SizeY"] = static_cast<int>(rng() % 200);
        e["properties"]["exMouseDown"] = scripts.next();
      }
      // Some elements hold a small image of their own, as buttons with icons do.
      if (kind % 5 == 0 && key < elements && kind >= 15) {
        ++key;
        ++i;
        OrderedJson icon = element("TLumImage", key, "Icon" + std::to_string(key), rng);
        icon["properties"]["exMouseIn"] = scripts.next();
        e["children"] = OrderedJson::array({icon});
      }
      children.push_back(std::move(e));
    }
    screens.push_back(std::move(screen));
  }
  return root;
}

int generate(const fs::path& dir, int elements) {
  fs::create_directories(dir);
  lum::Result<std::string> bytes = lum::gameFileFromJson(makeGame(elements), lum::CodePage());
  if (!bytes) {
    std::cerr << "generate: " << bytes.error().text() << '\n';
    return 1;
  }
  std::ofstream(dir / "game.lumf", std::ios::binary)
      .write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
  return 0;
}

long peakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// One load as the game host does it; prints seconds, peak KB of the whole
// process and peak KB before the load began.
int load(const fs::path& dir) {
  lum::HostOptions host;
  host.folder = dir;
  host.errorLogPath = (dir / "lumware.err").string();
  lum::Result<std::unique_ptr<lum::GameHost>> made =
      lum::GameHost::Create(std::move(host), lum::makeGameRoutines);
  if (!made) {
    std::cerr << "load: " << made.error().text() << '\n';
    return 1;
  }
  const long before = peakKb();
  const auto start = std::chrono::steady_clock::now();
  lum::Status loaded = made.value()->LoadGame("game.lumf");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!loaded) {
    std::cerr << "load: " << loaded.error().text() << '\n';
    return 1;
  }
  std::printf("%.3f %ld %ld\n", seconds, peakKb(), before);
  std::fflush(stdout);
  std::_Exit(0);  // the tree's teardown is not part of the figure
}

struct Measured {
  bool ok = false;
  double seconds = 0;
  long peakKb = 0;
  std::string out;
};

// Runs a command in a child, its output to `outFile` (or /dev/null).
Measured runChild(const std::vector<std::string>& args, const std::string& outFile) {
  Measured m;
  std::fflush(stdout);  // or the child would print it again
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return m;
  if (pid == 0) {
    if (!freopen(outFile.c_str(), "w", stdout)) _exit(127);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) < 0) return m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKb = usage.ru_maxrss;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  std::ifstream in(outFile);
  std::getline(in, m.out);
  return m;
}

std::string selfPath() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).string();
}

int measureAll(int elements, std::string lumf) {
  const fs::path dir = fs::temp_directory_path() / ("lumrun-game-load-" + std::to_string(getpid()));
  if (int rc = generate(dir, elements)) return rc;
  const double megabytes = static_cast<double>(fs::file_size(dir / "game.lumf")) / 1e6;
  std::printf("game: %d elements, %.1f MB\n", elements, megabytes);

  const std::string self = selfPath();
  double best = 1e9;
  long peak = 0, base = 0;
  for (int run = 0; run < 3; ++run) {
    Measured m = runChild({self, "load", dir.string()}, (dir / "load.out").string());
    double seconds = 0;
    long hwm = 0, before = 0;
    if (!m.ok || std::sscanf(m.out.c_str(), "%lf %ld %ld", &seconds, &hwm, &before) != 3) {
      std::printf("load: failed\n");
      break;
    }
    if (seconds < best) best = seconds;
    peak = std::max(peak, hwm);
    base = before;
  }
  if (best < 1e9) {
    std::printf("load:      %.3f s (target 1 s), peak %.0f MB (target 300 MB; %.0f MB before the load)\n",
                best, static_cast<double>(peak) / 1024, static_cast<double>(base) / 1024);
  }

  if (lumf.empty()) lumf = (fs::path(self).parent_path().parent_path() / "tools/lumf").string();
  if (fs::exists(lumf)) {
    double dumpBest = 1e9;
    long dumpPeak = 0;
    for (int run = 0; run < 3; ++run) {
      Measured m = runChild({lumf, "dump", (dir / "game.lumf").string()}, "/dev/null");
      if (!m.ok) {
        std::printf("lumf dump: failed\n");
        break;
      }
      dumpBest = std::min(dumpBest, m.seconds);
      dumpPeak = std::max(dumpPeak, m.peakKb);
    }
    if (dumpBest < 1e9)
      std::printf("lumf dump: %.3f s (target 2 s), peak %.0f MB\n", dumpBest,
                  static_cast<double>(dumpPeak) / 1024);
  } else {
    std::printf("lumf dump: %s is not built\n", lumf.c_str());
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "generate")
    return generate(args[1], args.size() >= 3 ? std::stoi(args[2]) : kDefaultElements);
  if (args.size() == 2 && args[0] == "load") return load(args[1]);
  const int elements = !args.empty() ? std::stoi(args[0]) : kDefaultElements;
  measureAll(elements, args.size() >= 2 ? args[1] : std::string());
  return 0;  // figures only: a missed target never fails
}
