#include "model/progress_coalescer.h"

namespace orvane {

bool ProgressCoalescer::Offer(const ProgressReport& report, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  newest_ = report;
  unshown_ = true;
  if (inFlight_) return false;
  if (lastPost_ && now - *lastPost_ < kInterval) return false;
  inFlight_ = true;
  lastPost_ = now;
  return true;
}

ProgressReport ProgressCoalescer::Take() {
  const std::lock_guard lock(mutex_);
  inFlight_ = false;
  unshown_ = false;
  return newest_;
}

std::optional<ProgressReport> ProgressCoalescer::Finish() {
  const std::lock_guard lock(mutex_);
  inFlight_ = false;
  lastPost_.reset();
  if (!unshown_) return std::nullopt;
  unshown_ = false;
  return newest_;
}

}  // namespace orvane
