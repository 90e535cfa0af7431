// Key-frame animations played in small games: the frame table, spline
// paths, cross-fades, directions, playing, drawing, the script names, shown
// elsewhere, and the commands that start them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "render/png_writer.h"
#include "scene/anim.h"
#include "scene/db.h"
#include "scene/game_host.h"
#include "scene/runtime.h"
#include "scene_harness.h"
#include "script/pool.h"

namespace lum {
namespace {

using testing::SceneHarness;

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

void writePicture(SceneHarness& game, const std::string& name, int w, int h,
                  const std::function<uint32_t(int, int)>& shade) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = shade(x, y);
  ASSERT_TRUE(savePng((game.gameFolder() / name).string(), pixels, w, h, true).ok());
}

// Solid 20 x 10 pictures, a 64 x 64 grey backdrop, and a 16-frame direction
// picture: a 40 x 8 bar per frame, frame n in green n * 16.
void writePictures(SceneHarness& game) {
  writePicture(game, "red.png", 20, 10, [](int, int) { return kRed; });
  writePicture(game, "blue.png", 20, 10, [](int, int) { return kBlue; });
  writePicture(game, "back.png", 64, 64, [](int, int) { return 0xFF404040u; });
  writePicture(game, "dirs.png", 16 * 40, 8, [](int x, int) {
    return 0xFFFF0000u | static_cast<uint32_t>((x / 40) * 16) << 8;
  });
  game.writeFile("dirs.an", "16\n1\n");
}

// A game whose first screen holds `screenChildren`; `rootChildren` follow
// the screen under the root.
std::string gameWith(const std::string& screenChildren, const std::string& rootChildren = "") {
  return R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1, "SaveErr": true,
    "exInit": "Events := '';"},
    "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"}, "children": [)" +
         screenChildren + "]}" + (rootChildren.empty() ? "" : ", " + rootChildren) + "]}";
}

std::string image(int key, const std::string& id, const std::string& picture, int x, int y,
                  const std::string& extra = "") {
  return R"({"class": "TLumImage", "properties": {"Key": )" + std::to_string(key) +
         R"(, "Id": ")" + id + R"(", "imImage": ")" + picture + R"(", )" + extra +
         (extra.empty() ? "" : ", ") + R"("rX": )" + std::to_string(x) + R"(, "rY": )" +
         std::to_string(y) + "}}";
}

std::string key(int key, int count, const std::string& images, bool morph = false) {
  return R"({"class": "TLumAnKey", "properties": {"Key": )" + std::to_string(key) +
         R"(, "Id": "K)" + std::to_string(key) + R"(", "Count": )" + std::to_string(count) + R"(, "Morph": )" + (morph ? "true" : "false") +
         R"(}, "children": [)" + images + "]}";
}

std::string anim(const std::string& properties, const std::string& keys) {
  return std::string(R"({"class": "TLumAnim", "properties": {"Key": 2, "Id": "A")") +
         (properties.empty() ? "" : ", ") + properties +
         R"(}, "children": [)" + keys + "]}";
}

class Animations : public ::testing::Test {
 protected:
  void play(const std::string& json) {
    writePictures(game_);
    ASSERT_TRUE(game_.play(json)) << game_.error();
    anim_ = dynamic_cast<TLumAnim*>(game_.byKey(2));
    ASSERT_NE(anim_, nullptr);
  }
  // A name of the animation read at frame p, as scripts read it.
  ScriptValue at(int32_t p, const std::string& name) {
    anim_->SetPosition(p);
    return game_.value("LUMDB.S.A." + name);
  }
  double realAt(int32_t p, const std::string& name) { return at(p, name).real(); }
  AnimFrame frame(int32_t p) {
    AnimFrame out;
    anim_->frames().Spell(p, out);
    return out;
  }

  SceneHarness game_;
  TLumAnim* anim_ = nullptr;
};

// Key 1 (Count 3): Ball moving towards key 2's ball, Ghost without partner,
// an image without Id; key 2 (Count 1): the ball alone.
std::string twoKeys(const std::string& properties) {
  return anim("\"X\": 100, \"Y\": 50, " + properties,
              key(3, 3,
                  image(4, "Ball", "red.png", 0, 0) + ", " + image(5, "Ghost", "red.png", 200, 0) +
                      ", " + image(6, "", "blue.png", 300, 30)) +
                  ", " + key(7, 1, image(8, "BALL", "red.png", 40, 20)));
}

