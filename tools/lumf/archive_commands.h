#pragma once
// The archive and bitmap-font commands of lumf.
#include <string>
#include <vector>

namespace lum {

// `lumf archive list|extract|pack ...`; args are those after "archive".
int runArchiveCommand(const std::vector<std::string>& args);
// `lumf font FONT.ttf --size N ...`; args are those after "font".
int runFontCommand(const std::vector<std::string>& args);

}  // namespace lum
