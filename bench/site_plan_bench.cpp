// The site plan of a large show: 6000 cues at 60 positions along a 300 m front, each with
// a measured spread and a fallout outline in every sector, under a line and an area of
// audience (the extents are made up: the compile is not what this measures).
//   BM_PlanNumbers   the plan's numbers: circles, outlines, distances, violations
//   BM_PlanFile/0    numbers and an A4 PDF; /1 SVG; /2 PNG at 150 dpi
// The target is 2 s for any of them; the medians of three runs are the figures.

#include <benchmark/benchmark.h>

#include <random>

#include "export/site_plan_drawing.h"
#include "project/site_plan.h"
#include "show/site_units.h"

namespace orvane {
namespace {

constexpr size_t kCues = 6000;
constexpr size_t kPositions = 60;

struct BigShow {
  CompiledExtents Compiled;
  ShowSite Site;
  ProductTable Products;
  SafetyRule Rule{"70ft-per-inch", "70 ft per inch of calibre", "bench", 0.84, 0};

  BigShow() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (size_t p = 0; p < kPositions; ++p)
      Site.Positions.push_back({"P" + std::to_string(p), -150.0 + 300.0 * p / (kPositions - 1), 0, std::nullopt});
    Site.Audience = {{"Quay", AudienceKind::kLine, {{-200, 140}, {0, 150}, {200, 140}}},
                     {"Park", AudienceKind::kArea, {{200, -50}, {260, -50}, {260, 50}, {200, 50}}}};
    for (int32_t code = 1; code <= 20; ++code) {
      Product product;
      product.Code = code;
      product.CalibreMm = 25.0 + 5 * code;
      Products.Rows.push_back(product);
    }
    Compiled.Site = Site;
    for (size_t i = 0; i < kCues; ++i) {
      Cue cue;
      cue.Code = 1 + static_cast<int32_t>(i % 20);
      cue.Position = Site.Positions[i % kPositions].Name;
      cue.Line = static_cast<int>(i) + 2;
      const SitePosition& at = Site.Positions[i % kPositions];
      const UnitPoint start = UnitsFromMetres(Site, {at.X, at.Z, 0});
      CueExtent e;
      e.Seen = true;
      e.Radius = (20 + 80 * unit(random)) / Site.MetresPerUnit;
      e.Height = (60 + 150 * unit(random)) / Site.MetresPerUnit;
      e.Broke = true;
      e.BreakHeight = e.Height * 0.8;
      e.FellLow = true;
      for (double& reach : e.FalloutReach) reach = e.Radius * unit(random);
      Compiled.Cues.push_back(cue);
      Compiled.Roots.push_back({static_cast<uint32_t>(i), cue.Code, start.X, start.Y, start.Z});
      Compiled.Extents.push_back(e);
    }
  }
};

const BigShow& Show() {
  static const BigShow show;
  return show;
}

void BM_PlanNumbers(benchmark::State& state) {
  const BigShow& show = Show();
  for (auto _ : state) {
    const SitePlan plan = MakeSitePlan(show.Compiled, show.Site, show.Products, show.Rule);
    benchmark::DoNotOptimize(plan.Violations.size());
  }
}
BENCHMARK(BM_PlanNumbers)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_PlanFile(benchmark::State& state) {
  EnsureDrawingApplication();
  const BigShow& show = Show();
  const PlanFormat format = static_cast<PlanFormat>(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    const SitePlan plan = MakeSitePlan(show.Compiled, show.Site, show.Products, show.Rule);
    const Result<std::string> file = SitePlanBytes(plan, "Big show", format, PaperSize::kA4);
    if (!file) state.SkipWithError(file.Message().c_str());
    bytes = file ? file.Value().size() : 0;
  }
  state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_PlanFile)
    ->Arg(static_cast<int>(PlanFormat::kPdf))
    ->Arg(static_cast<int>(PlanFormat::kSvg))
    ->Arg(static_cast<int>(PlanFormat::kPng))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
