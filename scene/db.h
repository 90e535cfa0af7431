#pragma once
// TLumDB: the root of the tree, owner of what is global to a game.
#include <string>

#include "platform/result.h"
#include "scene/element.h"

namespace lum {

class TLumDB : public TLumElement {
 public:
  explicit TLumDB(Runtime* runtime = nullptr);
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  Runtime* runtime() const { return runtime_; }
  void setRuntime(Runtime* runtime) { runtime_ = runtime; }

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
  bool AlwaysLoadIm = false;

  const std::string& FileRS() const { return fileRS_; }
  const std::string& FileFonts() const { return fileFonts_; }
  const std::string& DefLang() const { return defLang_; }
  const std::string& Lang() const { return lang_; }
  const std::string& IniFile() const { return iniFile_; }
  const std::string& SoundFile() const { return soundFile_; }
  virtual void SetFileRS(const std::string& name) { fileRS_ = name; }
  virtual void SetFileFonts(const std::string& name) { fileFonts_ = name; }
  virtual void SetDefLang(const std::string& name) { defLang_ = name; }
  virtual void SetLang(const std::string& name) { lang_ = name; }
  virtual void SetIniFile(const std::string& name) { iniFile_ = name; }
  virtual void SetSoundFile(const std::string& name) { soundFile_ = name; }

  // The root's own event scripts.
  ScriptText exLoadImProcess, exKeyDown, exExit, exCheat, exSetScreen;

 private:
  Runtime* runtime_;
  std::string fileRS_, fileFonts_, defLang_, lang_, iniFile_, soundFile_;
};

}  // namespace lum
