#pragma once
// Every message the interpreter reports, with its error code. '%' marks
// where the variable parts go, in order.
#include <initializer_list>
#include <string>
#include <string_view>

namespace lum {

enum class Msg {
  EmptyExpression, InvalidNumber, UnknownOperator, InvalidFunctionParams,
  ErrorInExpressionPart, ErrorInExpression, InvalidStringIndexComma, FoundExpected,
  InvalidGotoLabel, ErrorInGoto, InvalidBreak, InvalidContinue, InvalidExit,
  ErrorInCase, InvalidCaseTypecast, InvalidForVariable, InvalidFilename,
  ParenExpected, OpenParenExpected,
  VariableNotFound, VariableNotFoundChar,
  InvalidProcedureName, InvalidVariableName,
  InvalidVariableType, InvalidOperandTypes, InvalidIndex, InvalidConditionType,
  InvalidLoopValue,
  UnterminatedString,
  ErrorInFunction, ErrorInProcedure, InvalidParamExpression, InvalidParameters,
  InvalidParametersWithReason, WrongParameterCount, InvalidFunctionCall,
  UnknownFunction, UnknownProcedure,
  InvalidOperator, ElseWithoutIf,
  EndExpected, TooManyEnd, ToExpected, ForVariableExpected, DoExpected, OfExpected,
  OutsideLoop, UntilExpected, TooManyUntil, LabelUnreachable,
  EmptyStringIndex, InvalidStringIndex, InvalidStringIndexValue, StringIndexRange,
  CharacterExpected, CharacterRange, BracketCloseExpected, BracketOpenExpected,
  SameNameVariable, SameNameArray, DuplicateProcedure, DuplicateVariable,
  CannotOpenFile, FunctionMustReturn, TooManyElse, ColonExpected, RangeExpected,
  InvalidForOperator,
  // Limits that keep hostile scripts from exhausting the machine.
  NestingTooDeep, CallsTooDeep, IncludesTooDeep, StatementLimit, RunsTooDeep,
  IncludesTooLarge,
};

struct MessageInfo {
  int code;
  std::string_view text;
};

const MessageInfo& Message(Msg id);
// The message text with each '%' replaced by the next argument.
std::string FormatMessage(Msg id, std::initializer_list<std::string_view> args = {});

}  // namespace lum
