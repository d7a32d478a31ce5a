#include "viewer/thread_timer.h"

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

namespace orvane {
namespace {

class ThreadTimer : public PeriodicTimer {
 public:
  ThreadTimer(std::chrono::milliseconds period, std::function<void()> tick)
      : thread_([this, period, tick = std::move(tick)](std::stop_token stop) { Run(stop, period, tick); }) {}

  ~ThreadTimer() override {
    thread_.request_stop();
    wake_.notify_all();
  }

 private:
  void Run(std::stop_token stop, std::chrono::milliseconds period, const std::function<void()>& tick) {
    auto next = std::chrono::steady_clock::now() + period;
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
      if (wake_.wait_until(lock, stop, next, [] { return false; })) break;
      if (stop.stop_requested()) break;
      lock.unlock();
      tick();
      lock.lock();
      next += period;
      // After a long stall, tick again from now rather than in a burst.
      const auto now = std::chrono::steady_clock::now();
      if (next < now) next = now + period;
    }
  }

  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::jthread thread_;  // last: stopped and joined first
};

}  // namespace

std::unique_ptr<PeriodicTimer> ThreadTimerService::Start(int32_t period_ms, int32_t /*resolution_ms*/,
                                                         std::function<void()> tick) {
  if (period_ms <= 0 || !tick) return nullptr;
  return std::make_unique<ThreadTimer>(std::chrono::milliseconds(period_ms), std::move(tick));
}

int32_t QueryTimerResolution() {
  timespec res{};
  if (clock_getres(CLOCK_MONOTONIC, &res) != 0) return -1;
  // Periods are whole milliseconds: a finer clock still gives 1.
  const long long ms = static_cast<long long>(res.tv_sec) * 1000 + (res.tv_nsec + 999999) / 1000000;
  return static_cast<int32_t>(ms < 1 ? 1 : ms);
}

}  // namespace orvane
