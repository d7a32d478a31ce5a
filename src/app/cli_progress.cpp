#include "app/cli_progress.h"

#include <string>

namespace orvane::cli {

void ProgressLine::CompileProgress(int position, int64_t records) {
  ++frames_;
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  drawn_ = true;
  // The bar runs through each block of 25 frames, as the main window's does.
  constexpr int kWidth = 24;
  const int filled = position * kWidth / 96;
  err_ << "\rcompiling [" << std::string(static_cast<size_t>(filled), '#')
       << std::string(static_cast<size_t>(kWidth - filled), '.') << "] frame " << frames_ << ", " << records
       << " records " << std::flush;
}

void ProgressLine::CompileFinished(const CompileOutcome&) {
  if (drawn_) err_ << "\r\033[K" << std::flush;
  drawn_ = false;
}

}  // namespace orvane::cli
