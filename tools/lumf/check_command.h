#pragma once
// lumf check GAME [--json] [--codepage CP]: exit status 0 without findings,
// 1 with findings, 2 when the game cannot be read.
#include <string>
#include <vector>

namespace lum {

int runCheckCommand(const std::vector<std::string>& args);

}  // namespace lum
