#include "ui/queued_compile_listener.h"

#include <QMetaObject>

namespace orvane {

QueuedCompileListener::QueuedCompileListener(QObject* target, ProgressHandler progress, FinishedHandler finished)
    : target_(target), progress_(std::move(progress)), finished_(std::move(finished)) {}

void QueuedCompileListener::CompileProgress(int position, int64_t records) {
  QMetaObject::invokeMethod(
      target_, [this, position, records] { progress_(position, records); }, Qt::QueuedConnection);
}

void QueuedCompileListener::CompileFinished(const CompileOutcome& outcome) {
  QMetaObject::invokeMethod(
      target_, [this, outcome] { finished_(outcome); }, Qt::QueuedConnection);
}

}  // namespace orvane
