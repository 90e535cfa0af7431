#pragma once
// The frame timer: from the application's idle processing it measures the
// elapsed time, sleeps to cap the frame rate, calls the frame handler, and
// owes the logic-tick handler a fixed number of ticks per second. Times are
// milliseconds in fixed point with 20 fraction bits.
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace lum {

enum class TPerformancePrecision { ppLow, ppHigh };

class TAsphyreTimer {
 public:
  using TNotifyEvent = std::function<void()>;

  explicit TAsphyreTimer(Clock& clock);

  double Speed() const { return speed_; }
  void SetSpeed(double value);
  int32_t MaxFPS() const { return maxFPS_; }
  void SetMaxFPS(int32_t value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  TPerformancePrecision Precision() const { return precision_; }

  TNotifyEvent OnTimer;
  TNotifyEvent OnProcess;

  // The application's idle handler; answers false ("not done") so that the
  // caller keeps calling it without waiting for messages.
  bool Idle();
  void ResetTime();
  void RunProcessTicks();

  int32_t MinFrameTime() const { return minFrameTime_; }
  int32_t TickLength() const { return tickLength_; }
  int32_t ElapsedTicks() const { return elapsedTicks_; }
  int32_t Accumulator() const { return accumulator_; }

 private:
  int32_t measureElapsed();
  Clock& clock_;
  double speed_ = 60.0;
  int32_t maxFPS_ = 100;
  bool enabled_ = false;
  TPerformancePrecision precision_ = TPerformancePrecision::ppLow;
  int32_t minFrameTime_ = 0, tickLength_ = 0;
  int64_t frequency_ = 0;
  int64_t referenceCounter_ = 0;
  uint32_t referenceTicks_ = 0;
  int32_t elapsedTicks_ = 0;
  int32_t accumulator_ = 0;
  bool processed_ = false;
};

}  // namespace lum
