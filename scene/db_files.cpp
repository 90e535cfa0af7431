// The files a game reads beside its game file: the save folder, settings,
// language texts, the sound list, the font archive and the Unicode font set.
// Missing or unreadable files leave empty data, never an error.
#include <charconv>
#include <cstdio>
#include <sstream>

#include "media/image_cache.h"
#include "media/sound.h"
#include "platform/game_folder.h"
#include "platform/user_data.h"
#include "platform/wide_escape.h"
#include "render/archive.h"
#include "render/fonts.h"
#include "render/system_fonts.h"
#include "scene/db.h"
#include "scene/runtime.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

std::string trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

constexpr size_t kMaxWideText = 2000;

}  // namespace

// "Section.Name": the part before the first point is the section, "Default"
// when there is no point; both parts trimmed.
bool splitTextKey(const std::string& key, std::string& section, std::string& name) {
  size_t dot = key.find('.');
  if (dot == std::string::npos) {
    section = "Default";
    name = trimmed(key);
  } else {
    section = trimmed(std::string_view(key).substr(0, dot));
    name = trimmed(std::string_view(key).substr(dot + 1));
  }
  return !section.empty() && !name.empty();
}

std::optional<lum::IniFile> TLumDB::openGameIni(const std::string& name) const {
  if (!runtime_ || name.empty()) return std::nullopt;
  const Services& sv = runtime_->services;
  std::optional<std::string> bytes = sv.folder.readFile(name, lum::IniFile::kMaxFileBytes);
  if (!bytes) return std::nullopt;
  return lum::IniFile::fromBytes(*bytes, sv.codePage);
}

void TLumDB::placeSaveFolder() {
  const CodePage& codePage = runtime_->services.codePage;
  saveFiles_.reset();
  if (runtime_->userDataFolder) {
    // One folder per game, whatever its Id holds (separators, "..").
    saveFolder_ = *runtime_->userDataFolder / "Lumware" / saveFolderName(codePage.toUtf8(Id));
  } else {
    saveFolder_ = runtime_->services.folder.root();
  }
  saveFiles_.emplace(saveFolder_, codePage);
}

std::optional<fs::path> TLumDB::saveFilePath(const std::string& name) {
  if (!saveFiles_ || name.empty()) return std::nullopt;
  // The save folder itself is the user's; names below it are the game's,
  // Windows style, and may not leave it.
  if (!createDirectories(saveFolder_)) return std::nullopt;
  saveFiles_->invalidate();
  return saveFiles_->pathForWrite(name, true);
}

void TLumDB::SetFileRS(const std::string& name) {
  if (name == fileRS_) return;
  fileRS_ = name;
  if (!runtime_) return;
  placeSaveFolder();
  progressFile_.clear();
  std::optional<fs::path> file = saveFilePath(name);
  if (!file) return;
  std::error_code ec;
  // A missing file whose backup survived (a save cut short) stays missing,
  // so that loading finds the backup.
  progressFile_ = *file;
  if (!fs::exists(*file, ec) && !fs::exists(progressBackup(), ec)) {
    std::FILE* f = std::fopen(file->c_str(), "ab");
    if (!f) {
      progressFile_.clear();
      return;
    }
    std::fclose(f);
  }
}

void TLumDB::SetIniFile(const std::string& name) {
  if (name == iniFile_) return;
  iniFile_ = name;
  if (!runtime_) return;
  // The settings are kept whether or not the game has a progress file.
  placeSaveFolder();
  settings_.reset();
  if (std::optional<fs::path> path = saveFilePath(name)) {
    settings_ = lum::IniFile::open(*path, runtime_->services.codePage);
  }
  // The values come from the copy in the game's folder.
  std::optional<lum::IniFile> local = openGameIni(name);
  auto read = [&](const char* key, int32_t fallback) {
    return local ? local->getInt("Def", key, fallback) : fallback;
  };
  Sound& sound = runtime_->services.sound;
  sound.setEffectsVolume(read("Snd", 100));
  sound.setMusicVolume(read("Muz", 50));
  GameState& st = runtime_->state;
  st.fullScreenWanted = read("FS", 1) != 0;
  if (st.testMode) st.fullScreenWanted = false;
}

void TLumDB::SetDefLang(const std::string& name) {
  if (name == defLang_) return;
  defLang_ = name;
  defLangTexts_ = openGameIni(name);
}

