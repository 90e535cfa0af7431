#pragma once
// A folder whose files a game names the Windows way: "Pics\A.bmp" finds
// pics/a.BMP, whatever the letter case on disk. Names are 8-bit strings in
// the game's code page and are converted to the UTF-8 of the file system.
//
// Names never leave the folder: a drive or server name ("C:\...",
// "\\host\...") and ".." above the folder resolve to nothing (missing), so
// a game can never name other files of the machine; writes and deletes also
// refuse symbolic links that lead out of the folder. A single leading
// separator ("\Pics\a.bmp") counts from this folder, which plays the part
// of the drive root.
//
// Folder listings are cached; call invalidate() after creating, renaming or
// deleting files through other means. Not thread-safe (the cache is filled
// by const look-ups).
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/result.h"

namespace lum {

struct FolderEntry {
  std::string name;  // in the game's code page
  bool isFolder = false;
};

class GameFolder {
 public:
  explicit GameFolder(std::filesystem::path root, CodePage codePage = CodePage());

  const std::filesystem::path& root() const { return root_; }
  const CodePage& codePage() const { return codePage_; }

  // The real path of an existing file or folder, or nothing when missing.
  // When the disk holds names differing only in case, an exact match wins,
  // else the first in byte order.
  std::optional<std::filesystem::path> resolve(std::string_view windowsName) const;
  // A regular file exists under that name (folders do not count).
  bool exists(std::string_view windowsName) const;
  bool folderExists(std::string_view windowsName) const;

  // The whole file, or nothing when it is missing, unreadable or larger
  // than maxBytes.
  std::optional<std::string> readFile(std::string_view windowsName,
                                      std::uintmax_t maxBytes = kDefaultMaxFileBytes) const;

  // Entries of a folder whose names match a pattern like "*.lumf", sorted
  // by name without regard to case. Entries whose names the code page cannot
  // spell are left out: no 8-bit name could open them.
  std::vector<FolderEntry> list(std::string_view windowsFolder, std::string_view pattern) const;

  // Where to write a file of that name: existing folders and an existing
  // file are matched without regard to case, the rest is kept as given (so
  // missing folders appear in the path and may be created). Nothing for
  // names that would leave the folder.
  std::optional<std::filesystem::path> pathForCreate(std::string_view windowsName) const;

  // Where a write under that name really lands: pathForCreate(name) with
  // symbolic links followed. Nothing when the name or a link leads outside
  // the folder, or a link leads nowhere. With createFolders, the missing
  // folders of the name are made first (only when their existing part is
  // inside).
  std::optional<std::filesystem::path> pathForWrite(std::string_view windowsName,
                                                    bool createFolders = false);

  // Writes a whole file atomically at pathForWrite(name); the folders must
  // exist. Deletes the file a name resolves to (folders are refused; a link
  // is removed itself, and only when the folder holding it is inside). Both
  // keep the listing cache in step.
  Status writeFile(std::string_view windowsName, std::string_view bytes);
  Status removeFile(std::string_view windowsName);

  void invalidate() { listings_.clear(); }

  static constexpr std::uintmax_t kDefaultMaxFileBytes = std::uintmax_t{1} << 30;

 private:
  struct Entry {
    std::string key;       // upper-cased name in the code page
    std::string name;      // name in the code page
    std::string diskName;  // name as stored on disk
    bool isFolder = false;
  };
  using Listing = std::vector<Entry>;  // sorted by key, then disk name

  const Listing& listing(const std::filesystem::path& folder) const;
  const Entry* find(const std::filesystem::path& folder, std::string_view component,
                    bool foldersOnly) const;

  std::filesystem::path root_;
  CodePage codePage_;
  mutable std::map<std::filesystem::path, Listing> listings_;
};

}  // namespace lum
