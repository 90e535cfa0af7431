// Particle systems: reading the effect record, emission and its rounding,
// the capacity, the two phases of a particle's life, the accelerations, the
// emitter's movement, and drawing order, masks and the off-screen skip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "../render/device_test_support.h"
#include "media/particle_system.h"
#include "platform/game_folder.h"
#include "platform/random.h"
#include "render/archive.h"
#include "render/archive_writer.h"
#include "render/image.h"
#include "render/images.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// An emitter at rest that spawns `rate` particles a second, each living
// two seconds, with no movement of their own.
ParticleRecord steadyRecord(float rate = 30) {
  ParticleRecord r;
  r.EmissionRate = rate;
  r.Lifetime = 100;
  r.LifeMin = r.LifeMax = 2;
  r.SizeStart = r.SizeMid = r.SizeEnd = 1;
  r.ColorStart = r.ColorMid = r.ColorEnd = 0xFFFFFFFFu;
  r.MidPoint = 0.5f;
  r.FrameEnd = -1;
  return r;
}

TEST(ParticleRecordTest, ReadsEveryFieldAtItsOffsetAndZeroesWhatAShortSourceLacks) {
  ParticleRecord r = steadyRecord();
  r.FrameStart = -3;
  r.BlendFx = 0x104;
  r.Relative = true;
  r.ReverseOrder = true;
  r.TangentialMax = -2.5f;
  r.ColorEnd = 0x80FF0102u;
  auto bytes = WriteParticleRecord(r);
  EXPECT_EQ(bytes[12], 0x04);
  EXPECT_EQ(bytes[40], 1);
  EXPECT_EQ(bytes[132], 1);
  ParticleRecord back = ReadParticleRecord(bytes);
  EXPECT_EQ(back.FrameStart, -3);
  EXPECT_EQ(back.BlendFx, 0x104u);
  EXPECT_TRUE(back.Relative);
  EXPECT_TRUE(back.ReverseOrder);
  EXPECT_EQ(back.TangentialMax, -2.5f);
  EXPECT_EQ(back.ColorEnd, 0x80FF0102u);
  EXPECT_EQ(back.MidPoint, 0.5f);

  // 24 bytes: up to LifeMin; Lifetime is there, LifeMax and the rest zero.
  ParticleRecord part = ReadParticleRecord(std::span<const uint8_t>(bytes.data(), 24));
  EXPECT_EQ(part.Lifetime, 100.0f);
  EXPECT_EQ(part.LifeMin, 0.0f);
  EXPECT_EQ(part.LifeMax, 0.0f);
  EXPECT_FALSE(part.ReverseOrder);
  // A flag reads one byte of its slot: the other three are ignored.
  bytes[40] = 0;
  bytes[41] = 1;
  EXPECT_FALSE(ReadParticleRecord(bytes).Relative);
}

class ParticleFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumrun-particles-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void write(const std::string& name, std::span<const uint8_t> bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  fs::path dir_;
  Random random_{1};
};