void TLumDB::SetLang(const std::string& name) {
  if (name == lang_) return;
  std::string chosen = name;
  const GameFolder* folder = runtime_ ? &runtime_->services.folder : nullptr;
  if (folder && !folder->exists(name)) {
    for (const char* fallback : {"eng.lng", "rus.lng", "deu.lng"}) {
      if (folder->exists(fallback)) {
        chosen = fallback;
        break;
      }
    }
  }
  lang_ = chosen;
  langTexts_ = openGameIni(chosen);
}

void TLumDB::SetSoundFile(const std::string& name) {
  if (name == soundFile_) return;
  soundFile_ = name;
  soundList_ = openGameIni(name);
}

void TLumDB::SetFileFonts(const std::string& name) {
  if (name == fileFonts_) return;
  fileFonts_ = name;
  if (!runtime_) return;
  const Services& sv = runtime_->services;
  std::optional<fs::path> path = sv.folder.resolve(name);
  // The game only reads its archive; a missing one must never be created.
  sv.archive.setOpenMode(TOpenModes::opReadOnly);
  sv.archive.setFileName(path ? path->string() : std::string());
  if (path) sv.fonts.LoadFromASDb(sv.archive);
}

std::string TLumDB::LangText(const std::string& key) {
  std::string section, name;
  if (!splitTextKey(key, section, name) || !langTexts_) return {};
  if (!unicodeMode_) return langTexts_->getString(section, name, "");
  if (unicodeTexts_) {
    if (std::optional<std::string> found = unicodeTexts_->find(section, name)) return *found;
  }
  // Not in the Unicode texts: the language file read as wide text, with
  // every character beyond ASCII carried in the three-byte escape.
  std::u16string wide;
  const CodePage codePage = runtime_ ? runtime_->services.codePage : CodePage();
  if (runtime_) {
    if (std::optional<fs::path> path = runtime_->services.folder.resolve(lang_)) {
      wide = lum::IniFile::open(*path, codePage).getWide(section, name, u"");
    }
  }
  if (wide.size() > kMaxWideText) wide.resize(kMaxWideText);
  std::string text = encodeWideEscape(wide, codePage, WideEscapeMode::NonAscii);
  langTexts_->setString(section, name, text);
  return text;
}

void TLumDB::SoundByKey(const std::string& key, std::string& fileName, int32_t& volume) const {
  std::string section, name;
  if (!splitTextKey(key, section, name)) {
    fileName.clear();
    volume = 0;
    return;
  }
  if (!soundList_) return;
  std::string entry = soundList_->getString(section, name, "");
  size_t colon = entry.find(':');
  if (colon == std::string::npos) {
    volume = 100;
    fileName = entry;
    return;
  }
  // A volume that is not a number leaves the volume as it was.
  std::string number = trimmed(std::string_view(entry).substr(0, colon));
  int32_t v = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
  if (ec == std::errc() && end == number.data() + number.size() && !number.empty()) volume = v;
  fileName = entry.substr(colon + 1);
}

void TLumDB::SetUpUnicode() {
  if (!runtime_) return;
  const GameFolder& folder = runtime_->services.folder;
  std::optional<std::string> fnt = folder.readFile("unicode\\unicode.fnt");
  if (!fnt) return;
  if (std::optional<fs::path> ttf = folder.resolve("unicode\\unicode.ttf")) {
    runtime_->services.systemFonts.addGameFont(*ttf);
  }
  unicodeTexts_ = openGameIni("unicode\\unicode.lng");
  unicodeMode_ = true;
  unicodeImage_ = runtime_->services.images.ImRequest("unicode\\unicode.png", true);

  std::istringstream in(*fnt);
  std::string line;
  long count = 0;
  if (std::getline(in, line)) count = std::strtol(line.c_str(), nullptr, 10);
  for (long j = 0; j < count && std::getline(in, line); ++j) {
    unsigned long code = 0, width = 0;
    std::istringstream fields(line);
    if (!(fields >> std::hex >> code >> std::dec >> width) || code > 0xFFFF) continue;
    if (glyphs_.size() <= code) glyphs_.resize(code + 1);
    glyphs_[code].index = static_cast<uint16_t>(j);
    glyphs_[code].width = static_cast<uint16_t>(roundToInt32(static_cast<double>(width) / 1.7));
  }
  if (std::getline(in, line)) systemFontName_ = trimmed(line);
}

void TLumDB::StoreDisplayChoice() {
  if (!runtime_ || !settings_) return;
  const Services& sv = runtime_->services;
  if (std::optional<fs::path> path = sv.folder.pathForWrite(iniFile_)) {
    lum::IniFile::open(*path, sv.codePage)
        .setString("Def", "FS", runtime_->state.fullScreenWanted ? "1" : "0");
  }
}

}  // namespace lum
