#include "app/cli_compile_run.h"

#include <atomic>
#include <chrono>
#include <ostream>

#include "app/cli_progress.h"
#include "compiler/compile_messages.h"
#include "compiler/show_record.h"

namespace orvane::cli {

std::optional<CompileOutcome> CompileAndPrintFigures(const CompileJob& job, float scale, CliIo& io,
                                                     std::optional<size_t> cues, int& failed) {
  SetList sets;
  CTrail trail;
  const std::atomic<float> scaleValue{scale};
  ProgressLine progress(io.Err, io.ErrIsTerminal);
  const auto start = std::chrono::steady_clock::now();
  CompileOutcome outcome = RunCompile(job, sets, trail, scaleValue, progress, io.Stop);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (outcome.State == CompileOutcome::Status::kStopped) {
    ReportError(io, "stopped; no show written");
    failed = kExitStopped;
    return std::nullopt;
  }
  if (!outcome.Written()) {
    ReportError(io, outcome.Message);
    failed = kExitBadInput;
    return std::nullopt;
  }
  io.Out << "file: " << job.Output.string() << "\n";
  if (cues) io.Out << "cues: " << *cues << "\n";
  io.Out << "frames: " << outcome.Frames << "\n"
         << "blocks: " << outcome.Blocks << "\n"
         << "records: " << outcome.Records << "\n"
         << "seconds: " << FormatFixed(static_cast<double>(outcome.Frames) / kFramesPerSecond, 2) << "\n"
         << "culled: " << outcome.Culled << "\n"
         << "compile-seconds: " << FormatFixed(took.count(), 3) << "\n";
  if (outcome.Culled > 0) ReportError(io, CulledMessage(outcome.Culled));
  return outcome;
}

int WrittenShowStatus(const CompileOutcome& outcome, CliIo& io) {
  if (outcome.State != CompileOutcome::Status::kCut) return kExitDone;
  io.Err << outcome.Message << "\n";
  return kExitRefused;
}

}  // namespace orvane::cli
