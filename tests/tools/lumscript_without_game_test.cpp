// lumscript without --game: the engine commands and the puzzle routines are
// registered, but no game stands behind them. Each keeps the answer it has
// always given there: argument checks as in a game, then nothing done, and
// the value a game without the thing asked for would give.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace lum::test {
namespace {

// GetVar of an unknown name gives NIL, the only element value a script can
// make without a game.
const std::string kNil = "GetVar('NOSUCH')";

struct Call {
  std::string expression;
  std::string printed;  // what --eval prints: the value, or the error lines
};

std::string upperCase(std::string name) {
  for (char& ch : name) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  return name;
}

std::string failure(const std::string& routine, const std::string& source,
                    const std::string& reason = "") {
  return "error 7: Invalid parameters, function " + routine + reason + "\nsource: " + source + "  \n";
}

void expectAll(const std::vector<Call>& calls) {
  auto dir = scratchFolder("lumscript-without-game");
  for (const Call& call : calls) {
    ToolResult r = runTool("cd " + quoted(dir) + " && " + lumscriptPath() + " --eval \"" +
                           call.expression + "\"");
    const bool failed = call.printed.rfind("error ", 0) == 0;
    EXPECT_EQ(r.status, failed ? 1 : 0) << call.expression << "\n" << r.out;
    EXPECT_EQ(r.out, call.printed) << call.expression;
  }
  std::filesystem::remove_all(dir);
}

TEST(LumscriptWithoutGame, ElementCommandsForgiveOtherArgumentsAndRefuseElements) {
  std::vector<Call> calls;
  // Commands on one element: another count or a non-element is forgiven,
  // NIL (no element exists without a game) fails.
  for (std::string name : {"Update", "Process", "MsDown", "MsMove", "Init", "Show", "SetFocus",
                           "ToFront", "AnimStart", "AnimStop", "AnimBreak", "AnimPlay"}) {
    const std::string upper = upperCase(name);
    calls.push_back({name + "()", "empty:\n"});
    calls.push_back({name + "(1)", "empty:\n"});
    calls.push_back({name + "('text')", "empty:\n"});
    calls.push_back({name + "(" + kNil + ", 1)", "empty:\n"});
    calls.push_back({name + "(" + kNil + ")",
                     failure(upper, upper + " ( GETVAR ( 'NOSUCH' ) )")});
  }
  // Commands of two and three arguments fail only on an element first
  // argument at exactly their count.
  for (std::string name : {"ProcEf", "ListAdd", "ListDel"}) {
    const std::string upper = upperCase(name);
    calls.push_back({name + "(" + kNil + ")", "empty:\n"});
    calls.push_back({name + "(1, 2)", "empty:\n"});
    calls.push_back({name + "(" + kNil + ", 2)",
                     failure(upper, upper + " ( GETVAR ( 'NOSUCH' ) , 2 )")});
  }
  for (std::string name : {"MoveTo", "GetAlpha", "GetPixel"}) {
    const std::string upper = upperCase(name);
    calls.push_back({name + "(" + kNil + ", 1)", "empty:\n"});
    calls.push_back({name + "(1, 2, 3)", "empty:\n"});
    calls.push_back({name + "(" + kNil + ", 'x', 'y')",
                     failure(upper, upper + " ( GETVAR ( 'NOSUCH' ) , 'x' , 'y' )")});
  }
  // Screen commands take any number of arguments after the screen.
  for (std::string name : {"SetScreen", "FastSetScreen", "FastSetScreenNS"}) {
    const std::string upper = upperCase(name);
    calls.push_back({name + "()", "empty:\n"});
    calls.push_back({name + "(1, " + kNil + ")", "empty:\n"});
    calls.push_back({name + "(" + kNil + ")", failure(upper, upper + " ( GETVAR ( 'NOSUCH' ) )")});
    calls.push_back({name + "(" + kNil + ", 1, 2)",
                     failure(upper, upper + " ( GETVAR ( 'NOSUCH' ) , 1 , 2 )")});
  }
  expectAll(calls);
}

TEST(LumscriptWithoutGame, CommandsWithoutArgumentChecksDoNothing) {
  std::vector<Call> calls;
  for (std::string name : {"LoadIm", "EndLoadIm", "TimerReset", "ExitGame", "SaveState", "LoadState"}) {
    calls.push_back({name + "()", "empty:\n"});
    calls.push_back({name + "(" + kNil + ", 'x', 3)", "empty:\n"});
  }
  // Every puzzle routine is registered, succeeds and leaves the result alone.
  for (std::string name :
       {"MagicLev6_1", "MagicLev6_2", "MagicLev6_3", "MagicLev6Log_Rend", "MagicLev6Log_Upd",
        "MagicLev4In_3", "MagicLev4InLog_Rend", "MagicLev4InLog_Upd", "MagicLev7Log",
        "MagicLev15Log", "MagicLev12Log", "MagicGIProg", "MagicLevProg", "MagicMapProg",
        "MagicLev6InLog", "MagicLev6InLogO", "StarsToUp", "StarsTopToUp", "StarsAll", "StarsAll2",
        "BrambleShar_1", "BrambleGIListUpdate", "BrambleLevel2LogPr", "Bramble2Lev12Log"}) {
    calls.push_back({name + "()", "empty:\n"});
    calls.push_back({name + "(" + kNil + ")", "empty:\n"});
    calls.push_back({name + "(1, 'two')", "empty:\n"});
  }
  expectAll(calls);
}

TEST(LumscriptWithoutGame, TextFileAndSoundCommandsCheckTheirArgumentsAndAnswerAsAnEmptyGame) {
  expectAll({
      {"GetText('Greeting')", "str:''\n"},
      {"GetText(12)", "str:''\n"},
      {"GetText(" + kNil + ")", "str:''\n"},
      {"GetText()", failure("GETTEXT", "GETTEXT ( )")},
      {"GetText('a', 'b')", failure("GETTEXT", "GETTEXT ( 'a' , 'b' )")},
      {"DelFile('kept.txt')", "byte:0\n"},
      {"DelFile()", failure("DELFILE", "DELFILE ( )")},
      {"GetIni('Section', 'Key', 'fallback')", "str:'fallback'\n"},
      {"GetIni('Section', 'Key', 3)", "str:'3'\n"},
      {"GetIni('Section', 'Key')", failure("GETINI", "GETINI ( 'Section' , 'Key' )")},
      {"SetIni('Section', 'Key', 'value')", "byte:0\n"},
      {"SetIni('Section', 'Key', 'value', 4)",
       failure("SETINI", "SETINI ( 'Section' , 'Key' , 'value' , 4 )")},
      {"PlaySnd('click')", "empty:\n"},
      {"PlaySnd()", failure("PLAYSND", "PLAYSND ( )")},
      {"PlayMuz('theme')", "empty:\n"},
      {"PlayMuz('a', 'b')", failure("PLAYMUZ", "PLAYMUZ ( 'a' , 'b' )")},
      {"StopMuz(1)", "empty:\n"},
      {"StopMuz()", failure("STOPMUZ", "STOPMUZ ( )")},
  });
}

TEST(LumscriptWithoutGame, StarCommandsCheckEveryArgument) {
  expectAll({
      {"AddStar(1, 2, 3, 4, 5, 6, 7, 8)", "byte:0\n"},
      {"AddStar(1, 2, 3, 4, 5, 6, 7, 8, 1, 'FF0000', 3, 4)", "byte:0\n"},
      {"AddStar(1, 2, 3, 4, 5, 6, 7)", failure("ADDSTAR", "ADDSTAR ( 1 , 2 , 3 , 4 , 5 , 6 , 7 )")},
      {"AddStar(1, 2, 3, 4, 5, 6, 7, 'x')",
       failure("ADDSTAR", "ADDSTAR ( 1 , 2 , 3 , 4 , 5 , 6 , 7 , 'x' )",
               " : 'x' is not a valid floating point value")},
      {"AddStar(1, 2, 3, 4, 5, 6, 7, 8, 'p')",
       failure("ADDSTAR", "ADDSTAR ( 1 , 2 , 3 , 4 , 5 , 6 , 7 , 8 , 'p' )",
               " : 'p' is not a valid integer value")},
      // Without an image no stars can be made from it: always refused.
      {"ImStarsR(1, 2, 3, 4, 5, 6, 7, 8, 9, 10)",
       failure("IMSTARSR", "IMSTARSR ( 1 , 2 , 3 , 4 , 5 , 6 , 7 , 8 , 9 , 10 )")},
      {"ImStarsR(" + kNil + ", 2, 3, 4, 5, 6, 7, 8, 9, 10)",
       failure("IMSTARSR", "IMSTARSR ( GETVAR ( 'NOSUCH' ) , 2 , 3 , 4 , 5 , 6 , 7 , 8 , 9 , 10 )")},
  });
}

TEST(LumscriptWithoutGame, ScriptsGoOnAfterCommandsAndTouchNoFile) {
  auto dir = scratchFolder("lumscript-without-game-files");
  writeFile(dir / "kept.txt", "still here");
  writeFile(dir / "run.pas",
            "A := DelFile('kept.txt'); B := SetIni('S', 'K', 'V'); SaveState(1); LoadState;\n"
            "C := GetIni('S', 'K', 'none'); ExitGame; D := 'after';\n");
  ToolResult r = runTool("cd " + quoted(dir) + " && " + lumscriptPath() + " run.pas");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "A = byte:0\nB = byte:0\nC = str:'none'\nD = str:'after'\n");
  EXPECT_EQ(readFile(dir / "kept.txt"), "still here");
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2u);  // no settings, progress or log file appeared
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lum::test
