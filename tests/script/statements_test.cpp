// Statements, jumps, CASE, procedures and preparation.
#include <gtest/gtest.h>

#include "script_harness.h"

namespace lum {
namespace {

using testing::Harness;

TEST(ForLoop, ControlVariableMustExist) {
  Harness h;
  EXPECT_FALSE(h.Run("X := 1; FOR I := 1 TO 3 DO X := X * 2;"));
  EXPECT_EQ(h.message(), "Invalid variable name: I");
  EXPECT_EQ(h.code(), 1);
  Harness g;
  EXPECT_TRUE(g.Run("X := 1; I := 0; FOR I := 1 TO 3 DO X := X * 2;"));
  EXPECT_EQ(g.Var("X").whole(), 8);
  EXPECT_EQ(g.Var("I").whole(), 3);
}

TEST(ForLoop, EmptyRangeAndFixedBounds) {
  Harness h;
  EXPECT_TRUE(h.Run("FOR I := 3 TO 1 DO X := 1;"));
  EXPECT_FALSE(h.Has("I"));
  EXPECT_TRUE(h.Run("I := 0; N := 3; C := 0; FOR I := 1 TO N DO BEGIN N := 10; I := 1; C := C + 1; END;"));
  EXPECT_EQ(h.Var("C").whole(), 3);
  EXPECT_TRUE(h.Run("I := 0; C := 0; FOR I := 5 DOWNTO 1 DO C := C * 10 + I;"));
  EXPECT_EQ(h.Var("C").whole(), 54321);
  EXPECT_FALSE(h.Run("I := 0; FOR I := 1 TO 3 X := 1;"));
  EXPECT_EQ(h.message(), "DO expected");
  EXPECT_FALSE(h.Run("FOR 1 := 1 TO 3 DO X := 1;"));
  EXPECT_EQ(h.message(), "FOR control variable expected");
  EXPECT_FALSE(h.Run("FOR I = 1 TO 3 DO X := 1;"));
  EXPECT_EQ(h.message(), "Invalid operator: = ('FOR' expected ");
  EXPECT_FALSE(h.Run("FOR I := 1 DO X := 1;"));
  EXPECT_EQ(h.message(), "TO or DOWNTO expected");
}

// Loops whose body is one assignment: passes count, fail and report as
// those of any other body, wherever in the loop the limit or the fault
// falls, and a list that grows under the loop (indexed from eight names
// on) changes nothing.
TEST(ForLoop, BodiesOfOneAssignmentCountAndFailAsAnyOther) {
  Harness h;
  h.env().eventLabel = "Process";
  // The first pass counts its statement, every later one the pass and its
  // statement: the limit falls on either, wherever it is.
  const struct {
    uint64_t budget;
    int64_t n, i;
  } limits[] = {{4999, 2498, 2499}, {5000, 2499, 2499}, {5001, 2499, 2500}, {5002, 2500, 2500}};
  for (const auto& limit : limits) {
    h.env().statementBudget = limit.budget;
    EXPECT_FALSE(h.Run("I := 0; N := 0; FOR I := 1 TO 100000 DO N := N + 1;"));
    EXPECT_EQ(h.Var("N").whole(), limit.n) << limit.budget;
    EXPECT_EQ(h.Var("I").whole(), limit.i) << limit.budget;
    ASSERT_FALSE(h.log().empty());
    EXPECT_EQ(h.log().back(), "Statement limit reached (FOR I := 1 TO 100000 DO N := N + 1   in ) Process");
  }
  h.env().statementBudget = 0;

  // A fault in a later pass ends the loop there, reported in the statement.
  EXPECT_FALSE(h.Run("I := 0; A := 0; FOR I := 1 TO 10 DO A := 100 / (5 - I);"));
  EXPECT_EQ(h.code(), 5);
  EXPECT_EQ(h.Var("I").whole(), 5);
  EXPECT_EQ(h.Var("A").real(), 100.0);
  EXPECT_EQ(h.log().back(), "Invalid operand types for \"/\" (100 / ( 5 - I )   in ) Process");
  EXPECT_FALSE(h.Run("I := 0; FOR I := 10 DOWNTO 1 DO B[I] := 12 / (I - 3);"));
  EXPECT_EQ(h.Var("I").whole(), 3);
  EXPECT_EQ(h.Var("B[4]").real(), 12.0);
  EXPECT_FALSE(h.Has("B[3]"));

  EXPECT_TRUE(h.Run("I := 0; S := 0; FOR I := 1 TO 30 DO C[I] := I * I; FOR I := 30 DOWNTO 1 DO S := S + C[I];"));
  EXPECT_EQ(h.Var("S").whole(), 30 * 31 * 61 / 6);
  EXPECT_EQ(h.Var("C[30]").whole(), 900);
}

TEST(Jumps, BreakContinueExit) {
  Harness h;
  EXPECT_FALSE(h.Run("BREAK;"));
  EXPECT_EQ(h.message(), "BREAK outside loop");
  EXPECT_EQ(h.code(), 15);
  EXPECT_FALSE(h.Run("BEGIN CONTINUE END;"));
  EXPECT_EQ(h.message(), "CONTINUE outside loop");
  EXPECT_TRUE(h.Run("I := 0; X := 0; FOR I := 1 TO 10 DO BEGIN IF I = 3 THEN CONTINUE; IF I = 6 THEN BREAK; X := X + I; END;"));
  EXPECT_EQ(h.Var("X").whole(), 1 + 2 + 4 + 5);
  EXPECT_TRUE(h.Run("Y := 1; EXIT; Y := 2;"));
  EXPECT_EQ(h.Var("Y").whole(), 1);
  EXPECT_FALSE(h.Run("BREAK 1;"));
  EXPECT_EQ(h.message(), "Invalid BREAK operator");
}

TEST(Jumps, BlocksOfOneStatement) {
  Harness h;
  EXPECT_TRUE(h.Run("I := 0; X := 0; FOR I := 1 TO 5 DO IF I = 3 THEN BREAK ELSE X := X + I;"));
  EXPECT_EQ(h.Var("X").whole(), 1 + 2);
  EXPECT_TRUE(h.Run("N := 0; REPEAT N := N + 1 UNTIL N = 3;"));
  EXPECT_EQ(h.Var("N").whole(), 3);
  EXPECT_FALSE(h.Run("GOTO L;"));
  EXPECT_EQ(h.message(), "Label L not exist or unreacheble");
  EXPECT_FALSE(h.Run("IF 1 = 1 THEN CONTINUE;"));
  EXPECT_EQ(h.message(), "CONTINUE outside loop");
  EXPECT_EQ(h.calc().ErrorSource(), "IF 1 = 1 THEN CONTINUE  ");
  // A label on the only statement of a block: the block is read as any
  // other, and its label stays out of reach from outside.
  EXPECT_FALSE(h.Run("BEGIN L: Y := 1 END; GOTO L;"));
  EXPECT_EQ(h.message(), "Label L not exist or unreacheble");
  EXPECT_TRUE(h.Run("Q := 0; WHILE Q < 5 DO BEGIN L: Q := Q + 1 END;"));
  EXPECT_EQ(h.Var("Q").whole(), 5);
}

// Nested blocks of one statement, and IF without ELSE, reach the nesting
// limit at the same depth as blocks of two statements (which always take the
// full way), with the same report.
TEST(Blocks, NestingLimitIsTheSameForEveryBlockShape) {
  auto nested = [](int depth, const std::string& inner) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "BEGIN ";
    text += inner;
    for (int i = 0; i < depth; ++i) text += " END";
    return text + ";";
  };
  auto firstFailingDepth = [&](const std::string& inner, std::string& message) {
    for (int depth = 1; depth < 2000; ++depth) {
      Harness h;
      if (!h.Run("X := 0; Y := 0; " + nested(depth, inner))) {
        message = h.message();
        return depth;
      }
    }
    return -1;
  };
  std::string full, single, noElse, withElse;
  const int fullDepth = firstFailingDepth("X := 1; Y := 2", full);
  ASSERT_GT(fullDepth, 0);
  EXPECT_EQ(full, "Script nested too deeply");
  EXPECT_EQ(firstFailingDepth("X := 1", single), fullDepth);
  EXPECT_EQ(single, full);
  EXPECT_EQ(firstFailingDepth("IF 0 = 1 THEN X := 1", noElse), fullDepth);
  EXPECT_EQ(noElse, full);
  // The ELSE branch runs, and its block is one level deeper than the IF.
  EXPECT_EQ(firstFailingDepth("IF 0 = 1 THEN X := 1 ELSE Y := 2", withElse), fullDepth - 1);
  EXPECT_EQ(withElse, full);
}

TEST(Jumps, GotoReachesOwnAndEnclosingBlocksOnly) {
  Harness h;
  EXPECT_TRUE(h.Run("G := 0; L1: G := G + 1; IF G < 4 THEN GOTO L1;"));
  EXPECT_EQ(h.Var("G").whole(), 4);
  EXPECT_TRUE(h.Run("Z := 0; GOTO 10; Z := 1; 10: Z := Z + 2;"));
  EXPECT_EQ(h.Var("Z").whole(), 2);
  EXPECT_FALSE(h.Run("X := 1; BEGIN L: X := 2; END; GOTO L;"));
  EXPECT_EQ(h.message(), "Label L not exist or unreacheble");
  EXPECT_EQ(h.code(), 18);
  EXPECT_FALSE(h.Run("GOTO 'A';"));
  EXPECT_EQ(h.message(), "Invalid label in GOTO");
  EXPECT_FALSE(h.Run("GOTO A B;"));
  EXPECT_EQ(h.message(), "Error in GOTO statement");
}

TEST(IfStatement, ElseBindingAndStrayElse) {
  Harness h;
  EXPECT_FALSE(h.Run("A := TRUE; IF A THEN B := 1; ELSE C := 1;"));
  EXPECT_EQ(h.message(), "ELSE without IF");
  EXPECT_EQ(h.code(), 9);
  Harness g;
  EXPECT_TRUE(g.Run("A := FALSE; B := TRUE; IF A THEN IF B THEN X := 1 ELSE Y := 2;"));
  EXPECT_FALSE(g.Has("X"));
  EXPECT_EQ(g.Var("Y").whole(), 2);
  EXPECT_FALSE(g.Run("IF 'maybe' THEN X := 1;"));
  EXPECT_EQ(g.message(), "Invalid condition type");
}

TEST(IfStatement, FaultInBranchNotTakenIsNeverReported) {
  Harness h;
  EXPECT_TRUE(h.Run("IF FALSE THEN X := (1 + ELSE Y := 1;"));
  EXPECT_EQ(h.Var("Y").whole(), 1);
}

TEST(CaseStatement, BranchesRangesAndTerminators) {
  Harness h;
  EXPECT_TRUE(h.Run("K := 2; CASE K OF 1: X := 1; 2: X := 2; END;"));
  EXPECT_EQ(h.Var("X").whole(), 2);
  EXPECT_FALSE(h.Run("K := 2; CASE K OF 1: X := 1; 2: X := 2 END;"));
  EXPECT_EQ(h.message(), "Too many END");
  EXPECT_TRUE(h.Run("K := 'A'; X := 0; CASE K OF 1 .. 3: X := 1; ELSE X := 9; END;"));
  EXPECT_EQ(h.Var("X").whole(), 9);
  EXPECT_TRUE(h.Run("K := 2; X := 0; CASE K OF 1..3: X := 1; ELSE X := 9; END;"));
  EXPECT_EQ(h.Var("X").whole(), 9);
  EXPECT_TRUE(h.Run("K := 2; X := 0; CASE K OF 3 .. 1, 7: X := 1; END;"));
  EXPECT_EQ(h.Var("X").whole(), 1);
  EXPECT_TRUE(h.Run("K := 'b'; CASE K OF 'a' .. 'c': X := 5; END;"));
  EXPECT_EQ(h.Var("X").whole(), 5);
  EXPECT_FALSE(h.Run("CASE 1 OF ELSE X := 1; ELSE X := 2; END;"));
  EXPECT_EQ(h.message(), "Too many ELSE in CASE statement");
  EXPECT_FALSE(h.Run("CASE 1 OF 1 .. 'a': X := 1; END;"));
  EXPECT_EQ(h.message(), "Invalid typecast in CASE range");
  EXPECT_FALSE(h.Run("CASE 1 OF 1 X := 1; END;"));
  EXPECT_EQ(h.message(), ": expected");
}

TEST(Loops, WhileAndRepeat) {
  Harness h;
  EXPECT_TRUE(h.Run("N := 0; WHILE N < 10 DO BEGIN N := N + 1; IF N = 5 THEN BREAK; END; M := 0; REPEAT M := M + 1 UNTIL M >= 3;"));
  EXPECT_EQ(h.Var("N").whole(), 5);
  EXPECT_EQ(h.Var("M").whole(), 3);
  EXPECT_FALSE(h.Run("REPEAT M := 1;"));
  EXPECT_EQ(h.message(), "UNTIL expected");
  EXPECT_FALSE(h.Run("WHILE TRUE X := 1;"));
  EXPECT_EQ(h.message(), "DO expected");
}

// NAME := NAME + x and NAME := NAME - x on a variable: integers widen to
// reals past 32 bits, reals and integers mix, the variable may be both
// operands, and strings still join.
TEST(Assignment, SumsIntoTheVariableItself) {
  Harness h;
  // Each form runs four times: the first two passes read it.
  EXPECT_TRUE(h.Run(
      "S := 2147482800; I := 0; FOR I := 1 TO 4 DO S := S + 300;"
      "M := -2147482800; FOR I := 1 TO 4 DO M := M - 300;"
      "R := 1.5; FOR I := 1 TO 4 DO R := R + 2; FOR I := 1 TO 4 DO R := R - 0.25;"
      "Q := 7; FOR I := 1 TO 4 DO Q := Q - 0.5; FOR I := 1 TO 4 DO Q := Q + Q;"
      "N := 5; FOR I := 1 TO 4 DO N := N - N; A[1] := 2.5; A[2] := 4;"
      "K := 1; FOR I := 1 TO 4 DO K := K + A[1]; J := 1; FOR I := 1 TO 4 DO J := J + A[2];"
      "T := 'a'; FOR I := 1 TO 4 DO T := T + 'b'; U := 3; FOR I := 1 TO 4 DO U := U + '4';"));
  const struct {
    const char* name;
    ValueKind kind;
    double value;
  } expected[] = {{"S", ValueKind::Real, 2147484000.0}, {"M", ValueKind::Real, -2147484000.0},
                  {"R", ValueKind::Real, 8.5},          {"Q", ValueKind::Real, 80.0},
                  {"N", ValueKind::Integer, 0},         {"K", ValueKind::Real, 11.0},
                  {"J", ValueKind::Integer, 17},        {"U", ValueKind::Real, 19.0}};
  for (const auto& e : expected) {
    const ScriptValue v = h.Var(e.name);
    EXPECT_EQ(v.kind(), e.kind) << e.name;
    EXPECT_EQ(v.kind() == ValueKind::Real ? v.real() : static_cast<double>(v.whole()), e.value) << e.name;
  }
  EXPECT_EQ(h.Var("T").text(), "abbbb");
}

TEST(Assignment, StatementForms) {
  Harness h;
  EXPECT_TRUE(h.Run("X := 1; X;"));
  EXPECT_FALSE(h.Run("X = 2;"));
  EXPECT_EQ(h.message(), "Found =, expected :=, (, [ or ;");
  EXPECT_FALSE(h.Run("# := 2;"));
  EXPECT_EQ(h.message(), "Invalid variable name: #");
  EXPECT_EQ(h.code(), 4);
  EXPECT_FALSE(h.Run("5;"));
  EXPECT_EQ(h.message(), "Invalid operator: 5");
  EXPECT_FALSE(h.Run("END;"));
  EXPECT_EQ(h.message(), "Too many END");
}

TEST(Assignment, CharacterIndexes) {
  Harness h;
  EXPECT_TRUE(h.Run("S := 'ABC'; S[1] := 'Z'; S[3] := 68;"));
  EXPECT_EQ(h.Var("S").text(), "ZBD");
  EXPECT_FALSE(h.Run("S[1] := 300;"));
  EXPECT_EQ(h.message(), "Character value out of range: 300");
  EXPECT_FALSE(h.Run("S[1] := 'XY';"));
  EXPECT_EQ(h.message(), "Character expected: 'XY'");
  EXPECT_FALSE(h.Run("S[9] := 'X';"));
  EXPECT_EQ(h.message(), "String index out of range: 9");
  EXPECT_FALSE(h.Run("T[1][2] := 'X';"));
  EXPECT_EQ(h.message(), "Variable not found :T[1]");
}

TEST(Procedures, ValueResultPassingAndResult) {
  Harness h;
  EXPECT_TRUE(h.Run(
      "PROCEDURE P(Q); BEGIN Q := Q + 100; X := 99; NEWVAR := 1; END;"
      "FUNCTION F(V); RESULT := V * 3;"
      "Z := 1; X := 5; P(Z); W := F(4); P(7);"));
  EXPECT_EQ(h.Var("Z").whole(), 101);
  EXPECT_EQ(h.Var("X").whole(), 5);  // changes to caller variables are undone
  EXPECT_FALSE(h.Has("NEWVAR"));
  EXPECT_EQ(h.Var("W").whole(), 12);
}

TEST(Procedures, CallFaults) {
  Harness h;
  EXPECT_FALSE(h.Run("FUNCTION F(V); X := 1; W := F(4);"));
  EXPECT_EQ(h.message(), "Function must return result : F");
  EXPECT_EQ(h.code(), 26);
  EXPECT_FALSE(h.Run("PROCEDURE P(A, B); X := 1; P(1);"));
  EXPECT_EQ(h.message(), "Wrong parameters amount, procedure P");
  EXPECT_FALSE(h.Run("PROCEDURE P(); BREAK; P;"));
  EXPECT_EQ(h.message(), "BREAK outside loop");
  EXPECT_FALSE(h.Run("PROCEDURE P(); X := 1; PROCEDURE P(); Y := 1;"));
  EXPECT_EQ(h.message(), "Duplicate procedure name");
  EXPECT_FALSE(h.Run("PROCEDURE (); X := 1;"));
  EXPECT_EQ(h.message(), "Invalid procedure name");
  EXPECT_FALSE(h.Run("PROCEDURE P; X := 1;"));
  EXPECT_EQ(h.message(), "( expected");
  EXPECT_FALSE(h.Run("PROCEDURE P(A B); X := 1;"));
  EXPECT_EQ(h.message(), "Invalid function call");
}

TEST(Procedures, EndlessRecursionIsStoppedWithAnError) {
  Harness h;
  EXPECT_FALSE(h.Run("PROCEDURE R(); R; R;"));
  EXPECT_EQ(h.code(), 30);
  EXPECT_EQ(h.message(), "Procedure calls nested too deeply: R");
  Harness g;
  EXPECT_FALSE(g.Run("FUNCTION F(N); RESULT := F(N + 1) + 1; X := F(0);"));
  EXPECT_EQ(g.code(), 30);
}

TEST(Procedures, PreparedScriptKeepsItsOwnProcedures) {
  Harness h;
  TPasCalc& preparer = h.pool.At(0);
  const PreparedScript script = preparer.PrepareScript("FUNCTION F(); RESULT := 7; Y := F();");
  // Preparing another script on the same interpreter empties its list.
  preparer.PrepareScript("Z := 1;");
  EXPECT_TRUE(h.pool.RunEvent(nullptr, script, nullptr));
  // The plain text alone runs as the language defines: P is unknown.
  EXPECT_FALSE(h.pool.At(1).Run(script.mainText));
  EXPECT_EQ(h.pool.At(1).ErrorMessage(), "Unknown function: F");
}

TEST(Prepare, CollectsStatementsAndReportsUnbalancedText) {
  Harness h;
  std::string main;
  EXPECT_FALSE(h.calc().Prepare("X := 1;\nBEGIN Y := 2", main));
  EXPECT_EQ(h.code(), 10);
  EXPECT_EQ(SpacedEncoded(main), "X := 1 ;  ");
  EXPECT_TRUE(h.calc().Prepare("X := 1;; Y := 2", main));
  EXPECT_EQ(SpacedEncoded(main), "X := 1 ; Y := 2 ;  ");
  EXPECT_FALSE(h.calc().Prepare("REPEAT X := 1;", main));
  EXPECT_EQ(h.message(), "UNTIL expected");
  EXPECT_FALSE(h.calc().Prepare("X := 1; UNTIL X;", main));
  EXPECT_EQ(h.message(), "Too many UNTIL");
}

TEST(Prepare, IncludeAndUsesFiles) {
  Harness h;
  h.env().readInclude = [](std::string_view name) {
    IncludeRead r;
    if (name == "lib.pas") r.text = "PROCEDURE Hello(); Greeting := 'hi'; LibLoaded := 1;";
    if (name == "self.pas") r.text = "INCLUDE 'self.pas';";
    return r;
  };
  EXPECT_TRUE(h.Run("USES 'lib.pas'; Hello;"));
  EXPECT_FALSE(h.Has("LIBLOADED"));
  EXPECT_TRUE(h.Run("INCLUDE 'lib.pas'; Hello;"));
  EXPECT_EQ(h.Var("LIBLOADED").whole(), 1);
  EXPECT_FALSE(h.Has("GREETING"));  // gone when the call returns
  EXPECT_FALSE(h.Run("INCLUDE 'nope.pas'; X := 1;"));
  EXPECT_EQ(h.prepareCode, 25);
  EXPECT_EQ(h.message(), "Can't open file \"\x7f" "B'nope.pas'\", error code 2");
  EXPECT_FALSE(h.Run("INCLUDE 1 2 3;"));
  EXPECT_EQ(h.prepareCode, 1);
  EXPECT_FALSE(h.Run("INCLUDE 'self.pas';"));
  EXPECT_EQ(h.prepareCode, 30);
}

// Seven files, each including the next ten times: ten million copies of the
// last one if nothing stopped it.
IncludeRead IncludeBomb(std::string_view name) {
  IncludeRead r;
  if (name.size() != 6 || name[0] != 'f' || name[1] < '1' || name[1] > '7') return r;
  const int n = name[1] - '0';
  std::string text;
  if (n == 7) {
    while (text.size() < 190) text += "X := X + 1; ";
  } else {
    for (int i = 0; i < 10; ++i) text += "INCLUDE 'f" + std::to_string(n + 1) + ".pas';";
  }
  r.text = text;
  return r;
}

TEST(Prepare, IncludedTextIsBoundedPerScript) {
  Harness h;
  h.env().readInclude = IncludeBomb;
  EXPECT_FALSE(h.Run("X := 0; INCLUDE 'f1.pas';"));
  EXPECT_EQ(h.prepareCode, 30);
  EXPECT_EQ(h.prepareMessage, "Include files too large: f7.pas (more than 1048576 bytes in one script)");
  ASSERT_EQ(h.log().size(), 1u);
  EXPECT_EQ(h.log()[0].rfind("Include files too large: f7.pas", 0), 0u) << h.log()[0];

  // The budget is per script: the next one may include as much again, and
  // a file well inside it is read as before.
  h.env().includeBudget = 10'000;
  EXPECT_TRUE(h.Run("X := 0; INCLUDE 'f6.pas'; INCLUDE 'f6.pas';"));  // 2 x (10 x 190 + 200)
  EXPECT_EQ(h.Var("X").whole(), 2 * 10 * 16);
  EXPECT_FALSE(h.Run("X := 0; INCLUDE 'f5.pas';"));
  EXPECT_EQ(h.prepareCode, 30);
}

TEST(StatementBudget, EndlessLoopEndsTheRunWithALoggedError) {
  Harness h;
  EXPECT_EQ(h.env().statementBudget, 10'000'000u);
  h.env().statementBudget = 5000;
  h.env().eventLabel = "Process";
  EXPECT_FALSE(h.Run("N := 0; WHILE 1 = 1 DO N := N + 1;"));
  EXPECT_EQ(h.code(), 30);
  EXPECT_EQ(h.message(), "Statement limit reached");
  ASSERT_EQ(h.log().size(), 1u);
  EXPECT_EQ(h.log()[0], "Statement limit reached (WHILE 1 = 1 DO N := N + 1   in ) Process");
  // Loop passes and statements both count; the next run starts afresh.
  EXPECT_GT(h.Var("N").whole(), 2000);
  EXPECT_LT(h.Var("N").whole(), 5000);
  EXPECT_TRUE(h.Run("I := 0; N := 0; FOR I := 1 TO 2000 DO N := N + 1;"));
  EXPECT_EQ(h.Var("N").whole(), 2000);
  // 0 lifts the limit.
  h.env().statementBudget = 0;
  EXPECT_TRUE(h.Run("I := 0; N := 0; REPEAT N := N + 1; UNTIL N = 20000;"));
  EXPECT_EQ(h.Var("N").whole(), 20000);
}

TEST(Prepare, OneEntryCacheReusesTokens) {
  Harness h;
  std::string a, b;
  h.calc().Prepare("X := 1;", a);
  h.calc().Prepare("X := 1;", b);
  EXPECT_EQ(a, b);
  std::string encoded;
  EXPECT_TRUE(h.calc().Prepare(Tokenise("Y := 2;"), encoded));  // already encoded text
  EXPECT_EQ(SpacedEncoded(encoded), "Y := 2 ;  ");
}

// The main text and procedures read token by token, statement by
// statement: what preparation must give for a script without faults.
// Procedures as "NAME(PARAMS)" and their encoded body.
struct Collected {
  std::string main;
  std::vector<std::pair<std::string, std::string>> procedures;
};

Collected ReadByStatements(std::string_view encoded) {
  const TokenText text(encoded);
  const std::vector<Token>& tokens = text.tokens();
  const auto end = static_cast<uint32_t>(tokens.size());
  Collected out;
  uint32_t pos = 0;
  for (;;) {
    const StatementCut cut = ReadStatement(tokens, pos, end, false);
    if (!cut.found) break;
    pos = cut.next;
    const Span s = cut.statement;
    if (tokens[s.begin].code != tkProcedure && tokens[s.begin].code != tkFunction) {
      out.main += text.Encoded(s);
      AppendEncoded(out.main, tkSemicolon, ";");
      continue;
    }
    std::string header = tokens[s.begin + 1].text + "(";
    for (uint32_t i = s.begin + 3; i < s.end && tokens[i].code == tkIdentifier; i += 2) {
      header += (header.back() == '(' ? "" : "\r\n") + tokens[i].text;
      if (i + 1 >= s.end || tokens[i + 1].code != tkComma) break;
    }
    const StatementCut body = ReadStatement(tokens, pos, end, false);
    pos = body.next;
    out.procedures.emplace_back(header + ")",
                                body.found ? text.Encoded(body.statement) : std::string());
  }
  return out;
}

TEST(Prepare, MainTextAndProceduresAsReadStatementByStatement) {
  const std::string junkThenEncoded = "junk" + Tokenise("A := 1; B := 2") + "\x7f" "@" +
                                      Tokenise("C := 3;");  // code 0 ends the text
  const std::vector<std::string> sources = {
      "",
      ";;;",
      "X := 1",
      "X := 1;;; Y := 'a;b' ;",
      "{ note } x := 1; // rest\r\ny := \"B;\";",
      "BEGIN X := 1; Y := 2 END; REPEAT X := X + 1 UNTIL X > 3; Z := 0",
      "CASE X OF 1: BEGIN Y := 1; END; 2: Y := 2; END; IF A THEN B := 1 ELSE B := 2;",
      "FUNCTION F(A, B); RESULT := A + B; X := F(1, 2);",
      "PROCEDURE P(); BEGIN X := 1; END; PROCEDURE Q(A); ; P(); Q(1)",
      "X := 1; PROCEDURE Last();",
      "X := 1; FUNCTION G(A, B, C) X ; BEGIN RESULT := A END; Y := G(1, 2, 3) ; ;",
      junkThenEncoded,
  };
  for (const std::string& source : sources) {
    Harness h;
    const PreparedScript prepared = h.calc().PrepareScript(source);
    ASSERT_EQ(h.calc().ErrorCode(), 0) << source;
    const bool encodedAlready = source.find(kTokenMark) != std::string::npos;
    const Collected expected = ReadByStatements(encodedAlready ? source : Tokenise(source));
    EXPECT_EQ(prepared.mainText, expected.main) << source;
    std::vector<std::pair<std::string, std::string>> procedures;
    for (const auto& proc : prepared.procedures)
      procedures.emplace_back(proc->Name + "(" + proc->Params + ")", proc->Body);
    EXPECT_EQ(procedures, expected.procedures) << source;
  }
}

}  // namespace
}  // namespace lum
