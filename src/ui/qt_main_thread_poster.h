#pragma once
// Tasks from any thread run later on the main thread, as queued invocations. Tasks still
// queued when the poster goes away are dropped.

#include <QObject>

#include "viewer/display_services.h"

namespace orvane {

class QtMainThreadPoster : public MainThreadPoster {
 public:
  void Post(std::function<void()> task) override;

 private:
  QObject context_;  // lives on the thread that made the poster
};

}  // namespace orvane
