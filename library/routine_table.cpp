#include "library/routine_table.h"

#include "library/builtins/routines.h"
#include "library/engine/engine_commands.h"
#include "library/games/puzzle_routines.h"
#include "script/pas_calc.h"

namespace lum {

namespace {

using namespace builtin;

// Registration order is part of the game's contract: a name registered
// twice keeps its first position. Engine commands join this table, at
// their place after Mod, as they are built.
const RoutineEntry kRoutines[] = {
    {"Val", Val},
    {"Char", Char},
    {"IntToStr", IntToStr},
    {"StrToInt", StrToInt},
    {"FloatToStr", FloatToStr},
    {"StrToFloat", StrToFloat},
    {"Copy", Copy},
    {"Poss", Poss},
    {"Length", Length},
    {"DelLastChar", DelLastChar},
    {"Insert", Insert},
    {"Delete", Delete},
    {"Trim", Trim},
    {"TrimLeft", TrimLeft},
    {"TrimRight", TrimRight},
    {"UpperCase", UpperCase},
    {"LowerCase", LowerCase},
    {"Format", Format},
    {"Now", Now},
    {"Date", Date},
    {"Time", Time},
    {"DateToStr", DateToStr},
    {"StrToDate", StrToDate},
    {"TimeToStr", TimeToStr},
    {"StrToTime", StrToTime},
    {"FormatDateTime", FormatDateTime},
    {"DayOfWeek", DayOfWeek},
    {"IncMonth", IncMonth},
    {"DecodeDate", DecodeDate},
    {"DecodeTime", DecodeTime},
    {"EncodeDate", EncodeDate},
    {"EncodeTime", EncodeTime},
    {"Abs", Abs, AbsShortcut},
    {"Int", Int},
    {"Frac", Frac},
    {"Round", Round},
    {"Ceil", Ceil},
    {"Floor", Floor},
    {"Trunc", Trunc},
    {"Sin", Sin},
    {"Sign", Sign},
    {"Cos", Cos},
    {"Tan", Tan},
    {"ArcSin", ArcSin},
    {"ArcCos", ArcCos},
    {"ArcTan", ArcTan},
    {"Exp", Exp},
    {"Ln", Ln},
    {"IntPower", IntPower},
    {"Sqr", Sqr},
    {"Sqrt", Sqrt},
    {"Inc", Inc},
    {"Dec", Dec},
    {"Min", Min, MinShortcut},
    {"Max", Max, MaxShortcut},
    {"GetVar", GetVar},
    {"SetVar", SetVar},
    {"Decode", Decode},
    {"YearDays", YearDays},
    {"YearFrac", YearFrac},
    {"Mod", Mod, ModShortcut},
    {"ListAdd", engine::ListAdd},
    {"ListDel", engine::ListDel},
    {"AnimStart", engine::AnimStart},
    {"AnimStop", engine::AnimStop},
    {"AnimBreak", engine::AnimBreak},
    {"AnimPlay", engine::AnimPlay},
    {"Update", engine::Update},
    {"Process", engine::Process},
    {"MsDown", engine::MsDown},
    {"MsMove", engine::MsMove},
    {"Init", engine::Init},
    {"Show", engine::Show},
    {"SetFocus", engine::SetFocus},
    {"SetScreen", engine::SetScreen},
    {"FastSetScreen", engine::FastSetScreen},
    {"FastSetScreenNS", engine::FastSetScreenNS},
    {"Random", RandomBelow},
    {"GetAlpha", engine::GetAlpha},
    {"GetPixel", engine::GetPixel},
    {"MoveTo", engine::MoveTo},
    {"ProcEf", engine::ProcEf},
    {"GetText", engine::GetText},
    {"LoadIm", engine::LoadIm},
    {"EndLoadIm", engine::EndLoadIm},
    {"SaveState", engine::SaveState},
    {"LoadState", engine::LoadState},
    {"TimerReset", engine::TimerReset},
    {"GetIni", engine::GetIni},
    {"SetIni", engine::SetIni},
    {"DelFile", engine::DelFile},
    {"ToFront", engine::ToFront},
    {"PlaySnd", engine::PlaySnd},
    {"PlayMuz", engine::PlayMuz},
    {"StopMuz", engine::StopMuz},
    {"ExitGame", engine::ExitGame},
    {"AddStar", engine::AddStar},
    {"ImStarsR", engine::ImStarsR},
};

}  // namespace

std::span<const RoutineEntry> RoutineTable() { return kRoutines; }

NativeRoutine MakeNativeRoutine(BuiltinRoutine routine, BuiltinContext& context) {
  return [routine, &context](TPasCalc& calc, TVarList& params, TVar& result) {
    RoutineCall call(&calc, params, result, context);
    const bool ok = routine(call);
    if (!ok && !call.Failure().empty()) calc.SetRoutineFailure(call.Failure());
    return ok;
  };
}

void registerBuiltins(TFuncList& funcs, BuiltinContext& context) {
  for (const RoutineEntry& entry : kRoutines) {
    funcs.AddFunction(entry.name, MakeNativeRoutine(entry.routine, context), entry.shortcut);
  }
  registerPuzzleRoutines(funcs, context);
}

}  // namespace lum
