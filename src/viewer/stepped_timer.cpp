#include "viewer/stepped_timer.h"

namespace orvane {

class SteppedTimerService::Timer : public PeriodicTimer {
 public:
  Timer(std::function<void()> tick, std::function<void()>*& slot) : tick_(std::move(tick)), slot_(slot) {
    slot_ = &tick_;
  }
  ~Timer() override {
    if (slot_ == &tick_) slot_ = nullptr;
  }

 private:
  std::function<void()> tick_;
  std::function<void()>*& slot_;
};

std::unique_ptr<PeriodicTimer> SteppedTimerService::Start(int32_t period_ms, int32_t, std::function<void()> tick) {
  lastPeriod_ = period_ms;
  return std::make_unique<Timer>(std::move(tick), tick_);
}

void SteppedTimerService::Tick() {
  if (tick_ != nullptr) (*tick_)();
}

}  // namespace orvane