TEST_F(ParticleFiles, LoadFromFilesOfAnyCaseAndLengthAndFromArchiveEntries) {
  const auto bytes = WriteParticleRecord(steadyRecord(12));
  std::vector<uint8_t> longer(bytes.begin(), bytes.end());
  longer.resize(400, 0xEE);  // what follows the record is ignored
  write("Spark.EFF", longer);
  write("short.eff", std::span<const uint8_t>(bytes.data(), 20));
  write("empty.eff", {});
  GameFolder folder(dir_);
  TXParticleSystem s(10, random_);
  EXPECT_TRUE(s.LoadFromFile(folder, "spark.eff"));
  EXPECT_EQ(s.record().EmissionRate, 12.0f);
  EXPECT_EQ(s.record().ReverseOrder, false);
  EXPECT_TRUE(s.LoadFromFile(folder, "short.eff"));
  EXPECT_EQ(s.record().EmissionRate, 12.0f);
  EXPECT_EQ(s.record().Lifetime, 0.0f);
  EXPECT_FALSE(s.LoadFromFile(folder, "empty.eff"));
  EXPECT_FALSE(s.LoadFromFile(folder, "missing.eff"));
  EXPECT_EQ(s.record().EmissionRate, 0.0f);

  ArchiveWriter writer;
  writer.add("FX\\SMOKE.EFF", 0, longer);
  ASSERT_TRUE(writer.save((dir_ / "data.asdb").string()).ok());
  TASDb archive;
  archive.setOpenMode(TOpenModes::opReadOnly);
  archive.setFileName((dir_ / "data.asdb").string());
  EXPECT_TRUE(s.LoadFromArchive(archive, "fx\\smoke.eff"));
  EXPECT_EQ(s.record().EmissionRate, 12.0f);
  EXPECT_FALSE(s.LoadFromArchive(archive, "fx\\none.eff"));
  EXPECT_EQ(s.record().EmissionRate, 0.0f);
}

TEST(ParticleEmission, LifetimeZeroNeverEmitsAndRateThirtyAtSixtyHertzSpawnsEveryOtherUpdate) {
  Random random(3);
  TXParticleSystem never(100, random);
  never.record() = steadyRecord(1000);
  never.record().Lifetime = 0;
  never.Start();
  EXPECT_FALSE(never.Emitting());
  for (int i = 0; i < 20; ++i) never.Update(0.1f);
  EXPECT_EQ(never.Count(), 0);

  TXParticleSystem s(100, random);
  s.record() = steadyRecord(30);
  s.Start();
  std::vector<int> counts;
  for (int i = 0; i < 12; ++i) {
    s.Update(1.0f / 60);
    counts.push_back(s.Count());
  }
  // Half a particle is carried over and rounds (half to even) to none.
  for (int i = 0; i < 12; ++i) EXPECT_EQ(counts[i], (i + 1) / 2) << i;

  // A system without spawn offsets cannot start.
  TXParticleSystem bare(100, random);
  bare.record() = steadyRecord();
  bare.ClearSpawnOffsets();
  bare.Start();
  EXPECT_FALSE(bare.Emitting());
}

TEST(ParticleEmission, EndsAfterLifetimeAndParticlesOutliveTheEmitterUnlessKilled) {
  Random random(4);
  TXParticleSystem s(100, random);
  s.record() = steadyRecord(10);
  s.record().Lifetime = 0.5f;
  s.Start();
  for (int i = 0; i < 4; ++i) s.Update(0.1f);
  EXPECT_TRUE(s.Emitting());
  s.Update(0.1f);  // age reaches the lifetime: this update emits nothing
  EXPECT_FALSE(s.Emitting());
  EXPECT_EQ(s.Count(), 4);
  s.Update(1.0f);
  EXPECT_EQ(s.Count(), 4);
  s.Update(1.0f);  // two seconds old: gone
  EXPECT_EQ(s.Count(), 0);

  s.Start();
  s.Update(0.3f);
  EXPECT_EQ(s.Count(), 3);
  s.Stop(false);
  EXPECT_EQ(s.Count(), 3);
  s.Stop(true);
  EXPECT_EQ(s.Count(), 0);
}

TEST(ParticleEmission, FiveThousandLiveThenSpawnsAreDroppedUntilSomeDie) {
  Random random(5);
  TXParticleSystem s(5000, random);
  s.record() = steadyRecord(4000);
  s.record().LifeMin = 1;
  s.record().LifeMax = 3;
  s.Start();
  s.Update(1.0f);
  EXPECT_EQ(s.Count(), 4000);
  s.Update(0.5f);  // 2000 more asked for; room for 1000; those of life < 1.5 die first
  const int32_t afterDeaths = s.Count();
  EXPECT_EQ(afterDeaths, 5000);
  s.Update(0.01f);
  EXPECT_LE(s.Count(), 5000);
  // A huge rate from a damaged record fills to the capacity and no more.
  TXParticleSystem flood(50, random);
  flood.record() = steadyRecord(3e38f);
  flood.Start();
  flood.Update(10.0f);
  EXPECT_EQ(flood.Count(), 50);
}

