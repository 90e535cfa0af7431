#pragma once
// The operator table: the class both operands are brought to, and what
// each operator does in that class.
#include <cstddef>
#include <cstdint>

#include "script/value.h"

namespace lum {

// Applies a two-operand operator (token code). False when an operand cannot
// be converted or the operation fails (division by zero, a string longer
// than maxString); the caller reports the operand-types message.
bool ApplyBinary(uint8_t op, const ScriptValue& a, const ScriptValue& b, ScriptValue& out,
                 size_t maxString);

bool Negate(const ScriptValue& v, ScriptValue& out);
// NOT: the byte 1 when the operand equals 0, else the byte 0.
bool LogicalNot(const ScriptValue& v, ScriptValue& out);

}  // namespace lum
