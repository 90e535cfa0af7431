// Texts in installed fonts: found by family, the game's own font file used
// for the family it carries, and characters the family lacks taken from a
// font that has them.
#include "render/system_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive_test_util.h"

namespace lum {
namespace {

constexpr const char* kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

bool samePicture(const Picture& a, const Picture& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// A copy of a font whose family name is replaced by another of the same
// length (the name table's strings, in single bytes and in UTF-16), so that
// no installed font carries it.
std::string renamedFont(const std::string& from, const std::string& oldName,
                        const std::string& newName) {
  std::vector<uint8_t> bytes = test::readFile(from);
  auto replaceAll = [&bytes](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    for (auto it = bytes.begin();
         (it = std::search(it, bytes.end(), a.begin(), a.end())) != bytes.end();) {
      it = std::copy(b.begin(), b.end(), it);
    }
  };
  auto wide = [](const std::string& s) {
    std::vector<uint8_t> out;
    for (char c : s) out.insert(out.end(), {0, uint8_t(c)});
    return out;
  };
  replaceAll({oldName.begin(), oldName.end()}, {newName.begin(), newName.end()});
  replaceAll(wide(oldName), wide(newName));
  const std::string path = test::tempPath("renamed.ttf");
  test::writeFile(path, bytes);
  return path;
}

TEST(SystemFonts, TextIsWhiteOnBlackAtItsMeasuredExtent) {
  if (!std::filesystem::exists(kSerif)) GTEST_SKIP() << "DejaVu fonts are not installed";
  SystemFonts fonts;
  auto text = fonts.renderText(u"Привет", "DejaVu Serif", 30);
  ASSERT_TRUE(text) << text.error().text();
  EXPECT_GT(text->width, 80);
  EXPECT_GT(text->height, 30);  // 30 points at 96 dpi: 40 pixels to the em
  bool white = false, black = false;
  for (int y = 0; y < text->height; ++y)
    for (int x = 0; x < text->width; ++x) {
      const uint32_t p = text->pixel(x, y);
      EXPECT_EQ(p >> 24, 0xFFu);                      // opaque everywhere
      EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);           // grey
      white |= (p & 0xFFFFFF) == 0xFFFFFF;
      black |= (p & 0xFFFFFF) == 0;
    }
  EXPECT_TRUE(white && black);
  // Nothing to draw: no width, the line's height.
  auto empty = fonts.renderText(u"", "DejaVu Serif", 30);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->width, 0);
  EXPECT_EQ(empty->height, text->height);
}

TEST(SystemFonts, TheGameFontServesTheFamilyItCarries) {
  if (!std::filesystem::exists(kSerif)) GTEST_SKIP() << "DejaVu fonts are not installed";
  const std::string game = renamedFont(kSerif, "DejaVu Serif", "Lumtest Unif");
  SystemFonts fonts;
  auto serif = fonts.renderText(u"Wave", "DejaVu Serif", 30);
  auto unknown = fonts.renderText(u"Wave", "Lumtest Unif", 30);  // fontconfig's default
  ASSERT_TRUE(serif && unknown);
  EXPECT_FALSE(samePicture(*serif, *unknown));
  fonts.addGameFont(game);
  auto fromGame = fonts.renderText(u"Wave", "lumtest unif", 30);
  ASSERT_TRUE(fromGame);
  EXPECT_TRUE(samePicture(*fromGame, *serif));
  // A family the game font does not carry still comes from the system.
  auto other = fonts.renderText(u"Wave", "DejaVu Sans Mono", 30);
  ASSERT_TRUE(other);
  EXPECT_FALSE(samePicture(*other, *serif));
  std::filesystem::remove(game);
}

TEST(SystemFonts, CharactersTheFamilyLacksComeFromAFontThatHasThem) {
  SystemFonts fonts;
  auto chinese = fonts.renderText(u"你好", "DejaVu Sans", 30);
  ASSERT_TRUE(chinese) << chinese.error().text();
  auto direct = fonts.renderText(u"你好", "WenQuanYi Micro Hei", 30);
  ASSERT_TRUE(direct);
  // DejaVu has no Chinese: two empty boxes would be far narrower.
  auto boxes = fonts.renderText(u"\uFFFF\uFFFF", "DejaVu Sans", 30);
  ASSERT_TRUE(boxes);
  if (samePicture(*chinese, *boxes)) GTEST_SKIP() << "no installed font has Chinese characters";
  EXPECT_TRUE(samePicture(*chinese, *direct));
}

}  // namespace
}  // namespace lum
