#pragma once
// Reading a game file from disk into a root.
#include <filesystem>
#include <string>

#include "platform/result.h"

namespace lum {

class TLumDB;

// Game files are read whole; anything larger than this is refused rather
// than taking all memory.
constexpr uintmax_t kMaxGameFileSize = 512u * 1024u * 1024u;

Result<std::string> readGameFileBytes(const std::filesystem::path& path);

// Reads and builds; the root keeps no children when the file is refused.
Status loadGameFile(TLumDB& root, const std::filesystem::path& path);

}  // namespace lum
