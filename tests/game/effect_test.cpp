// Particle effects played in small games: the effect file from the game
// folder or the archive, the process tick with DAnim, Active turning off by
// itself, the colour mask, the commands that start, stop, break and advance
// effects, moving the emitter, and the sprite sheet after a display switch.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "media/particle_record.h"
#include "media/particle_system.h"
#include "render/archive_writer.h"
#include "scene/effect.h"
#include "scene_harness.h"

namespace lum {
namespace {

using testing::SceneHarness;

// A 24-bit bitmap of one colour (0xRRGGBB), rows bottom up.
std::string solidBmp(int w, int h, uint32_t rgb) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b(54 + static_cast<size_t>(stride) * h, '\0');
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<uint32_t>(b.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(w), 4);
  put(22, static_cast<uint32_t>(h), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) put(54 + static_cast<size_t>(y) * stride + x * 3, rgb, 3);
  return b;
}

// A burst: 30 particles a second for half a second, each living one
// second, white, standing still, drawn opaque.
ParticleRecord burst() {
  ParticleRecord r;
  r.EmissionRate = 30;
  r.Lifetime = 0.5f;
  r.LifeMin = r.LifeMax = 1;
  r.SizeStart = r.SizeMid = r.SizeEnd = 1;
  r.ColorStart = r.ColorMid = r.ColorEnd = 0xFFFFFFFFu;
  r.MidPoint = 0.5f;
  r.FrameEnd = -1;
  r.BlendFx = 1;
  return r;
}

std::string bytesOf(const ParticleRecord& r) {
  const auto raw = WriteParticleRecord(r);
  return std::string(reinterpret_cast<const char*>(raw.data()), raw.size());
}

std::string effect(int key, const std::string& id, const std::string& file, int x, int y,
                   const std::string& extra = "") {
  return R"({"class": "TLumEffect", "properties": {"Key": )" + std::to_string(key) +
         R"(, "Id": ")" + id + R"(", "X": )" + std::to_string(x) + R"(, "Y": )" +
         std::to_string(y) + R"(, "EffectFN": ")" + file + R"(", "DAnim": 1.0)" + extra + "}}";
}

std::string gameWith(const std::string& screenChildren, const std::string& rootExtra = "") {
  return R"({"class": "TLumDB", "properties": {"Key": 0, "InitScreen": 1, "SaveErr": true)" +
         rootExtra + R"(}, "children": [{"class": "TLumScreen", "properties": {"Key": 1, "Id": "S"},
         "children": [)" + screenChildren + "]}]}";
}

class Effects : public ::testing::Test {
 protected:
  void SetUp() override { game_.writeFile("particles.bmp", solidBmp(8, 8, 0xFFFFFF)); }
  bool play(const std::string& screenChildren, const std::string& rootExtra = "") {
    if (!game_.play(gameWith(screenChildren, rootExtra))) return false;
    fx_ = dynamic_cast<TLumEffect*>(game_.byKey(5));
    return fx_ != nullptr && fx_->system() != nullptr;
  }
  int32_t count() const { return fx_->system()->Count(); }

  SceneHarness game_;
  TLumEffect* fx_ = nullptr;
};

TEST_F(Effects, StartedByAnimStartItEmitsOverItsLifetimeAndTurnsIdleWhenTheLastParticleDies) {
  game_.writeFile("fx/spark.eff", bytesOf(burst()));
  ASSERT_TRUE(play(effect(5, "FX", "FX\\\\SPARK.EFF", 100, 100, R"(, "exStart": "LUMDB.Started := 1;")"),
                   R"(, "exInit": "Started := 0;")"))
      << game_.error();
  game_.tick(5);
  EXPECT_EQ(count(), 0);  // not active: nothing emitted
  ASSERT_TRUE(game_.run("AnimStart(LUMDB.S.FX);"));
  EXPECT_TRUE(game_.value("LUMDB.S.FX.ACTIVE").boolean());
  EXPECT_EQ(game_.integer("LUMDB.STARTED"), 1);
  game_.tick(15);  // half a second at 30 ticks a second: one particle a tick
  EXPECT_EQ(count(), 14);  // the tick that ends the lifetime emits none
  EXPECT_FALSE(fx_->system()->Emitting());
  EXPECT_TRUE(fx_->Active());
  EXPECT_EQ(game_.pixel(100, 100), 0xFFFFFFFFu);
  game_.tick(30);
  EXPECT_EQ(count(), 0);
  EXPECT_FALSE(game_.value("LUMDB.S.FX.ACTIVE").boolean());
}

