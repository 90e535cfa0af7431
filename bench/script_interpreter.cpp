// Statements per second of the script interpreter on typical loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <string>

#include "script/pool.h"

namespace {

using namespace lum;

bool AbsStandIn(TPasCalc&, TVarList& params, TVar& result) {
  if (params.size() != 1) return false;
  double v;
  if (!ToReal(params[0].Value, v)) return false;
  result.Value = ScriptValue::Real(std::fabs(v));
  return true;
}

bool MaxStandIn(TPasCalc&, TVarList& params, TVar& result) {
  if (params.size() == 0) return false;
  result.Value = params[0].Value;
  for (size_t i = 1; i < params.size(); ++i) {
    if (params[i].Value.kind() != result.Value.kind()) return false;
    double a, b;
    ToReal(params[i].Value, a);
    ToReal(result.Value, b);
    if (a > b) result.Value = params[i].Value;
  }
  return true;
}

// An element with two integer properties, the way scene elements answer.
class BenchElement : public ScriptElement {
 public:
  bool GetValue(std::string_view name, ScriptValue& out) override {
    if (name == "SELF") {
      out = ScriptValue::Ref(Handle());
      return true;
    }
    auto it = props_.find(std::string(name));
    if (it == props_.end()) return false;
    out = ScriptValue::Integer(it->second);
    return true;
  }
  bool SetValue(std::string_view name, const ScriptValue& value) override {
    auto it = props_.find(std::string(name));
    if (it == props_.end()) return false;
    return ToInt32(value, it->second);
  }
  ScriptElement* Parent() const override { return nullptr; }
  uint32_t Key() const override { return 1; }
  std::string Id() const override { return "Bench"; }
  std::string ClassName() const override { return "TLumImage"; }

 private:
  std::map<std::string, int32_t> props_{{"X", 0}, {"Y", 0}};
};

void RunWorkload(benchmark::State& state, const char* source) {
  InterpreterPool pool([](TFuncList& funcs) {
    funcs.AddFunction("Abs", AbsStandIn);
    funcs.AddFunction("Max", MaxStandIn);
  });
  BenchElement element;
  pool.Environment().elements.Register(element);
  TPasCalc& calc = pool.Current();
  const PreparedScript prepared = calc.PrepareScript(source);
  uint64_t statements = 0;
  for (auto _ : state) {
    calc.Variables().ClearVars();
    pool.Environment().currentElement = element.Handle();
    if (!calc.Run(prepared)) state.SkipWithError(calc.ErrorMessage().c_str());
    statements += calc.StatementsRun();
  }
  state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}

void IntegerLoop(benchmark::State& s) {
  RunWorkload(s, "I := 0; WHILE I < 10000 DO I := I + 1;");
}
void ForIfNative(benchmark::State& s) {
  RunWorkload(s, "X := 0; I := 0; FOR I := 1 TO 10000 DO IF ABS(I - 5000) > 2500 THEN X := X + 1;");
}
void StringBuilding(benchmark::State& s) {
  RunWorkload(s, "S := ''; I := 0; FOR I := 1 TO 2000 DO S := S + 'ab';");
}
void ArrayFillSum(benchmark::State& s) {
  RunWorkload(s,
              "I := 0; SUM := 0; FOR I := 1 TO 1000 DO A[I] := I * 2; "
              "FOR I := 1 TO 1000 DO SUM := SUM + A[I];");
}
void ElementProperties(benchmark::State& s) {
  RunWorkload(s, "I := 0; FOR I := 1 TO 10000 DO BEGIN X := X + 1; SELF.Y := SELF.X - 1; END;");
}
void NativeCalls(benchmark::State& s) {
  RunWorkload(s, "I := 0; FOR I := 1 TO 10000 DO BEGIN A := ABS(-I); B := MAX(I, 5000); END;");
}

BENCHMARK(IntegerLoop);
BENCHMARK(ForIfNative);
BENCHMARK(StringBuilding);
BENCHMARK(ArrayFillSum);
BENCHMARK(ElementProperties);
BENCHMARK(NativeCalls);

}  // namespace

BENCHMARK_MAIN();
