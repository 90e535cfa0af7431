#pragma once
// `lumf progress`: a progress file as readable lines.
#include <string>
#include <vector>

namespace lum {

// `lumf progress FILE [--game GAME.lumf] [--codepage CP]`; args are those
// after "progress". Status 1 when the file ends in a broken entry.
int runProgressCommand(const std::vector<std::string>& args);

}  // namespace lum
