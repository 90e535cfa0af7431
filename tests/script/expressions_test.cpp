// Normalisation, scanning, token text and expression evaluation.
#include <gtest/gtest.h>

#include "script/compiled.h"
#include "script_harness.h"

namespace lum {
namespace {

using testing::Harness;

std::vector<std::string> Texts(std::string_view source) {
  std::vector<std::string> out;
  for (const Token& t : DecodeTokens(Tokenise(source))) out.push_back(t.text);
  return out;
}

using Strings = std::vector<std::string>;

TEST(Scanner, CommentsAndCase) {
  EXPECT_EQ(Texts("{ note } x // tail"), Strings{"X"});
  EXPECT_EQ(Texts("a } b"), (Strings{"A", "B"}));
  EXPECT_EQ(Texts("a // c } b"), (Strings{"A", "B"}));  // '}' ends a line comment early
  EXPECT_EQ(Texts("{ open\n x"), Strings{"X"});         // a line break ends a brace comment
  EXPECT_EQ(Texts("'it''s' x"), (Strings{"'it'", "'s'", "X"}));
  EXPECT_EQ(Texts("\"don't\""), (Strings{"\"don'", "T", "\""}));  // an apostrophe ends the literal
  EXPECT_EQ(Texts("'ab{c}'"), Strings{"'ab{c}'"});
}

TEST(Scanner, LongestMatchAndWordBoundaries) {
  EXPECT_EQ(Texts("ENDING"), Strings{"ENDING"});
  EXPECT_EQ(Texts("A<>B"), (Strings{"A", "<>", "B"}));
  EXPECT_EQ(Texts("x:=y>=z"), (Strings{"X", ":=", "Y", ">=", "Z"}));
  EXPECT_EQ(Texts("1 .. 5"), (Strings{"1", "..", "5"}));
  EXPECT_EQ(Texts("1..5"), (Strings{"1", "..5"}));
  EXPECT_EQ(Texts("..X"), Strings{"..X"});
  EXPECT_EQ(Texts("LUMDB.SCREEN1.X 3.14 #a"), (Strings{"LUMDB.SCREEN1.X", "3.14", "#A"}));
  const std::vector<Token> tokens = DecodeTokens(Tokenise("end endx 'q"));
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].code, tkEnd);
  EXPECT_EQ(tokens[1].code, tkIdentifier);
  EXPECT_EQ(tokens[2].code, tkLiteral);
}

TEST(TokenText, EncodingAndSpacedText) {
  const std::string encoded = Tokenise("x := 1");
  EXPECT_EQ(encoded, std::string("\x7f" "AX" "\x7f" "^:=" "\x7f" "B1"));
  EXPECT_EQ(SpacedEncoded(encoded), "X := 1  ");
  EXPECT_TRUE(DecodeTokens("\x7f" "@junk" "\x7f" "AX").empty());  // code 0 ends the text
}

struct ExprCase {
  const char* source;
  ValueKind kind;
  double value;
};

TEST(Evaluate, PrecedenceAndTypes) {
  const ExprCase cases[] = {
      {"2 + 3 * 4", ValueKind::Integer, 14},   {"2 ^ 3 ^ 2", ValueKind::Real, 64},
      {"-2 ^ 2", ValueKind::Real, 4},          {"7 / 2", ValueKind::Real, 3.5},
      {"7 = 7.0", ValueKind::Boolean, 1},      {"'1' + 2", ValueKind::Real, 3},
      {"2147483647 + 1", ValueKind::Real, 2147483648.0},
      {"2147483646 + 1", ValueKind::Integer, 2147483647},
      {"7 SHR 1", ValueKind::Integer, 3},      {"-1 SHR 28", ValueKind::Integer, 15},
      {"1 SHL 33", ValueKind::Integer, 2},     {"NOT 5", ValueKind::Byte, 0},
      {"NOT 0", ValueKind::Byte, 1},           {"NOT TRUE", ValueKind::Byte, 0},
      {"NOT 1 = 0", ValueKind::Boolean, 1},    {"2147483646", ValueKind::Integer, 2147483646},
      {"2147483647", ValueKind::Real, 2147483647}, {"-2147483647", ValueKind::Real, -2147483647},
      {"TRUE + 1", ValueKind::Integer, 0},     {"TRUE AND FALSE", ValueKind::Boolean, 0},
      {"6 AND 3", ValueKind::Integer, 2},      {"1 2", ValueKind::Integer, 1},
      {"(1 + 2) * 3", ValueKind::Integer, 9},  {"1.5 + 1", ValueKind::Real, 2.5},
  };
  for (const ExprCase& c : cases) {
    Harness h;
    ScriptValue v;
    ASSERT_TRUE(h.Eval(c.source, v)) << c.source << ": " << h.message();
    EXPECT_EQ(v.kind(), c.kind) << c.source;
    if (v.kind() == ValueKind::Boolean) {
      EXPECT_EQ(v.boolean(), c.value != 0) << c.source;
      continue;
    }
    double actual;
    ASSERT_TRUE(ToReal(v, actual));
    EXPECT_DOUBLE_EQ(actual, c.value) << c.source;
  }
}

struct FailCase {
  const char* source;
  int code;
  const char* message;
};

