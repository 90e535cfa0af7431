#pragma once
// TLumDB: the root of the tree, owner of what is global to a game.
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/game_folder.h"
#include "platform/ini_file.h"
#include "platform/result.h"
#include "scene/element.h"
#include "scene/stars.h"

namespace lum {

struct TLumIm;

// One character of the Unicode glyph sheet.
struct UnicodeGlyph {
  uint16_t index = 0;  // frame of the sheet
  uint16_t width = 0;  // advance in sheet pixels; 0 for codes without a glyph
};

// A language or sound key "Section.Name": the part before the first point
// is the section, "Default" when there is no point; both parts trimmed.
// False when either part is empty.
bool splitTextKey(const std::string& key, std::string& section, std::string& name);

class TLumDB : public TLumElement {
 public:
  explicit TLumDB(Runtime* runtime = nullptr);
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  Runtime* runtime() const { return runtime_; }

  // Reads the game file of the game's folder and builds the tree, then the
  // Unicode font set. A missing file leaves the tree empty; a malformed one
  // is refused with the reason.
  Status LoadGame(const std::string& gameFileName);

  // Builds the tree from the bytes of a game file. A malformed file leaves
  // the root without children and returns what was wrong and where.
  Status LoadFromBytes(const std::string& bytes);

  int32_t CurKey = 0;
  int32_t InitScreen = 0;
  int32_t LoadingScreen = 0;
  uint8_t hxTransLev = 0;
  int32_t MaxMem = 0;
  std::string Cheats;
  bool SaveErr = false;
  // Whether script errors go to the error log.
  void SetSaveErr(bool on);
  bool AlwaysLoadIm = false;

  const std::string& FileRS() const { return fileRS_; }
  const std::string& FileFonts() const { return fileFonts_; }
  const std::string& DefLang() const { return defLang_; }
  const std::string& Lang() const { return lang_; }
  const std::string& IniFile() const { return iniFile_; }
  const std::string& SoundFile() const { return soundFile_; }
  void SetFileRS(const std::string& name);
  void SetFileFonts(const std::string& name);
  void SetDefLang(const std::string& name);
  void SetLang(const std::string& name);
  void SetIniFile(const std::string& name);
  void SetSoundFile(const std::string& name);

  // Language texts by "Section.Name" (section "Default" without a point).
  std::string LangText(const std::string& key);
  // The sound list's entry "volume:file" (or just "file", volume 100).
  void SoundByKey(const std::string& key, std::string& fileName, int32_t& volume) const;

  // The folder that holds the settings and progress files, worked out from
  // the root's Id whenever FileRS or IniFile is set.
  const std::filesystem::path& saveFolder() const { return saveFolder_; }
  lum::IniFile* settings() { return settings_ ? &*settings_ : nullptr; }
  const std::filesystem::path& progressFile() const { return progressFile_; }
  // The previous progress file, kept beside it by each save.
  std::filesystem::path progressBackup() const;

  // The player's progress (none without a progress file): SaveState writes
  // every saved value of the tree, keeping the previous file as the backup;
  // LoadState reads the file (the backup only when the file is missing),
  // applies it and runs every exAfterLoad.
  void SaveState();
  void LoadState();

  // Unicode mode: the game ships a glyph sheet for characters beyond its
  // code page.
  bool unicodeMode() const { return unicodeMode_; }
  const std::vector<UnicodeGlyph>& glyphTable() const { return glyphs_; }
  const std::string& systemFontName() const { return systemFontName_; }
  TLumIm* unicodeGlyphImage() const { return unicodeImage_; }
  // Writes the player's choice of display to the settings.
  void StoreDisplayChoice();
  // Reads the Unicode font set when "unicode\unicode.fnt" exists.
  void SetUpUnicode();

  // Events of the root.
  void InitPr() override;
  bool GetValue(std::string_view name, ScriptValue& out) override;
  bool SetValue(std::string_view name, const ScriptValue& value) override;
  void KeyDown(int32_t code);
  void CharInput(uint32_t code);
  void RunExit();
  // At the start of a screen change: which top-level screens to load.
  void MarkScreens();
  // Ends a screen change: makes `target` current and releases what the
  // new screens do not use.
  void FinishScreenLoad(TLumElement* target);
  // One progress frame between two picture loads of a screen change.
  void LoadProgressStep();
  void AddStar(int32_t pattern, const std::string& colourText, int32_t effect, int32_t layer,
               const StarMotion& motion);

  const std::string& lastCheat() const { return lastCheat_; }
  const std::string& typedBuffer() const { return typed_; }
  StarTable& stars() { return stars_; }

  // The root's own event scripts.
  ScriptText exLoadImProcess, exKeyDown, exExit, exCheat, exSetScreen;

 private:
  // Places the save folder for the root's Id as it is now.
  void placeSaveFolder();
  // The real path of a file of the save folder, with the folders it needs
  // made; nothing when its name or a symbolic link leads outside.
  std::optional<std::filesystem::path> saveFilePath(const std::string& name);
  // A file of the game's folder as an in-memory ini file, if it exists.
  std::optional<lum::IniFile> openGameIni(const std::string& name) const;

  Runtime* runtime_;
  std::string fileRS_, fileFonts_, defLang_, lang_, iniFile_, soundFile_;
  std::filesystem::path saveFolder_;
  std::optional<GameFolder> saveFiles_;  // names of the save folder, as the game writes them
  std::filesystem::path progressFile_;
  std::optional<lum::IniFile> settings_;
  std::optional<lum::IniFile> defLangTexts_, langTexts_, soundList_, unicodeTexts_;
  bool unicodeMode_ = false;
  std::vector<UnicodeGlyph> glyphs_;
  std::string systemFontName_;
  TLumIm* unicodeImage_ = nullptr;

 protected:
  std::string typed_;
  std::string lastCheat_;
  StarTable stars_;
};

}  // namespace lum
