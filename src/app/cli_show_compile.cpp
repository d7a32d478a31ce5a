// orvane-cli compile for shows: a show folder (--show DIR), or a device folder with a cue
// list (--devices DIR --cues FILE.csv), compiled into one show file with each cue's extent.

#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/cli_compile_run.h"
#include "app/cli_devices.h"
#include "app/cli_dialogs.h"
#include "app/cli_show.h"
#include "app/cue_extents_csv.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/show_record.h"
#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "project/show_project.h"
#include "show/cue_list.h"
#include "show/show_folder.h"
#include "show/show_root_cues.h"
#include "show/staged_files.h"
#include "util/terminal_text.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

struct LoadedShow {
  ShowDocument Document;
  std::string CueFile = kCueFileName;  // names the cue list in messages
};

int LoadCueFile(const CliArgs& args, CliIo& io, DeviceList& list, LoadedShow& show) {
  if (const int status = LoadCliDevices(args, io, list); status != kExitDone) return status;
  const fs::path path = args.Value("--cues");
  const Result<std::string> text = ReadSmallFile(path, kMaxCueFileBytes);
  if (!text) {
    ReportError(io, text.Message());
    return kExitBadInput;
  }
  show.CueFile = path.filename().string();
  Result<std::vector<Cue>> read = ReadCueList(text.Value(), show.CueFile, &list.Devices());
  if (!read) {
    ReportError(io, read.Message());
    return kExitBadInput;
  }
  show.Document.Cues = std::move(read.Value());
  return kExitDone;
}

// The cue's label on one line of the figures, with nothing a terminal would act on.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return TerminalText(text);
}

void PrintExtents(CliIo& io, const std::vector<Cue>& cues, const std::vector<CueExtent>& extents,
                  const ShowSite& site) {
  for (size_t i = 0; i < cues.size() && i < extents.size(); ++i) {
    const Cue& c = cues[i];
    const CueExtent& e = extents[i];
    const ExtentMetres m = MetresOfExtent(e, site);
    io.Out << "cue: line " << c.Line << ", code " << c.Code << ", fire " << CueTimeText(c.TimeMs) << " s";
    if (e.Seen) {
      io.Out << ", duration " << FormatFixed(e.Frames() / static_cast<double>(kFramesPerSecond), 2) << " s, height "
             << FormatFixed(m.Height, 1) << " m, radius " << FormatFixed(m.Radius, 1) << " m, lowest "
             << FormatFixed(m.Lowest, 1) << " m";
      if (m.BreakMs)
        io.Out << ", break " << CueTimeText(*m.BreakMs) << " s at " << FormatFixed(m.BreakHeight, 1) << " m";
    } else {
      io.Out << ", no particles";
    }
    if (e.Culled > 0) io.Out << ", culled " << e.Culled;
    io.Out << ", label \"" << OneLine(c.Label) << "\"\n";
  }
}

int WriteExtents(const CliArgs& args, CliIo& io, const std::vector<Cue>& cues, const std::vector<CueExtent>& extents,
                 const ShowSite& site) {
  const fs::path path = fs::absolute(args.Value("--extents"));
  if (const Result<> written =
          WriteFilesTogether(path.parent_path(), {{path.filename().string(), CueExtentsCsv(cues, extents, site)}});
      !written) {
    ReportError(io, written.Message());
    return kExitBadInput;
  }
  io.Out << "extents: " << args.Value("--extents") << "\n";
  return kExitDone;
}

// Extents in metres at the site's scale (the default site's for a bare cue list).
int FinishShowCompile(const CliArgs& args, CliIo& io, const std::vector<Cue>& cues, const std::string& cueFile,
                      const CompileJob& job, float scale, const ShowSite& site, CompiledShowFolder* kept = nullptr) {
  int notWritten = kExitBadInput;
  const std::optional<CompileOutcome> compiled = CompileAndPrintFigures(job, scale, io, cues.size(), notWritten);
  if (!compiled) return notWritten;
  const CompileOutcome& outcome = *compiled;
  PrintExtents(io, cues, outcome.Extents, site);
  if (const auto culled = CulledCuesWarning(cues, outcome.Extents, cueFile)) ReportError(io, *culled);
  if (args.Has("--extents")) {
    if (const int status = WriteExtents(args, io, cues, outcome.Extents, site); status != kExitDone) return status;
  }
  if (kept && job.Cues) *kept = {*job.Cues, outcome.Extents};
  return WrittenShowStatus(outcome, io);
}

