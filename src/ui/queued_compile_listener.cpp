#include "ui/queued_compile_listener.h"

#include <QMetaObject>

namespace orvane {

QueuedCompileListener::QueuedCompileListener(QObject* target, ProgressHandler progress, FinishedHandler finished)
    : target_(target), progress_(std::move(progress)), finished_(std::move(finished)) {}

void QueuedCompileListener::CompileProgress(int position, int64_t records) {
  if (!coalescer_.Offer({position, records}, ProgressCoalescer::Clock::now())) return;
  QMetaObject::invokeMethod(
      target_,
      [this] {
        const ProgressReport newest = coalescer_.Take();
        progress_(newest.Position, newest.Records);
      },
      Qt::QueuedConnection);
}

void QueuedCompileListener::CompileFinished(const CompileOutcome& outcome) {
  QMetaObject::invokeMethod(
      target_,
      [this, outcome] {
        if (const auto last = coalescer_.Finish()) progress_(last->Position, last->Records);
        finished_(outcome);
      },
      Qt::QueuedConnection);
}

}  // namespace orvane
