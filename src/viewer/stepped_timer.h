#pragma once
// A periodic timer that ticks only when its owner says so: headless playback and tests
// step the pump themselves, so a run never depends on the clock.

#include "viewer/display_services.h"

namespace orvane {

class SteppedTimerService : public PeriodicTimerService {
 public:
  std::unique_ptr<PeriodicTimer> Start(int32_t period_ms, int32_t resolution_ms, std::function<void()> tick) override;
  // One period of the running timer, if any.
  void Tick();
  bool Running() const { return tick_ != nullptr; }
  int32_t LastPeriod() const { return lastPeriod_; }

 private:
  class Timer;
  std::function<void()>* tick_ = nullptr;
  int32_t lastPeriod_ = 0;
};

}  // namespace orvane
