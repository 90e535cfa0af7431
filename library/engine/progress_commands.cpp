// Commands that save and load the player's progress.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "scene/db.h"

namespace lum::engine {

bool EngineCommands::SaveState(RoutineCall& c) {
  if (TLumDB* root = rootOf(c)) root->SaveState();
  return true;
}

bool EngineCommands::LoadState(RoutineCall& c) {
  if (TLumDB* root = rootOf(c)) root->LoadState();
  return true;
}

}  // namespace lum::engine
