#pragma once
// Reads a game as the runner does (its folder, archive, language and sound
// lists, with every routine registered) and finds what would go wrong in
// play: missing files, scripts that do not prepare, calls of unknown
// routines, references by key to no element or the wrong kind, duplicate
// keys and language keys missing from a language file.
#include <filesystem>
#include <vector>

#include "platform/code_page.h"
#include "platform/result.h"
#include "tools/lumf/check_findings.h"

namespace lum {

// `game` is a game folder or a .lumf file. The error says why the game
// could not be read at all.
Result<std::vector<Finding>> checkGame(const std::filesystem::path& game,
                                       const CodePage& codePage);

}  // namespace lum
