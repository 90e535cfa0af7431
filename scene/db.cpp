#include "scene/db.h"

#include "media/particle_manager.h"
#include "platform/game_folder.h"
#include "scene/game_file.h"
#include "scene/game_reader.h"
#include "scene/runtime.h"
#include "script/pool.h"

namespace lum {

TLumDB::TLumDB(Runtime* runtime) : runtime_(runtime) {
  setRoot(this);
  if (runtime_) {
    registerHandle(&runtime_->services.pool.Environment().elements);
    runtime_->services.pool.Environment().root = handle();
    particles_ = std::make_shared<TXParticleManager>(runtime_->services.images);
  }
}

void TLumDB::SetSaveErr(bool on) {
  SaveErr = on;
  if (runtime_) runtime_->services.pool.Environment().log.SetSaveErr(on);
}

Status TLumDB::LoadGame(const std::string& gameFileName) {
  DestroyChildren();
  if (!runtime_) return {};
  std::optional<std::filesystem::path> path = runtime_->services.folder.resolve(gameFileName);
  if (!path) return {};
  Result<std::string> bytes = readGameFileBytes(*path);
  if (!bytes) return bytes.error();
  Status loaded = LoadFromBytes(*bytes);
  if (!loaded) return loaded;
  SetUpUnicode();
  return {};
}

Status TLumDB::LoadFromBytes(const std::string& bytes) {
  DestroyChildren();
  Status status = loadGameRecord(*this, bytes);
  if (!status) DestroyChildren();
  return status;
}

namespace {

using D = TLumDB;

template <ScriptText D::*Member>
PropertyDef rootEvent(const char* name) {
  return accessor<D, std::string>(
      name, PropKind::String, [](const D& d) { return (d.*Member).source; },
      [](D& d, const std::string& v) { d.SetScriptText(d.*Member, v); });
}

}  // namespace

const ClassInfo& TLumDB::info() {
  static const ClassInfo table = [] {
    ClassInfo c{"TLumDB", baseProperties(), {}, [] {
                  return std::unique_ptr<TLumElement>(new TLumDB());
                }};
    auto str = [](const char* name, const std::string& (D::*get)() const,
                  void (D::*set)(const std::string&)) {
      return accessor<D, std::string>(
          name, PropKind::String, [get](const D& d) { return (d.*get)(); },
          [set](D& d, const std::string& v) { (d.*set)(v); });
    };
    auto& p = c.properties;
    p.push_back(field("CurKey", PropKind::Int32, &D::CurKey));
    p.push_back(field("InitScreen", PropKind::Int32, &D::InitScreen));
    for (const char* ev : {"exVarRS", "exInit", "exAfterLoad", "exMouseDown", "exMouseUp",
                           "exUpdate", "exProcess"}) {
      p.push_back(inherited(ev));
    }
    p.push_back(str("FileRS", &D::FileRS, &D::SetFileRS));
    p.push_back(str("FileFonts", &D::FileFonts, &D::SetFileFonts));
    p.push_back(field("hxTransLev", PropKind::UInt8, &D::hxTransLev));
    p.push_back(str("DefLang", &D::DefLang, &D::SetDefLang));
    p.push_back(str("Lang", &D::Lang, &D::SetLang));
    p.push_back(field("LoadingScreen", PropKind::Int32, &D::LoadingScreen));
    p.push_back(inherited("NotSave"));
    p.push_back(rootEvent<&D::exLoadImProcess>("exLoadImProcess"));
    p.push_back(str("IniFile", &D::IniFile, &D::SetIniFile));
    p.push_back(str("SoundFile", &D::SoundFile, &D::SetSoundFile));
    p.push_back(rootEvent<&D::exKeyDown>("exKeyDown"));
    p.push_back(rootEvent<&D::exExit>("exExit"));
    p.push_back(inherited("exMouseMove"));
    p.push_back(field("MaxMem", PropKind::Int32, &D::MaxMem));
    p.push_back(rootEvent<&D::exCheat>("exCheat"));
    p.push_back(field("Cheats", PropKind::String, &D::Cheats));
    p.push_back(accessor<D, int64_t>(
        "SaveErr", PropKind::Bool, [](const D& d) { return d.SaveErr; },
        [](D& d, int64_t v) { d.SetSaveErr(v != 0); }));
    p.push_back(rootEvent<&D::exSetScreen>("exSetScreen"));
    p.push_back(field("AlwaysLoadIm", PropKind::Bool, &D::AlwaysLoadIm));
    return c;
  }();
  return table;
}

}  // namespace lum
