#include "script/operators.h"

#include <cmath>
#include <limits>

#include "script/tokens.h"

namespace lum {

namespace {

enum Class : uint8_t { cEmpty, cSmall, cReal, cString, cBool, cDate, cWide };

Class ClassOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::Empty: return cEmpty;
    case ValueKind::Integer:
    case ValueKind::ShortInt:
    case ValueKind::Byte: return cSmall;
    case ValueKind::Word:
    case ValueKind::Ref:
    case ValueKind::Int64: return cWide;
    case ValueKind::Real: return cReal;
    case ValueKind::DateTime: return cDate;
    case ValueKind::Boolean: return cBool;
    case ValueKind::String: return cString;
  }
  return cEmpty;
}

// Working class for (left, right), rows and columns in Class order.
constexpr Class kWorking[7][7] = {
    /* empty  */ {cEmpty, cSmall, cReal, cString, cBool, cDate, cWide},
    /* small  */ {cSmall, cSmall, cReal, cReal, cSmall, cDate, cWide},
    /* real   */ {cReal, cReal, cReal, cReal, cReal, cDate, cReal},
    /* string */ {cString, cReal, cReal, cString, cBool, cDate, cReal},
    /* bool   */ {cBool, cSmall, cReal, cBool, cBool, cDate, cWide},
    /* date   */ {cDate, cDate, cDate, cDate, cDate, cDate, cDate},
    /* wide   */ {cWide, cWide, cReal, cReal, cWide, cDate, cWide},
};

bool IsComparison(uint8_t op) {
  return op == tkEqual || op == tkNotEqual || op == tkGreater || op == tkLess ||
         op == tkGreaterEqual || op == tkLessEqual;
}
bool IsBitwise(uint8_t op) {
  return op == tkShl || op == tkShr || op == tkAnd || op == tkOr || op == tkXor;
}

template <typename T>
bool Compare(uint8_t op, const T& a, const T& b) {
  switch (op) {
    case tkEqual: return a == b;
    case tkNotEqual: return !(a == b);
    case tkGreater: return b < a;
    case tkLess: return a < b;
    case tkGreaterEqual: return !(a < b);
    default: return !(b < a);  // <=
  }
}

bool RealArithmetic(uint8_t op, double a, double b, ScriptValue& out) {
  switch (op) {
    case tkPlus: out = ScriptValue::Real(a + b); return true;
    case tkMinus: out = ScriptValue::Real(a - b); return true;
    case tkStar: out = ScriptValue::Real(a * b); return true;
    case tkSlash:
      if (b == 0) return false;
      out = ScriptValue::Real(a / b);
      return true;
    default: return false;
  }
}

bool SmallInteger(uint8_t op, int32_t a, int32_t b, ScriptValue& out) {
  int64_t wide;
  switch (op) {
    case tkPlus: wide = int64_t{a} + b; break;
    case tkMinus: wide = int64_t{a} - b; break;
    case tkStar: wide = int64_t{a} * b; break;
    case tkSlash: return RealArithmetic(op, a, b, out);
    case tkShl: out = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(a) << (b & 31))); return true;
    case tkShr: out = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(a) >> (b & 31))); return true;
    case tkAnd: out = ScriptValue::Integer(a & b); return true;
    case tkOr: out = ScriptValue::Integer(a | b); return true;
    case tkXor: out = ScriptValue::Integer(a ^ b); return true;
    default: out = ScriptValue::Boolean(Compare(op, a, b)); return true;
  }
  // An overflowing sum, difference or product is done again in reals.
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
    return RealArithmetic(op, a, b, out);
  out = ScriptValue::Integer(static_cast<int32_t>(wide));
  return true;
}

bool WideInteger(uint8_t op, int64_t a, int64_t b, ScriptValue& out) {
  const auto ua = static_cast<uint64_t>(a), ub = static_cast<uint64_t>(b);
  switch (op) {
    case tkPlus: out = ScriptValue::Int64(static_cast<int64_t>(ua + ub)); return true;
    case tkMinus: out = ScriptValue::Int64(static_cast<int64_t>(ua - ub)); return true;
    case tkStar: out = ScriptValue::Int64(static_cast<int64_t>(ua * ub)); return true;
    case tkSlash: return RealArithmetic(op, static_cast<double>(a), static_cast<double>(b), out);
    case tkShl: out = ScriptValue::Int64(static_cast<int64_t>(ua << (b & 63))); return true;
    case tkShr: out = ScriptValue::Int64(static_cast<int64_t>(ua >> (b & 63))); return true;
    case tkAnd: out = ScriptValue::Int64(a & b); return true;
    case tkOr: out = ScriptValue::Int64(a | b); return true;
    case tkXor: out = ScriptValue::Int64(a ^ b); return true;
    default: out = ScriptValue::Boolean(Compare(op, a, b)); return true;
  }
}

bool AsIntegers(uint8_t op, const ScriptValue& a, const ScriptValue& b, ScriptValue& out) {
  int32_t x, y;
  return ToInt32(a, x) && ToInt32(b, y) && SmallInteger(op, x, y, out);
}

bool AsReals(uint8_t op, const ScriptValue& a, const ScriptValue& b, ScriptValue& out) {
  double x, y;
  if (!ToReal(a, x) || !ToReal(b, y)) return false;
  if (IsComparison(op)) {
    out = ScriptValue::Boolean(Compare(op, x, y));
    return true;
  }
  return RealArithmetic(op, x, y, out);
}

