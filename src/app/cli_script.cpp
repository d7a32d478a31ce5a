// orvane-cli script: a show's firing script in a profile's format, or a script of the
// "orvane" profile read back into a cue list.

#include <filesystem>
#include <ostream>

#include "app/cli_command.h"
#include "app/cli_show.h"
#include "compiler/compiled_device_prep.h"
#include "project/firing_script.h"
#include "project/firing_script_import.h"
#include "show/cue_list.h"
#include "show/staged_files.h"
#include "util/safe_file.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

// A file already at `out` is replaced only with --force, and never when the command reads it.
int CheckOutput(const CliArgs& args, CliIo& io, const fs::path& out, bool isInput) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(out, error))) return kExitDone;
  if (isInput) {
    ReportError(io, "not writing over " + out.string() + ": it is a file the command reads");
    return kExitBadInput;
  }
  if (args.Flags.count("--force") == 0) {
    ReportError(io, "not replacing " + out.string() + ", which already exists (--force replaces it)");
    return kExitBadInput;
  }
  return kExitDone;
}

int WriteAddressesBack(CliIo& io, ShowProject& project, const FiringScriptPlan& plan) {
  const CueListChange change = WriteAddressesChange(project.Cues(), plan.Addresses);
  if (change.Empty()) return kExitDone;
  project.EditCues("Write addresses", change);
  const fs::path cues = project.Folder() / kCueFileName;
  if (const std::string error = WriteFileSafely(cues, CueListText(project.Cues())); !error.empty()) {
    ReportError(io, "could not write " + cues.string() + ": " + error);
    return kExitBadInput;
  }
  io.Out << "addresses written: " << change.Added.size() << " to " << cues.string() << "\n";
  return kExitDone;
}

int Export(const CliArgs& args, CliIo& io) {
  if (!args.Has("--show") || !args.Has("--profile") || !args.Has("-o")) {
    ReportError(io, "give --show DIR, --profile NAME|FILE and -o FILE");
    return kExitBadInput;
  }
  const Result<FiringProfile> profile = LoadFiringProfile(args.Value("--profile"));
  if (!profile) {
    ReportError(io, profile.Message());
    return kExitBadInput;
  }
  ShowProject project(PrepareCompiledPart);
  if (const int status = OpenCliShow(args, io, project); status != kExitDone) return status;
  const fs::path out = args.Value("-o");
  if (const int status = CheckOutput(args, io, out, project.ReadsFile(out)); status != kExitDone) return status;
  const FiringScriptPlan plan =
      PlanFiringScript({project.Cues(), project.TableContext(), project.Title(), TodayText()}, profile.Value());
  io.Out << FiringScriptReport(plan);
  if (plan.Refused()) {
    for (const std::string& problem : plan.Problems) ReportError(io, problem);
    ReportError(io, "no firing script written");
    return kExitBadInput;
  }
  if (const Result<> written = WriteFiringScript(out, plan); !written) {
    ReportError(io, written.Message());
    return kExitBadInput;
  }
  io.Out << "written: " << out.string() << "\n";
  return args.Flags.count("--write-addresses") != 0 ? WriteAddressesBack(io, project, plan) : kExitDone;
}

int Import(const CliArgs& args, CliIo& io) {
  if (!args.Has("-o") || args.Has("--show")) {
    ReportError(io, "give --import FILE with -o CUES.csv (and no --show)");
    return kExitBadInput;
  }
  const Result<FiringProfile> profile = LoadFiringProfile(args.Has("--profile") ? args.Value("--profile") : "orvane");
  if (!profile) {
    ReportError(io, profile.Message());
    return kExitBadInput;
  }
  const fs::path input = args.Value("--import");
  const fs::path out = args.Value("-o");
  std::error_code ignored;
  if (const int status = CheckOutput(args, io, out, fs::equivalent(out, input, ignored)); status != kExitDone)
    return status;
  const Result<std::string> text = ReadSmallFile(input, kMaxScriptFileBytes);
  if (!text) {
    ReportError(io, text.Message());
    return kExitBadInput;
  }
  const Result<std::vector<Cue>> cues = ReadFiringScript(text.Value(), input.filename().string(), profile.Value());
  if (!cues) {
    ReportError(io, cues.Message());
    return kExitBadInput;
  }
  if (const std::string error = WriteFileSafely(out, CueListText(cues.Value())); !error.empty()) {
    ReportError(io, "could not write " + out.string() + ": " + error);
    return kExitBadInput;
  }
  io.Out << "cues: " << cues.Value().size() << "\nwritten: " << out.string() << "\n";
  return kExitDone;
}

int Script(const CliArgs& args, CliIo& io) { return args.Has("--import") ? Import(args, io) : Export(args, io); }

}  // namespace

CliCommand ScriptCommand() {
  return {"script",
          "writes a show's firing script in a profile's format (shipped: orvane, channel-cue, timecode-30, srt; or a "
          "profile file): cues without module and pin get addresses per position, every check runs first and a "
          "refusal writes nothing; --write-addresses keeps the addresses in cues.csv; --import reads an orvane "
          "script back into a cue list",
          "--show DIR --profile NAME|FILE -o FILE [--write-addresses] [--force] | --import FILE [--profile NAME|FILE] "
          "-o CUES.csv [--force]",
          "orvane-cli script --show examples/shows/harbour-night --profile channel-cue -o harbour-night.csv",
          {"--show", "--profile", "-o", "--import"},
          Script,
          {"--write-addresses", "--force"}};
}

}  // namespace orvane::cli
