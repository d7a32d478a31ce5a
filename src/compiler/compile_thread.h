#pragma once
// The compile thread and the one-at-a-time control around it. The owner starts a compile
// with the root's code and the device list's lookup; the devices the chain reaches are
// taken at that moment (TakeSnapshot), so later edits of the list cannot reach the
// thread. The thread reports through a CompileListener and, after CompileFinished has
// arrived on the owner's thread, the owner calls Finished() to join and free it.

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "compiler/compile_context.h"
#include "compiler/compile_listener.h"
#include "compiler/compile_snapshot.h"

namespace orvane {

struct CompileJob {
  CompileSnapshot Snapshot;
  // Set for a show: its cues instead of the snapshot's root (TakeCueSnapshot made the snapshot).
  std::optional<std::vector<RootCue>> Cues;
  // Empty for a show compiled only to be measured (its extents and figures): nothing is written.
  std::filesystem::path Output;
  CompileLimits Limits{};
  // A show's own motion scale, read instead of the owner's live one.
  std::optional<float> Scale;
  // Set: the compile draws from a generator of its own thread starting here, so other
  // threads' draws cannot change its bytes. Nothing: the process-wide generator.
  std::optional<uint32_t> Seed;
  // Where a show's fallout starts (CompileContext::FalloutCeilingY).
  std::optional<double> FalloutCeilingY;
};

// The thread body on the calling thread: compiles the job's root into its file, at the job's
// scale if it has one and at `scale` as it stands meanwhile otherwise, and calls
// CompileFinished. stop ends the compile early (the file is then removed): the owner goes
// away mid-compile, or the user stops it.
CompileOutcome RunCompile(const CompileJob& job, SetList& sets, CTrail& trail, const std::atomic<float>& scale,
                          CompileListener& listener, std::stop_token stop = {});

class CRenThread {
 public:
  // Created suspended: nothing runs before Start.
  CRenThread(CompileJob job, SetList& sets, CTrail& trail, const std::atomic<float>& scale, CompileListener& listener);
  // Asks a running compile to stop and waits for it.
  ~CRenThread();
  CRenThread(const CRenThread&) = delete;
  CRenThread& operator=(const CRenThread&) = delete;

  void Start();
  // The terminate request and the wait; call once CompileFinished has arrived.
  void Finish();
  // Asks the compile to stop without waiting; CompileFinished still comes (kStopped).
  void RequestStop() { thread_.request_stop(); }

 private:
  void Execute(std::stop_token stop);

  CompileJob job_;
  SetList& sets_;
  CTrail& trail_;
  const std::atomic<float>& scale_;
  CompileListener& listener_;
  std::jthread thread_;
};

class CompileController {
 public:
  enum class StartResult {
    kStarted,
    kBusy,       // a compile is running, or its Finished() has not been called yet
    kNoDevice,   // the lookup has no device with the root's code
    kRecursive,  // the chain from the root runs into a cycle (kRecursivityRefusal)
  };

  // scale and every listener passed to Start must outlive the controller.
  explicit CompileController(const std::atomic<float>& scale) : scale_(scale) {}
  ~CompileController();

  StartResult Start(int32_t rootCode, const DeviceLookup& lookup, const std::filesystem::path& output,
                    CompileListener& listener, CompileLimits limits = {});
  // A show's cues; kNoDevice and kRecursive name the first cue at fault in failedCue. A show
  // with its own scale compiles at it.
  StartResult StartShow(std::vector<RootCue> cues, const DeviceLookup& lookup, const std::filesystem::path& output,
                        CompileListener& listener, CompileLimits limits = {}, size_t* failedCue = nullptr,
                        std::optional<float> scale = std::nullopt);
  // A job made whole by its owner (a show project's compile request).
  StartResult StartJob(CompileJob job, CompileListener& listener);
  // After CompileFinished: joins and frees the thread, so the next Start can run.
  void Finished();
  // Asks a running compile to stop; its CompileFinished follows as for any end.
  void RequestStop();
  bool Busy() const { return thread_ != nullptr; }

 private:
  StartResult Launch(CompileJob job, SnapshotStatus status, CompileListener& listener);

  const std::atomic<float>& scale_;
  SetList sets_;
  CTrail trail_;
  std::unique_ptr<CRenThread> thread_;
};

}  // namespace orvane
