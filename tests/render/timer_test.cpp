#include <gtest/gtest.h>

#include "platform/clock.h"
#include "render/timer.h"

namespace lum {
namespace {

struct TimerRig {
  FakeClock clock;
  TAsphyreTimer timer{clock};
  int frames = 0, ticks = 0;
  explicit TimerRig(double speed, int maxFps = 100) {
    timer.SetSpeed(speed);
    timer.SetMaxFPS(maxFps);
    timer.OnTimer = [this] { ++frames; };
    timer.OnProcess = [this] { ++ticks; };
    timer.SetEnabled(true);
    timer.ResetTime();
  }
};

TEST(TimerTest, PropertiesClampAndDeriveFixedPointLengths) {
  FakeClock clock;
  TAsphyreTimer t(clock);
  EXPECT_EQ(t.Speed(), 60.0);
  EXPECT_EQ(t.MaxFPS(), 100);
  EXPECT_FALSE(t.Enabled());
  EXPECT_EQ(t.Precision(), TPerformancePrecision::ppHigh);
  t.SetSpeed(0.5);
  EXPECT_EQ(t.Speed(), 1.0);
  t.SetMaxFPS(0);
  EXPECT_EQ(t.MaxFPS(), 1);
  t.SetMaxFPS(-5);
  EXPECT_EQ(t.MaxFPS(), 1);
  t.SetSpeed(30);
  EXPECT_EQ(t.TickLength(), 34952533);
  t.SetSpeed(60);
  EXPECT_EQ(t.TickLength(), 17476267);
  t.SetMaxFPS(30);
  EXPECT_EQ(t.MinFrameTime(), 34952533);
}

TEST(TimerTest, HundredMillisecondsAtThirtyIsExactlyThreeTicks) {
  TimerRig r(30);
  r.timer.RunProcessTicks();  // a frame handler ran: ticks may accumulate
  r.clock.advanceMilliseconds(100);
  r.timer.Idle();
  EXPECT_EQ(r.timer.ElapsedTicks(), 3145728);
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 3);
  EXPECT_EQ(r.timer.Accumulator(), 0);
}

TEST(TimerTest, FiftyMillisecondsAtSixtyFallsJustShortOfThreeTicks) {
  TimerRig r(60);
  r.timer.RunProcessTicks();
  r.clock.advanceMilliseconds(50);
  r.timer.Idle();
  EXPECT_EQ(r.timer.ElapsedTicks(), 3145727);
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 2);
  EXPECT_EQ(r.timer.Accumulator(), 1048575);
}

TEST(TimerTest, LongPauseRunsAtMostThirtyTwoTicks) {
  TimerRig r(30);
  r.timer.RunProcessTicks();
  r.clock.advanceMilliseconds(2000);
  r.timer.Idle();
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 32);
}

TEST(TimerTest, IntervalBeyondTheFixedPointRangeCountsAsNothing) {
  TimerRig r(30);
  r.timer.RunProcessTicks();
  r.clock.advanceMilliseconds(2100);
  r.timer.Idle();
  EXPECT_EQ(r.timer.ElapsedTicks(), 0);
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 0);
}

TEST(TimerTest, DisabledTimerOnlySleeps) {
  TimerRig r(30);
  r.timer.SetEnabled(false);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(r.timer.Idle());
  EXPECT_EQ(r.frames, 0);
  EXPECT_EQ(r.clock.sleepCalls(), 4u);
  EXPECT_EQ(r.clock.sleptMilliseconds(), 20u);
}

TEST(TimerTest, TicksAccumulateOnlyAfterRunProcessTicks) {
  TimerRig r(30);
  for (int i = 0; i < 5; ++i) {
    r.clock.advanceMilliseconds(100);
    r.timer.Idle();
  }
  EXPECT_EQ(r.frames, 5);
  EXPECT_EQ(r.timer.Accumulator(), 0);
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 0);
}

TEST(TimerTest, FastFramesSleepTheRestOfTheFrameTime) {
  TimerRig r(30, 30);
  r.clock.advanceMilliseconds(10);
  r.timer.Idle();
  // (34952533 - 10485760) >> 20 whole milliseconds
  EXPECT_EQ(r.clock.sleptMilliseconds(), 23u);
  EXPECT_EQ(r.frames, 1);
}

TEST(TimerTest, LowPrecisionPathUsesTheTickCount) {
  FakeClock clock(0);
  TAsphyreTimer t(clock);
  EXPECT_EQ(t.Precision(), TPerformancePrecision::ppLow);
  t.SetSpeed(30);
  t.SetEnabled(true);
  int ticks = 0;
  t.OnProcess = [&] { ++ticks; };
  t.ResetTime();
  t.RunProcessTicks();
  clock.advanceMilliseconds(100);
  t.Idle();
  EXPECT_EQ(t.ElapsedTicks(), 3145728);
  t.RunProcessTicks();
  EXPECT_EQ(ticks, 3);
}

TEST(TimerTest, ResetTimeDropsTheTimeSpentElsewhere) {
  TimerRig r(30);
  r.timer.RunProcessTicks();
  r.clock.advanceMilliseconds(1000);
  r.timer.ResetTime();
  r.clock.advanceMilliseconds(100);
  r.timer.Idle();
  r.timer.RunProcessTicks();
  EXPECT_EQ(r.ticks, 3);
}

TEST(TimerTest, VirtualClockGivesOneTickPerFrame) {
  VirtualClock clock(30);
  TAsphyreTimer t(clock);
  t.SetSpeed(30);
  t.SetMaxFPS(30);
  t.SetEnabled(true);
  int ticks = 0;
  t.OnTimer = [&] { t.RunProcessTicks(); };
  t.OnProcess = [&] { ++ticks; };
  t.ResetTime();
  for (int frame = 0; frame < 100; ++frame) {
    t.Idle();
    EXPECT_EQ(t.ElapsedTicks(), 1 << 20);
  }
  // The first frame only arms the accumulator.
  EXPECT_EQ(ticks, 99);
}

}  // namespace
}  // namespace lum