TEST(ParticleLife, SurvivorsKeepTheirOrder) {
  Random random(6);
  TXParticleSystem s(100, random);
  s.record() = steadyRecord(10);
  s.Start();
  // One particle an update, each with a life of its own.
  for (float life : {0.45f, 1.0f, 0.25f, 0.9f, 0.05f}) {
    s.record().LifeMin = s.record().LifeMax = life;
    s.Update(0.1f);
  }
  ASSERT_EQ(s.Count(), 5);
  s.Stop(false);
  s.Update(0.1f);  // ages 0.5, 0.4, 0.3, 0.2, 0.1: the first, third and last die
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.particle(0).life, 1.0f);
  EXPECT_EQ(s.particle(1).life, 0.9f);
}

TEST(ParticleLife, ColourPastTheTopHoldsAlphaAt254AndTheOthersAt255) {
  Random random(7);
  TXParticleSystem c(10, random);
  ParticleRecord r = steadyRecord(10);
  r.ColorStart = 0x00000000u;
  r.ColorMid = 0x80808080u;
  r.ColorEnd = 0xFFFFFFFFu;
  r.LifeMin = r.LifeMax = 2.5f;
  r.MidPoint = 0.8f;  // middle at 2 s, half a second of second phase
  c.record() = r;
  c.Start();
  c.Update(0.1f);
  c.Stop(false);
  ASSERT_EQ(c.Count(), 1);
  c.Update(1.0f);
  EXPECT_NEAR(c.particle(0).colour[kAlpha], 64, 1e-3);
  // A long step over the middle: the second phase's speed, worked out for
  // half a second, runs for 1.4 s and overshoots.
  c.Update(1.4f);
  ASSERT_EQ(c.Count(), 1);
  const Particle& p = c.particle(0);
  EXPECT_EQ(p.colour[kAlpha], 254);
  EXPECT_EQ(p.colour[kRed], 255);
  EXPECT_EQ(p.colour[kGreen], 255);
  EXPECT_EQ(p.colour[kBlue], 255);
}

TEST(ParticleLife, MidPointZeroAndLifeZeroDivideByNothing) {
  Random random(8);
  // MidPoint 0: no first phase; the particle heads for the end values.
  TXParticleSystem s(10, random);
  ParticleRecord r = steadyRecord(10);
  r.SizeStart = 1;
  r.SizeMid = 100;
  r.SizeEnd = 3;
  r.MidPoint = 0;
  r.LifeMin = r.LifeMax = 1;
  s.record() = r;
  s.Start();
  s.Update(0.1f);
  s.Stop(false);
  ASSERT_EQ(s.Count(), 1);
  EXPECT_FLOAT_EQ(s.particle(0).sizeSpeed, 2.0f);
  s.Update(0.5f);
  EXPECT_NEAR(s.particle(0).size, 2.0f, 1e-5);

  // Life 0: no speeds at all, and gone on the next update.
  TXParticleSystem z(10, random);
  ParticleRecord zr = steadyRecord(10);
  zr.LifeMin = zr.LifeMax = 0;
  zr.FrameStart = 0;
  zr.FrameEnd = 7;
  z.record() = zr;
  z.Start();
  z.Update(0.1f);
  ASSERT_EQ(z.Count(), 1);
  const Particle& p = z.particle(0);
  EXPECT_EQ(p.frameSpeed, 0.0f);
  EXPECT_EQ(p.sizeSpeed, 0.0f);
  EXPECT_TRUE(std::isfinite(p.colourSpeed[kAlpha]));
  z.Update(0.01f);
  EXPECT_EQ(z.Count(), 0);
}

