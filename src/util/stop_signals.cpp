#include "util/stop_signals.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

namespace orvane {

StopSignals::StopSignals() {
  sigemptyset(&signals_);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals_, number);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  // A small stack: under a tight address-space limit the watcher must still start.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, PTHREAD_STACK_MIN + 64 * 1024);
  const auto watch = [](void* self) -> void* {
    static_cast<StopSignals*>(self)->Watch();
    return nullptr;
  };
  watching_ = pthread_create(&watcher_, &attributes, watch, this) == 0;
  pthread_attr_destroy(&attributes);
  // Without the watcher the signals keep their usual effect rather than none.
  if (!watching_) pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

StopSignals::~StopSignals() {
  if (!watching_) return;
  closing_.store(true);
  pthread_kill(watcher_, SIGHUP);
  pthread_join(watcher_, nullptr);
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void StopSignals::Watch() {
  for (;;) {
    int number = 0;
    if (sigwait(&signals_, &number) != 0) continue;
    if (closing_.load()) return;
    // The user insists: whatever is left behind, the program ends now.
    if (signal_.exchange(number) != 0) _exit(StoppedExitStatus(number));
    source_.request_stop();
  }
}

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }

}  // namespace orvane
