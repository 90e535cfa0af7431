#include "tools/lumf/check_command.h"

#include <iostream>

#include "platform/code_page.h"
#include "tools/lumf/game_check.h"

namespace lum {

int runCheckCommand(const std::vector<std::string>& args) {
  std::string game, codePageName;
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--codepage" && i + 1 < args.size()) {
      codePageName = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && game.empty()) {
      game = args[i];
    } else {
      std::cerr << "lumf: usage: lumf check GAME [--json] [--codepage CP]\n";
      return 2;
    }
  }
  if (game.empty()) {
    std::cerr << "lumf: check needs a game folder or .lumf file\n";
    return 2;
  }
  CodePage codePage;
  if (!codePageName.empty()) {
    Result<CodePage> made = CodePage::create(codePageName);
    if (!made) {
      std::cerr << "lumf: " << made.error().text() << '\n';
      return 2;
    }
    codePage = *made;
  }
  Result<std::vector<Finding>> findings = checkGame(game, codePage);
  if (!findings) {
    std::cerr << "lumf: cannot read the game: " << findings.error().text() << '\n';
    return 2;
  }
  if (json) {
    writeFindingsJson(std::cout, game, *findings);
  } else {
    writeFindingsText(std::cout, game, *findings);
  }
  return findings->empty() ? 0 : 1;
}

}  // namespace lum