TEST_F(Animations, KeysOfCountsThreeAndOneGiveSixFramesAndTheLastKeyStandsStill) {
  play(gameWith(twoKeys("\"Rep\": false")));
  EXPECT_EQ(game_.integer("LUMDB.S.A.COUNT"), 6);
  // Frames 0 to 3 move a quarter of the way each (centre: + 10, + 5).
  for (int p = 0; p < 4; ++p) {
    EXPECT_DOUBLE_EQ(realAt(p, "KEYX"), 100 + 10 * p + 10) << p;
    EXPECT_DOUBLE_EQ(realAt(p, "KEYY"), 50 + 5 * p + 5) << p;
  }
  EXPECT_DOUBLE_EQ(realAt(4, "KEYX"), 150);
  EXPECT_DOUBLE_EQ(realAt(5, "KEYX"), 150);
  EXPECT_DOUBLE_EQ(realAt(5, "KEYY"), 75);
  // Ghost has no partner and is absent; the image without Id stands still.
  EXPECT_EQ(frame(2).size(), 2u);
  EXPECT_DOUBLE_EQ(realAt(0, "KEYX[2]"), 100 + 300 + 10);
  EXPECT_DOUBLE_EQ(realAt(3, "KEYY[2]"), 50 + 30 + 5);
  EXPECT_EQ(at(3, "KEYX[3]").kind(), ValueKind::Integer);
  EXPECT_EQ(at(3, "KEYX[3]").whole(), 0);
  EXPECT_EQ(at(3, "KEYX[0]").kind(), ValueKind::Integer);
  EXPECT_EQ(at(3, "KEYY[0]").whole(), 0);
  EXPECT_DOUBLE_EQ(realAt(3, "KEYX[1]"), realAt(3, "KEYX"));
  EXPECT_DOUBLE_EQ(realAt(3, "KEYX[$1]"), realAt(3, "KEYX"));
  // Past the end without Rep: the last frame.
  anim_->SetPosition(40);
  EXPECT_EQ(anim_->Pos(), 5);
  anim_->SetPosition(-3);
  EXPECT_EQ(anim_->Pos(), -3);  // negative values are kept
  EXPECT_EQ(at(-3, "KEYX").kind(), ValueKind::Integer);
}

TEST_F(Animations, WithRepTheLastKeyMovesBackToTheFirstAndTheEndWrapsToFrameZero) {
  play(gameWith(twoKeys("\"Rep\": true")));
  EXPECT_DOUBLE_EQ(realAt(4, "KEYX"), 150);
  EXPECT_DOUBLE_EQ(realAt(5, "KEYX"), 130);  // halfway back to key 1
  anim_->SetPosition(6);
  EXPECT_EQ(anim_->Pos(), 0);
  anim_->SetPosition(5);
  anim_->Active = true;
  game_.tick();
  EXPECT_EQ(anim_->Pos(), 0);
  EXPECT_TRUE(anim_->Active);
}

TEST_F(Animations, SettingACountRebuildsTheTable) {
  play(gameWith(twoKeys("\"Rep\": false")));
  ASSERT_TRUE(game_.run("LUMDB.S.A.K3.Count := 9;"));
  EXPECT_EQ(game_.integer("LUMDB.S.A.COUNT"), 12);
  EXPECT_DOUBLE_EQ(realAt(5, "KEYX"), 100 + 20 + 10);
}

TEST_F(Animations, AFrameWithNothingReadsIntegerZeroForEveryName) {
  play(gameWith(anim("\"Rep\": false", key(3, 2, image(4, "Gone", "red.png", 0, 0)) + ", " +
                                           key(5, 0, image(6, "Other", "red.png", 0, 0)))));
  EXPECT_TRUE(frame(1).empty());
  for (const char* name : {"KEYX", "KEYY", "KEYANG", "KEYSCALE", "KEYAN", "COUNT", "KEYX[1]"}) {
    const ScriptValue v = at(1, name);
    EXPECT_EQ(v.kind(), ValueKind::Integer) << name;
    EXPECT_EQ(v.whole(), 0) << name;
  }
  EXPECT_EQ(at(3, "COUNT").whole(), 4);  // frame 3 holds the second key's picture
  // An index that is no number leaves the name unanswered.
  ScriptValue v;
  EXPECT_FALSE(anim_->GetValue("KEYX[ONE]", v));
  EXPECT_FALSE(anim_->GetValue("KEYY[]", v));
}

