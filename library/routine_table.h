#pragma once
// The one table of routines that scripts call, in registration order, and
// the pass that registers them with an interpreter.
#include <span>
#include <string_view>

#include "library/builtins/builtin_context.h"
#include "library/builtins/routine_call.h"
#include "script/func_list.h"

namespace lum {

struct RoutineEntry {
  std::string_view name;  // as registered; lookup upper-cases it
  BuiltinRoutine routine;
  PureShortcut shortcut = nullptr;  // for routines without effects
};

std::span<const RoutineEntry> RoutineTable();

// Wraps a routine for the interpreter: conversion failures become the
// reason appended to the "Invalid parameters" report.
NativeRoutine MakeNativeRoutine(BuiltinRoutine routine, BuiltinContext& context);

// Registers every routine of the table. `context` must outlive `funcs`.
void registerBuiltins(TFuncList& funcs, BuiltinContext& context);

}  // namespace lum