TEST(ParticleMotion, GravityRadialAndTangentialAccelerateWithTenfoldFactor) {
  Random random(9);
  TXParticleSystem s(10, random);
  ParticleRecord r = steadyRecord(10);
  r.GravityMin = r.GravityMax = 2;  // 20 px/s^2 down
  r.LifeMin = r.LifeMax = 10;
  s.record() = r;
  s.Start();
  s.Update(0.1f);
  s.Stop(false);
  ASSERT_EQ(s.Count(), 1);
  s.Update(0.5f);
  EXPECT_NEAR(s.particle(0).vy, 10.0f, 1e-4);
  EXPECT_NEAR(s.particle(0).y, 5.0f, 1e-4);  // velocity first, then position
  EXPECT_NEAR(s.particle(0).x, 0.0f, 1e-6);

  // Radial: away from the emitter; a particle on the emitter feels none.
  TXParticleSystem rad(10, random);
  ParticleRecord rr = steadyRecord(10);
  rr.RadialMin = rr.RadialMax = 1;
  rr.SpeedMin = rr.SpeedMax = 10;
  rr.Direction = 0;  // straight down
  rr.LifeMin = rr.LifeMax = 10;
  rad.record() = rr;
  rad.Start();
  rad.Update(0.1f);
  rad.Stop(false);
  ASSERT_EQ(rad.Count(), 1);
  rad.Update(0.1f);
  EXPECT_FLOAT_EQ(rad.particle(0).vy, 10.0f);  // still on the emitter: no push yet
  rad.Update(0.1f);
  EXPECT_NEAR(rad.particle(0).vy, 11.0f, 1e-4);
  EXPECT_NEAR(rad.particle(0).vx, 0.0f, 1e-5);
  // Tangential turns across the radius: (-r.y, r.x) for r pointing down is -x.
  TXParticleSystem tan(10, random);
  ParticleRecord tr = rr;
  tr.RadialMin = tr.RadialMax = 0;
  tr.TangentialMin = tr.TangentialMax = 1;
  tan.record() = tr;
  tan.Start();
  tan.Update(0.1f);
  tan.Stop(false);
  tan.Update(0.1f);
  tan.Update(0.1f);
  EXPECT_NEAR(tan.particle(0).vx, -1.0f, 1e-4);
}

TEST(ParticleMotion, AMovingEmitterSpreadsItsParticlesAlongItsPath) {
  Random random(10);
  TXParticleSystem s(100, random);
  ParticleRecord r = steadyRecord(100);
  r.LifeMin = r.LifeMax = 10;
  s.record() = r;
  s.MoveTo({50, 0}, false);  // not emitting: jumps, no path
  s.Start();
  s.MoveTo({150, 0}, false);
  s.Update(0.1f);
  ASSERT_EQ(s.Count(), 10);
  float lo = 1e9f, hi = -1e9f;
  for (int i = 0; i < s.Count(); ++i) {
    lo = std::min(lo, s.particle(i).x);
    hi = std::max(hi, s.particle(i).x);
    EXPECT_FLOAT_EQ(s.particle(i).spawnX, 150 - s.particle(i).x);
  }
  EXPECT_GE(lo, 50.0f);
  EXPECT_LT(hi, 150.0f);
  EXPECT_GT(hi - lo, 20.0f);
  // Moving particles along keeps their places relative to the emitter.
  const float before = s.particle(0).x;
  s.MoveTo({160, 0}, true);
  EXPECT_FLOAT_EQ(s.particle(0).x, before + 10);
  // FireAt restarts the lifetime at the new place, particles stay.
  s.FireAt({0, 0});
  EXPECT_EQ(s.Age(), 0.0f);
  EXPECT_FLOAT_EQ(s.particle(0).x, before + 10);
}

