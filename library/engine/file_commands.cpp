// Commands for language texts, files and the settings file.
#include <cctype>

#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "platform/game_folder.h"
#include "platform/utf.h"
#include "platform/wide_escape.h"
#include "scene/db.h"
#include "scene/runtime.h"

namespace lum::engine {
namespace {

constexpr std::string_view kHexPrefix = "#$#$";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#$#$" and two hexadecimal digits per byte, up to the first pair that is
// not one.
std::string decodeHexValue(std::string_view value) {
  std::string bytes;
  value.remove_prefix(kHexPrefix.size());
  while (value.size() >= 2) {
    int hi = hexDigit(value[0]), lo = hexDigit(value[1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
    value.remove_prefix(2);
  }
  return bytes;
}

std::string encodeHexValue(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out(kHexPrefix);
  for (unsigned char b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

// The settings file's copy in the game's folder, which the wide-text form
// of the settings commands reads and writes; nothing when its name or a
// symbolic link leads out of the folder.
std::optional<std::filesystem::path> localSettingsPath(TLumDB& root, Runtime& rt) {
  if (root.IniFile().empty()) return std::nullopt;
  return rt.services.folder.pathForWrite(root.IniFile());
}

}  // namespace

bool EngineCommands::GetText(RoutineCall& c) {
  if (c.Count() != 1) return false;
  std::string key;
  if (!c.Text(0, key)) return false;
  TLumDB* root = rootOf(c);
  c.Return(ScriptValue::String(root ? root->LangText(key) : std::string()));
  return true;
}

bool EngineCommands::DelFile(RoutineCall& c) {
  if (c.Count() != 1) return false;
  std::string name;
  if (!c.Text(0, name)) return false;
  c.Return(ScriptValue::Byte(0));
  Runtime* rt = runtimeOf(c);
  // Only files of the game's folder can go; names that lead out of it are
  // refused by the folder.
  if (rt) {
    rt->services.folder.invalidate();  // the file may have been made after the folder was last read
    rt->services.folder.removeFile(name);
  }
  return true;
}

bool EngineCommands::GetIni(RoutineCall& c) {
  if (c.Count() != 3) return false;
  std::string section, key, fallback;
  if (!c.Text(0, section) || !c.Text(1, key) || !c.Text(2, fallback)) return false;
  TLumDB* root = rootOf(c);
  Runtime* rt = runtimeOf(c);
  if (!root || !rt) {
    c.Return(ScriptValue::String(fallback));
    return true;
  }
  // Without Unicode mode the settings file of the save folder; with it the
  // copy in the game's folder, which needs no save folder.
  if (!root->unicodeMode()) {
    IniFile* settings = root->settings();
    c.Return(ScriptValue::String(settings ? settings->getString(section, key, fallback) : fallback));
    return true;
  }
  std::u16string wide;
  if (auto path = localSettingsPath(*root, *rt)) {
    wide = IniFile::open(*path, rt->services.codePage).getWide(section, key, u"");
  }
  std::string utf8;
  std::string narrow = rt->services.codePage.fromUtf16(wide);
  if (narrow.rfind(kHexPrefix, 0) == 0) {
    utf8 = decodeHexValue(narrow);
  } else {
    utf8 = narrow;
  }
  c.Return(ScriptValue::String(
      encodeWideEscape(utf8ToUtf16(utf8), rt->services.codePage, WideEscapeMode::NonAscii)));
  return true;
}

bool EngineCommands::SetIni(RoutineCall& c) {
  if (c.Count() != 3) return false;
  std::string section, key, value;
  if (!c.Text(0, section) || !c.Text(1, key) || !c.Text(2, value)) return false;
  c.Return(ScriptValue::Byte(0));
  TLumDB* root = rootOf(c);
  Runtime* rt = runtimeOf(c);
  if (!root || !rt) return true;
  if (!root->unicodeMode()) {
    if (IniFile* settings = root->settings()) settings->setString(section, key, value);
    return true;
  }
  std::string utf8 = utf16ToUtf8(decodeWideEscape(value, rt->services.codePage));
  if (auto path = localSettingsPath(*root, *rt)) {
    IniFile::open(*path, rt->services.codePage).setWide(section, key, utf8ToUtf16(encodeHexValue(utf8)));
  }
  return true;
}

}  // namespace lum::engine
