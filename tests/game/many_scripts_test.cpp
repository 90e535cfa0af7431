// A game of a couple of thousand elements whose scripts are prepared as
// the file is read: many repeat each other word for word, some declare
// procedures and functions, some have faults. Every script must run as
// written, and each fault must be logged while the file is read, once per
// element that holds it, in element order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene_harness.h"

namespace lum {
namespace {

constexpr int kElements = 2000;

struct Faulty {
  int key;
  const char* script;
};

// Faults of preparation, in element order; the first text comes twice.
const Faulty kFaults[] = {
    {500, "BEGIN V := 1;"},
    {900, "PROCEDURE 5(); V := 1;"},
    {1200, "FUNCTION F(); RESULT := 1; FUNCTION F(); RESULT := 2; V := F();"},
    {1600, "USES 'missing.pas'; V := 1;"},
    {1700, "BEGIN V := 1;"},
    {1800, "V := 1; UNTIL V = 1;"},
    {1900, "FUNCTION G(A; V := 1;"},
};

const char* faultAt(int key) {
  for (const Faulty& f : kFaults)
    if (f.key == key) return f.script;
  return nullptr;
}

// The script of element `key` and the value of V it leaves.
std::string scriptOf(int key, int64_t& expected) {
  switch (key % 6) {
    case 0:
      expected = 2 * key + 1;
      return "FUNCTION Twice(A); RESULT := A * 2; V := Twice(SELF.Key) + 1;";
    case 1:
      expected = key + 7;
      return "FUNCTION Sum(A, B); BEGIN RESULT := A + B; END;\r\nV := Sum(SELF.Key, 7);";
    case 2:
      expected = 3 * key;  // a text of its own
      return "V := " + std::to_string(key) + " * 3;";
    case 3:
      expected = 8 + key;
      return "{ lower case, comments }\r\nv := length('a;b END;') + self.key; // done";
    case 4:
      expected = 4 + key;
      return "IF SELF.Key > 0 THEN BEGIN V := 0; REPEAT V := V + 1 UNTIL V >= 4; END "
             "ELSE V := -1;;; CASE V OF 4: V := V + SELF.Key; END;";
    default:
      expected = key;
      return "FUNCTION One(); RESULT := 1; PROCEDURE Nothing(); BEGIN END; V := SELF.Key * One(); Nothing();";
  }
}

std::string gameJson() {
  std::string children;
  for (int key = 2; key < kElements + 2; ++key) {
    int64_t expected = 0;
    const char* fault = faultAt(key);
    const std::string script = fault ? std::string(fault) : scriptOf(key, expected);
    if (!children.empty()) children += ",\n";
    children += R"({"class": "TLumImage", "properties": {"Key": )" + std::to_string(key) +
                R"(, "Id": "E)" + std::to_string(key) + R"(", "exInit": )" +
                OrderedJson(script).dump() + "}}";
  }
  return R"({"class": "TLumDB", "properties": {"Key": 0, "Id": "Many", "InitScreen": 1, "SaveErr": true},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "Hall"},
      "children": [)" +
         children + "]}]}";
}

std::vector<std::string> lines(const std::string& log) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < log.size()) {
    size_t stop = log.find('\n', start);
    if (stop == std::string::npos) stop = log.size();
    if (stop > start) out.push_back(log.substr(start, stop - start));
    start = stop + 1;
  }
  return out;
}

TEST(ManyScripts, RunAsWrittenAndReportFaultsWhileTheFileIsRead) {
  testing::SceneHarness game;
  game.writeGame(gameJson());
  ASSERT_TRUE(game.start()) << game.error();
  // Read while the file is read, before any script ran; the faulty
  // scripts log nothing more when they run.
  const std::vector<std::string> expected = {
      "END expected (BEGIN V := 1 ;   in ) ",
      "Invalid procedure name (PROCEDURE 5 ( )   in ) ",
      "Duplicate procedure name (FUNCTION F ( )   in ) ",
      "Can't open file \"\x7f" "B'missing.pas'\", error code 2 (USES 'missing.pas'   in ) ",
      "END expected (BEGIN V := 1 ;   in ) ",
      "Too many UNTIL (UNTIL V = 1 ;   in ) ",
      "Invalid function call (FUNCTION G ( A   in ) ",
  };
  EXPECT_EQ(lines(game.errorLog()), expected);
  for (int i = 0; i < 40; ++i) game.tick();
  EXPECT_EQ(lines(game.errorLog()), expected);

  int checked = 0;
  for (int key = 2; key < kElements + 2; ++key) {
    if (faultAt(key)) continue;
    int64_t expected = 0;
    scriptOf(key, expected);
    ASSERT_EQ(game.integer("LUMDB.HALL.E" + std::to_string(key) + ".V"), expected) << key;
    ++checked;
  }
  EXPECT_EQ(checked, kElements - 7);
}

}  // namespace
}  // namespace lum
