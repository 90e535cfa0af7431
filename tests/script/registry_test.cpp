// Native routines, error reporting, the error log and the pool.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "script_harness.h"

namespace lum {
namespace {

using testing::FakeElement;
using testing::Harness;

void RegisterTestRoutines(TFuncList& f) {
  f.AddFunction("Inc", [](TPasCalc&, TVarList& p, TVar&) {
    if (p.size() != 1) return false;
    int32_t a;
    if (!ToInt32(p[0].Value, a)) return false;
    p.SetAt(0, ScriptValue::Integer(a + 1));
    return true;
  });
  f.AddFunction("IntToStr", [](TPasCalc&, TVarList& p, TVar& r) {
    if (p.size() != 1) return false;
    std::string t;
    ToText(p[0].Value, t);
    r.Value = ScriptValue::String(t);
    return true;
  });
  f.AddFunction("Copy", [](TPasCalc& calc, TVarList& p, TVar&) {
    if (p.size() != 3) {
      if (p.size() == 99) calc.SetRoutineFailure("never");
      return false;
    }
    return true;
  });
  f.AddFunction("Kinds", [](TPasCalc&, TVarList& p, TVar& r) {
    std::string names;
    for (const TVar& v : p.records()) names += v.Name + ",";
    r.Value = ScriptValue::String(names);
    return true;
  });
  f.AddFunction("Fails", [](TPasCalc& calc, TVarList&, TVar&) {
    calc.SetRoutineFailure("bad date");
    return false;
  });
}

TEST(Routines, RegistrationIsCaseInsensitiveAndReplaceable) {
  Harness h(RegisterTestRoutines);
  EXPECT_TRUE(h.Run("A := inttostr(5); B := IntToStr(6);"));
  EXPECT_EQ(h.Var("A").text(), "5");
  EXPECT_TRUE(h.calc().AddFunction("  intToStr ", [](TPasCalc&, TVarList&, TVar& r) {
    r.Value = ScriptValue::String("replaced");
    return true;
  }));
  EXPECT_TRUE(h.Run("C := IntToStr(1);"));
  EXPECT_EQ(h.Var("C").text(), "replaced");
  EXPECT_TRUE(h.calc().AddFunction("INTTOSTR", nullptr));
  EXPECT_FALSE(h.Run("D := IntToStr(1);"));
  EXPECT_EQ(h.message(), "Unknown function: INTTOSTR");
  EXPECT_EQ(h.code(), 8);
  EXPECT_FALSE(h.calc().AddFunction("1BAD", [](TPasCalc&, TVarList&, TVar&) { return true; }));
}

TEST(Routines, WrongCallsAndReasons) {
  Harness h(RegisterTestRoutines);
  EXPECT_FALSE(h.Run("X := Copy('ABC', 1);"));
  EXPECT_EQ(h.message(), "Invalid parameters, function COPY");
  EXPECT_EQ(h.code(), 7);
  EXPECT_FALSE(h.Run("X := Fails();"));
  EXPECT_EQ(h.message(), "Invalid parameters, function FAILS : bad date");
  EXPECT_FALSE(h.Run("X := Copy(1 2 3, 1, 1);"));
  EXPECT_EQ(h.message(), std::string("Invalid expression in function params: \x7f" "B1\x7f" "B2\x7f" "B3"));
}

TEST(Routines, VarParametersAreWrittenBack) {
  Harness h(RegisterTestRoutines);
  EXPECT_TRUE(h.Run("X := 1; Inc(X); Inc(5); A[2] := 1; Inc(A[2]); I := 2; Inc(A[I]);"));
  EXPECT_EQ(h.Var("X").whole(), 2);
  EXPECT_EQ(h.Var("A[2]").whole(), 2);  // A[I] is no variable name: passed by value
  EXPECT_TRUE(h.Run("K := Kinds(X, 5, X + 1, A [ 2 ]);"));
  EXPECT_EQ(h.Var("K").text(), "VAR,VALUE,VALUE,VAR,");
}

TEST(ErrorLog, OnlyTheFirstErrorIsLoggedWithItsStatement) {
  Harness h;
  FakeElement e(h.env().elements, "Button1", "TLumImage", nullptr, 1);
  h.env().currentElement = e.Handle();
  h.env().eventLabel = "ms_Down";
  EXPECT_FALSE(h.Run("X := 1; BREAK; Y := Z;"));
  ASSERT_EQ(h.log().size(), 1u);
  EXPECT_EQ(h.log()[0], "BREAK outside loop (BREAK   in Button1 <TLumImage>) ms_Down");
  EXPECT_EQ(h.calc().ErrorSource(), "BREAK  ");
}

TEST(ErrorLog, AppendsLinesToTheFileOnlyWhileSwitchedOn) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("lumware_" + std::to_string(::getpid()) + ".err");
  std::filesystem::remove(path);
  Harness h;
  h.env().log.SetPath(path.string());
  h.env().log.SetSaveErr(false);
  EXPECT_FALSE(h.Run("BREAK;"));
  EXPECT_FALSE(std::filesystem::exists(path));
  h.env().log.SetSaveErr(true);
  EXPECT_FALSE(h.Run("BREAK;"));
  EXPECT_FALSE(h.Run("X := Q;"));
  std::ifstream in(path, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all,
            "BREAK outside loop (BREAK   in ) \r\n"
            "Not var NIL Q (in  \r\n"
            "Variable not found: Q (Q   in ) \r\n");
  std::filesystem::remove(path);
}

TEST(Pool, NestedRunsUseTheirOwnInterpreter) {
  Harness h;
  FakeElement outer(h.env().elements, "Outer", "TLumImage", nullptr, 1);
  FakeElement inner(h.env().elements, "Inner", "TLumImage", nullptr, 2);
  InterpreterPool* pool = &h.pool;
  const PreparedScript innerScript = h.pool.At(0).PrepareScript("V := 'inner'; W := 1;");
  for (int i = 0; i < InterpreterPool::kSize; ++i)
    h.pool.At(i).AddFunction("RunInner", [&](TPasCalc&, TVarList&, TVar&) {
      return pool->RunEvent(&inner, innerScript, &inner.vars);
    });
  const PreparedScript outerScript = h.pool.At(0).PrepareScript("V := 'outer'; RunInner(); D := 1;");
  EXPECT_TRUE(h.pool.RunEvent(&outer, outerScript, &outer.vars));
  EXPECT_EQ(h.pool.Depth(), 1);
  TVar v;
  ASSERT_TRUE(outer.vars.FindLocal("V", v));
  EXPECT_EQ(v.Value.text(), "outer");
  ASSERT_TRUE(inner.vars.FindLocal("V", v));
  EXPECT_EQ(v.Value.text(), "inner");
  EXPECT_TRUE(outer.vars.Exists("D"));
}

TEST(Pool, AnEleventhNestedRunIsRefusedAndLogged) {
  Harness h;
  FakeElement e(h.env().elements, "Loop", "TLumImage", nullptr, 1);
  InterpreterPool* pool = &h.pool;
  PreparedScript script;
  int runs = 0;
  for (int i = 0; i < InterpreterPool::kSize; ++i)
    h.pool.At(i).AddFunction("Again", [&](TPasCalc&, TVarList&, TVar&) {
      ++runs;
      pool->RunEvent(&e, script, nullptr);
      return true;
    });
  script = h.pool.At(0).PrepareScript("Again();");
  h.env().eventLabel = "Process";
  EXPECT_TRUE(h.pool.RunEvent(&e, script, nullptr));
  EXPECT_EQ(runs, InterpreterPool::kSize - 1);
  EXPECT_EQ(h.pool.Depth(), 1);
  ASSERT_FALSE(h.log().empty());
  EXPECT_EQ(h.log().back(), "Script run refused: more than 10 nested runs (in Loop <TLumImage>) Process");
}

}  // namespace
}  // namespace lum
