#pragma once
// What the routines that act on a running game answer in an interpreter
// that runs without one: the bodies the routine table takes for its engine
// and puzzle rows there. Each checks its arguments as in a game and gives
// the value a game without the thing asked for would give; none acts, and
// no element exists to name, so an element argument that a game would look
// up is refused as one that is gone.
#include "library/builtins/routine_call.h"

namespace lum {

namespace without_game {

// Succeeds and leaves the result alone.
bool Nothing(RoutineCall& c);
// A command on the element of its first argument, taking exactly `count`
// arguments: another count or a first argument that is no element is
// forgiven, an element (NIL, the only one a script can make) refused.
bool OneElementOf1(RoutineCall& c);
bool OneElementOf2(RoutineCall& c);
bool OneElementOf3(RoutineCall& c);
// A screen change: an element first argument is refused at any count.
bool Screen(RoutineCall& c);
// One text argument; the result stays alone.
bool OneText(RoutineCall& c);
bool GetText(RoutineCall& c);  // an empty text
bool DelFile(RoutineCall& c);  // 0, nothing deleted
bool GetIni(RoutineCall& c);   // the fallback
bool SetIni(RoutineCall& c);   // 0, nothing written
bool StopMuz(RoutineCall& c);
bool AddStar(RoutineCall& c);  // 0 once every argument converts
bool ImStarsR(RoutineCall& c); // no image to take stars from: always refused

}  // namespace without_game

struct WithoutGame {
  // Element events and other element commands.
  static constexpr BuiltinRoutine Update = without_game::OneElementOf1;
  static constexpr BuiltinRoutine Process = without_game::OneElementOf1;
  static constexpr BuiltinRoutine MsDown = without_game::OneElementOf1;
  static constexpr BuiltinRoutine MsMove = without_game::OneElementOf1;
  static constexpr BuiltinRoutine Init = without_game::OneElementOf1;
  static constexpr BuiltinRoutine Show = without_game::OneElementOf1;
  static constexpr BuiltinRoutine SetFocus = without_game::OneElementOf1;
  static constexpr BuiltinRoutine ToFront = without_game::OneElementOf1;
  static constexpr BuiltinRoutine MoveTo = without_game::OneElementOf3;
  static constexpr BuiltinRoutine GetAlpha = without_game::OneElementOf3;
  static constexpr BuiltinRoutine GetPixel = without_game::OneElementOf3;
  // Screens, loading and the frame loop.
  static constexpr BuiltinRoutine SetScreen = without_game::Screen;
  static constexpr BuiltinRoutine FastSetScreen = without_game::Screen;
  static constexpr BuiltinRoutine FastSetScreenNS = without_game::Screen;
  static constexpr BuiltinRoutine LoadIm = without_game::Nothing;
  static constexpr BuiltinRoutine EndLoadIm = without_game::Nothing;
  static constexpr BuiltinRoutine TimerReset = without_game::Nothing;
  static constexpr BuiltinRoutine ExitGame = without_game::Nothing;
  // Texts, files and settings.
  static constexpr BuiltinRoutine GetText = without_game::GetText;
  static constexpr BuiltinRoutine DelFile = without_game::DelFile;
  static constexpr BuiltinRoutine GetIni = without_game::GetIni;
  static constexpr BuiltinRoutine SetIni = without_game::SetIni;
  // The player's progress.
  static constexpr BuiltinRoutine SaveState = without_game::Nothing;
  static constexpr BuiltinRoutine LoadState = without_game::Nothing;
  // Sound.
  static constexpr BuiltinRoutine PlaySnd = without_game::OneText;
  static constexpr BuiltinRoutine PlayMuz = without_game::OneText;
  static constexpr BuiltinRoutine StopMuz = without_game::StopMuz;
  // Animations and particle effects.
  static constexpr BuiltinRoutine AnimStart = without_game::OneElementOf1;
  static constexpr BuiltinRoutine AnimStop = without_game::OneElementOf1;
  static constexpr BuiltinRoutine AnimPlay = without_game::OneElementOf1;
  static constexpr BuiltinRoutine AnimBreak = without_game::OneElementOf1;
  static constexpr BuiltinRoutine ProcEf = without_game::OneElementOf2;
  // Image lists.
  static constexpr BuiltinRoutine ListAdd = without_game::OneElementOf2;
  static constexpr BuiltinRoutine ListDel = without_game::OneElementOf2;
  // Stars.
  static constexpr BuiltinRoutine AddStar = without_game::AddStar;
  static constexpr BuiltinRoutine ImStarsR = without_game::ImStarsR;
  // The puzzle routines look at an element of a running game only.
  static constexpr BuiltinRoutine MagicLev6_1 = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6_2 = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6_3 = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6Log_Rend = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6Log_Upd = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev4In_3 = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev4InLog_Rend = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev4InLog_Upd = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev7Log = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev15Log = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev12Log = without_game::Nothing;
  static constexpr BuiltinRoutine MagicGIProg = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLevProg = without_game::Nothing;
  static constexpr BuiltinRoutine MagicMapProg = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6InLog = without_game::Nothing;
  static constexpr BuiltinRoutine MagicLev6InLogO = without_game::Nothing;
  static constexpr BuiltinRoutine StarsToUp = without_game::Nothing;
  static constexpr BuiltinRoutine StarsTopToUp = without_game::Nothing;
  static constexpr BuiltinRoutine StarsAll = without_game::Nothing;
  static constexpr BuiltinRoutine StarsAll2 = without_game::Nothing;
  static constexpr BuiltinRoutine BrambleShar_1 = without_game::Nothing;
  static constexpr BuiltinRoutine BrambleGIListUpdate = without_game::Nothing;
  static constexpr BuiltinRoutine BrambleLevel2LogPr = without_game::Nothing;
  static constexpr BuiltinRoutine Bramble2Lev12Log = without_game::Nothing;
};

}  // namespace lum
