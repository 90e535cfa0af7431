#pragma once
// The operator table: the class both operands are brought to, and what
// each operator does in that class.
#include <cstddef>
#include <cstdint>

#include "script/tokens.h"
#include "script/value.h"

namespace lum {

// Applies a two-operand operator (token code). False when an operand cannot
// be converted or the operation fails (division by zero, a string longer
// than maxString); the caller reports the operand-types message.
bool ApplyBinary(uint8_t op, const ScriptValue& a, const ScriptValue& b, ScriptValue& out,
                 size_t maxString);

// The common case of two 32-bit integers for +, -, * and the comparisons,
// inline; false for every other operator and for an overflowing result
// (ApplyBinary then gives the full answer).
[[gnu::always_inline]] inline bool IntegerBinary(uint8_t op, int32_t a, int32_t b, ScriptValue& out) {
  int64_t wide;
  // Addition before the table of the others: counters and positions.
  if (op == tkPlus) {
    wide = int64_t{a} + b;
  } else {
    switch (op) {
      case tkMinus: wide = int64_t{a} - b; break;
      case tkStar: wide = int64_t{a} * b; break;
      case tkEqual: out = ScriptValue::Boolean(a == b); return true;
      case tkNotEqual: out = ScriptValue::Boolean(a != b); return true;
      case tkLess: out = ScriptValue::Boolean(a < b); return true;
      case tkGreater: out = ScriptValue::Boolean(a > b); return true;
      case tkLessEqual: out = ScriptValue::Boolean(a <= b); return true;
      case tkGreaterEqual: out = ScriptValue::Boolean(a >= b); return true;
      default: return false;
    }
  }
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  out.SetInteger(static_cast<int32_t>(wide));
  return true;
}

bool Negate(const ScriptValue& v, ScriptValue& out);
// NOT: the byte 1 when the operand equals 0, else the byte 0.
bool LogicalNot(const ScriptValue& v, ScriptValue& out);

}  // namespace lum
