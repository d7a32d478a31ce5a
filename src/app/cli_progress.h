#pragma once
// A compile listener for the terminal: a progress line on stderr, redrawn at most ten
// times a second, only when stderr is a terminal.

#include <chrono>
#include <cstdint>
#include <ostream>

#include "compiler/compile_listener.h"

namespace orvane::cli {

class ProgressLine : public CompileListener {
 public:
  ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
  void CompileProgress(int position, int64_t records) override;
  void CompileFinished(const CompileOutcome& outcome) override;
  uint64_t Frames() const { return frames_; }

 private:
  std::ostream& err_;
  bool enabled_;
  bool drawn_ = false;
  uint64_t frames_ = 0;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace orvane::cli
