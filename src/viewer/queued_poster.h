#pragma once
// A main-thread poster whose queue the owner drains itself: headless programs and tests
// run the posted tasks on their own thread at points they choose.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "viewer/display_services.h"

namespace orvane {

class QueuedPoster : public MainThreadPoster {
 public:
  void Post(std::function<void()> task) override;
  // Runs what is queued now (tasks posted meanwhile wait for the next call); the count run.
  size_t RunPending();
  // Runs tasks as they arrive until `done` holds or the time is up; false on time-out.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  size_t QueuedCount() const;
  // Waits, running nothing, until at least `count` tasks are queued; false on time-out.
  bool WaitQueued(size_t count, std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace orvane
