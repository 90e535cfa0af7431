// Commands that play sound effects and music by their sound-list keys.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "media/sound.h"
#include "scene/db.h"
#include "scene/runtime.h"

namespace lum::engine {
namespace {

// The sound list's file and volume for the key argument.
bool lookUp(RoutineCall& c, std::string& file, int32_t& volume) {
  if (c.Count() != 1) return false;
  std::string key;
  if (!c.Text(0, key)) return false;
  if (TLumDB* root = rootOf(c)) root->SoundByKey(key, file, volume);
  return true;
}

}  // namespace

bool EngineCommands::PlaySnd(RoutineCall& c) {
  std::string file;
  int32_t volume = 0;
  if (!lookUp(c, file, volume)) return false;
  Runtime* rt = runtimeOf(c);
  if (rt && !file.empty()) rt->services.sound.SoundPlay(file, volume);
  return true;
}

bool EngineCommands::PlayMuz(RoutineCall& c) {
  std::string file;
  int32_t volume = 0;
  if (!lookUp(c, file, volume)) return false;
  Runtime* rt = runtimeOf(c);
  if (rt && !file.empty()) rt->services.sound.MusicPlay(file, volume);
  return true;
}

bool EngineCommands::StopMuz(RoutineCall& c) {
  if (c.Count() != 1) return false;
  Runtime* rt = runtimeOf(c);
  if (rt) rt->services.sound.MusicFadeOut();
  return true;
}

}  // namespace lum::engine