TEST_F(Animations, PicturesOnASplinePassThroughEveryKey) {
  // Three keys: the spline is the parabola through the three centres.
  const std::string keys = key(3, 3, image(4, "P", "red.png", 0, 0)) + ", " +
                           key(5, 3, image(6, "P", "red.png", 100, 0)) + ", " +
                           key(7, 3, image(8, "P", "red.png", 0, 0));
  play(gameWith(anim("\"Interpol\": true", keys)));
  // Centres 10, 110, 10 at frames 0, 4, 8: 110 - 100 (t - 4)^2 / 16.
  EXPECT_DOUBLE_EQ(realAt(2, "KEYX"), 85);
  EXPECT_DOUBLE_EQ(realAt(1, "KEYX"), 53.75);
  EXPECT_DOUBLE_EQ(realAt(4, "KEYX"), 110);
  EXPECT_DOUBLE_EQ(realAt(6, "KEYX"), 85);
}

TEST_F(Animations, FourKeysFollowTheParabolicallyEndedSpline) {
  const std::string keys =
      key(3, 3, image(4, "P", "red.png", 0, 0)) + ", " + key(5, 3, image(6, "P", "red.png", 100, 0)) +
      ", " + key(7, 3, image(8, "P", "red.png", 0, 0)) + ", " + key(9, 0, image(10, "P", "red.png", 50, 0));
  play(gameWith(anim("\"Interpol\": true", keys)));
  // Solved by hand: second derivatives -17.96875 on the first two keys and
  // 14.84375 on the last two; halfway through the first span the spline is
  // (10 + 110) / 2 - 16 / 16 * (-17.96875 * 2).
  EXPECT_DOUBLE_EQ(realAt(2, "KEYX"), 95.9375);
  EXPECT_DOUBLE_EQ(realAt(12, "KEYX"), 60);
}

TEST_F(Animations, TwoPicturesOfOneIdInAKeyGiveThePathOneSample) {
  const std::string keys =
      key(3, 3, image(4, "P", "red.png", 0, 0) + ", " + image(5, "P", "red.png", 500, 0)) + ", " +
      key(6, 3, image(7, "P", "red.png", 100, 0)) + ", " + key(8, 3, image(9, "P", "red.png", 0, 0));
  play(gameWith(anim("\"Interpol\": true", keys)));
  EXPECT_DOUBLE_EQ(realAt(2, "KEYX"), 85);  // the first picture's parabola
  EXPECT_DOUBLE_EQ(realAt(2, "KEYX[2]"), 85);  // the second shares its Id's path
}

TEST_F(Animations, APictureWithoutInterpolOrAnAnimationWithoutItMovesInStraightLines) {
  const std::string keys = key(3, 3, image(4, "P", "red.png", 0, 0, "\"Interpol\": false")) + ", " +
                           key(5, 3, image(6, "P", "red.png", 100, 0)) + ", " +
                           key(7, 3, image(8, "P", "red.png", 0, 0));
  play(gameWith(anim("\"Interpol\": true", keys)));
  EXPECT_DOUBLE_EQ(realAt(2, "KEYX"), 60);
  EXPECT_DOUBLE_EQ(realAt(6, "KEYX"), 85);  // the middle key's picture is on the path
}

TEST_F(Animations, AMorphKeyCrossFadesThePictures) {
  play(gameWith(anim("\"Rep\": false", key(3, 4, image(4, "L", "red.png", 10, 0), true) + ", " +
                                           key(5, 0, image(6, "L", "blue.png", 30, 0)))));
  const int outgoing[] = {255, 239, 223, 112, 0}, incoming[] = {0, 112, 223, 239, 255};
  for (int p = 0; p < 5; ++p) {
    const AnimFrame f = frame(p);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].colour >> 24, static_cast<uint32_t>(outgoing[p])) << p;
    EXPECT_EQ(f[1].colour >> 24, static_cast<uint32_t>(incoming[p])) << p;
    // Both stay where their keys put them.
    EXPECT_DOUBLE_EQ(f[0].x, 20);
    EXPECT_DOUBLE_EQ(f[1].x, 40);
  }
  EXPECT_EQ(frame(5).size(), 1u);
}

