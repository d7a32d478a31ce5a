#include "compiler/compile_thread.h"

#include <new>

#include "compiler/compile_messages.h"
#include "compiler/compile_show.h"
#include "util/random.h"

namespace orvane {

CompileOutcome RunCompile(const CompileJob& job, SetList& sets, CTrail& trail, const std::atomic<float>& scale,
                          CompileListener& listener, std::stop_token stop) {
  const std::atomic<float> ownScale{job.Scale.value_or(0.0f)};
  CompileContext context{sets, trail, job.Snapshot, job.Scale ? ownScale : scale, job.Limits};
  context.Stop = std::move(stop);
  context.FalloutCeilingY = job.FalloutCeilingY;
  CompileOutcome outcome;
  std::optional<ThreadRandomScope> ownRandom;
  if (job.Seed) ownRandom.emplace(*job.Seed);
  try {
    ShowCountingSink measured;
    if (!job.Cues) outcome = CompileRootToFile(context, job.Output, &listener);
    else if (job.Output.empty()) outcome = CompileCuesToSink(context, *job.Cues, measured, &listener);
    else outcome = CompileCuesToFile(context, *job.Cues, job.Output, &listener);
  } catch (const std::bad_alloc&) {
    // Whatever ran out (a path, a message), the thread reports and the owner goes idle.
    context.Sets.Clear();
    context.Trail.Clear();
    context.Emitters.Clear();
    outcome = CompileOutcome{};
    outcome.State = CompileOutcome::Status::kOutOfMemory;
    outcome.Message = kCompileOutOfMemory;
  }
  listener.CompileFinished(outcome);
  return outcome;
}

CRenThread::CRenThread(CompileJob job, SetList& sets, CTrail& trail, const std::atomic<float>& scale,
                       CompileListener& listener)
    : job_(std::move(job)), sets_(sets), trail_(trail), scale_(scale), listener_(listener) {}

CRenThread::~CRenThread() = default;  // the jthread asks to stop and joins

void CRenThread::Start() {
  if (thread_.joinable()) return;
  thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

void CRenThread::Finish() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

// A stop asked for before the thread got going still ends in a report: the owner waits
// for CompileFinished to go back to idle.
void CRenThread::Execute(std::stop_token stop) { RunCompile(job_, sets_, trail_, scale_, listener_, stop); }

CompileController::~CompileController() { thread_.reset(); }

CompileController::StartResult CompileController::Start(int32_t rootCode, const DeviceLookup& lookup,
                                                        const std::filesystem::path& output, CompileListener& listener,
                                                        CompileLimits limits) {
  if (thread_) return StartResult::kBusy;
  CompileJob job;
  job.Output = output;
  job.Limits = limits;
  const SnapshotStatus status = TakeSnapshot(rootCode, lookup, job.Snapshot);
  return Launch(std::move(job), status, listener);
}

CompileController::StartResult CompileController::StartShow(std::vector<RootCue> cues, const DeviceLookup& lookup,
                                                            const std::filesystem::path& output,
                                                            CompileListener& listener, CompileLimits limits,
                                                            size_t* failedCue, std::optional<float> scale) {
  if (thread_) return StartResult::kBusy;
  CompileJob job;
  job.Output = output;
  job.Limits = limits;
  job.Scale = scale;
  const SnapshotStatus status = TakeCueSnapshot(cues, lookup, job.Snapshot, failedCue);
  job.Cues = std::move(cues);
  return Launch(std::move(job), status, listener);
}

CompileController::StartResult CompileController::StartJob(CompileJob job, CompileListener& listener) {
  if (thread_) return StartResult::kBusy;
  return Launch(std::move(job), SnapshotStatus::kReady, listener);
}

CompileController::StartResult CompileController::Launch(CompileJob job, SnapshotStatus status,
                                                         CompileListener& listener) {
  switch (status) {
    case SnapshotStatus::kNoRoot: return StartResult::kNoDevice;
    case SnapshotStatus::kRecursive: return StartResult::kRecursive;
    case SnapshotStatus::kReady: break;
  }
  thread_ = std::make_unique<CRenThread>(std::move(job), sets_, trail_, scale_, listener);
  thread_->Start();
  return StartResult::kStarted;
}

void CompileController::RequestStop() {
  if (thread_) thread_->RequestStop();
}

void CompileController::Finished() {
  if (!thread_) return;
  thread_->Finish();
  thread_.reset();
}

}  // namespace orvane
