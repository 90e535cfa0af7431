// Star bursts over pictures: the sample grid of StarsAll and StarsAll2, and
// the single rising stars of StarsToUp and StarsTopToUp.
#include <string>

#include "puzzle_game.h"
#include "scene/db.h"
#include "scene/image.h"

namespace lum {
namespace {

using testing::el;
using testing::gameOf;
using testing::SceneHarness;

constexpr uint32_t kOpaque = 0xFF336699u;

class Stars : public ::testing::Test {
 protected:
  // P (key 10) at (100, 50) shows `picture`.
  void start(const std::string& picture) {
    testing::writeSolid(game_, "solid.png", 30, 20, kOpaque);
    testing::writeSolid(game_, "faint.png", 30, 20, 0xC8336699u);
    testing::writePicture(game_, "band.png", 30, 30, [](int, int y) {
      return y >= 10 && y < 20 ? kOpaque : 0x00000000u;
    });
    const std::string json = gameOf({el(
        "TLumImage", R"("Key": 10, "Id": "P", "Vis": true, "rX": 100, "rY": 50, "imImage": ")" + picture + R"(")")});
    ASSERT_TRUE(game_.play(json)) << game_.error();
  }
  size_t count() { return game_.root().stars().liveCount(); }
  const Star& star(size_t i) { return game_.root().stars().entries()[i]; }
  SceneHarness game_;
};

TEST_F(Stars, StarsAllSamplesEvery10thPixelInsideThePicture) {
  start("solid.png");
  ASSERT_TRUE(game_.run("StarsAll(LUMDB.S.P);"));
  // x 0, 10, 20 and y 0, 10: the points at x 30 and y 20 lie outside.
  EXPECT_EQ(count(), 6u);
  const std::optional<uint32_t> pixel =
      dynamic_cast<TLumImage*>(game_.byKey(10))->FramePixel(0, 0, 0);
  ASSERT_TRUE(pixel.has_value());
  EXPECT_EQ(star(0).colour, *pixel & 0xFFFFFFu);
  EXPECT_EQ(star(0).pattern, 2);
  EXPECT_EQ(star(0).layer, 1000);
  EXPECT_EQ(star(0).effect, 0x104);
  EXPECT_DOUBLE_EQ(star(0).x, 100);
  EXPECT_DOUBLE_EQ(star(0).y, 50);
  EXPECT_DOUBLE_EQ(star(0).sizeStep, -0.015);
  EXPECT_DOUBLE_EQ(star(0).yStep, 0);
  EXPECT_GE(star(0).size, 1.5);
  EXPECT_LT(star(0).size, 2.0);
}

TEST_F(Stars, StarsAll2SamplesEvery3rdPixel) {
  start("solid.png");
  ASSERT_TRUE(game_.run("StarsAll2(LUMDB.S.P);"));
  EXPECT_EQ(count(), 10u * 7u);  // x 0 ... 27, y 0 ... 18
}

TEST_F(Stars, NoStarsWhereThePictureIsTooFaint) {
  start("band.png");
  ASSERT_TRUE(game_.run("StarsAll(LUMDB.S.P);"));
  EXPECT_EQ(count(), 3u);  // only the row y 10 lies in the opaque band
  EXPECT_DOUBLE_EQ(star(0).y, 60);
}

TEST_F(Stars, StarsToUpRisesFromTheLowerEdgeOfTheOpaquePart) {
  start("band.png");
  ASSERT_TRUE(game_.run("StarsToUp(LUMDB.S.P);"));
  ASSERT_EQ(count(), 1u);
  EXPECT_DOUBLE_EQ(star(0).y, 50 + 20);
  EXPECT_DOUBLE_EQ(star(0).yStep, -1);
  EXPECT_DOUBLE_EQ(star(0).sizeStep, -0.02);
  EXPECT_GE(star(0).x, 100);
  EXPECT_LT(star(0).x, 130);
}

TEST_F(Stars, StarsToUpFindsNoEdgeInAFullyOpaquePicture) {
  start("solid.png");
  ASSERT_TRUE(game_.run("StarsToUp(LUMDB.S.P);"));
  EXPECT_EQ(count(), 0u);
}

TEST_F(Stars, StarsTopToUpNeedsAFullyOpaquePixel) {
  start("faint.png");
  ASSERT_TRUE(game_.run("StarsTopToUp(LUMDB.S.P);"));
  EXPECT_EQ(count(), 0u);
  ASSERT_TRUE(game_.run("LUMDB.S.P.IMIMAGE := 'band.png'; StarsTopToUp(LUMDB.S.P);"));
  ASSERT_EQ(count(), 1u);
  EXPECT_DOUBLE_EQ(star(0).y, 60);  // the first fully opaque row
}

}  // namespace
}  // namespace lum