TEST_F(Effects, StopLetsParticlesFinishBreakRemovesThemAndActiveStartsAndStops) {
  ParticleRecord r = burst();
  r.Lifetime = 100;
  game_.writeFile("spark.eff", bytesOf(r));
  ASSERT_TRUE(play(effect(5, "FX", "spark.eff", 100, 100, R"(, "Active": true)")));
  game_.tick(6);
  EXPECT_EQ(count(), 6);  // Active from the file starts the emitter
  ASSERT_TRUE(game_.run("AnimStop(LUMDB.S.FX);"));
  EXPECT_FALSE(fx_->Active());
  game_.tick(3);
  EXPECT_EQ(count(), 6);
  ASSERT_TRUE(game_.run("LUMDB.S.FX.ACTIVE := TRUE;"));
  game_.tick(3);
  EXPECT_EQ(count(), 9);
  ASSERT_TRUE(game_.run("AnimBreak(LUMDB.S.FX);"));
  EXPECT_EQ(count(), 0);
  EXPECT_FALSE(fx_->Active());
  // The forgiving argument rules: no element, wrong counts; NIL fails.
  EXPECT_TRUE(game_.run("AnimBreak(3); AnimStop(LUMDB.S.FX, 1); AnimStart(LUMDB.S);"));
  EXPECT_FALSE(game_.run("AnimBreak(NIL);"));
}

TEST_F(Effects, DAnimZeroStandsStillAndProcEfAdvancesByTimeOverSpeedTimesDAnim) {
  ParticleRecord r = burst();
  r.Lifetime = 100;
  r.SpeedMin = r.SpeedMax = 30;  // straight down, 30 pixels a second
  game_.writeFile("spark.eff", bytesOf(r));
  ASSERT_TRUE(play(effect(5, "FX", "spark.eff", 100, 100, R"(, "DAnim": 0.0, "Active": true)")));
  game_.tick(10);
  EXPECT_EQ(count(), 0);  // no time passes: no emission, no motion
  // 3 ticks' worth at DAnim 2: 3 / 30 * 2 = 0.2 s: six particles.
  ASSERT_TRUE(game_.run("LUMDB.S.FX.DANIM := 2; X := ProcEf(LUMDB.S.FX, 3);"));
  EXPECT_EQ(count(), 6);
  EXPECT_EQ(game_.integer("X"), 0);
  ASSERT_TRUE(game_.run("LUMDB.S.FX.DANIM := 0;"));
  const float y = fx_->system()->particle(0).y;
  game_.tick(10);
  EXPECT_EQ(fx_->system()->particle(0).y, y);
  EXPECT_TRUE(game_.run("ProcEf(LUMDB.S.FX); ProcEf(LUMDB.S, 1);"));
  EXPECT_FALSE(game_.run("ProcEf(NIL, 1);"));
}

