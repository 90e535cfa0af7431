#pragma once
// Settings files with the behaviour of the Windows private-profile calls
// that games were written against:
//  - sections and keys match without regard to ASCII letter case;
//  - blanks around keys and values are ignored, and one pair of matching
//    double or single quotes around a value is removed;
//  - the first of duplicate keys wins; keys of a repeated section join the
//    first one (Windows would not see them);
//  - text after ';' inside a value is part of the value; lines starting with
//    ';' or '#', and lines without '=', are ignored;
//  - a missing or unreadable file reads as empty and garbled lines are
//    skipped, never an error; reading stops at a NUL byte.
//
// Files are 8-bit text in the game's code page, or Unicode when they begin
// with a UTF-8 or UTF-16 byte-order mark; both the 8-bit and the wide
// accessors work on either kind, converting as Windows does (characters the
// code page lacks become '?'). A new file is written as 8-bit text.
//
// Every set writes the whole file through at once, atomically (temporary
// file, flush, rename), keeping every other entry and the comments above
// sections and keys; layout between entries may be normalised. A change made
// on disk by someone else is picked up by the next get or set.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/result.h"

namespace lum {

enum class IniEncoding { CodePage, Utf8, Utf16 };

// One value of an ini file, in the game's code page.
struct IniEntry {
  std::string section, key, value;
};

class IniFile {
 public:
  // A file on disk, read at once. Writes go to this path.
  static IniFile open(std::filesystem::path path, CodePage codePage = CodePage());
  // Contents held only in memory (language and sound lists); sets change
  // the memory only.
  static IniFile fromBytes(std::string_view bytes, CodePage codePage = CodePage());

  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;
  ~IniFile();

  // 8-bit text in the game's code page; `fallback` when the key is absent.
  std::string getString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
  std::optional<std::string> find(std::string_view section, std::string_view key) const;
  // Every value, in the order of the file (of duplicate keys the first,
  // which is the one look-ups find).
  std::vector<IniEntry> entries() const;
  // As Windows reads integers from profiles: after optional blanks and one
  // sign, "0x" starts hexadecimal, "0o" octal and "0b" binary digits (lower
  // case only), otherwise decimal; reading stops at the first character that
  // is not a digit, so "12abc" is 12 and "abc" is 0. The value wraps at 32
  // bits. `fallback` only when the key is absent or its value empty.
  int32_t getInt(std::string_view section, std::string_view key, int32_t fallback) const;
  std::u16string getWide(std::string_view section, std::string_view key,
                         std::u16string_view fallback) const;

  // Line breaks and NUL bytes in the value become blanks, so a value can
  // never add lines of its own. Sections and keys that could not be read
  // back (empty, with line breaks, '=' in a key, ']' in a section) are
  // refused. A file that exists but could not be read, or that holds NUL
  // bytes, is never overwritten.
  Status setString(std::string_view section, std::string_view key, std::string_view value);
  Status setWide(std::string_view section, std::string_view key, std::u16string_view value);

  const std::optional<std::filesystem::path>& path() const { return path_; }
  IniEncoding encoding() const { return encoding_; }

  // Upper bound on the size of an ini file we read.
  static constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

 private:
  struct Document;
  struct Snapshot {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const Snapshot&) const = default;
  };

  IniFile(std::optional<std::filesystem::path> path, CodePage codePage);
  void parse(std::string_view bytes) const;
  void load() const;
  void reloadIfChanged() const;
  Snapshot snapshot() const;
  Status store(std::string_view section, std::string_view key, std::string storedValue);
  std::optional<std::string> findStored(std::string_view section, std::string_view key) const;
  std::string toStored(std::string_view bytes) const;
  std::string fromStored(std::string_view stored) const;

  std::optional<std::filesystem::path> path_;
  CodePage codePage_;
  // What was last read from disk; gets reload it when the file changed.
  mutable IniEncoding encoding_ = IniEncoding::CodePage;
  mutable std::unique_ptr<Document> document_;
  mutable Snapshot seen_;
  mutable std::optional<std::string> notWritable_;  // why the file must not be rewritten
};

// Looks a bare ini name up the way Windows looks in its own folder: the
// first of the folders holding a file of that name (without regard to
// case). Nothing when none does.
std::optional<std::filesystem::path> locateIniFile(
    std::string_view name, const std::vector<std::filesystem::path>& folders,
    const CodePage& codePage = CodePage());

}  // namespace lum
