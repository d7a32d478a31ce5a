// orvane-cli info: checks a compiled show file and prints its figures.

#include <ostream>

#include "app/cli_command.h"
#include "compiler/show_summary.h"

namespace orvane::cli {
namespace {

std::string Point(const std::array<float, 3>& p) {
  return FormatFixed(p[0], 3) + " " + FormatFixed(p[1], 3) + " " + FormatFixed(p[2], 3);
}

int Info(const CliArgs& args, CliIo& io) {
  if (args.Positionals.size() != 1) {
    ReportError(io, "info takes one show file");
    return kExitBadInput;
  }
  const std::string& file = args.Positionals[0];
  ShowSummary s;
  if (const auto fault = SummarizeShowFile(file, s, io.Stop)) {
    ReportError(io, fault->Unreadable ? fault->Reason : file + ": damaged show file at " + fault->Describe());
    return kExitBadInput;
  }
  if (s.Stopped) {
    ReportError(io, "stopped");
    return kExitStopped;
  }
  io.Out << "blocks: " << s.Blocks << "\n"
         << "frames: " << s.Frames << "\n"
         << "records: " << s.Records << "\n"
         << "records-per-frame-min: " << s.MinRecordsPerFrame << "\n"
         << "records-per-frame-mean: " << FormatFixed(s.MeanRecordsPerFrame, 2) << "\n"
         << "records-per-frame-max: " << s.MaxRecordsPerFrame << "\n"
         << "seconds: " << FormatFixed(s.Seconds, 2) << "\n";
  if (s.Records > 0) {
    io.Out << "box-min: " << Point(s.Min) << "\n"
           << "box-max: " << Point(s.Max) << "\n";
  }
  return kExitDone;
}

}  // namespace

CliCommand InfoCommand() {
  return {"info",
          "checks a compiled show file; prints blocks, frames, records per frame (min/mean/max), seconds and the "
          "particles' bounding box (x y z), or the byte offset of the first fault",
          "FILE",
          "orvane-cli info show.dat",
          {},
          Info};
}

}  // namespace orvane::cli
