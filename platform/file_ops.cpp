#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <cstring>
#include <vector>

namespace lum {
namespace {

Error systemError(std::string_view what, const std::filesystem::path& path, int code) {
  return Error{std::string(what) + " \"" + path.string() + "\": " + std::strerror(code)};
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A hidden name in the target's folder, so the final rename stays within
// one file system.
std::string temporaryTemplate(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  return (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
}

// A temporary file left by a writer that died (a killed runner) is neither
// locked nor fresh: live writers hold a lock on theirs, and this age covers
// the moments before the lock is taken and after it is dropped.
constexpr time_t kStaleTemporaryAge = 10;

bool isTemporaryOf(const std::string& name, const std::string& prefix) {
  constexpr size_t kRandomChars = 6;  // what mkstemp puts in place of XXXXXX
  if (name.size() != prefix.size() + kRandomChars || name.compare(0, prefix.size(), prefix) != 0)
    return false;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

// Removes the temporary files that earlier writes of `path` left behind.
void removeStaleTemporaries(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const std::string prefix = "." + path.filename().string() + ".tmp-";
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::filesystem::path candidate = it->path();
    if (!isTemporaryOf(candidate.filename().string(), prefix)) continue;
    const int fd = ::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_mtime + kStaleTemporaryAge < ::time(nullptr) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(candidate.c_str());
    }
    ::close(fd);
  }
}

Status replaceFile(const std::filesystem::path& path, std::string_view bytes,
                   const std::filesystem::path* backup);

void syncFolder(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

Result<std::string> readFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes) {
  // O_NONBLOCK so that a FIFO under a game's file name cannot stall us; it
  // is refused below like any other file that is not a regular one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return systemError("cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return Error{"cannot read \"" + path.string() + "\": not a regular file"};
  }
  std::string bytes;
  // The whole file in one allocation: growing by doubling would hold up to
  // three times a big file at once.
  bytes.reserve(std::min(static_cast<size_t>(std::max<off_t>(info.st_size, 0)), maxBytes));
  std::vector<char> chunk(1 << 16);
  for (;;) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int failure = errno;
      ::close(fd);
      return systemError("cannot read", path, failure);
    }
    if (got == 0) break;
    if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
      ::close(fd);
      return Error{"file \"" + path.string() + "\" is larger than " + std::to_string(maxBytes) +
                   " bytes"};
    }
    bytes.append(chunk.data(), static_cast<size_t>(got));
  }
  ::close(fd);
  return bytes;
}

Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  return replaceFile(path, bytes, nullptr);
}

Status writeFileKeepingBackup(const std::filesystem::path& path,
                              const std::filesystem::path& backup, std::string_view bytes) {
  return replaceFile(path, bytes, &backup);
}

namespace {

// The old file becomes the backup through a second name, so the file itself
// stays in place until the new content replaces it: a reader (or a run
// killed between the two steps) always finds a whole file under its name.
// Where the file system has no hard links, the old file moves aside instead.
bool keepAsBackup(const std::filesystem::path& path, const std::filesystem::path& backup) {
  removeStaleTemporaries(backup);
  std::string link = temporaryTemplate(backup);
  const int fd = ::mkstemp(link.data());
  if (fd >= 0) {
    ::close(fd);
    ::unlink(link.c_str());
    if (::link(path.c_str(), link.c_str()) == 0) {
      if (::rename(link.c_str(), backup.c_str()) == 0) return true;
      ::unlink(link.c_str());
      return false;
    }
  }
  return ::rename(path.c_str(), backup.c_str()) == 0;
}

Status replaceFile(const std::filesystem::path& path, std::string_view bytes,
                   const std::filesystem::path* backup) {
  removeStaleTemporaries(path);
  std::string name = temporaryTemplate(path);
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return systemError("cannot create a temporary file for", path, errno);
  ::flock(fd, LOCK_EX);  // marks the file as being written (see removeStaleTemporaries)

  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  ok = (::close(fd) == 0) && ok;
  // The new content is whole on disk before the old file becomes the backup;
  // a missing old file is no reason to stop.
  struct stat old {};
  if (ok && backup && ::lstat(path.c_str(), &old) == 0) ok = keepAsBackup(path, *backup);
  if (ok && ::rename(name.c_str(), path.c_str()) == 0) {
    syncFolder(path);
    return {};
  }
  const int failure = ok ? errno : writeErrno;
  ::unlink(name.c_str());
  return systemError("cannot write", path, failure ? failure : EIO);
}

}  // namespace

Status appendLine(const std::filesystem::path& path, std::string_view line) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return systemError("cannot open", path, errno);
  std::string text(line);
  text += '\n';
  const bool ok = writeAll(fd, text);
  const int failure = errno;
  ::close(fd);
  if (!ok) return systemError("cannot append to", path, failure);
  return {};
}

Status deleteFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return Error{"cannot delete \"" + path.string() + "\": it is a folder"};
  }
  if (::unlink(path.c_str()) != 0) return systemError("cannot delete", path, errno);
  return {};
}

bool isFolderWritable(const std::filesystem::path& folder) {
  std::string name = (folder / ".write-test-XXXXXX").string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(name.c_str());
  return true;
}

}  // namespace lum
