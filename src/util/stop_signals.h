#pragma once
// Ctrl-C, a polite kill and a hang-up ask a command line program to stop, so that it
// removes what it was writing instead of dying with a half-written file beside the real
// one. The signals are blocked in every thread and taken by a thread of its own, so no
// work ever runs inside a signal handler and a blocking call is never cut short.

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <stop_token>

namespace orvane {

// A program stopped by signal `number` exits with this status, as a shell reports it.
constexpr int StoppedExitStatus(int number) { return 128 + number; }

class StopSignals {
 public:
  // First thing in main, before any thread starts: threads started later inherit the block.
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Stopped by the first SIGINT, SIGTERM or SIGHUP; a second one ends the program at once.
  std::stop_token Token() const { return source_.get_token(); }
  // The signal that asked to stop; 0 while none has.
  int Signal() const { return signal_.load(); }

 private:
  void Watch();

  sigset_t signals_{};
  sigset_t previous_{};
  std::stop_source source_;
  std::atomic<int> signal_{0};
  std::atomic<bool> closing_{false};
  pthread_t watcher_{};
  bool watching_ = false;
};

// A file size limit (`ulimit -f`) kills a writer with SIGXFSZ before it can remove its
// temporary file. Ignored, the write fails with EFBIG and the writer cleans up as on a
// full disk.
void IgnoreFileSizeSignal();

}  // namespace orvane
