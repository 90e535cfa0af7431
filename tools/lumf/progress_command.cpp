// Prints each entry of a progress file on a line of its own:
//   key [class 'id'] NAME tag value
// with the element's class and Id when the game file is given, so that a
// player or porter can see what a save holds.
#include "tools/lumf/progress_command.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "platform/code_page.h"
#include "platform/file_ops.h"
#include "scene/db.h"
#include "scene/game_file.h"
#include "scene/progress_file.h"

namespace lum {
namespace {

constexpr const char* kUsage = "usage: lumf progress FILE [--game GAME.lumf] [--codepage CP]\n";
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

// An 8-bit text as UTF-8 in single quotes, control bytes as \xNN.
std::string quotedText(const std::string& bytes, const CodePage& cp) {
  std::string out = "'";
  for (unsigned char c : cp.toUtf8(bytes)) {
    if (c < 0x20 || c == '\'' || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out + "'";
}

std::string describe(const TLumElement* e, const CodePage& cp) {
  if (!e) return "(no element)";
  return e->className() + " " + quotedText(e->Id, cp);
}

std::string realText(double v) {
  std::ostringstream s;
  s.precision(17);
  s << v;
  return s.str();
}

}  // namespace

int runProgressCommand(const std::vector<std::string>& args) {
  std::string file, game, codePage;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--game" || args[i] == "--codepage") && i + 1 < args.size()) {
      std::string& target = args[i] == "--game" ? game : codePage;
      target = args[++i];
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (file.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  CodePage cp;
  if (!codePage.empty()) {
    Result<CodePage> made = CodePage::create(codePage);
    if (!made) {
      std::cerr << "lumf: " << made.error().text() << '\n';
      return 2;
    }
    cp = *made;
  }
  TLumDB root;
  const bool haveGame = !game.empty();
  if (haveGame) {
    if (Status s = loadGameFile(root, game); !s) {
      std::cerr << "lumf: " << s.error().text() << '\n';
      return 2;
    }
  }
  Result<std::string> bytes = readFileBytes(file, kMaxFileBytes);
  if (!bytes) {
    std::cerr << "lumf: " << bytes.error().text() << '\n';
    return 2;
  }

  ProgressReader reader(*bytes);
  ProgressEntry e;
  while (reader.next(e)) {
    std::cout << e.key;
    if (haveGame) std::cout << ' ' << describe(root.FindByKey(e.key), cp);
    std::cout << ' ' << e.name << ' ';
    if (!e.known) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "0x%02X", e.tag);
      std::cout << buf << " (unknown tag, no value)\n";
      continue;
    }
    std::cout << static_cast<char>(e.tag) << ' ';
    switch (static_cast<ProgressTag>(e.tag)) {
      case ProgressTag::Extended:
        std::cout << realText(e.value.real());
        break;
      case ProgressTag::String:
        std::cout << quotedText(e.value.text(), cp);
        break;
      case ProgressTag::Element: {
        const auto key = static_cast<int32_t>(e.value.whole());
        if (key == kNilElementKey) {
          std::cout << "NIL";
        } else {
          std::cout << "-> " << key;
          if (haveGame) std::cout << ' ' << describe(root.FindByKey(key), cp);
        }
        break;
      }
      default:
        std::cout << e.value.whole();
        break;
    }
    std::cout << '\n';
  }
  if (!reader.atEnd()) {
    std::cerr << "lumf: " << file << ": broken entry at byte " << reader.offset()
              << "; what follows is not read\n";
    return 1;
  }
  return 0;
}

}  // namespace lum
