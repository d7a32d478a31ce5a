// orvane-cli compile: loads devices, compiles one device and its chain into a show file.

#include <cmath>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>

#include "app/cli_command.h"
#include "app/cli_compile_run.h"
#include "app/cli_devices.h"
#include "app/cli_outputs.h"
#include "app/cli_show.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/show_record.h"
#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "util/user_folders.h"

namespace orvane::cli {
namespace {

// Device CODE of --devices or --preset and its chain, seeded by --seed.
int CompileDeviceChain(const CliArgs& args, CliIo& io, int32_t root, CompileJob job, float scale) {
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  FolderLoadReport loaded;
  if (const int status = LoadCliDevices(args, io, list, &loaded); status != kExitDone) return status;
  const DeviceLookup lookup = [&list](int32_t code) { return list.FindByCode(code); };
  switch (TakeSnapshot(root, lookup, job.Snapshot)) {
    case SnapshotStatus::kNoRoot:
      ReportError(io, NoDeviceMessage(root) + SkippedDeviceNote(loaded, root));
      return kExitBadInput;
    case SnapshotStatus::kRecursive: io.Err << kRecursivityRefusal << "\n"; return kExitRefused;
    case SnapshotStatus::kReady: break;
  }
  int failed = kExitBadInput;
  const std::optional<CompileOutcome> outcome = CompileAndPrintFigures(job, scale, io, std::nullopt, failed);
  if (!outcome) return failed;
  return WrittenShowStatus(*outcome, io);
}

int Compile(const CliArgs& args, CliIo& io) {
  const bool show = args.Has("--show") || args.Has("--cues");
  if (!show && !args.Has("--root")) {
    ReportError(io, "compile needs --root CODE");
    return kExitBadInput;
  }
  float scaleValue = 1.0f;
  if (args.Has("--scale")) {
    // As the Scale box reads it, but a refused text is an error rather than 0, and so is
    // a blank one, which the box would read as 0.
    const std::string& text = args.Value("--scale");
    const std::optional<double> v = IsBlankText(text) ? std::nullopt : ReadDecimal(text);
    if (!v) {
      ReportError(io, InvalidFloatMessage(text));
      return kExitBadInput;
    }
    if (!std::isfinite(static_cast<float>(*v))) {
      ReportError(io, "--scale " + text + " is beyond the range of the motion scale");
      return kExitBadInput;
    }
    scaleValue = static_cast<float>(*v);
  }
  CompileJob job;
  if (args.Has("--max-particles")) {
    const std::optional<int32_t> bound = ParseInteger(args.Value("--max-particles"));
    if (!bound || *bound < 1 || static_cast<uint64_t>(*bound) > kMaxParticles) {
      ReportError(io, "--max-particles takes a whole number from 1 to " + std::to_string(kMaxParticles));
      return kExitBadInput;
    }
    job.Limits.MaxParticles = static_cast<uint64_t>(*bound);
  }
  if (args.Has("--max-seconds")) {
    const std::optional<int32_t> seconds = ParseInteger(args.Value("--max-seconds"));
    if (!seconds || *seconds < 1) {
      ReportError(io, "--max-seconds takes a positive whole number");
      return kExitBadInput;
    }
    job.Limits.MaxFrames = static_cast<uint64_t>(*seconds * kFramesPerSecond);
  }
  if (args.Has("-o")) {
    job.Output = args.Value("-o");
  } else {
    const Result<std::filesystem::path> folder = UserCacheFolder();
    if (!folder) {
      ReportError(io, folder.Message());
      return kExitBadInput;
    }
    job.Output = folder.Value() / kShowFileName;
  }
  std::vector<CliOutput> outputs = {{"-o", job.Output}};
  if (args.Has("--extents")) outputs.push_back({"--extents", args.Value("--extents")});
  if (const int status = CheckCliOutputs(io, outputs, CliInputFiles(args)); status != kExitDone) return status;
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
  return CompileDeviceChain(args, io, *root, std::move(job), scaleValue);
}

}  // namespace

int CompileDeviceInto(const CliArgs& args, CliIo& io, int32_t root, const std::filesystem::path& file) {
  CompileJob job;
  job.Output = file;
  job.Limits.Disk = DiskSpaceGuard{kTemporaryShowMinFreeBytes};
  std::ostringstream figures;
  CliIo quiet{figures, io.Err, io.ErrIsTerminal, io.Stop};
  return CompileDeviceChain(args, quiet, root, std::move(job), 1.0f);
}

CliCommand CompileCommand() {
  static const std::string summary =
      std::string("compiles device CODE and its chain, or a show's cue list, into a show file (default: ") +
      kShowFileName +
      " in ~/.cache/orvane) and prints frames, blocks, records and seconds, and for a show each cue's extent "
      "(--extents writes them as CSV); --seed S makes it repeatable, --max-particles N lowers the size bound "
      "(20000000 stars and trail particles at once), --max-seconds S changes the length bound (3600 seconds "
      "of show)";
  return {"compile",
          summary.c_str(),
          "((--devices DIR | --preset N) --root CODE | --show DIR | --devices DIR --cues FILE.csv) [--seed S] "
          "[--scale X] [--max-particles N] [--max-seconds S] [-o FILE] [--extents FILE.csv]",
          "orvane-cli compile --show examples/shows/harbour-night --seed 7 -o show.dat",
          {"--devices", "--preset", "--root", "--seed", "--scale", "--max-particles", "--max-seconds", "-o", "--show",
           "--cues", "--extents"},
          Compile};
}

}  // namespace orvane::cli
