#pragma once
// The generic built-in routines scripts call, one function per routine.
// Each checks its argument count (and which arguments must be variables),
// sets its value through the call, and returns false for a wrong call.
#include "library/builtins/routine_call.h"

namespace lum::builtin {

// Conversion and strings.
bool Val(RoutineCall& c);
bool Char(RoutineCall& c);
bool IntToStr(RoutineCall& c);
bool StrToInt(RoutineCall& c);
bool FloatToStr(RoutineCall& c);
bool StrToFloat(RoutineCall& c);
bool Copy(RoutineCall& c);
bool Poss(RoutineCall& c);
bool Length(RoutineCall& c);
bool DelLastChar(RoutineCall& c);
bool Insert(RoutineCall& c);
bool Delete(RoutineCall& c);
bool Trim(RoutineCall& c);
bool TrimLeft(RoutineCall& c);
bool TrimRight(RoutineCall& c);
bool UpperCase(RoutineCall& c);
bool LowerCase(RoutineCall& c);
bool Format(RoutineCall& c);

// Dates and times.
bool Now(RoutineCall& c);
bool Date(RoutineCall& c);
bool Time(RoutineCall& c);
bool DateToStr(RoutineCall& c);
bool StrToDate(RoutineCall& c);
bool TimeToStr(RoutineCall& c);
bool StrToTime(RoutineCall& c);
bool FormatDateTime(RoutineCall& c);
bool DayOfWeek(RoutineCall& c);
bool IncMonth(RoutineCall& c);
bool DecodeDate(RoutineCall& c);
bool DecodeTime(RoutineCall& c);
bool EncodeDate(RoutineCall& c);
bool EncodeTime(RoutineCall& c);
bool YearDays(RoutineCall& c);
bool YearFrac(RoutineCall& c);

// Mathematics.
bool Abs(RoutineCall& c);
bool Int(RoutineCall& c);
bool Frac(RoutineCall& c);
bool Round(RoutineCall& c);
bool Ceil(RoutineCall& c);
bool Floor(RoutineCall& c);
bool Trunc(RoutineCall& c);
bool Sin(RoutineCall& c);
bool Sign(RoutineCall& c);
bool Cos(RoutineCall& c);
bool Tan(RoutineCall& c);
bool ArcSin(RoutineCall& c);
bool ArcCos(RoutineCall& c);
bool ArcTan(RoutineCall& c);
bool Exp(RoutineCall& c);
bool Ln(RoutineCall& c);
bool IntPower(RoutineCall& c);
bool Sqr(RoutineCall& c);
bool Sqrt(RoutineCall& c);
bool Inc(RoutineCall& c);
bool Dec(RoutineCall& c);
bool Min(RoutineCall& c);
bool Max(RoutineCall& c);
bool Mod(RoutineCall& c);
bool RandomBelow(RoutineCall& c);
// Shortcuts of routines without effects, for plain integer (and, for Abs,
// real) arguments; anything else goes to the routine itself.
bool AbsShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out);
bool MinShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out);
bool MaxShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out);
bool ModShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out);

// Variables and selection.
bool GetVar(RoutineCall& c);
bool SetVar(RoutineCall& c);
bool Decode(RoutineCall& c);

}  // namespace lum::builtin
