#pragma once
// The commands through which scripts act on the running game: the bodies
// that the routine table takes for its engine rows in a game.
#include "library/builtins/routine_call.h"

namespace lum::engine {

struct EngineCommands {
  // Element events.
  static bool Update(RoutineCall& c);
  static bool Process(RoutineCall& c);
  static bool MsDown(RoutineCall& c);
  static bool MsMove(RoutineCall& c);
  static bool Init(RoutineCall& c);
  static bool Show(RoutineCall& c);
  // Other element commands.
  static bool SetFocus(RoutineCall& c);
  static bool ToFront(RoutineCall& c);
  static bool MoveTo(RoutineCall& c);
  static bool GetAlpha(RoutineCall& c);
  static bool GetPixel(RoutineCall& c);
  // Screens, loading and the frame loop.
  static bool SetScreen(RoutineCall& c);
  static bool FastSetScreen(RoutineCall& c);
  static bool FastSetScreenNS(RoutineCall& c);
  static bool LoadIm(RoutineCall& c);
  static bool EndLoadIm(RoutineCall& c);
  static bool TimerReset(RoutineCall& c);
  static bool ExitGame(RoutineCall& c);
  // Texts, files and settings.
  static bool GetText(RoutineCall& c);
  static bool DelFile(RoutineCall& c);
  static bool GetIni(RoutineCall& c);
  static bool SetIni(RoutineCall& c);
  // The player's progress (arguments are ignored).
  static bool SaveState(RoutineCall& c);
  static bool LoadState(RoutineCall& c);
  // Sound.
  static bool PlaySnd(RoutineCall& c);
  static bool PlayMuz(RoutineCall& c);
  static bool StopMuz(RoutineCall& c);
  // Animations and particle effects.
  static bool AnimStart(RoutineCall& c);
  static bool AnimStop(RoutineCall& c);
  static bool AnimPlay(RoutineCall& c);
  static bool AnimBreak(RoutineCall& c);
  static bool ProcEf(RoutineCall& c);
  // Image lists.
  static bool ListAdd(RoutineCall& c);
  static bool ListDel(RoutineCall& c);
  // Stars.
  static bool AddStar(RoutineCall& c);
  static bool ImStarsR(RoutineCall& c);
};

}  // namespace lum::engine