bool Power(const ScriptValue& a, const ScriptValue& b, ScriptValue& out) {
  double x, y;
  if (!ToReal(a, x) || !ToReal(b, y)) return false;
  const float result = std::pow(static_cast<float>(x), static_cast<float>(y));
  out = ScriptValue::Real(result);
  return true;
}

}  // namespace

bool ApplyBinary(uint8_t op, const ScriptValue& a, const ScriptValue& b, ScriptValue& out,
                 size_t maxString) {
  if (op == tkCaret) return Power(a, b, out);
  if (a.kind() == ValueKind::Integer && b.kind() == ValueKind::Integer)
    return SmallInteger(op, static_cast<int32_t>(a.whole()), static_cast<int32_t>(b.whole()), out);
  // A real with a real or an integer, as sums go on once they left 32
  // bits: what AsReals does, without its conversions.
  if ((a.kind() == ValueKind::Real || b.kind() == ValueKind::Real) &&
      (op == tkPlus || op == tkMinus || op == tkStar)) {
    const bool realA = a.kind() == ValueKind::Real, realB = b.kind() == ValueKind::Real;
    if ((realA || a.kind() == ValueKind::Integer) && (realB || b.kind() == ValueKind::Integer))
      return RealArithmetic(op, realA ? a.real() : static_cast<double>(a.whole()),
                            realB ? b.real() : static_cast<double>(b.whole()), out);
  }
  const Class working = kWorking[ClassOf(a.kind())][ClassOf(b.kind())];
  switch (working) {
    case cEmpty:
      if (IsComparison(op)) {
        out = ScriptValue::Boolean(op == tkEqual || op == tkGreaterEqual || op == tkLessEqual);
      } else {
        out = ScriptValue();
      }
      return true;
    case cSmall:
      return AsIntegers(op, a, b, out);
    case cReal:
      if (IsBitwise(op)) return AsIntegers(op, a, b, out);
      return AsReals(op, a, b, out);
    case cString: {
      if (IsBitwise(op)) return AsIntegers(op, a, b, out);
      std::string x, y;
      if (!ToText(a, x) || !ToText(b, y)) return false;
      if (op == tkPlus) {
        if (x.size() + y.size() > maxString) return false;
        x += y;
        out = ScriptValue::String(std::move(x));
        return true;
      }
      if (IsComparison(op)) {
        out = ScriptValue::Boolean(Compare(op, x, y));
        return true;
      }
      return AsReals(op, a, b, out);
    }
    case cBool: {
      if (op == tkAnd || op == tkOr || op == tkXor) {
        bool x, y;
        if (!ToBoolean(a, x) || !ToBoolean(b, y)) return false;
        out = ScriptValue::Boolean(op == tkAnd ? (x && y) : op == tkOr ? (x || y) : (x != y));
        return true;
      }
      if (IsBitwise(op)) return AsIntegers(op, a, b, out);
      if (IsComparison(op)) {
        bool x, y;
        if (!ToBoolean(a, x) || !ToBoolean(b, y)) return false;
        out = ScriptValue::Boolean(Compare(op, x, y));
        return true;
      }
      return AsReals(op, a, b, out);
    }
    case cDate: {
      if (IsBitwise(op)) return AsIntegers(op, a, b, out);
      double x, y;
      if (!ToReal(a, x) || !ToReal(b, y)) return false;
      if (op == tkPlus) {
        out = ScriptValue::DateTime(x + y);
        return true;
      }
      if (op == tkMinus) {
        const bool bothDates = a.kind() == ValueKind::DateTime && b.kind() == ValueKind::DateTime;
        out = bothDates ? ScriptValue::Real(x - y) : ScriptValue::DateTime(x - y);
        return true;
      }
      return AsReals(op, a, b, out);
    }
    case cWide: {
      int64_t x, y;
      if (!ToInt64(a, x) || !ToInt64(b, y)) return false;
      return WideInteger(op, x, y, out);
    }
  }
  return false;
}

bool Negate(const ScriptValue& v, ScriptValue& out) {
  switch (v.kind()) {
    case ValueKind::Empty: out = ScriptValue::Integer(0); return true;
    case ValueKind::Real: out = ScriptValue::Real(-v.real()); return true;
    case ValueKind::DateTime: out = ScriptValue::DateTime(-v.real()); return true;
    case ValueKind::Int64:
    case ValueKind::Ref:
      out = ScriptValue::Int64(static_cast<int64_t>(0 - static_cast<uint64_t>(v.whole())));
      return true;
    case ValueKind::String: {
      double d;
      if (!ToReal(v, d)) return false;
      out = ScriptValue::Real(-d);
      return true;
    }
    case ValueKind::Boolean: out = ScriptValue::Integer(v.boolean() ? 1 : 0); return true;
    default: {
      const int64_t n = -v.whole();
      if (n > std::numeric_limits<int32_t>::max()) out = ScriptValue::Real(static_cast<double>(n));
      else out = ScriptValue::Integer(static_cast<int32_t>(n));
      return true;
    }
  }
}

bool LogicalNot(const ScriptValue& v, ScriptValue& out) {
  ScriptValue equal;
  if (!ApplyBinary(tkEqual, v, ScriptValue::Integer(0), equal, 0)) return false;
  out = ScriptValue::Byte(equal.boolean() ? 1 : 0);
  return true;
}

}  // namespace lum