TEST_F(Animations, AMorphKeyOfASingleFrameShowsTheOutgoingPicture) {
  play(gameWith(anim("\"Rep\": true", key(3, 0, image(4, "L", "red.png", 0, 0, "\"hxTrans\": 200"), true) +
                                          ", " + key(5, 0, image(6, "L", "blue.png", 0, 0)))));
  const AnimFrame f = frame(0);
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].colour >> 24, 200u);
  EXPECT_EQ(f[1].colour >> 24, 0u);
}

TEST_F(Animations, AChangeOfPictureWithoutMorphRestsOnTheOutgoingPicture) {
  play(gameWith(anim("", key(3, 3, image(4, "L", "red.png", 10, 0, "\"hxTrans\": 100"), false) +
                             ", " + key(5, 0, image(6, "L", "red.png", 50, 0, "\"Anim\": 1")))));
  const AnimFrame f = frame(2);
  ASSERT_EQ(f.size(), 1u);
  EXPECT_DOUBLE_EQ(f[0].x, 20);
  EXPECT_EQ(f[0].colour >> 24, 100u);
}

TEST_F(Animations, TransparencyIsInterpolatedBetweenKeys) {
  play(gameWith(anim("", key(3, 3, image(4, "L", "red.png", 0, 0, "\"hxTrans\": 0")) + ", " +
                             key(5, 0, image(6, "L", "red.png", 0, 0, "\"hxTrans\": 202")))));
  EXPECT_EQ(frame(1).front().colour, 0x32FFFFFFu);  // round(202 / 4) = 50, halves to even
  EXPECT_EQ(frame(2).front().colour >> 24, 101u);
}

TEST_F(Animations, ADirectionPictureShowsTheFrameOfItsHeading) {
  // Turned by the picture's own angle.
  play(gameWith(anim("\"ShowAn\": true, \"Order\": 1",
                     key(3, 0, image(4, "D", "dirs.png", 0, 0, "\"Angle\": 100, \"Anim\": -1")))));
  EXPECT_EQ(at(0, "KEYAN").whole(), 4);
  EXPECT_DOUBLE_EQ(realAt(0, "KEYANG"), 10);
  EXPECT_DOUBLE_EQ(frame(0)[0].angle, 10);
  // A heading of -30 degrees is 330: frame 3300 div 225 = 14, 15 degrees left over.
  ASSERT_TRUE(game_.run("LUMDB.S.A.K3.D.Angle := -30; Update(LUMDB.S.A);"));
  EXPECT_EQ(frame(0)[0].frame, 14);
  EXPECT_DOUBLE_EQ(frame(0)[0].angle, 15);
}

TEST_F(Animations, ADirectionPictureTurnedByTheAnimationIsDrawnTurnedOnlyByTheRemainder) {
  play(gameWith(anim("\"ShowAn\": true, \"Order\": 1, \"X\": 200, \"Y\": 200, \"Angle\": 100",
                     key(3, 0, image(4, "D", "dirs.png", 0, 0, "\"Anim\": -1")))));
  EXPECT_EQ(at(0, "KEYAN").whole(), 4);
  EXPECT_DOUBLE_EQ(realAt(0, "KEYANG"), 10);
  // The bar's centre is (220, 204); 16 pixels along it at 10 degrees lies
  // frame 4's colour, at 110 degrees it would lie elsewhere.
  game_.tick();
  const double a = 10 * 3.14159265358979 / 180;
  const uint32_t along = game_.pixel(static_cast<int>(220 + 16 * std::cos(a)),
                                     static_cast<int>(204 + 16 * std::sin(a)));
  EXPECT_EQ(along & 0xFFFFFFu, 0xFF4000u);
  const double b = 110 * 3.14159265358979 / 180;
  EXPECT_EQ(game_.pixel(static_cast<int>(220 + 16 * std::cos(b)),
                        static_cast<int>(204 + 16 * std::sin(b))) & 0xFFFFFFu, 0u);
}

TEST_F(Animations, PlayingStepsRunsAnAnimAndStopsOnceAtTheLastFrame) {
  play(gameWith(anim("\"Active\": true, \"exAnim\": \"LUMDB.Events := LUMDB.Events + 'a';\", "
                     "\"exStop\": \"LUMDB.Events := LUMDB.Events + 's'; Oops(1);\"",
                     key(3, 2, image(4, "", "red.png", 0, 0)))));
  ASSERT_EQ(anim_->Pos(), 0);
  game_.tick(5);
  EXPECT_EQ(anim_->Pos(), 2);
  EXPECT_FALSE(anim_->Active);
  EXPECT_EQ(game_.text("LUMDB.EVENTS"), "aas");
  EXPECT_NE(game_.errorLog().find("anStop"), std::string::npos) << game_.errorLog();
}

