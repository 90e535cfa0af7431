#include "script/messages.h"

#include <array>

namespace lum {

namespace {

struct Entry {
  Msg id;
  MessageInfo info;
};

constexpr Entry kMessages[] = {
    {Msg::EmptyExpression, {1, "Empty string - not expression"}},
    {Msg::InvalidNumber, {1, "Invalid number: %"}},
    {Msg::UnknownOperator, {1, "Unknown or invalid operator in expression: %"}},
    {Msg::InvalidFunctionParams, {1, "Invalid function params: %"}},
    {Msg::ErrorInExpressionPart, {1, "Error in expression: %"}},
    {Msg::ErrorInExpression, {1, "Error in expression"}},
    {Msg::InvalidStringIndexComma, {19, "Invalid string index"}},
    {Msg::FoundExpected, {1, "Found %, expected :=, (, [ or ;"}},
    {Msg::InvalidGotoLabel, {1, "Invalid label in GOTO"}},
    {Msg::ErrorInGoto, {1, "Error in GOTO statement"}},
    {Msg::InvalidBreak, {1, "Invalid BREAK operator"}},
    {Msg::InvalidContinue, {1, "Invalid CONTINUE operator"}},
    {Msg::InvalidExit, {1, "Invalid EXIT operator"}},
    {Msg::ErrorInCase, {1, "Error in CASE statement"}},
    {Msg::InvalidCaseTypecast, {1, "Invalid typecast in CASE range"}},
    {Msg::InvalidForVariable, {1, "Invalid variable name: %"}},
    {Msg::InvalidFilename, {1, "Invalid filename \"%\" in % statement"}},
    {Msg::ParenExpected, {2, "')' expected"}},
    {Msg::OpenParenExpected, {2, "( expected"}},
    {Msg::VariableNotFound, {3, "Variable not found: %"}},
    {Msg::VariableNotFoundChar, {3, "Variable not found :%"}},
    {Msg::InvalidProcedureName, {4, "Invalid procedure name"}},
    {Msg::InvalidVariableName, {4, "Invalid variable name: %"}},
    {Msg::InvalidVariableType, {5, "Invalid variable type: %"}},
    {Msg::InvalidOperandTypes, {5, "Invalid operand types for \"%\""}},
    {Msg::InvalidIndex, {5, "Invalid index: %"}},
    {Msg::InvalidConditionType, {5, "Invalid condition type"}},
    {Msg::InvalidLoopValue, {5, "Invalid loop variable value "}},
    {Msg::UnterminatedString, {6, "Unterminated string: %"}},
    {Msg::ErrorInFunction, {7, "Error in function: %"}},
    {Msg::ErrorInProcedure, {7, "Error in procedure: %"}},
    {Msg::InvalidParamExpression, {7, "Invalid expression in function params: %"}},
    {Msg::InvalidParameters, {7, "Invalid parameters, function %"}},
    {Msg::InvalidParametersWithReason, {7, "Invalid parameters, function % : %"}},
    {Msg::WrongParameterCount, {7, "Wrong parameters amount, procedure %"}},
    {Msg::InvalidFunctionCall, {7, "Invalid function call"}},
    {Msg::UnknownFunction, {8, "Unknown function: %"}},
    {Msg::UnknownProcedure, {8, "Unknown procedure: %"}},
    {Msg::InvalidOperator, {9, "Invalid operator: %"}},
    {Msg::ElseWithoutIf, {9, "ELSE without IF"}},
    {Msg::EndExpected, {10, "END expected"}},
    {Msg::TooManyEnd, {11, "Too many END"}},
    {Msg::ToExpected, {12, "TO or DOWNTO expected"}},
    {Msg::ForVariableExpected, {13, "FOR control variable expected"}},
    {Msg::DoExpected, {14, "DO expected"}},
    {Msg::OfExpected, {14, "OF expected"}},
    {Msg::OutsideLoop, {15, "% outside loop"}},
    {Msg::UntilExpected, {16, "UNTIL expected"}},
    {Msg::TooManyUntil, {17, "Too many UNTIL"}},
    {Msg::LabelUnreachable, {18, "Label % not exist or unreacheble"}},
    {Msg::EmptyStringIndex, {19, "Empty string index"}},
    {Msg::InvalidStringIndex, {19, "Invalid string index"}},
    {Msg::InvalidStringIndexValue, {19, "Invalid string index : %"}},
    {Msg::StringIndexRange, {19, "String index out of range: %"}},
    {Msg::CharacterExpected, {20, "Character expected: '%'"}},
    {Msg::CharacterRange, {20, "Character value out of range: %"}},
    {Msg::BracketCloseExpected, {21, "] expected"}},
    {Msg::BracketOpenExpected, {22, "[ expected"}},
    {Msg::SameNameVariable, {24, "Variable with same name exist : %"}},
    {Msg::SameNameArray, {24, "Array with same name exist : %"}},
    {Msg::DuplicateProcedure, {24, "Duplicate procedure name"}},
    {Msg::DuplicateVariable, {24, "Duplicate variable name: %"}},
    {Msg::CannotOpenFile, {25, "Can't open file \"%\", error code %"}},
    {Msg::FunctionMustReturn, {26, "Function must return result : %"}},
    {Msg::TooManyElse, {28, "Too many ELSE in CASE statement"}},
    {Msg::ColonExpected, {29, ": expected"}},
    {Msg::RangeExpected, {29, "Range defininition expected"}},
    {Msg::InvalidForOperator, {9, "Invalid operator: % ('FOR' expected "}},
    {Msg::NestingTooDeep, {30, "Script nested too deeply"}},
    {Msg::CallsTooDeep, {30, "Procedure calls nested too deeply: %"}},
    {Msg::IncludesTooDeep, {30, "Include files nested too deeply: %"}},
    {Msg::StatementLimit, {30, "Statement limit reached"}},
    {Msg::RunsTooDeep, {30, "Script run refused: more than % nested runs"}},
    {Msg::IncludesTooLarge, {30, "Include files too large: % (more than % bytes in one script)"}},
};

constexpr size_t kCount = sizeof kMessages / sizeof kMessages[0];

constexpr bool TableInOrder() {
  for (size_t i = 0; i < kCount; ++i)
    if (static_cast<size_t>(kMessages[i].id) != i) return false;
  return true;
}
static_assert(TableInOrder(), "message table must list every Msg in declaration order");

}  // namespace

const MessageInfo& Message(Msg id) { return kMessages[static_cast<size_t>(id)].info; }

std::string FormatMessage(Msg id, std::initializer_list<std::string_view> args) {
  const std::string_view text = Message(id).text;
  std::string out;
  out.reserve(text.size() + 16);
  auto next = args.begin();
  for (char c : text) {
    if (c == '%' && next != args.end()) {
      out.append(*next++);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace lum
