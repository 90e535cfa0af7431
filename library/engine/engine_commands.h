#pragma once
// The commands through which scripts act on the running game.
#include "library/builtins/routine_call.h"

namespace lum::engine {

// Element events.
bool Update(RoutineCall& c);
bool Process(RoutineCall& c);
bool MsDown(RoutineCall& c);
bool MsMove(RoutineCall& c);
bool Init(RoutineCall& c);
bool Show(RoutineCall& c);
// Other element commands.
bool SetFocus(RoutineCall& c);
bool ToFront(RoutineCall& c);
bool MoveTo(RoutineCall& c);
bool GetAlpha(RoutineCall& c);
bool GetPixel(RoutineCall& c);
// Screens, loading and the frame loop.
bool SetScreen(RoutineCall& c);
bool FastSetScreen(RoutineCall& c);
bool FastSetScreenNS(RoutineCall& c);
bool LoadIm(RoutineCall& c);
bool EndLoadIm(RoutineCall& c);
bool TimerReset(RoutineCall& c);
bool ExitGame(RoutineCall& c);
// Texts, files and settings.
bool GetText(RoutineCall& c);
bool DelFile(RoutineCall& c);
bool GetIni(RoutineCall& c);
bool SetIni(RoutineCall& c);
// The player's progress (arguments are ignored).
bool SaveState(RoutineCall& c);
bool LoadState(RoutineCall& c);
// Sound.
bool PlaySnd(RoutineCall& c);
bool PlayMuz(RoutineCall& c);
bool StopMuz(RoutineCall& c);
// Animations.
bool AnimStart(RoutineCall& c);
bool AnimStop(RoutineCall& c);
bool AnimPlay(RoutineCall& c);
// Stars.
bool AddStar(RoutineCall& c);
bool ImStarsR(RoutineCall& c);

}  // namespace lum::engine
