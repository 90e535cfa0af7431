#pragma once
// Where a write or a delete really lands once symbolic links are followed,
// so that callers can refuse what would leave the folders they may change.
#include <filesystem>
#include <optional>

namespace lum {

// The real path a file written at `path` ends up at: links resolved in the
// part of the path that exists (the file itself included, when it is a
// link), followed by the missing rest. Nothing when a link leads nowhere or
// the missing rest climbs with "..".
std::optional<std::filesystem::path> realWriteTarget(const std::filesystem::path& path);

// The real path of the folder entry that deleting `path` removes: links in
// its folders resolved, the entry itself not followed (a link is removed,
// never what it points to). Nothing when the folder does not exist.
std::optional<std::filesystem::path> realDeleteTarget(const std::filesystem::path& path);

// Whether a real path is the real folder or lies below it (both already
// resolved; compared component by component, so "/a/bc" is not inside "/a/b").
bool isInsideFolder(const std::filesystem::path& realPath, const std::filesystem::path& realFolder);

}  // namespace lum
