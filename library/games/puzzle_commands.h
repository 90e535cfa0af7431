#pragma once
// The bodies that the routine table takes for its puzzle rows in a game:
// each puzzle routine wrapped with the element kind it acts on.
#include "library/games/puzzle_routines.h"
#include "scene/image.h"
#include "scene/screen.h"

namespace lum::games {

struct PuzzleCommands {
  static constexpr BuiltinRoutine MagicLev6_1 = puzzleRoutine<TLumImage, games::MagicLev6_1>;
  static constexpr BuiltinRoutine MagicLev6_2 = puzzleRoutine<TLumElement, games::MagicLev6_2>;
  static constexpr BuiltinRoutine MagicLev6_3 = puzzleRoutine<TLumImage, games::MagicLev6_3>;
  static constexpr BuiltinRoutine MagicLev6Log_Rend = puzzleRoutine<TLumElement, games::MagicLev6Log_Rend>;
  static constexpr BuiltinRoutine MagicLev6Log_Upd = puzzleRoutine<TLumElement, games::MagicLev6Log_Upd>;
  static constexpr BuiltinRoutine MagicLev4In_3 = puzzleRoutine<TLumImage, games::MagicLev4In_3>;
  static constexpr BuiltinRoutine MagicLev4InLog_Rend = puzzleRoutine<TLumElement, games::MagicLev4InLog_Rend>;
  static constexpr BuiltinRoutine MagicLev4InLog_Upd = puzzleRoutine<TLumElement, games::MagicLev4InLog_Upd>;
  static constexpr BuiltinRoutine MagicLev7Log = puzzleRoutine<TLumImage, games::MagicLev7Log>;
  static constexpr BuiltinRoutine MagicLev15Log = puzzleRoutine<TLumImage, games::MagicLev15Log>;
  static constexpr BuiltinRoutine MagicLev12Log = puzzleRoutine<TLumImage, games::MagicLev12Log>;
  static constexpr BuiltinRoutine MagicGIProg = puzzleRoutine<TLumImage, games::MagicGIProg>;
  static constexpr BuiltinRoutine MagicLevProg = puzzleRoutine<TLumScreen, games::MagicLevProg>;
  static constexpr BuiltinRoutine MagicMapProg = puzzleRoutine<TLumImage, games::MagicMapProg>;
  static constexpr BuiltinRoutine MagicLev6InLog = puzzleRoutine<TLumImage, games::MagicLev6InLog>;
  static constexpr BuiltinRoutine MagicLev6InLogO = puzzleRoutine<TLumImage, games::MagicLev6InLogO>;
  static constexpr BuiltinRoutine StarsToUp = puzzleRoutine<TLumImage, games::StarsToUp>;
  static constexpr BuiltinRoutine StarsTopToUp = puzzleRoutine<TLumImage, games::StarsTopToUp>;
  static constexpr BuiltinRoutine StarsAll = puzzleRoutine<TLumImage, games::StarsAll>;
  static constexpr BuiltinRoutine StarsAll2 = puzzleRoutine<TLumImage, games::StarsAll2>;
  static constexpr BuiltinRoutine BrambleShar_1 = puzzleRoutine<TLumImage, games::BrambleShar_1>;
  static constexpr BuiltinRoutine BrambleGIListUpdate = puzzleRoutine<TLumElement, games::BrambleGIListUpdate>;
  static constexpr BuiltinRoutine BrambleLevel2LogPr = puzzleRoutine<TLumElement, games::BrambleLevel2LogPr>;
  static constexpr BuiltinRoutine Bramble2Lev12Log = puzzleRoutine<TLumImage, games::Bramble2Lev12Log>;
};

}  // namespace lum::games