TEST(Evaluate, MessagesAndCodes) {
  const FailCase cases[] = {
      {"'A' + 2", 5, "Invalid operand types for \"+\""},
      {"1E5", 1, "Invalid number: 1E5"},
      {"1.2.3", 1, "Invalid number: 1.2.3"},
      {"(1 + 2", 2, "')' expected"},
      {"'abc", 6, "Unterminated string: 'abc"},
      {"--1", 1, "Unknown or invalid operator in expression: -"},
      {"1 +", 1, "Unknown or invalid operator in expression: "},
      {"X", 3, "Variable not found: X"},
      {"F(1, 2", 1, "Invalid function params: 1 , 2  "},
      {"NOSUCH(1)", 8, "Unknown function: NOSUCH"},
      {"1 / 0", 5, "Invalid operand types for \"/\""},
      {"'a' - 1", 5, "Invalid operand types for \"-\""},
  };
  for (const FailCase& c : cases) {
    Harness h;
    ScriptValue v;
    EXPECT_FALSE(h.Eval(c.source, v)) << c.source;
    EXPECT_EQ(h.code(), c.code) << c.source;
    EXPECT_EQ(h.message(), c.message) << c.source;
  }
  Harness h;
  ScriptValue v;
  EXPECT_FALSE(h.Eval("1 2 3", v));  // fails without a message of its own
  EXPECT_EQ(h.code(), 0);
  EXPECT_FALSE(h.Eval("", v));
  EXPECT_EQ(h.message(), "Empty string - not expression");
}

TEST(Evaluate, ErrorsStopFurtherOperands) {
  int calls = 0;
  Harness h([&calls](TFuncList& f) {
    f.AddFunction("Tick", [&calls](TPasCalc&, TVarList&, TVar& r) {
      ++calls;
      r.Value = ScriptValue::Integer(1);
      return true;
    });
  });
  ScriptValue v;
  EXPECT_FALSE(h.Eval("MISSING + TICK()", v));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(h.message(), "Variable not found: MISSING");
}

TEST(Evaluate, StringsAndCharacterIndexes) {
  Harness h;
  EXPECT_TRUE(h.Run("S := 'ABC'; C := S[2]; Q := \"HELLO\"; E := 'A' + 'B';"));
  EXPECT_EQ(h.Var("C").text(), "B");
  EXPECT_EQ(h.Var("Q").text(), "\"HELLO\"");
  EXPECT_EQ(h.Var("E").text(), "AB");
  EXPECT_FALSE(h.Run("S := 'ABC'; C := S[4];"));
  EXPECT_EQ(h.message(), "String index out of range: 4");
  EXPECT_EQ(h.code(), 19);
  EXPECT_FALSE(h.Run("S := 'ABC'; C := S[0];"));
  EXPECT_EQ(h.message(), "String index out of range: 0");
  EXPECT_FALSE(h.Run("S := 'ABC'; C := S[];"));
  EXPECT_EQ(h.message(), "Empty string index");
  EXPECT_FALSE(h.Run("N := 5; C := N[1];"));
  EXPECT_EQ(h.message(), "Invalid variable type: N");
  EXPECT_FALSE(h.Run("C := S[1;"));
  EXPECT_EQ(h.message(), "] expected");
}

TEST(Evaluate, DoubleQuotedOperandsAreTranslated) {
  Harness h;
  h.env().languageText = [](std::string_view key) {
    return key == "HELLO" ? std::string("Hallo") : key == "MENU.QUIT" ? std::string("Ende") : std::string();
  };
  EXPECT_TRUE(h.Run("A := \"HELLO\"; B := \"HELLO\" + ''; C := '' + \"MENU.QUIT\"; D := \"NONE\" + '';"));
  EXPECT_EQ(h.Var("A").text(), "\"HELLO\"");
  EXPECT_EQ(h.Var("B").text(), "Hallo");
  EXPECT_EQ(h.Var("C").text(), "Ende");
  EXPECT_EQ(h.Var("D").text(), "\"NONE\"");
}

TEST(Evaluate, RoutineNameShadowsVariable) {
  Harness h([](TFuncList& f) {
    f.AddFunction("Max", [](TPasCalc&, TVarList&, TVar& r) {
      r.Value = ScriptValue::Integer(42);
      return true;
    });
  });
  h.calc().Variables().AddVar(TVar{"MAX", ScriptValue::Integer(1)});
  ScriptValue v;
  ASSERT_TRUE(h.Eval("max", v));
  EXPECT_EQ(v.whole(), 42);
  // Removing the routine lets the same cached text read the variable.
  h.calc().AddFunction("MAX", nullptr);
  ASSERT_TRUE(h.Eval("max", v));
  EXPECT_EQ(v.whole(), 1);
}

TEST(Evaluate, DeepNestingIsRefusedNotCrashed) {
  Harness h;
  ScriptValue v;
  EXPECT_FALSE(h.Eval(std::string(100000, '(') + "1", v));
  EXPECT_EQ(h.code(), 30);
  std::string chain = "1";
  for (int i = 0; i < 100000; ++i) chain += "+1";
  Harness g;
  EXPECT_FALSE(g.Eval(chain, v));
  EXPECT_EQ(g.code(), 30);
}

}  // namespace
}  // namespace lum
