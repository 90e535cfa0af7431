#pragma once
// The time source and the sleep of the frame loop, injected so that tests
// drive time by hand and headless runs advance it in exact frame steps.
#include <cstdint>

namespace lum {

class Clock {
 public:
  virtual ~Clock() = default;
  // High-resolution counter and its counts per second; a frequency of 0 means
  // there is no such counter and callers fall back to tickCount().
  virtual int64_t counter() = 0;
  virtual int64_t frequency() = 0;
  // Milliseconds since some fixed start, wrapping at 32 bits.
  virtual uint32_t tickCount() = 0;
  virtual void sleep(uint32_t milliseconds) = 0;
};

// Wall-clock time from std::chrono with a real sleep.
class SystemClock final : public Clock {
 public:
  SystemClock();
  int64_t counter() override;
  int64_t frequency() override;
  uint32_t tickCount() override;
  void sleep(uint32_t milliseconds) override;

 private:
  int64_t start_;
};

// Time that moves only when told to: advance() by hand, and sleep() moves it
// by the time slept, so a test sees exactly the intervals it arranged.
class FakeClock final : public Clock {
 public:
  // counts per second of the counter; 0 simulates a machine without one
  explicit FakeClock(int64_t countsPerSecond = 1'000'000) : frequency_(countsPerSecond) {}
  int64_t counter() override { return counts_; }
  int64_t frequency() override { return frequency_; }
  uint32_t tickCount() override;
  void sleep(uint32_t milliseconds) override;

  void advanceMicroseconds(int64_t us);
  void advanceMilliseconds(int64_t ms) { advanceMicroseconds(ms * 1000); }
  int64_t nowMicroseconds() const { return micros_; }
  uint32_t sleepCalls() const { return sleepCalls_; }
  uint64_t sleptMilliseconds() const { return slept_; }

 private:
  int64_t frequency_;
  int64_t micros_ = 0;
  int64_t counts_ = 0;
  uint32_t sleepCalls_ = 0;
  uint64_t slept_ = 0;
};

// Deterministic time for headless runs: every read of the counter moves it on
// by one step, and the counter runs at `stepsPerSecond`. A frame timer that
// reads it once per idle call therefore sees exactly 1/stepsPerSecond seconds
// per frame; with stepsPerSecond equal to the timer's Speed that is one logic
// tick per frame. Sleeping does not move time.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(int64_t stepsPerSecond) : steps_(stepsPerSecond < 1 ? 1 : stepsPerSecond) {}
  int64_t counter() override { return ++count_; }
  int64_t frequency() override { return steps_; }
  uint32_t tickCount() override { return static_cast<uint32_t>(count_ * 1000 / steps_); }
  void sleep(uint32_t) override {}

 private:
  int64_t steps_;
  int64_t count_ = 0;
};

}  // namespace lum
