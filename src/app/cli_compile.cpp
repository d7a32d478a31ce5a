// orvane-cli compile: loads devices, compiles one device and its chain into a show file.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <ostream>

#include "app/cli_command.h"
#include "app/cli_devices.h"
#include "app/cli_progress.h"
#include "app/cli_show.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "model/decimal_text.h"
#include "model/integer_text.h"

namespace orvane::cli {
namespace {

int Compile(const CliArgs& args, CliIo& io) {
  const bool show = args.Has("--show") || args.Has("--cues");
  if (!show && !args.Has("--root")) {
    ReportError(io, "compile needs --root CODE");
    return kExitBadInput;
  }
  float scaleValue = 1.0f;
  if (args.Has("--scale")) {
    // As the Scale box reads it, but a refused text is an error rather than 0.
    const std::optional<double> v = ReadDecimal(args.Value("--scale"));
    if (!v) {
      ReportError(io, InvalidFloatMessage(args.Value("--scale")));
      return kExitBadInput;
    }
    scaleValue = static_cast<float>(*v);
  }
  CompileJob job;
  if (args.Has("--max-particles")) {
    const std::optional<int32_t> bound = ParseInteger(args.Value("--max-particles"));
    if (!bound || *bound < 1) {
      ReportError(io, "--max-particles takes a positive whole number");
      return kExitBadInput;
    }
    job.Limits.MaxParticles = static_cast<uint64_t>(*bound);
  }
  job.Output = args.Has("-o") ? std::filesystem::path(args.Value("-o"))
                              : std::filesystem::temp_directory_path() / "ovcompile.dat";
  if (show) return CompileCueList(args, io, scaleValue, std::move(job));
  if (args.Has("--extents")) {
    ReportError(io, "--extents goes with a show (--show or --cues)");
    return kExitBadInput;
  }
  const std::optional<int32_t> root = ParseInteger(args.Value("--root"));
  if (!root) {
    ReportError(io, "--root takes a device code, not \"" + args.Value("--root") + "\"");
    return kExitBadInput;
  }

  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  if (const int status = LoadCliDevices(args, io, list); status != kExitDone) return status;
  const DeviceLookup lookup = [&list](int32_t code) { return list.FindByCode(code); };
  switch (TakeSnapshot(*root, lookup, job.Snapshot)) {
    case SnapshotStatus::kNoRoot:
      ReportError(io, NoDeviceMessage(*root));
      return kExitBadInput;
    case SnapshotStatus::kRecursive:
      io.Err << kRecursivityRefusal << "\n";
      return kExitRefused;
    case SnapshotStatus::kReady: break;
  }

  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{scaleValue};
  ProgressLine progress(io.Err, io.ErrIsTerminal);
  const auto start = std::chrono::steady_clock::now();
  const CompileOutcome outcome = RunCompile(job, sets, trail, scale, progress);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

  if (!outcome.Written()) {
    ReportError(io, outcome.Message);
    return kExitBadInput;
  }
  io.Out << "file: " << job.Output.string() << "\n"
         << "frames: " << outcome.Frames << "\n"
         << "blocks: " << outcome.Blocks << "\n"
         << "records: " << outcome.Records << "\n"
         << "seconds: " << FormatFixed(static_cast<double>(outcome.Frames) / 25.0, 2) << "\n"
         << "compile-seconds: " << FormatFixed(took.count(), 3) << "\n";
  if (outcome.State == CompileOutcome::Status::kCut) {
    io.Err << outcome.Message << "\n";
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace

CliCommand CompileCommand() {
  return {"compile",
          "compiles device CODE and its chain, or a show's cue list, into a show file (default: ovcompile.dat in "
          "the temp folder) and prints frames, blocks, records and seconds, and for a show each cue's extent "
          "(--extents writes them as CSV); --seed S makes it repeatable, --max-particles N lowers the size bound "
          "(20000000 stars and trail particles at once)",
          "((--devices DIR | --preset N) --root CODE | --show DIR | --devices DIR --cues FILE.csv) [--seed S] "
          "[--scale X] [--max-particles N] [-o FILE] [--extents FILE.csv]",
          "orvane-cli compile --show examples/shows/harbour-night --seed 7 -o show.dat",
          {"--devices", "--preset", "--root", "--seed", "--scale", "--max-particles", "-o", "--show", "--cues",
           "--extents"},
          Compile};
}

}  // namespace orvane::cli
