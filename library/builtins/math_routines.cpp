#include <cmath>
#include <limits>

#include "library/builtins/routines.h"
#include "script/messages.h"
#include "script/operators.h"
#include "script/pas_calc.h"
#include "script/tokens.h"

namespace lum::builtin {

namespace {

// A real function of one real; results that leave the finite numbers
// from a finite argument are the floating point faults of the call.
bool RealFunction(RoutineCall& c, double (*f)(double)) {
  double x = 0;
  if (c.Count() != 1 || !c.Real(0, x)) return false;
  const double y = f(x);
  if (std::isfinite(x) && !std::isfinite(y)) {
    if (std::isnan(y)) return c.Fail("Invalid floating point operation");
    return c.Fail(x == 0 ? "Floating point division by zero" : "Floating point overflow");
  }
  c.Return(ScriptValue::Real(y));
  return true;
}

// Integer results stay integers while they fit 32 bits, else 64 bits.
bool WholeFunction(RoutineCall& c, double (*f)(double)) {
  double x = 0;
  if (c.Count() != 1 || !c.Real(0, x)) return false;
  const double y = f(x);
  if (!std::isfinite(y) || y < -9223372036854775808.0 || y >= 9223372036854775808.0) {
    return c.Fail("Invalid floating point operation");
  }
  const int64_t n = static_cast<int64_t>(y);
  if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max()) {
    c.Return(ScriptValue::Integer(static_cast<int32_t>(n)));
  } else {
    c.Return(ScriptValue::Int64(n));
  }
  return true;
}

double Square(double x) { return x * x; }
double FractionOf(double x) { return x - std::trunc(x); }
double AbsOf(double x) { return std::fabs(x); }
double Nearest(double x) { return std::nearbyint(x); }  // halves to even

bool Less(const ScriptValue& a, const ScriptValue& b) {
  if (a.IsStringLike()) return a.text() < b.text();
  if (a.IsFloat()) return a.real() < b.real();
  return a.whole() < b.whole();
}

bool Extreme(RoutineCall& c, bool wantMax) {
  if (c.Count() < 1) return false;
  size_t best = 0;
  for (size_t i = 1; i < c.Count(); ++i) {
    if (c.Arg(i).kind() != c.Arg(0).kind()) return false;
    if (wantMax ? Less(c.Arg(best), c.Arg(i)) : Less(c.Arg(i), c.Arg(best))) best = i;
  }
  c.Return(c.Arg(best));
  return true;
}

bool Step(RoutineCall& c, uint8_t op) {
  if (c.Count() < 1 || c.Count() > 2) return false;
  const ScriptValue amount = c.Count() == 2 ? c.Arg(1) : ScriptValue::Byte(1);
  const size_t maxString = c.MaxStringLength();
  ScriptValue sum;
  if (!ApplyBinary(op, c.Arg(0), amount, sum, maxString)) {
    return c.Fail(FormatMessage(Msg::InvalidOperandTypes, {TokenTableText(op)}));
  }
  if (c.IsVar(0)) c.Write(0, sum);
  return true;
}

}  // namespace

bool Abs(RoutineCall& c) { return RealFunction(c, AbsOf); }
bool Frac(RoutineCall& c) { return RealFunction(c, FractionOf); }
bool Sqr(RoutineCall& c) { return RealFunction(c, Square); }
bool Sqrt(RoutineCall& c) { return RealFunction(c, std::sqrt); }
bool Sin(RoutineCall& c) { return RealFunction(c, std::sin); }
bool Cos(RoutineCall& c) { return RealFunction(c, std::cos); }
bool Tan(RoutineCall& c) { return RealFunction(c, std::tan); }
bool ArcSin(RoutineCall& c) { return RealFunction(c, std::asin); }
bool ArcCos(RoutineCall& c) { return RealFunction(c, std::acos); }
bool ArcTan(RoutineCall& c) { return RealFunction(c, std::atan); }
bool Exp(RoutineCall& c) { return RealFunction(c, std::exp); }
bool Ln(RoutineCall& c) { return RealFunction(c, std::log); }

