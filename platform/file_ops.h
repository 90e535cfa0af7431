#pragma once
// Whole-file operations on real paths. Failures come back as values with the
// path and the system's reason in the message.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace lum {

// Refuses files larger than maxBytes rather than exhausting memory on a
// damaged or hostile file.
Result<std::string> readFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Writes a temporary file in the same folder, flushes it to disk and renames
// it over the target, so readers (and a crash) see either the old or the new
// content, never a mix. An existing file keeps its permissions. Temporary
// files of the same target that a killed writer left behind are removed.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// As writeFileAtomically, and the file replaced becomes `backup` (in the same
// folder), replacing an older backup. The new content is on disk before the
// old file moves, so a crash leaves the old file, or the new one, or no file
// and the old content in the backup.
Status writeFileKeepingBackup(const std::filesystem::path& path,
                              const std::filesystem::path& backup, std::string_view bytes);

// Appends the line and a line break, creating the file; the file is opened
// and closed again for each line so that a log survives a crash.
Status appendLine(const std::filesystem::path& path, std::string_view line);

// Deletes a file (not a folder).
Status deleteFile(const std::filesystem::path& path);

// Whether a file can be created in the folder (tried, not guessed).
bool isFolderWritable(const std::filesystem::path& folder);

}  // namespace lum
