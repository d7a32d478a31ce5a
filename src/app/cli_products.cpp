// orvane-cli products and summary: a show's products with their measured figures, and what
// the show needs and costs.

#include <filesystem>
#include <ostream>

#include "app/cli_command.h"
#include "app/cli_devices.h"
#include "app/cli_show.h"
#include "compiler/compiled_device_prep.h"
#include "model/record_decimals.h"
#include "show/break_time.h"
#include "show/calibre_rule.h"
#include "show/design_summary.h"
#include "show/show_measures.h"
#include "util/terminal_text.h"

namespace orvane::cli {
namespace {

struct MeasuredShow {
  ShowProject Project{PrepareCompiledPart};
  ShowMeasures Measures;
};

// Measured at the show's scale (or 1) from the measurement's seed, or --seed.
int OpenAndMeasure(const CliArgs& args, CliIo& io, MeasuredShow& show) {
  if (!args.Has("--show")) {
    ReportError(io, "give --show DIR");
    return kExitBadInput;
  }
  std::optional<uint32_t> seed;
  if (const int status = ReadCliSeed(args, io, seed); status != kExitDone) return status;
  if (const int status = OpenCliShow(args, io, show.Project); status != kExitDone) return status;
  DeviceMeasureCache cache;
  show.Measures = MeasureShowDevices(show.Project.Show(), show.Project.Devices().Devices(),
                                     show.Project.Settings().Scale.value_or(1.0f), cache, seed.value_or(kMeasureSeed));
  return kExitDone;
}

void PrintMeasured(CliIo& io, const char* kind, int32_t code, const Product* row, const ShowMeasures& measures) {
  io.Out << kind << ": " << code;
  if (row != nullptr) {
    io.Out << ", \"" << TerminalText(row->Name) << "\", " << ProductTypeName(row->Type);
    if (row->CalibreMm) io.Out << ", " << Float64Text(*row->CalibreMm) << " mm";
  } else {
    io.Out << ", no product row";
  }
  if (const auto f = measures.Figures.find(code); f != measures.Figures.end())
    io.Out << ", " << ProductFiguresText(row, f->second) << "\n";
  else io.Out << ", not measured: " << TerminalText(measures.Failed.at(code)) << "\n";
}

int Products(const CliArgs& args, CliIo& io) {
  MeasuredShow show;
  if (const int status = OpenAndMeasure(args, io, show); status != kExitDone) return status;
  const ShowDocument& doc = show.Project.Show();
  io.Out << "metres-per-unit: " << Float64Text(doc.Settings.Site.MetresPerUnit) << "\n";
  for (const Product& row : doc.Products.Rows) PrintMeasured(io, "product", row.Code, &row, show.Measures);
  // Devices the cues fire that no row describes, once each.
  for (const auto& [code, figures] : show.Measures.Figures)
    if (FindProduct(doc.Products, code) == nullptr) PrintMeasured(io, "device", code, nullptr, show.Measures);
  for (const auto& [code, why] : show.Measures.Failed)
    if (FindProduct(doc.Products, code) == nullptr) PrintMeasured(io, "device", code, nullptr, show.Measures);
  return kExitDone;
}

int Summary(const CliArgs& args, CliIo& io) {
  MeasuredShow show;
  if (const int status = OpenAndMeasure(args, io, show); status != kExitDone) return status;
  const DesignSummary summary = SummarizeDesign(show.Project.Show(), show.Measures.Figures);
  io.Out << TerminalText(args.Flags.count("--csv") != 0 ? DesignSummaryCsv(summary) : DesignSummaryText(summary));
  return kExitDone;
}

}  // namespace

CliCommand ProductsCommand() {
  return {"products",
          "measures every product of a show (and every device its cues fire without a product row), each compiled "
          "alone from a fixed seed (--seed: another): prefire, break height beside the calibre rule, spread, top "
          "and duration, in metres and seconds",
          "--show DIR [--seed S]",
          "orvane-cli products --show examples/shows/harbour-night",
          {"--show", "--seed"},
          Products};
}

CliCommand SummaryCommand() {
  return {"summary",
          "what a show needs and costs: cues, products used against stock (short stock flagged), cost, cues per "
          "position and per calibre, first and last break, length; --csv for a table",
          "--show DIR [--csv] [--seed S]",
          "orvane-cli summary --show examples/shows/harbour-night --csv",
          {"--show", "--seed"},
          Summary,
          {"--csv"}};
}

}  // namespace orvane::cli
