// What products cost the show window. Figures (milliseconds a run):
//   BM_MeasureExampleProducts  every product of the example show measured afresh (an open)
//   BM_DesignAfterEdit         a 6 000-cue show built from the example's devices: after an
//                              edit, the break of every cue and the summary, as the window
//                              shows them (the measurements come from the cache)

#include <benchmark/benchmark.h>

#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "project/show_project.h"
#include "silent_dialogs.h"

namespace orvane {
namespace {

constexpr int kBigShowCues = 6000;

void BM_MeasureExampleProducts(benchmark::State& state) {
  ShowProject project(PrepareCompiledPart);
  SilentDialogs dialogs;
  if (!project.Open(ORVANE_EXAMPLE_SHOW, dialogs).Opened) {
    state.SkipWithError("the example show does not open");
    return;
  }
  for (auto _ : state) {
    DeviceMeasureCache cache;
    const ShowMeasures measures = MeasureShowDevices(project.Show(), project.Devices().Devices(), 1.0f, cache);
    benchmark::DoNotOptimize(measures.Figures.size());
  }
  state.counters["products"] = static_cast<double>(project.Products().Rows.size());
}
BENCHMARK(BM_MeasureExampleProducts)->Unit(benchmark::kMillisecond);

void BM_DesignAfterEdit(benchmark::State& state) {
  ShowProject project(PrepareCompiledPart);
  SilentDialogs dialogs;
  if (!project.Open(ORVANE_EXAMPLE_SHOW, dialogs).Opened) {
    state.SkipWithError("the example show does not open");
    return;
  }
  // Twenty minutes of the example's cues over and over, 300 a minute.
  std::vector<Cue> cues;
  for (int i = 0; i < kBigShowCues; ++i) {
    Cue cue = project.Cues()[static_cast<size_t>(i) % project.Cues().size()];
    cue.TimeMs = int64_t{i} * 200;
    cues.push_back(cue);
  }
  std::vector<size_t> all(project.Cues().size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  project.EditCues("Big show", MakeChange(project.Cues(), all, cues));
  benchmark::DoNotOptimize(project.Measures().Figures.size());
  bool odd = false;
  for (auto _ : state) {
    project.SetTitle(odd ? "a" : "b");
    odd = !odd;
    int64_t last = 0;
    for (size_t i = 0; i < project.Cues().size(); ++i) last = std::max(last, project.CueBreakMs(i));
    const DesignSummary summary = project.Summary();
    benchmark::DoNotOptimize(last);
    benchmark::DoNotOptimize(summary.Cues);
  }
  state.counters["cues"] = static_cast<double>(project.Cues().size());
  state.counters["measured"] = static_cast<double>(project.MeasureCompiles());
}
BENCHMARK(BM_DesignAfterEdit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
