#pragma once
// Windows file names as games write them: '\' or '/' between components, a
// drive ("C:") or server ("\\host\share") in front of absolute names, and
// components whose trailing dots and blanks Windows ignores.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

// True for names that start with a drive letter and colon or with two
// separators (a server share): names that point outside any game folder.
bool isDriveOrServerName(std::string_view name);

// The components of a name taken below some folder, with empty components
// (doubled or trailing separators) and "." dropped, ".." applied, and
// trailing dots and blanks of each component removed as Windows does. A
// single leading separator is read as that folder itself. Nothing when the
// name has a drive or server, holds a NUL byte, or climbs above the folder.
std::optional<std::vector<std::string>> splitWindowsName(std::string_view name);

// The part after the last separator or drive colon ("C:\a\b.lumf" gives
// "b.lumf"), and the part up to and including it ("C:\a\").
std::string_view windowsFileName(std::string_view name);
std::string_view windowsFolderPart(std::string_view name);

}  // namespace lum
