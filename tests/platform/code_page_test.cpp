#include "platform/code_page.h"

#include <gtest/gtest.h>

#include "platform/unicode_case.h"
#include "platform/utf.h"
#include "platform/wide_escape.h"

namespace lum {
namespace {

// "Привет, мир" in Windows-1251 and in UTF-8.
const std::string kHello1251 = "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0";
const std::string kHelloUtf8 = "Привет, мир";

TEST(CodePage, DefaultIsWindows1251AndRoundTripsCyrillic) {
  CodePage cp;
  EXPECT_EQ(cp.name(), "WINDOWS-1251");
  EXPECT_EQ(cp.toUtf8(kHello1251), kHelloUtf8);
  EXPECT_EQ(cp.fromUtf8(kHelloUtf8), kHello1251);
  EXPECT_EQ(cp.fromUtf16(cp.toUtf16(kHello1251)), kHello1251);
  EXPECT_EQ(cp.toUtf8("\xA8\xB8"), "Ёё");
}

TEST(CodePage, AcceptsWindowsAndIconvNames) {
  for (const char* name : {"1252", "cp1252", "CP1251", "windows-1250", "WINDOWS-1251", "866"}) {
    EXPECT_TRUE(CodePage::create(name).ok()) << name;
  }
  auto western = CodePage::create("1252");
  ASSERT_TRUE(western.ok());
  EXPECT_EQ(western->toUtf8("\x80\xE9"), "€é");
}

TEST(CodePage, RefusesUnknownAndMultiByteSets) {
  EXPECT_FALSE(CodePage::create("no-such-code-page").ok());
  EXPECT_FALSE(CodePage::create("UTF-8").ok());
  EXPECT_FALSE(CodePage::create("SHIFT_JIS").ok());
}

TEST(CodePage, EveryByteSurvivesRoundTrips) {
  for (const char* name : {"1251", "1252", "1250", "1253"}) {
    auto cp = CodePage::create(name);
    ASSERT_TRUE(cp.ok()) << name;
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(cp->fromUtf8(cp->toUtf8(all)), all) << name;
    EXPECT_EQ(cp->fromUtf8Exact(cp->toUtf8(all)), all) << name;
  }
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks) {
  CodePage cp;
  EXPECT_EQ(cp.fromUtf8("a\xE2\x82\xAC"), "a\x88");  // the euro sign is 0x88 in 1251
  EXPECT_EQ(cp.fromUtf8("日本"), "??");
  EXPECT_EQ(cp.fromUtf8("x\xFFy"), "x?y");
  EXPECT_EQ(cp.fromUtf8("\xF0\x9F\x98\x80"), "?");  // beyond the BMP: one character
  EXPECT_EQ(cp.fromUtf16(u"\xD83D"), "?");          // lone surrogate
  EXPECT_FALSE(cp.fromUtf8Exact("日本").has_value());
  EXPECT_FALSE(cp.fromUtf8Exact("a\xC0\x80").has_value());  // overlong NUL
}

TEST(CodePage, CaseOfCyrillicAndLatinLetters) {
  CodePage cp;
  EXPECT_EQ(cp.upper(kHello1251), cp.fromUtf8("ПРИВЕТ, МИР"));
  EXPECT_EQ(cp.lower(cp.fromUtf8("ПРИВЕТ, World")), cp.fromUtf8("привет, world"));
  EXPECT_EQ(cp.upper(cp.fromUtf8("ёўіїєґ")), cp.fromUtf8("ЁЎІЇЄҐ"));
  EXPECT_EQ(cp.upper("\xE9"), cp.fromUtf8("Й"));  // 0xE9 is not é here
  EXPECT_TRUE(cp.equalNoCase(cp.fromUtf8("Меню.txt"), cp.fromUtf8("мЕНЮ.TXT")));
  EXPECT_FALSE(cp.equalNoCase("abc", "abd"));

  auto western = CodePage::create("1252");
  ASSERT_TRUE(western.ok());
  EXPECT_EQ(western->upper("\xE9\xFF\x9A\x9C"), "\xC9\x9F\x8A\x8C");  // é ÿ š œ
  EXPECT_EQ(western->upper("\xDF\xB5"), "\xDF\xB5");  // ß and µ have no capital here
  auto central = CodePage::create("1250");
  ASSERT_TRUE(central.ok());
  EXPECT_EQ(central->lower(central->fromUtf8("ŁÓDŹ")), central->fromUtf8("łódź"));
  auto greek = CodePage::create("1253");
  ASSERT_TRUE(greek.ok());
  EXPECT_EQ(greek->upper(greek->fromUtf8("άλφα ς")), greek->fromUtf8("ΆΛΦΑ Σ"));
}

TEST(UnicodeCase, TableIsConsistent) {
  for (char32_t c = 0; c < 0x600; ++c) {
    const char32_t up = unicodeUpper(c);
    const char32_t low = unicodeLower(c);
    EXPECT_FALSE(up != c && low != c) << std::hex << static_cast<uint32_t>(c);
    if (up != c && c != 0x3C2) {
      EXPECT_EQ(unicodeLower(up), c) << std::hex << static_cast<uint32_t>(c);
    }
    if (low != c) {
      EXPECT_EQ(unicodeUpper(low), c) << std::hex << static_cast<uint32_t>(c);
    }
  }
  EXPECT_EQ(unicodeUpper(U'я'), U'Я');
  EXPECT_EQ(unicodeUpper(U'ѓ'), U'Ѓ');
  EXPECT_EQ(unicodeUpper(U'ÿ'), U'Ÿ');
  EXPECT_EQ(unicodeUpper(U'ά'), U'Ά');
  EXPECT_EQ(unicodeLower(U'Ž'), U'ž');
}

TEST(Utf, MalformedInputIsReplacedNotFatal) {
  EXPECT_EQ(utf8ToUtf32("a\x80"
                        "b"),
            U"a\xFFFD"
            "b");
  EXPECT_EQ(utf8ToUtf32("\xE2\x82"), U"\xFFFD\xFFFD");        // cut short
  EXPECT_EQ(utf8ToUtf32("\xED\xA0\x80").front(), U'\xFFFD');  // encoded surrogate
  EXPECT_EQ(utf16ToUtf8(u"\xDC00x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
  EXPECT_EQ(utf16ToUtf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_FALSE(isValidUtf8("\xC1\xBF"));
  EXPECT_TRUE(isValidUtf8("ок"));
}

TEST(WideEscape, DecodesEscapesBetweenCodePageBytes) {
  CodePage cp;
  const std::string text = std::string("A\x01\x2F\x4E") + "\xC4";  // A 丯 Д
  EXPECT_EQ(decodeWideEscape(text, cp), u"A\x4E2F\x0414");
}

TEST(WideEscape, CutOffEscapeEndsTheText) {
  CodePage cp;
  EXPECT_EQ(decodeWideEscape(std::string("ab\x01\x41", 4), cp), u"ab");
  EXPECT_EQ(decodeWideEscape(std::string("ab\x01", 3), cp), u"ab");
  EXPECT_EQ(decodeWideEscape(std::string("\x01\x00\x00", 3), cp), std::u16string(1, u'\0'));
}

TEST(WideEscape, CharactersAreReadFromTheFrontAndACutOffEscapeRunsToTheEnd) {
  // A code byte may itself be 1: "\x01\x01\x00" is one character, so the
  // last character of the text below starts at 3, not at 2.
  const std::string text("\x01\x01\x00" "b", 4);
  EXPECT_EQ(wideCharAt(text, 0).size, 3u);
  EXPECT_EQ(wideCharAt(text, 0).code, 1u);
  EXPECT_EQ(lastWideCharStart(text), 3u);
  const std::string cut("ab\x01\x41", 4);
  const WideChar c = wideCharAt(cut, 2);
  EXPECT_TRUE(c.cutOff);
  EXPECT_EQ(c.size, 2u);
  EXPECT_EQ(lastWideCharStart(cut), 2u);
  EXPECT_EQ(lastWideCharStart(""), 0u);
}

TEST(WideEscape, EncodesNonAsciiOrOnlyUnmappable) {
  CodePage cp;
  const std::u16string text = u"Hi Д日";
  EXPECT_EQ(encodeWideEscape(text, cp, WideEscapeMode::NonAscii),
            std::string("Hi \x01\x14\x04\x01\xE5\x65", 9));
  EXPECT_EQ(encodeWideEscape(text, cp, WideEscapeMode::Unmappable),
            std::string("Hi \xC4\x01\xE5\x65", 7));
  for (auto mode : {WideEscapeMode::NonAscii, WideEscapeMode::Unmappable}) {
    EXPECT_EQ(decodeWideEscape(encodeWideEscape(text, cp, mode), cp), text);
  }
}

TEST(WideEscape, ByteOneItselfTravelsEscaped) {
  CodePage cp;
  const std::u16string text =
      u"a\x0001"
      "bc";
  for (auto mode : {WideEscapeMode::NonAscii, WideEscapeMode::Unmappable}) {
    const std::string encoded = encodeWideEscape(text, cp, mode);
    EXPECT_EQ(encoded, std::string("a\x01\x01\x00"
                                   "bc",
                                   6));
    EXPECT_EQ(decodeWideEscape(encoded, cp), text);
  }
}

}  // namespace
}  // namespace lum
