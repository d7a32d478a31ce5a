#pragma once
// Compile progress comes once per frame, far faster than a window can show it. The
// coalescer lets at most one delivery be on its way to the window and at most one start
// per interval; each delivery shows the newest values, and the end of the compile shows
// whatever came after the last delivery, so the counter ends on the final total.
//
// Offer is called on the reporting thread, Take and Finish on the receiving thread.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

namespace orvane {

struct ProgressReport {
  int Position = 0;     // the progress bar
  int64_t Records = 0;  // the particle counter

  bool operator==(const ProgressReport&) const = default;
};

class ProgressCoalescer {
 public:
  using Clock = std::chrono::steady_clock;
  // About 25 deliveries a second, the display's own frame rate.
  static constexpr std::chrono::milliseconds kInterval{40};

  // Keeps `report` as the newest; true when the caller is to post one delivery now.
  bool Offer(const ProgressReport& report, Clock::time_point now);
  // In the posted delivery: the newest report; from now on the next delivery may be posted.
  ProgressReport Take();
  // At the end of the compile, before its completion is shown: the newest report when no
  // delivery has shown it yet. Starts afresh for the next compile.
  std::optional<ProgressReport> Finish();

 private:
  std::mutex mutex_;
  ProgressReport newest_;
  bool unshown_ = false;
  bool inFlight_ = false;
  std::optional<Clock::time_point> lastPost_;
};

}  // namespace orvane