bool Round(RoutineCall& c) { return WholeFunction(c, Nearest); }
bool Trunc(RoutineCall& c) { return WholeFunction(c, std::trunc); }
bool Ceil(RoutineCall& c) { return WholeFunction(c, std::ceil); }
bool Floor(RoutineCall& c) { return WholeFunction(c, std::floor); }

bool Int(RoutineCall& c) {
  double x = 0;
  if (c.Count() != 1 || !c.Real(0, x)) return false;
  const double y = std::trunc(x);
  if (!std::isfinite(y) || y < -9223372036854775808.0 || y >= 9223372036854775808.0) {
    return c.Fail("Invalid floating point operation");
  }
  c.Return(ScriptValue::Int64(static_cast<int64_t>(y)));
  return true;
}

bool Sign(RoutineCall& c) {
  int32_t n = 0;
  if (c.Count() != 1 || !c.Int(0, n)) return false;
  c.Return(ScriptValue::ShortInt(static_cast<int8_t>((n > 0) - (n < 0))));
  return true;
}

bool IntPower(RoutineCall& c) {
  double base = 0;
  int64_t exponent = 0;
  if (c.Count() != 2 || !c.Real(0, base) || !c.Truncated(1, exponent)) return false;
  const double y = std::pow(base, static_cast<double>(exponent));
  if (std::isfinite(base) && !std::isfinite(y)) {
    return c.Fail(base == 0 ? "Floating point division by zero" : "Floating point overflow");
  }
  c.Return(ScriptValue::Real(y));
  return true;
}

bool Mod(RoutineCall& c) {
  int32_t a = 0, b = 0;
  if (c.Count() != 2 || !c.Int(0, a) || !c.Int(1, b)) return false;
  if (b == 0) return c.Fail("Division by zero");
  // INT32_MIN mod -1 is 0; computing it directly would trap.
  c.Return(ScriptValue::Integer(b == -1 ? 0 : a % b));
  return true;
}

namespace {
// The first of the integers that no other beats, as Extreme picks it.
bool IntegerExtreme(const ScriptValue* const* args, size_t count, bool wantMax, ScriptValue& out) {
  if (count < 1) return false;
  for (size_t i = 0; i < count; ++i)
    if (args[i]->kind() != ValueKind::Integer) return false;
  size_t best = 0;
  for (size_t i = 1; i < count; ++i) {
    if (wantMax ? args[best]->whole() < args[i]->whole() : args[i]->whole() < args[best]->whole())
      best = i;
  }
  out = *args[best];
  return true;
}
}  // namespace

bool AbsShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out) {
  if (count != 1) return false;
  const ValueKind kind = args[0]->kind();
  if (kind == ValueKind::Integer) {
    out = ScriptValue::Real(std::fabs(static_cast<double>(args[0]->whole())));
    return true;
  }
  if (kind == ValueKind::Real) {
    out = ScriptValue::Real(std::fabs(args[0]->real()));
    return true;
  }
  return false;
}

bool MinShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out) {
  return IntegerExtreme(args, count, false, out);
}

bool MaxShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out) {
  return IntegerExtreme(args, count, true, out);
}

bool ModShortcut(const ScriptValue* const* args, size_t count, ScriptValue& out) {
  if (count != 2 || args[0]->kind() != ValueKind::Integer || args[1]->kind() != ValueKind::Integer)
    return false;
  const auto a = static_cast<int32_t>(args[0]->whole());
  const auto b = static_cast<int32_t>(args[1]->whole());
  if (b == 0) return false;  // the routine reports the division by zero
  out = ScriptValue::Integer(b == -1 ? 0 : a % b);
  return true;
}

bool RandomBelow(RoutineCall& c) {
  int32_t range = 0;
  if (c.Count() != 1 || !c.Int(0, range)) return false;
  const uint32_t below = range < 1 ? 0u : static_cast<uint32_t>(range);
  c.Return(ScriptValue::Integer(static_cast<int32_t>(c.Context().random().Below(below))));
  return true;
}

bool Min(RoutineCall& c) { return Extreme(c, false); }
bool Max(RoutineCall& c) { return Extreme(c, true); }
bool Inc(RoutineCall& c) { return Step(c, tkPlus); }
bool Dec(RoutineCall& c) { return Step(c, tkMinus); }

}  // namespace lum::builtin
