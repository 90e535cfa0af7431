#include "render/timer.h"

#include <cmath>

namespace lum {

namespace {
constexpr double kFixedMillisecond = 1048576.0;           // 2^20
constexpr double kFixedSecond = 1048576000.0;             // 2^20 * 1000
constexpr int32_t kMaxElapsedTicks = 32 * (1 << 20);
constexpr uint32_t kDisabledSleepMs = 5;

// Round to nearest, halves to even (the default floating-point mode).
int32_t roundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }
}  // namespace

TAsphyreTimer::TAsphyreTimer(Clock& clock) : clock_(clock) {
  SetSpeed(60.0);
  SetMaxFPS(100);
  frequency_ = clock_.frequency();
  if (frequency_ > 0) precision_ = TPerformancePrecision::ppHigh;
  ResetTime();
}

void TAsphyreTimer::SetSpeed(double value) {
  speed_ = value < 1.0 ? 1.0 : value;
  tickLength_ = roundEven(kFixedSecond / speed_);
}

void TAsphyreTimer::SetMaxFPS(int32_t value) {
  maxFPS_ = value < 1 ? 1 : value;
  minFrameTime_ = roundEven(kFixedSecond / maxFPS_);
}

void TAsphyreTimer::ResetTime() {
  if (precision_ == TPerformancePrecision::ppHigh)
    referenceCounter_ = clock_.counter();
  else
    referenceTicks_ = clock_.tickCount();
}

int32_t TAsphyreTimer::measureElapsed() {
  if (precision_ == TPerformancePrecision::ppHigh) {
    const int64_t now = clock_.counter();
    const double elapsed =
        double(now - referenceCounter_) / double(frequency_) * kFixedMillisecond * 1000.0;
    referenceCounter_ = now;
    // An interval too long for the 32-bit fixed point (about 2 s) counts as
    // none, as does a counter that went backwards.
    if (elapsed > 2147483647.0 || elapsed < 0) return 0;
    return roundEven(elapsed);
  }
  const uint32_t now = clock_.tickCount();
  const uint32_t interval = now - referenceTicks_;
  referenceTicks_ = now;
  // Like the counter path: an interval that does not fit counts as none.
  if (interval >= 2048) return 0;
  return static_cast<int32_t>(interval << 20);
}

bool TAsphyreTimer::Idle() {
  const int32_t elapsed = measureElapsed();
  if (!enabled_) {
    clock_.sleep(kDisabledSleepMs);
    return false;
  }
  if (minFrameTime_ > elapsed)
    clock_.sleep(static_cast<uint32_t>((minFrameTime_ - elapsed) >> 20));
  int64_t ticks = int64_t(elapsed) * (1 << 20) / tickLength_;
  if (ticks > kMaxElapsedTicks) ticks = kMaxElapsedTicks;
  elapsedTicks_ = static_cast<int32_t>(ticks);
  if (processed_) {
    accumulator_ += elapsedTicks_;
    processed_ = false;
  }
  if (OnTimer) OnTimer();
  return false;
}

void TAsphyreTimer::RunProcessTicks() {
  processed_ = true;
  const int32_t n = accumulator_ / (1 << 20);
  if (n >= 1) {
    if (OnProcess)
      for (int32_t i = 0; i < n; ++i) OnProcess();
    accumulator_ &= 0xFFFFF;
  }
}

}  // namespace lum