TEST_F(Animations, AnInvisibleAnimationNeitherAdvancesNorRunsScripts) {
  play(gameWith(anim("\"Vis\": false, \"Active\": true, \"Rep\": true, "
                     "\"exProcess\": \"LUMDB.Events := LUMDB.Events + 'p';\"",
                     key(3, 5, image(4, "", "red.png", 0, 0,
                                     "\"exProcess\": \"LUMDB.Events := LUMDB.Events + 'i';\"")))));
  const int32_t before = anim_->Pos();
  game_.tick(3);
  EXPECT_EQ(anim_->Pos(), before);
  EXPECT_EQ(game_.text("LUMDB.EVENTS"), "");
  anim_->SetVis(true);
  game_.tick(1);
  EXPECT_EQ(anim_->Pos(), before + 1);
  EXPECT_EQ(game_.text("LUMDB.EVENTS"), "pi");
}

TEST_F(Animations, AStoredPosSurvivesReadingTheGameFileAndIsClampedOnceTheTableExists) {
  play(gameWith(anim("\"Pos\": 3, \"ShowAn\": true", key(3, 4, image(4, "", "red.png", 0, 0))) +
                    R"(, {"class": "TLumAnim", "properties": {"Key": 20, "Id": "Far", "Pos": 90},
                      "children": [)" + key(21, 2, image(22, "", "red.png", 0, 0)) + "]}"));
  EXPECT_EQ(anim_->Pos(), 3);
  EXPECT_EQ(game_.integer("LUMDB.S.FAR.POS"), 2);
}

TEST_F(Animations, AnimationsAreNeverHit) {
  play(gameWith(anim("\"X\": 100, \"Y\": 100",
                     key(3, 0, image(4, "Btn", "red.png", 0, 0,
                                     "\"exMouseDown\": \"LUMDB.Events := 'hit';\"")))));
  game_.move(105, 105);
  EXPECT_EQ(game_.state().input.underCursor, nullptr);
  game_.click(105, 105);
  EXPECT_EQ(game_.text("LUMDB.EVENTS"), "");
}

TEST_F(Animations, CommandsStartResumeAndLeaveAnimationsRunning) {
  play(gameWith(anim("\"Vis\": false, \"exStart\": \"LUMDB.Events := LUMDB.Events + 'start'; Oops(1);\"",
                     key(3, 9, image(4, "", "red.png", 0, 0)))));
  anim_->SetPosition(4);
  ASSERT_TRUE(game_.run("AnimStart(LUMDB.S.A);"));
  EXPECT_EQ(anim_->Pos(), 0);
  EXPECT_TRUE(anim_->Active);
  EXPECT_TRUE(anim_->Vis());
  EXPECT_EQ(game_.text("LUMDB.EVENTS"), "start");
  // exStart ran under the caller's label.
  EXPECT_NE(game_.errorLog().find(") Script"), std::string::npos) << game_.errorLog();

  // Stopped halfway, play resumes; at the last frame it starts over.
  anim_->Active = false;
  anim_->SetPosition(5);
  anim_->SetVis(false);
  ASSERT_TRUE(game_.run("AnimPlay(LUMDB.S.A);"));
  EXPECT_EQ(anim_->Pos(), 5);
  EXPECT_TRUE(anim_->Active);
  EXPECT_TRUE(anim_->Vis());
  anim_->SetPosition(9);
  ASSERT_TRUE(game_.run("AnimPlay(LUMDB.S.A);"));
  EXPECT_EQ(anim_->Pos(), 0);

  ASSERT_TRUE(game_.run("AnimStop(LUMDB.S.A);"));
  EXPECT_TRUE(anim_->Active);
  game_.tick();
  EXPECT_EQ(anim_->Pos(), 1);

  // Forgiving arguments; NIL fails; other classes are left alone.
  EXPECT_TRUE(game_.run("AnimStart(5); AnimPlay(LUMDB.S.A, 1); AnimStop('x');"));
  EXPECT_FALSE(game_.run("AnimStart(NIL);"));
  EXPECT_FALSE(game_.run("AnimPlay(NIL);"));
  EXPECT_FALSE(game_.run("AnimStop(NIL);"));
  EXPECT_TRUE(game_.run("AnimStart(LUMDB.S); AnimPlay(LUMDB.S);"));
}

