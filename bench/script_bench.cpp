// What a firing script costs for a big show. Figures (milliseconds a run):
//   BM_PlanBigScript   a 6 000-cue show on six positions: addresses, checks and the text of
//                      the shipped-like "orvane" profile (every field)
//   BM_RehearsalTick   one refresh of the rehearsal dock (the next eight ignitions)

#include <benchmark/benchmark.h>

#include "project/firing_script.h"
#include "project/rehearsal.h"

namespace orvane {
namespace {

constexpr int kBigShowCues = 6000;

struct BigShow {
  BigShow() {
    for (const char* name : {"A", "B", "C", "D", "E", "F"}) Site.Positions.push_back({name, 0, 0, std::nullopt});
    for (int i = 0; i < kBigShowCues; ++i) {
      Cue cue;
      cue.TimeMs = int64_t{i} * 250;
      cue.Code = 101 + i % 5;
      cue.Position = Site.Positions[static_cast<size_t>(i % 6)].Name;
      cue.Label = "cue " + std::to_string(i);
      cue.Line = i + 2;
      Cues.push_back(cue);
    }
    for (int code = 101; code < 106; ++code) Products.Rows.push_back(Product{.Code = code, .Name = "Product"});
    Profile.Name = "orvane";
    Profile.Modules = 999;
    Profile.MaxShowLengthMs = int64_t{86'400} * 1000;
    for (int f = 0; f <= static_cast<int>(ScriptField::kZ); ++f)
      Profile.Columns.push_back({ScriptFieldName(static_cast<ScriptField>(f)), static_cast<ScriptField>(f)});
  }
  CueTableContext Context() const { return {Site, Products, nullptr, {}}; }
  ShowSite Site;
  ProductTable Products;
  std::vector<Cue> Cues;
  FiringProfile Profile;
};

void BM_PlanBigScript(benchmark::State& state) {
  const BigShow show;
  for (auto _ : state) {
    const FiringScriptPlan plan = PlanFiringScript({show.Cues, show.Context(), "Big", "2026-12-09"}, show.Profile);
    if (plan.Refused()) state.SkipWithError(plan.Problems.front().c_str());
    benchmark::DoNotOptimize(plan.Bytes.size());
  }
}
BENCHMARK(BM_PlanBigScript)->Unit(benchmark::kMillisecond);

void BM_RehearsalTick(benchmark::State& state) {
  const BigShow show;
  const AddressPlan plan = AssignAddresses(show.Cues, show.Site, show.Profile);
  int64_t now = 0;
  for (auto _ : state) {
    const std::string text = RehearsalText(NextIgnitions(show.Cues, plan.Addresses, show.Context(), now, 8));
    benchmark::DoNotOptimize(text.size());
    now = (now + 40) % (int64_t{kBigShowCues} * 250);
  }
}
BENCHMARK(BM_RehearsalTick)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