TEST_F(Effects, AMissingFileNeverEmitsAndTheArchiveIsAskedWhenTheFolderLacksTheFile) {
  ArchiveWriter writer;
  writer.add("ARCHIVED.EFF", 0, WriteParticleRecord(burst()));
  const std::vector<uint8_t> bytes = writer.bytes();
  game_.writeFile("fonts.asdb", std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(play(effect(5, "FX", "none.eff", 100, 100, R"(, "Active": true)") + ", " +
                       effect(6, "FY", "archived.eff", 200, 100, R"(, "Active": true)"),
                   R"(, "FileFonts": "fonts.asdb")"));
  game_.tick(5);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(fx_->system()->record().EmissionRate, 0.0f);
  auto* fy = dynamic_cast<TLumEffect*>(game_.byKey(6));
  ASSERT_NE(fy, nullptr);
  EXPECT_EQ(fy->system()->Count(), 5);
}

TEST_F(Effects, TheColourMaskKeepsOnlyTheChannelsItHoldsAndMovingFiresTheEmitterAnew) {
  ParticleRecord r = burst();
  r.Lifetime = 100;
  r.ColorStart = r.ColorMid = r.ColorEnd = 0xFF80FF40u;  // red 0x80, green 0xFF, blue 0x40
  game_.writeFile("spark.eff", bytesOf(r));
  ASSERT_TRUE(play(effect(5, "FX", "spark.eff", 100, 100,
                          R"(, "Active": true, "hxColor": 16711680)")));
  game_.tick(2);
  EXPECT_EQ(game_.pixel(100, 100), 0xFF800000u);
  ASSERT_TRUE(game_.run("LUMDB.S.FX.HXCOLOR := 16777215;"));
  EXPECT_EQ(game_.pixel(100, 100), 0xFF80FF40u);

  game_.tick(10);
  ASSERT_TRUE(game_.run("MoveTo(LUMDB.S.FX, 300, 200);"));
  EXPECT_EQ(fx_->system()->Age(), 0.0f);  // fired anew: the lifetime restarts
  EXPECT_EQ(fx_->system()->position.x, 300.0f);
  game_.tick(1);
  EXPECT_EQ(game_.pixel(300, 200), 0xFF80FF40u);
  EXPECT_EQ(game_.pixel(100, 100), 0xFF80FF40u);  // the old particles stay
}

TEST_F(Effects, ParticlesStillDrawAfterADisplaySwitchMadeTheSheetAgain) {
  ParticleRecord r = burst();
  r.Lifetime = 100;
  game_.writeFile("spark.eff", bytesOf(r));
  ASSERT_TRUE(play(effect(5, "FX", "spark.eff", 100, 100, R"(, "Active": true)")));
  game_.tick(2);
  EXPECT_EQ(game_.pixel(100, 100), 0xFFFFFFFFu);
  game_.key(13, true);  // Alt+Enter: every texture is made again
  game_.tick(1);
  game_.key(13, true);
  game_.tick(1);
  EXPECT_EQ(game_.pixel(100, 100), 0xFFFFFFFFu);
}

TEST_F(Effects, AFountainOfTurningGrowingFadingParticlesUnderGravity) {
  ParticleRecord r = burst();
  r.Lifetime = 100;
  r.EmissionRate = 60;
  r.LifeMin = 1;
  r.LifeMax = 1.5f;
  r.Direction = 3.14159f;  // up the screen
  r.Spread = 1.2f;
  r.SpeedMin = 120;
  r.SpeedMax = 200;
  r.GravityMin = r.GravityMax = 15;
  r.TangentialMin = -2;
  r.TangentialMax = 2;
  r.SizeStart = 0.5f;
  r.SizeMid = 2;
  r.SizeEnd = 0.5f;
  r.SizeVar = 0.5f;
  r.SpinStart = 0;
  r.SpinMid = 3;
  r.SpinEnd = 6;
  r.ColorStart = 0xFFFFFF40u;
  r.ColorMid = 0xFFFF8000u;
  r.ColorEnd = 0x40800000u;
  r.ColorVar = 0.5f;
  r.BlendFx = 0x504;  // alpha blending
  game_.writeFile("fountain.eff", bytesOf(r));
  ASSERT_TRUE(play(effect(5, "FX", "fountain.eff", 300, 500, R"(, "Active": true)")));
  game_.tick(45);
  EXPECT_GT(count(), 60);
  EXPECT_EQ(game_.compareWithGolden("effect_fountain"), "");
}

}  // namespace
}  // namespace lum