// A show folder compiles as the show window compiles it: through the project, at the show's
// seed unless --seed gives another.
int CompileShowFolder(const CliArgs& args, CliIo& io, float scaleValue, CompileJob job,
                      CompiledShowFolder* compiled = nullptr) {
  ShowCompileRequest request;
  if (const int status = ReadCliSeed(args, io, request.Seed); status != kExitDone) return status;
  ShowProject project(PrepareCompiledPart);
  if (const int status = OpenCliShow(args, io, project); status != kExitDone) return status;
  if (project.Cues().empty()) {
    ReportError(io, std::string(kCueFileName) + " holds no cues.");
    return kExitBadInput;
  }
  request.Output = job.Output;
  request.Limits = job.Limits;
  if (args.Has("--scale")) request.Scale = scaleValue;
  ShowCompileAnswer answer = project.RequestCompile(request);
  if (!answer.Ok()) {
    ReportError(io, answer.Refusal.Message);
    return answer.Refusal.Kind == CompileRefusalKind::kRecursive ? kExitRefused : kExitBadInput;
  }
  io.Out << "seed: " << answer.Plan->Seed << "\n";
  return FinishShowCompile(args, io, project.Cues(), kCueFileName, answer.Plan->Job, answer.Plan->Scale, project.Site(),
                           compiled);
}

}  // namespace

int CompileShowFolderInto(const CliArgs& args, CliIo& io, const std::filesystem::path& file,
                          CompiledShowFolder* compiled) {
  CompileJob job;
  job.Output = file;
  job.Limits.Disk = DiskSpaceGuard{kTemporaryShowMinFreeBytes};
  std::ostringstream figures;
  CliIo quiet{figures, io.Err, io.ErrIsTerminal, io.Stop};
  return CompileShowFolder(args, quiet, 1.0f, std::move(job), compiled);
}

int OpenCliShow(const CliArgs& args, CliIo& io, ShowProject& project) {
  const fs::path folder = args.Value("--show");
  StderrDialogs dialogs(io.Err);
  const ProjectOpenReport report = project.Open(folder, dialogs);
  if (!report.Opened) {
    ReportError(io, report.Opened.Message());
    return kExitBadInput;
  }
  if (args.Verbose()) {
    for (const SkippedFile& s : report.Devices.Skipped) ReportError(io, "skipped " + s.Path.string() + ": " + s.Reason);
    io.Err << "orvane-cli: " << report.Devices.Loaded << " devices loaded from " << folder.string() << "\n";
  }
  // The list's own error box has shown the message; a load cut short must not go on.
  if (report.Devices.Error) return kExitBadInput;
  if (report.MusicMissing)
    ReportError(io,
                "the show's music \"" + project.MusicPath()->string() + "\" is missing; the show compiles without it");
  return kExitDone;
}

int CompileCueList(const CliArgs& args, CliIo& io, float scaleValue, CompileJob job) {
  if (args.Has("--show") == args.Has("--cues")) {
    ReportError(io, "give either --show DIR or --devices DIR with --cues FILE.csv");
    return kExitBadInput;
  }
  if (args.Has("--root") || (args.Has("--show") && (args.Has("--devices") || args.Has("--preset")))) {
    ReportError(io, "a show brings its own devices and cues: --root, --devices and --preset do not go with --show");
    return kExitBadInput;
  }
  if (args.Has("--show")) return CompileShowFolder(args, io, scaleValue, std::move(job));
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  LoadedShow show;
  if (const int loaded = LoadCueFile(args, io, list, show); loaded != kExitDone) return loaded;
  const std::vector<Cue>& cues = show.Document.Cues;
  if (cues.empty()) {
    ReportError(io, show.CueFile + " holds no cues.");
    return kExitBadInput;
  }

  ShowRoots shown = ShowRootCues(cues, list.Devices(), show.Document.Settings.Site);
  if (shown.MissingDevice) {
    // The cue list reader checked every code against these devices already.
    ReportError(io, NoDeviceMessage(cues[*shown.MissingDevice].Code));
    return kExitBadInput;
  }
  if (shown.MissingPosition) {
    // A cue list given with --cues has no site: any position it names is unknown.
    ReportError(io, UnknownPositionMessage(cues[*shown.MissingPosition], cues[*shown.MissingPosition].Line));
    return kExitBadInput;
  }
  std::vector<RootCue>& roots = shown.Cues;
  const DeviceLookup lookup = [&list](int32_t code) { return list.FindByCode(code); };
  size_t failed = 0;
  switch (TakeCueSnapshot(roots, lookup, job.Snapshot, &failed)) {
    case SnapshotStatus::kNoRoot: ReportError(io, NoDeviceMessage(roots[failed].Code)); return kExitBadInput;
    case SnapshotStatus::kRecursive:
      io.Err << kRecursivityRefusal << "\n";
      ReportError(io, "the chain of device " + std::to_string(roots[failed].Code) + " (" + show.CueFile + " line " +
                          std::to_string(cues[failed].Line) + ") runs into a cycle");
      return kExitRefused;
    case SnapshotStatus::kReady: break;
  }
  job.Cues = std::move(roots);
  return FinishShowCompile(args, io, cues, show.CueFile, job, scaleValue, show.Document.Settings.Site);
}

}  // namespace orvane::cli
