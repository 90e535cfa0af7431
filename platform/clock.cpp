#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace lum {

namespace {
int64_t steadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

SystemClock::SystemClock() : start_(steadyNanoseconds()) {}

int64_t SystemClock::counter() { return steadyNanoseconds() - start_; }

int64_t SystemClock::frequency() { return 1'000'000'000; }

uint32_t SystemClock::tickCount() {
  return static_cast<uint32_t>((steadyNanoseconds() - start_) / 1'000'000);
}

void SystemClock::sleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t FakeClock::tickCount() { return static_cast<uint32_t>(micros_ / 1000); }

void FakeClock::sleep(uint32_t milliseconds) {
  ++sleepCalls_;
  slept_ += milliseconds;
  advanceMilliseconds(milliseconds);
}

void FakeClock::advanceMicroseconds(int64_t us) {
  micros_ += us;
  // Derived from the total so that rounding never accumulates drift.
  counts_ = frequency_ == 0 ? 0 : micros_ * frequency_ / 1'000'000;
}

}  // namespace lum
