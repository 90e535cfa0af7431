#pragma once
// The one table of routines that scripts call, in registration order, and
// the pass that registers them with an interpreter.
#include <span>
#include <string_view>

#include "library/builtins/builtin_context.h"
#include "library/builtins/routine_call.h"
#include "library/builtins/routines.h"
#include "script/func_list.h"

namespace lum {

struct RoutineEntry {
  std::string_view name;  // as registered; lookup upper-cases it
  BuiltinRoutine routine;
  PureShortcut shortcut = nullptr;  // for routines without effects
};

// Registration order is part of the game's contract: a name registered
// twice keeps its first position. The rows of the routines that act on a
// running game (the engine commands, then the puzzle routines of
// particular games) take their bodies from `Game`: the game's own
// (`InGame`, library/engine/game_routines.h) when a game runs the scripts,
// the answers without a game (`WithoutGame`, library/without_game.h) in an
// interpreter that has none. So both register the same names in the same
// order, and a program without a game links nothing of the scene.
template <class Game>
inline constexpr RoutineEntry kRoutines[] = {
    {"Val", builtin::Val},
    {"Char", builtin::Char},
    {"IntToStr", builtin::IntToStr},
    {"StrToInt", builtin::StrToInt},
    {"FloatToStr", builtin::FloatToStr},
    {"StrToFloat", builtin::StrToFloat},
    {"Copy", builtin::Copy},
    {"Poss", builtin::Poss},
    {"Length", builtin::Length},
    {"DelLastChar", builtin::DelLastChar},
    {"Insert", builtin::Insert},
    {"Delete", builtin::Delete},
    {"Trim", builtin::Trim},
    {"TrimLeft", builtin::TrimLeft},
    {"TrimRight", builtin::TrimRight},
    {"UpperCase", builtin::UpperCase},
    {"LowerCase", builtin::LowerCase},
    {"Format", builtin::Format},
    {"Now", builtin::Now},
    {"Date", builtin::Date},
    {"Time", builtin::Time},
    {"DateToStr", builtin::DateToStr},
    {"StrToDate", builtin::StrToDate},
    {"TimeToStr", builtin::TimeToStr},
    {"StrToTime", builtin::StrToTime},
    {"FormatDateTime", builtin::FormatDateTime},
    {"DayOfWeek", builtin::DayOfWeek},
    {"IncMonth", builtin::IncMonth},
    {"DecodeDate", builtin::DecodeDate},
    {"DecodeTime", builtin::DecodeTime},
    {"EncodeDate", builtin::EncodeDate},
    {"EncodeTime", builtin::EncodeTime},
    {"Abs", builtin::Abs, builtin::AbsShortcut},
    {"Int", builtin::Int},
    {"Frac", builtin::Frac},
    {"Round", builtin::Round},
    {"Ceil", builtin::Ceil},
    {"Floor", builtin::Floor},
    {"Trunc", builtin::Trunc},
    {"Sin", builtin::Sin},
    {"Sign", builtin::Sign},
    {"Cos", builtin::Cos},
    {"Tan", builtin::Tan},
    {"ArcSin", builtin::ArcSin},
    {"ArcCos", builtin::ArcCos},
    {"ArcTan", builtin::ArcTan},
    {"Exp", builtin::Exp},
    {"Ln", builtin::Ln},
    {"IntPower", builtin::IntPower},
    {"Sqr", builtin::Sqr},
    {"Sqrt", builtin::Sqrt},
    {"Inc", builtin::Inc},
    {"Dec", builtin::Dec},
    {"Min", builtin::Min, builtin::MinShortcut},
    {"Max", builtin::Max, builtin::MaxShortcut},
    {"GetVar", builtin::GetVar},
    {"SetVar", builtin::SetVar},
    {"Decode", builtin::Decode},
    {"YearDays", builtin::YearDays},
    {"YearFrac", builtin::YearFrac},
    {"Mod", builtin::Mod, builtin::ModShortcut},
    {"ListAdd", Game::ListAdd},
    {"ListDel", Game::ListDel},
    {"AnimStart", Game::AnimStart},
    {"AnimStop", Game::AnimStop},
    {"AnimBreak", Game::AnimBreak},
    {"AnimPlay", Game::AnimPlay},
    {"Update", Game::Update},
    {"Process", Game::Process},
    {"MsDown", Game::MsDown},
    {"MsMove", Game::MsMove},
    {"Init", Game::Init},
    {"Show", Game::Show},
    {"SetFocus", Game::SetFocus},
    {"SetScreen", Game::SetScreen},
    {"FastSetScreen", Game::FastSetScreen},
    {"FastSetScreenNS", Game::FastSetScreenNS},
    {"Random", builtin::RandomBelow},
    {"GetAlpha", Game::GetAlpha},
    {"GetPixel", Game::GetPixel},
    {"MoveTo", Game::MoveTo},
    {"ProcEf", Game::ProcEf},
    {"GetText", Game::GetText},
    {"LoadIm", Game::LoadIm},
    {"EndLoadIm", Game::EndLoadIm},
    {"SaveState", Game::SaveState},
    {"LoadState", Game::LoadState},
    {"TimerReset", Game::TimerReset},
    {"GetIni", Game::GetIni},
    {"SetIni", Game::SetIni},
    {"DelFile", Game::DelFile},
    {"ToFront", Game::ToFront},
    {"PlaySnd", Game::PlaySnd},
    {"PlayMuz", Game::PlayMuz},
    {"StopMuz", Game::StopMuz},
    {"ExitGame", Game::ExitGame},
    {"AddStar", Game::AddStar},
    {"ImStarsR", Game::ImStarsR},
    // The puzzle routines of particular games, after every other routine.
    {"MagicLev6_1", Game::MagicLev6_1},
    {"MagicLev6_2", Game::MagicLev6_2},
    {"MagicLev6_3", Game::MagicLev6_3},
    {"MagicLev6Log_Rend", Game::MagicLev6Log_Rend},
    {"MagicLev6Log_Upd", Game::MagicLev6Log_Upd},
    {"MagicLev4In_3", Game::MagicLev4In_3},
    {"MagicLev4InLog_Rend", Game::MagicLev4InLog_Rend},
    {"MagicLev4InLog_Upd", Game::MagicLev4InLog_Upd},
    {"MagicLev7Log", Game::MagicLev7Log},
    {"MagicLev15Log", Game::MagicLev15Log},
    {"MagicLev12Log", Game::MagicLev12Log},
    {"MagicGIProg", Game::MagicGIProg},
    {"MagicLevProg", Game::MagicLevProg},
    {"MagicMapProg", Game::MagicMapProg},
    {"MagicLev6InLog", Game::MagicLev6InLog},
    {"MagicLev6InLogO", Game::MagicLev6InLogO},
    {"StarsToUp", Game::StarsToUp},
    {"StarsTopToUp", Game::StarsTopToUp},
    {"StarsAll", Game::StarsAll},
    {"StarsAll2", Game::StarsAll2},
    {"BrambleShar_1", Game::BrambleShar_1},
    {"BrambleGIListUpdate", Game::BrambleGIListUpdate},
    {"BrambleLevel2LogPr", Game::BrambleLevel2LogPr},
    {"Bramble2Lev12Log", Game::Bramble2Lev12Log},
};

// Wraps a routine for the interpreter: conversion failures become the
// reason appended to the "Invalid parameters" report.
NativeRoutine MakeNativeRoutine(BuiltinRoutine routine, BuiltinContext& context);

// Registers every routine of a table. `context` must outlive `funcs`.
void registerRoutines(TFuncList& funcs, BuiltinContext& context, std::span<const RoutineEntry> table);

// Registers every routine, those that act on a game with the answers they
// give without one: for scripts that run outside any game.
void registerRoutinesWithoutGame(TFuncList& funcs, BuiltinContext& context);

}  // namespace lum