TEST_F(Animations, AnExternalAnimationShowsAndStepsItsOwnFrame) {
  // The animation shown comes before the screen in the file, so the external
  // one's stored Pos arrives before any table exists.
  const std::string shownAnim =
      R"({"class": "TLumAnim", "properties": {"Key": 30, "Id": "Walk", "ImBack": "back.png",
         "SizeX": 64, "SizeY": 64}, "children": [)" +
      key(31, 3, image(32, "W", "red.png", 0, 0)) + ", " + key(33, 0, image(34, "W", "red.png", 40, 0)) + "]}";
  const std::string json =
      R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1}, "children": [)" + shownAnim +
      R"(, {"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"}, "children": [
          {"class": "TLumExAnim", "properties": {"Key": 40, "Id": "E", "X": 300, "Y": 200,
             "PosHor": "phCenter", "obAnim": 30, "Pos": 2, "Active": true, "Rep": true}},
          {"class": "TLumExAnim", "properties": {"Key": 41, "Id": "None", "obAnim": 99, "Pos": 7}}]}]})";
  writePictures(game_);
  ASSERT_TRUE(game_.play(json)) << game_.error();
  auto* ex = dynamic_cast<TLumExAnim*>(game_.byKey(40));
  ASSERT_NE(ex, nullptr);
  EXPECT_EQ(ex->SizeX(), 64);
  EXPECT_EQ(game_.integer("LUMDB.S.E.ABSX"), 268);
  const int32_t p = ex->Pos();
  EXPECT_GE(p, 2);
  game_.tick(5);
  EXPECT_EQ(ex->Pos(), (p + 5) % 5);  // five frames, repeating
  EXPECT_EQ(game_.integer("LUMDB.S.NONE.POS"), 7);
  EXPECT_EQ(game_.integer("LUMDB.S.NONE.SZX"), 0);

  // Nothing loads an animation under the root but a screen change that
  // names it; then frame 4 of Walk shows: the backdrop at (268, 200), the
  // picture 40 pixels in.
  EXPECT_EQ(game_.pixel(270, 250) & 0xFFFFFFu, 0u);
  ASSERT_TRUE(game_.run("FastSetScreen(LUMDB.S, LUMDB.Walk);"));
  ex->Active = false;
  ex->SetPosition(4);
  EXPECT_EQ(game_.pixel(270, 250) & 0xFFFFFFu, 0x404040u);
  EXPECT_EQ(game_.pixel(268 + 45, 205) & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(game_.pixel(268 + 5, 205) & 0xFFFFFFu, 0x404040u);
}

TEST_F(Animations, AFrameIsDrawnWithBackdropCrossFadeAndTurns) {
  const std::string keys =
      key(3, 4,
          image(4, "Box", "red.png", 0, 0, "\"Angle\": 0, \"ScaleX\": 2") + ", " +
              image(5, "Lamp", "red.png", 100, 10, "\"Interpol\": false") + ", " +
              image(6, "Dir", "dirs.png", 20, 100, "\"Anim\": -1, \"Angle\": 30"),
          true) +
      ", " +
      key(7, 4,
          image(8, "Box", "red.png", 60, 40, "\"Angle\": 90, \"ScaleX\": 2, \"Scale\": 2") + ", " +
              image(9, "Lamp", "blue.png", 100, 10, "\"Interpol\": false") + ", " +
              image(10, "Dir", "dirs.png", 20, 100, "\"Anim\": -1, \"Angle\": 120")) +
      ", " + key(11, 0, image(12, "Box", "red.png", 0, 60, "\"hxTrans\": 128"));
  play(gameWith(anim("\"X\": 300, \"Y\": 200, \"ImBack\": \"back.png\", \"ShowAn\": true, "
                     "\"Order\": 1, \"Interpol\": true, \"Pos\": 2",
                     keys)));
  EXPECT_EQ(anim_->SizeX(), 64);
  EXPECT_EQ(game_.compareWithGolden("anim-frame"), "");
}

}  // namespace
}  // namespace lum
