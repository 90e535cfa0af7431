// Feeds arbitrary bytes to the settings-file reader (and the reader of the
// user-dirs file): reading, listing, looking up and changing entries must
// never crash, and a value just set must read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "platform/ini_text.h"
#include "platform/pictures_folder.h"

namespace {

const lum::CodePage& codePage() {
  static const lum::CodePage instance;
  return instance;
}

// Section and key names taken from the input itself, so that look-ups hit
// entries the input defines.
std::string_view nameAt(std::string_view bytes, size_t offset) {
  if (bytes.empty()) return "Def";
  offset %= bytes.size();
  return bytes.substr(offset, std::min<size_t>(8, bytes.size() - offset));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto ini = lum::IniFile::fromBytes(bytes, codePage());
  for (size_t i = 0; i < 4; ++i) {
    const auto section = nameAt(bytes, i * 7);
    const auto key = nameAt(bytes, i * 13 + 3);
    (void)ini.getString(section, key, "default");
    (void)ini.getInt(section, key, -1);
    (void)ini.getWide(section, key, u"");
    if (ini.setString(section, key, "v123").ok() && ini.getString(section, key, "") != "v123") {
      __builtin_trap();
    }
  }
  // Names of Unicode files the code page cannot spell list as '?', so a
  // listed name need not look up again.
  (void)ini.entries();
  (void)lum::userDirFromText(bytes, "XDG_PICTURES_DIR", "/home/user");
  (void)lum::trailingComments(bytes);
  (void)lum::parseProfileInt(bytes);
  const auto decoded = lum::decodeIniText(bytes);
  (void)lum::encodeIniText(decoded.bytes, decoded.encoding);
  return 0;
}