TEST(ParticleMotion, SameSeedSameParticles) {
  auto run = [](uint64_t seed) {
    Random random(seed);
    TXParticleSystem s(100, random);
    ParticleRecord r = steadyRecord(50);
    r.Spread = 3;
    r.SpeedMin = 10;
    r.SpeedMax = 40;
    r.LifeMin = 0.5f;
    s.record() = r;
    s.Start();
    for (int i = 0; i < 10; ++i) s.Update(1.0f / 30);
    std::vector<float> xs;
    for (int i = 0; i < s.Count(); ++i) xs.push_back(s.particle(i).x);
    return xs;
  };
  EXPECT_EQ(run(42), run(42));
  EXPECT_NE(run(42), run(43));
}

// Drawing into a headless software frame with an 8 x 8 white sheet.
class ParticleDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    stack_ = testing::softStack();
    sheet_ = stack_->images.Add();
    sheet_->SetPatternSize({8, 8});
    sheet_->SetVisibleSize({8, 8});
    ASSERT_TRUE(sheet_->UploadBitmap(
        testing::makePicture(8, 8, [](int, int) { return 0xFFFFFFFFu; }), false, 0, 0));
  }
  std::vector<uint32_t> draw(const TXParticleSystem& s, uint32_t mask, int32_t x = 0,
                             int32_t y = 0) {
    return testing::drawFrame(*stack_, [&] {
      stack_->canvas.SetAntialias(false);
      s.Render(stack_->canvas, sheet_, x, y, mask, 1024, 768);
    });
  }
  std::unique_ptr<RenderStack> stack_;
  TAsphyreImage* sheet_ = nullptr;
  Random random_{11};
};

TEST_F(ParticleDrawing, NewestOnTopUnlessReverseOrderAndTheMaskRemovesChannels) {
  TXParticleSystem s(10, random_);
  ParticleRecord r = steadyRecord(10);
  r.BlendFx = 1;  // opaque copy
  r.LifeMin = r.LifeMax = 10;
  r.ColorStart = r.ColorMid = r.ColorEnd = 0xFFFF0000u;  // device order: red
  s.record() = r;
  s.MoveTo({100, 100}, false);
  s.Start();
  s.Update(0.1f);  // a red particle
  s.record().ColorStart = s.record().ColorMid = s.record().ColorEnd = 0xFF0000FFu;  // blue
  s.Update(0.1f);  // a blue one on the same spot
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(testing::at(draw(s, 0xFFFFFFFFu), 100, 100), 0xFF0000FFu);
  s.record().ReverseOrder = true;
  EXPECT_EQ(testing::at(draw(s, 0xFFFFFFFFu), 100, 100), 0xFFFF0000u);
  // The mask 0xFF0000 keeps only red: the red particle stays, the blue
  // one turns black.
  EXPECT_EQ(testing::at(draw(s, 0xFFFF0000u), 100, 100), 0xFFFF0000u);
  s.record().ReverseOrder = false;
  EXPECT_EQ(testing::at(draw(s, 0xFFFF0000u), 100, 100), 0xFF000000u);
  // Drawn at an offset.
  EXPECT_EQ(testing::at(draw(s, 0xFFFFFFFFu, 20, 30), 120, 130), 0xFF0000FFu);
}

TEST_F(ParticleDrawing, ParticlesWhollyOffScreenAreNotSentToTheCanvas) {
  TXParticleSystem s(10, random_);
  ParticleRecord r = steadyRecord(10);
  r.BlendFx = 1;
  r.LifeMin = r.LifeMax = 10;
  s.record() = r;
  s.MoveTo({-20, 300}, false);
  s.Start();
  s.Update(0.1f);
  ASSERT_EQ(s.Count(), 1);
  const int64_t before = stack_->canvas.DrawCalls();
  draw(s, 0xFFFFFFFFu);
  EXPECT_EQ(stack_->canvas.DrawCalls(), before);
  draw(s, 0xFFFFFFFFu, 16, 0);  // centre at -4: half of it shows
  EXPECT_GT(stack_->canvas.DrawCalls(), before);
}

}  // namespace
}  // namespace lum
