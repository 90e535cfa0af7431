// The files a game reads beside its game file: the save folder, settings,
// language texts, the sound list, the font archive and the Unicode font set.
// Missing or unreadable files leave empty data, never an error.
#include <charconv>
#include <cstdio>
#include <sstream>

#include "media/image_cache.h"
#include "platform/game_folder.h"
#include "platform/user_data.h"
#include "platform/wide_escape.h"
#include "render/archive.h"
#include "render/fonts.h"
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

// "Section.Name": the part before the first point is the section, "Default"
// when there is no point; both parts trimmed.
bool splitKey(const std::string& key, std::string& section, std::string& name) {
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

constexpr size_t kMaxWideText = 2000;

}  // namespace

std::optional<lum::IniFile> TLumDB::openGameIni(const std::string& name) const {
  if (!runtime_ || !runtime_->folder || name.empty()) return std::nullopt;
  std::optional<std::string> bytes = runtime_->folder->readFile(name, lum::IniFile::kMaxFileBytes);
  if (!bytes) return std::nullopt;
  return lum::IniFile::fromBytes(*bytes, runtime_->codePage);
}

void TLumDB::SetFileRS(const std::string& name) {
  if (name == fileRS_) return;
  fileRS_ = name;
  if (!runtime_) return;
  saveFolder_.clear();
  if (runtime_->userDataFolder) {
    saveFolder_ = *runtime_->userDataFolder / "Lumware" / runtime_->codePage.toUtf8(Id);
  } else if (runtime_->folder) {
    saveFolder_ = runtime_->folder->root();
  }
  progressFile_.clear();
  if (name.empty() || saveFolder_.empty()) return;
  std::string relative = runtime_->codePage.toUtf8(name);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  fs::path file = (saveFolder_ / relative).lexically_normal();
  // The progress file stays inside the save folder whatever the name says.
  if (file.lexically_relative(saveFolder_).string().rfind("..", 0) == 0) return;
  if (!createDirectories(file.parent_path())) return;
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    std::FILE* f = std::fopen(file.c_str(), "ab");
    if (!f) return;
    std::fclose(f);
  }
  progressFile_ = file;
}

void TLumDB::SetIniFile(const std::string& name) {
  if (name == iniFile_) return;
  iniFile_ = name;
  if (!runtime_) return;
  settings_.reset();
  if (!saveFolder_.empty() && !name.empty()) {
    settings_ = lum::IniFile::open(saveFolder_ / runtime_->codePage.toUtf8(name), runtime_->codePage);
  }
  // The values come from the copy in the game's folder.
  std::optional<lum::IniFile> local = openGameIni(name);
  auto read = [&](const char* key, int32_t fallback) {
    return local ? local->getInt("Def", key, fallback) : fallback;
  };
  runtime_->soundVolume = read("Snd", 100);
  runtime_->musicVolume = read("Muz", 50);
  runtime_->fullScreenWanted = read("FS", 1) != 0;
  if (runtime_->TestMode) runtime_->fullScreenWanted = false;
  if (runtime_->applyDisplayMode) runtime_->applyDisplayMode();
}

void TLumDB::SetDefLang(const std::string& name) {
  if (name == defLang_) return;
  defLang_ = name;
  defLangTexts_ = openGameIni(name);
}

void TLumDB::SetLang(const std::string& name) {
  if (name == lang_) return;
  std::string chosen = name;
  const GameFolder* folder = runtime_ ? runtime_->folder : nullptr;
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
  if (!runtime_ || !runtime_->archive || !runtime_->folder) return;
  std::optional<fs::path> path = runtime_->folder->resolve(name);
  runtime_->archive->setFileName(path ? path->string() : std::string());
  if (runtime_->fonts && path) runtime_->fonts->LoadFromASDb(*runtime_->archive);
}

std::string TLumDB::LangText(const std::string& key) {
  std::string section, name;
  if (!splitKey(key, section, name) || !langTexts_) return {};
  if (!unicodeMode_) return langTexts_->getString(section, name, "");
  if (unicodeTexts_) {
    if (std::optional<std::string> found = unicodeTexts_->find(section, name)) return *found;
  }
  // Not in the Unicode texts: the language file read as wide text, with
  // every character beyond ASCII carried in the three-byte escape.
  std::u16string wide;
  if (runtime_ && runtime_->folder) {
    if (std::optional<fs::path> path = runtime_->folder->resolve(lang_)) {
      wide = lum::IniFile::open(*path, runtime_->codePage).getWide(section, name, u"");
    }
  }
  if (wide.size() > kMaxWideText) wide.resize(kMaxWideText);
  std::string text = encodeWideEscape(wide, runtime_ ? runtime_->codePage : CodePage(),
                                      WideEscapeMode::NonAscii);
  langTexts_->setString(section, name, text);
  return text;
}

void TLumDB::SoundByKey(const std::string& key, std::string& fileName, int32_t& volume) const {
  std::string section, name;
  if (!splitKey(key, section, name)) {
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
  if (!runtime_ || !runtime_->folder) return;
  const GameFolder& folder = *runtime_->folder;
  std::optional<std::string> fnt = folder.readFile("unicode\\unicode.fnt");
  if (!fnt) return;
  if (std::optional<fs::path> ttf = folder.resolve("unicode\\unicode.ttf")) {
    runtime_->systemFonts.addGameFont(*ttf);
  }
  unicodeTexts_ = openGameIni("unicode\\unicode.lng");
  unicodeMode_ = true;
  if (runtime_->images) unicodeImage_ = runtime_->images->ImRequest("unicode\\unicode.png", true);

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

}  // namespace lum
