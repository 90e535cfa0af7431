#include "library/games/puzzle_routines.h"

#include "scene/image.h"
#include "scene/screen.h"

namespace lum {

namespace {

using games::puzzleRoutine;

// In the games' registration order, after every other routine.
const RoutineEntry kPuzzleRoutines[] = {
    {"MagicLev6_1", puzzleRoutine<TLumImage, games::MagicLev6_1>},
    {"MagicLev6_2", puzzleRoutine<TLumElement, games::MagicLev6_2>},
    {"MagicLev6_3", puzzleRoutine<TLumImage, games::MagicLev6_3>},
    {"MagicLev6Log_Rend", puzzleRoutine<TLumElement, games::MagicLev6Log_Rend>},
    {"MagicLev6Log_Upd", puzzleRoutine<TLumElement, games::MagicLev6Log_Upd>},
    {"MagicLev4In_3", puzzleRoutine<TLumImage, games::MagicLev4In_3>},
    {"MagicLev4InLog_Rend", puzzleRoutine<TLumElement, games::MagicLev4InLog_Rend>},
    {"MagicLev4InLog_Upd", puzzleRoutine<TLumElement, games::MagicLev4InLog_Upd>},
    {"MagicLev7Log", puzzleRoutine<TLumImage, games::MagicLev7Log>},
    {"MagicLev15Log", puzzleRoutine<TLumImage, games::MagicLev15Log>},
    {"MagicLev12Log", puzzleRoutine<TLumImage, games::MagicLev12Log>},
    {"MagicGIProg", puzzleRoutine<TLumImage, games::MagicGIProg>},
    {"MagicLevProg", puzzleRoutine<TLumScreen, games::MagicLevProg>},
    {"MagicMapProg", puzzleRoutine<TLumImage, games::MagicMapProg>},
    {"MagicLev6InLog", puzzleRoutine<TLumImage, games::MagicLev6InLog>},
    {"MagicLev6InLogO", puzzleRoutine<TLumImage, games::MagicLev6InLogO>},
    {"StarsToUp", puzzleRoutine<TLumImage, games::StarsToUp>},
    {"StarsTopToUp", puzzleRoutine<TLumImage, games::StarsTopToUp>},
    {"StarsAll", puzzleRoutine<TLumImage, games::StarsAll>},
    {"StarsAll2", puzzleRoutine<TLumImage, games::StarsAll2>},
    {"BrambleShar_1", puzzleRoutine<TLumImage, games::BrambleShar_1>},
    {"BrambleGIListUpdate", puzzleRoutine<TLumElement, games::BrambleGIListUpdate>},
    {"BrambleLevel2LogPr", puzzleRoutine<TLumElement, games::BrambleLevel2LogPr>},
    {"Bramble2Lev12Log", puzzleRoutine<TLumImage, games::Bramble2Lev12Log>},
};

}  // namespace

std::span<const RoutineEntry> PuzzleRoutineTable() { return kPuzzleRoutines; }

void registerPuzzleRoutines(TFuncList& funcs, BuiltinContext& context) {
  for (const RoutineEntry& entry : kPuzzleRoutines) {
    funcs.AddFunction(entry.name, MakeNativeRoutine(entry.routine, context));
  }
}

}  // namespace lum
