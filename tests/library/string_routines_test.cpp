#include "script_fixture.h"

namespace lum::test {
namespace {

using StringRoutines = ScriptFixture;

TEST_F(StringRoutines, FloatToStrDropsTrailingZerosAndPoint) {
  EXPECT_EQ(Eval("FloatToStr(0.1)").text(), "0.1");
  EXPECT_EQ(Eval("FloatToStr(100)").text(), "100");
  EXPECT_EQ(Eval("FloatToStr(-0.5)").text(), "-0.5");
  EXPECT_EQ(Eval("FloatToStr(2.5)").text(), "2.5");
  EXPECT_EQ(Eval("FloatToStr(1/3)").text(), "0.333333333333333");
  EXPECT_EQ(Eval("FloatToStr(0.0000000000000001)").text(), "0");
  EXPECT_EQ(Eval("FloatToStr(-0.0000000000000001)").text(), "0");
}

TEST_F(StringRoutines, StrToIntGivesZeroWhereStrToFloatFails) {
  EXPECT_EQ(Eval("StrToInt('12a')"), ScriptValue::Integer(0));
  EXPECT_EQ(Eval("StrToInt(' -42 ')"), ScriptValue::Integer(-42));
  EXPECT_EQ(Eval("StrToInt('99999999999')"), ScriptValue::Integer(0));
  EXPECT_EQ(FailureOf("R := StrToFloat('12a');"),
            "Invalid parameters, function STRTOFLOAT : '12a' is not a valid floating point value");
  EXPECT_EQ(Eval("StrToFloat(' 2.25 ')"), ScriptValue::Real(2.25));
  // The separator is '.' whatever the locale.
  context_.SelectLocale("ru");
  EXPECT_FALSE(Run("R := StrToFloat('2,25');"));
}

TEST_F(StringRoutines, CopyAndPossUseOneBasedPositions) {
  EXPECT_EQ(Eval("Copy('ABCDEF', 2, 3)").text(), "BCD");
  EXPECT_EQ(Eval("Copy('ABCDEF', 5, 10)").text(), "EF");
  EXPECT_EQ(Eval("Copy('ABCDEF', 0, 2)").text(), "AB");
  EXPECT_EQ(Eval("Copy('ABCDEF', 9, 2)").text(), "");
  EXPECT_EQ(Eval("Copy('ABCDEF', 2.9, 1.9)").text(), "B");  // truncated, not rounded
  EXPECT_EQ(Eval("Copy('ABCDEF', 2, -1)").text(), "");
  EXPECT_EQ(Eval("Poss('CD', 'ABCDEF')"), ScriptValue::Integer(3));
  EXPECT_EQ(Eval("Poss('X', 'ABCDEF')"), ScriptValue::Integer(0));
  EXPECT_EQ(Eval("Poss('', 'ABCDEF')"), ScriptValue::Integer(0));
  EXPECT_EQ(FailureOf("R := Copy('ABC', 1);"), "Invalid parameters, function COPY");
}

TEST_F(StringRoutines, InsertAndDeleteWriteTheirVariable) {
  ASSERT_TRUE(Run("S := 'ABC'; R := Insert('X', S, 2); T := 'ABCDEF'; Q := Delete(T, 2, 3);"))
      << Error();
  EXPECT_EQ(Text("S"), "AXBC");
  EXPECT_EQ(Text("R"), "AXBC");
  EXPECT_EQ(Text("T"), "AEF");
  EXPECT_EQ(Text("Q"), "AEF");
  ASSERT_TRUE(Run("S := 'AB'; Insert('Z', S, 99); T := 'AB'; Delete(T, 5, 1); Delete(T, 0, 1);"));
  EXPECT_EQ(Text("S"), "ABZ");
  EXPECT_EQ(Text("T"), "AB");
  // The string to change must be a variable.
  EXPECT_EQ(FailureOf("R := Insert('X', 'ABC', 2);"), "Invalid parameters, function INSERT");
  EXPECT_EQ(FailureOf("R := Delete('ABC', 1, 1);"), "Invalid parameters, function DELETE");
}

TEST_F(StringRoutines, LengthCountsWideEscapesOnlyWhenUnicodeIsOn) {
  ASSERT_TRUE(Run("S := Char(1) + Char(16) + Char(4) + 'AB';"));
  context_.unicode = true;
  ASSERT_TRUE(Run("S := Char(1) + Char(16) + Char(4) + 'AB'; L := Length(S); D := DelLastChar(Copy(S, 1, 3));"));
  EXPECT_EQ(Var("L"), ScriptValue::Integer(3));
  EXPECT_EQ(Text("D"), "");
  context_.unicode = false;
  ASSERT_TRUE(Run("S := Char(1) + Char(16) + Char(4) + 'AB'; L := Length(S); D := DelLastChar(Copy(S, 1, 3));"));
  EXPECT_EQ(Var("L"), ScriptValue::Integer(5));
  EXPECT_EQ(Text("D"), std::string("\x01\x10", 2));
}

TEST_F(StringRoutines, LengthFollowsTheRootsUnicodeSettingByDefault) {
  struct Root : ScriptElement {
    bool unicode = true;
    bool GetValue(std::string_view name, ScriptValue& out) override {
      if (name != "UNICODE") return false;
      out = ScriptValue::Boolean(unicode);
      return true;
    }
    bool SetValue(std::string_view, const ScriptValue&) override { return false; }
    ScriptElement* Parent() const override { return nullptr; }
    uint32_t Key() const override { return 1; }
    std::string Id() const override { return "DB"; }
    std::string ClassName() const override { return "TLumDB"; }
  } root;
  env_.root = env_.elements.Register(root);
  context_.unicode.reset();
  EXPECT_EQ(Eval("Length(Char(1) + 'xyZ')"), ScriptValue::Integer(2));
  root.unicode = false;
  EXPECT_EQ(Eval("Length(Char(1) + 'xyZ')"), ScriptValue::Integer(4));
  env_.elements.Release(root);
}

TEST_F(StringRoutines, BuiltStringsKeepToTheInterpretersLimit) {
  env_.maxStringLength = 8;
  EXPECT_EQ(FailureOf("S := 'ABCDE'; Insert('1234', S, 2);"),
            "Invalid parameters, function INSERT : String too long");
  EXPECT_EQ(Text("S"), "ABCDE");
  EXPECT_EQ(FailureOf("R := Format('%20s', 'x');"),
            "Invalid parameters, function FORMAT : String too long");
  EXPECT_EQ(Eval("Format('%8s', 'x')").text(), "       x");
}

TEST_F(StringRoutines, TrimRemovesControlCharactersAndBlanks) {
  ASSERT_TRUE(Run("S := Char(9) + ' A B ' + Char(13); A := Trim(S); L := TrimLeft(S); R := TrimRight(S); E := Trim('  ');"));
  EXPECT_EQ(Text("A"), "A B");
  EXPECT_EQ(Text("L"), "A B \r");
  EXPECT_EQ(Text("R"), "\t A B");
  EXPECT_EQ(Text("E"), "");
}

TEST_F(StringRoutines, CaseFollowsTheCodePageIncludingCyrillic) {
  // "Привет" and "ПРИВЕТ" in Windows-1251.
  const std::string lower = "\xEF\xF0\xE8\xE2\xE5\xF2", upper = "\xCF\xD0\xC8\xC2\xC5\xD2";
  EXPECT_EQ(Eval("UpperCase('abc" + lower + "')").text(), "ABC" + upper);
  EXPECT_EQ(Eval("LowerCase('ABC" + upper + "')").text(), "abc" + lower);
  EXPECT_EQ(Eval("UpperCase('\xB8')").text(), "\xA8");  // yo
}

TEST_F(StringRoutines, CaseChangeKeepsWideEscapeCodeBytesIntact) {
  context_.unicode = true;
  // U+0101 (a with macron) -> U+0100; the code bytes 0x01 0x01 are no letters.
  ASSERT_TRUE(Run("S := UpperCase('a' + Char(1) + Char(1) + Char(1) + 'b');"));
  EXPECT_EQ(Text("S"), std::string("A\x01\x00\x01" "B", 5));
  // U+0061 escaped: the low byte 'a' is a code byte, changed as a character.
  ASSERT_TRUE(Run("S := UpperCase(Char(1) + 'a' + Char(0));"));
  EXPECT_EQ(Text("S"), std::string("\x01" "A\x00", 3));
}

TEST_F(StringRoutines, ACutOffEscapeIsOneCharacterKeptAsItIs) {
  context_.unicode = true;
  ASSERT_TRUE(Run("S := 'ab' + Char(1) + 'c'; L := Length(S); U := UpperCase(S); D := DelLastChar(S);"));
  EXPECT_EQ(Var("L"), ScriptValue::Integer(3));
  EXPECT_EQ(Text("U"), std::string("AB\x01" "c", 4));  // the cut-off bytes are no letters
  EXPECT_EQ(Text("D"), "ab");
}

TEST_F(StringRoutines, ValReportsTheFirstBadCharacter) {
  ASSERT_TRUE(Run("V := 0; P := 0; Val('12.5', V, P); V2 := 0; P2 := 0; Val('12a', V2, P2);"));
  EXPECT_EQ(Var("V"), ScriptValue::Real(12.5));
  EXPECT_EQ(Var("P"), ScriptValue::Integer(0));
  EXPECT_EQ(Var("P2"), ScriptValue::Integer(3));
  EXPECT_EQ(FailureOf("P := 0; Val('1', 5, P);"), "Invalid parameters, function VAL");
}

TEST_F(StringRoutines, CharAndIntToStr) {
  EXPECT_EQ(Eval("Char(321)").text(), "A");  // low 8 bits
  EXPECT_EQ(Eval("IntToStr(2.5)").text(), "2");  // rounded, halves to even
  EXPECT_EQ(Eval("IntToStr(3.5)").text(), "4");
  EXPECT_EQ(FailureOf("R := IntToStr('x');"),
            "Invalid parameters, function INTTOSTR : 'x' is not a valid integer value");
}

}  // namespace
}  // namespace lum::test
