#pragma once
// The compile thread's reports turned into calls on the main thread: each report is queued
// to `target`'s thread; reports still queued when `target` is destroyed are dropped. Never
// blocks the compile. `target` must outlive every compile that reports here.
//
// Progress is coalesced: at most one progress call is queued at a time, about 25 a second,
// each with the newest values; the completion call shows the last values first.

#include <functional>

#include <QObject>

#include "compiler/compile_listener.h"
#include "model/progress_coalescer.h"

namespace orvane {

class QueuedCompileListener : public CompileListener {
 public:
  using ProgressHandler = std::function<void(int position, int64_t records)>;
  using FinishedHandler = std::function<void(const CompileOutcome& outcome)>;

  QueuedCompileListener(QObject* target, ProgressHandler progress, FinishedHandler finished);

  void CompileProgress(int position, int64_t records) override;
  void CompileFinished(const CompileOutcome& outcome) override;

 private:
  QObject* target_;
  ProgressHandler progress_;
  FinishedHandler finished_;
  ProgressCoalescer coalescer_;
};

}  // namespace orvane
