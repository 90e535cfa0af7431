#include "scene/game_file.h"

#include "platform/file_ops.h"
#include "scene/db.h"

namespace lum {

Result<std::string> readGameFileBytes(const std::filesystem::path& path) {
  return readFileBytes(path, kMaxGameFileSize);
}

Status loadGameFile(TLumDB& root, const std::filesystem::path& path) {
  Result<std::string> bytes = readGameFileBytes(path);
  if (!bytes) return bytes.error();
  Status s = root.LoadFromBytes(*bytes);
  if (!s) return Error{path.filename().string() + ": " + s.error().message, s.error().offset};
  return s;
}

}  // namespace lum
