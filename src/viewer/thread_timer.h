#pragma once
// Periodic timers on a thread of their own, for the playback pump.

#include "viewer/display_services.h"

namespace orvane {

class ThreadTimerService : public PeriodicTimerService {
 public:
  std::unique_ptr<PeriodicTimer> Start(int32_t period_ms, int32_t resolution_ms, std::function<void()> tick) override;
};

// The timer's resolution in milliseconds, -1 when the clock reports none.
int32_t QueryTimerResolution();

}  // namespace orvane
