// orvane-cli siteplan: a show's site plan to scale (PDF, SVG or PNG) from one compile of the
// show, the legend table as CSV, and the safety check.

#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/cli_command.h"
#include "app/cli_compile_run.h"
#include "app/cli_outputs.h"
#include "app/cli_show.h"
#include "compiler/compiled_device_prep.h"
#include "export/site_plan_drawing.h"
#include "project/safety_rule.h"
#include "project/site_plan.h"
#include "show/cue_list.h"
#include "util/data_folders.h"
#include "util/safe_file.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

// Compiles the show to measure it, writing nothing; the project keeps the extents.
int CompileForPlan(CliIo& io, ShowProject& project) {
  const ShowCompileRequest request;  // no output: measured only
  const ShowCompileAnswer answer = project.RequestCompile(request);
  if (!answer.Ok()) return Refuse(io, answer.Refusal.Message);
  std::ostringstream figures;
  CliIo quiet{figures, io.Err, io.ErrIsTerminal, io.Stop};
  int failed = kExitBadInput;
  project.CompileStarted(*answer.Plan);
  const std::optional<CompileOutcome> outcome =
      CompileAndPrintFigures(answer.Plan->Job, answer.Plan->Scale, quiet, project.Cues().size(), failed);
  if (!outcome) return failed;
  project.CompileEnded(*outcome);
  if (!project.LastCompiled()) return Refuse(io, "the compile measured nothing");
  return kExitDone;
}

int WriteOutput(CliIo& io, const fs::path& path, const std::string& bytes) {
  if (const std::string error = WriteFileSafely(path, bytes); !error.empty())
    return Refuse(io, "could not write " + path.string() + ": " + error);
  io.Out << "written: " << path.string() << "\n";
  return kExitDone;
}

int SitePlanRun(const CliArgs& args, CliIo& io) {
  if (!args.Has("--show") || (!args.Has("-o") && !args.Has("--table") && args.Flags.count("--check") == 0))
    return Refuse(io, "give --show DIR and at least one of -o PLAN.pdf|svg|png, --table FILE.csv and --check");
  std::optional<PlanFormat> format;
  if (args.Has("-o")) {
    format = PlanFormatOf(args.Value("-o"));
    if (!format) return Refuse(io, "-o " + args.Value("-o") + ": the plan is written as .pdf, .svg or .png");
  }
  PaperSize paper = PaperSize::kA4;
  if (args.Has("--paper")) {
    if (args.Value("--paper") == "a3") paper = PaperSize::kA3;
    else if (args.Value("--paper") != "a4") return Refuse(io, "--paper is a4 or a3");
  }
  std::vector<CliOutput> outputs;
  if (args.Has("-o")) outputs.push_back({"-o", args.Value("-o")});
  if (args.Has("--table")) outputs.push_back({"--table", args.Value("--table")});
  // The show's own safety rules are inputs too.
  std::vector<fs::path> inputs = CliInputFiles(args);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(args.Value("--show")) / kSafetyRulesFolderName, error))
    inputs.push_back(entry.path());
  if (const int status = CheckCliOutputs(io, outputs, inputs); status != kExitDone) return status;

  ShowProject project(PrepareCompiledPart);
  if (const int status = OpenCliShow(args, io, project); status != kExitDone) return status;
  const Result<SafetyRule> rule = LoadSafetyRule(project.Site().SafetyRule, project.Folder());
  if (!rule) return Refuse(io, rule.Message());
  if (project.Cues().empty()) return Refuse(io, std::string(kCueFileName) + " holds no cues.");
  if (const int status = CompileForPlan(io, project); status != kExitDone) return status;
  const SitePlan plan = MakeSitePlan(*project.LastCompiled(), project.Site(), project.Products(), rule.Value());

  io.Out << "rule: " << plan.Rule.Name << " (" << plan.Rule.Title << ")\n"
         << "positions: " << plan.Positions.size() << "\n"
         << "cues: " << plan.Cues.size() << "\n"
         << "violations: " << plan.Violations.size() << "\n";
  if (args.Has("-o")) {
    EnsureDrawingApplication();
    const Result<std::string> bytes = SitePlanBytes(plan, project.Title(), *format, paper);
    if (!bytes) return Refuse(io, bytes.Message());
    if (const int status = WriteOutput(io, args.Value("-o"), bytes.Value()); status != kExitDone) return status;
  }
  if (args.Has("--table")) {
    if (const int status = WriteOutput(io, args.Value("--table"), LegendCsv(plan)); status != kExitDone) return status;
  }
  if (args.Flags.count("--check") != 0) {
    for (const PlanViolation& v : plan.Violations) io.Out << "violation: " << ViolationText(plan, v) << "\n";
    if (!plan.Violations.empty()) {
      ReportError(io, std::to_string(plan.Violations.size()) + " safety violation(s)");
      return kExitBadInput;
    }
    io.Out << "check: every position clears the audience\n";
  }
  return kExitDone;
}

}  // namespace

CliCommand SitePlanCommand() {
  return {"siteplan",
          "draws a show's site plan to scale from one compile of the show: firing positions, the safety rule's "
          "circle for the largest calibre at each (site.safety_rule in show.json: 70ft-per-inch, 1m-per-mm or a "
          "rule of the show's own safety-rules folder), measured spreads and fallout (particles below 10 m), the "
          "audience, a side view and the legend; --table writes the legend as CSV; --check prints every violation "
          "and exits 1 when there is one",
          "--show DIR [-o PLAN.pdf|PLAN.svg|PLAN.png] [--paper a4|a3] [--table FILE.csv] [--check]",
          "orvane-cli siteplan --show examples/shows/harbour-night -o harbour-night-plan.pdf --check",
          {"--show", "-o", "--table", "--paper"},
          SitePlanRun,
          {"--check"}};
}

}  // namespace orvane::cli
