// Compile speed: the six presets, seeded, into memory and into a file, and a steady
// stream of stars for the record rate of the frame loop. Counters:
//   records/s      particle records written per second of compile time
//   realtime       show seconds per compile second (how much faster than it plays)
//   records/cpu-s  records per second of the compile thread's own CPU time, which a
//                  machine busy with other work does not inflate
//   ratio          (BM_TrailsAgainstStars) the trail shell's records/cpu-s over the
//                  plain shell's, both compiled in turn in the same run

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "cpu_seconds.h"
#include "model/device_list.h"
#include "model/device_lookup.h"
#include "model/presets.h"
#include "silent_dialogs.h"
#include "util/random.h"

namespace orvane {
namespace {

constexpr uint32_t kSeed = 7;

// The devices of a show, prepared in seeded mode, and the seed state the compile starts
// from. Each compile takes its own snapshot, as a real one does, so the per-device
// tables are built inside the timing; `Steady` keeps one snapshot, built beforehand.
struct PreparedShow {
  std::vector<std::shared_ptr<const TCompDevice>> Parts;
  int32_t Root = 0;
  uint32_t StartSeed = 0;
  bool Steady = false;
  CompileSnapshot Kept;

  CompileSnapshot& Snapshot(CompileSnapshot& fresh) {
    if (Steady) return Kept;
    TakeSnapshot(
        Root, [this](int32_t code) { return FindByCode(Parts, code); }, fresh);
    return fresh;
  }
};

std::unique_ptr<PreparedShow> PreparePreset(int k) {
  EnableSeededMode(kSeed);
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  SilentDialogs dialogs;
  ApplyPreset(k, list, dialogs);
  auto show = std::make_unique<PreparedShow>();
  show->Parts = list.CompiledSnapshot();
  show->Root = PresetDevices(k).front().Code;
  show->StartSeed = RandomSeed();
  return show;
}

// A large explosive shell: 60000 stars of 100 frames, no trail, no chain.
std::unique_ptr<PreparedShow> PrepareSteadyShell(bool trail) {
  EnableSeededMode(kSeed);
  TBaseDevice d;
  d.Definition.Code = 1;
  d.OpeningXY = 360;
  d.OpeningXZ = 180;
  d.StarQuantity = 60000;
  d.StarKind = StarKind::Explosive;
  d.TrailExists = trail;
  d.TrailLife = 20;
  d.StarWeight = 10;
  d.StarSpeed = 20;
  d.StarResistance = 10;
  d.StarSize = 10;
  d.SpeedKind = SpeedKind::Random;
  d.EffectLength = 4000;
  d.MinStarLife = 100;
  d.MaxStarLife = 100;
  PrepareCompiledPart(d);
  auto show = std::make_unique<PreparedShow>();
  show->Steady = true;
  PrepareSnapshotDevice(show->Kept.Add(1, d.Compiled));
  show->Kept.SetRoot(1);
  show->StartSeed = RandomSeed();
  return show;
}

// nextSink gives the sink for the next compile.
template <typename NextSink>
void RunCompiles(benchmark::State& state, PreparedShow& show, NextSink nextSink) {
  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{1.0f};
  uint64_t records = 0, frames = 0;
  const double cpuStart = ThreadCpuSeconds();
  for (auto _ : state) {
    SetRandomSeed(show.StartSeed);
    ShowSink& sink = nextSink();
    CompileSnapshot fresh;
    CompileContext context{sets, trail, show.Snapshot(fresh), scale};
    const CompileOutcome outcome = CompileRootToSink(context, sink, nullptr);
    sink.Close();
    records += outcome.Records;
    frames += outcome.Frames;
    benchmark::DoNotOptimize(outcome.Records);
  }
  const double cpu = ThreadCpuSeconds() - cpuStart;
  state.counters["records/cpu-s"] = cpu > 0 ? static_cast<double>(records) / cpu : 0.0;
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 25.0, benchmark::Counter::kIsRate);
  state.counters["records"] = static_cast<double>(records) / static_cast<double>(state.iterations());
}

std::filesystem::path BenchFile() { return std::filesystem::temp_directory_path() / "orvane-compile-bench.dat"; }

void BM_PresetInMemory(benchmark::State& state) {
  const auto show = PreparePreset(static_cast<int>(state.range(0)));
  // One buffer for all compiles, as a player that keeps the show in memory would.
  ShowMemorySink memory;
  RunCompiles(state, *show, [&]() -> ShowSink& {
    memory.Bytes.clear();
    return memory;
  });
  DisableSeededMode();
}

void BM_PresetToFile(benchmark::State& state) {
  const auto show = PreparePreset(static_cast<int>(state.range(0)));
  std::unique_ptr<ShowFileSink> file;
  RunCompiles(state, *show, [&]() -> ShowSink& {
    file = std::make_unique<ShowFileSink>(BenchFile());
    return *file;
  });
  file.reset();
  std::filesystem::remove(BenchFile());
  DisableSeededMode();
}

// The frame loop alone: records are encoded and counted, nothing is stored.
void BM_SteadyStars(benchmark::State& state) {
  const auto show = PrepareSteadyShell(state.range(0) != 0);
  ShowCountingSink counter;
  RunCompiles(state, *show, [&]() -> ShowSink& { return counter; });
  DisableSeededMode();
}

// The trail-heavy shell against the plain one, compile for compile in the same run, so
// that a busy machine weighs on both alike: records per CPU-second of each and their
// ratio (trails / stars).
void BM_TrailsAgainstStars(benchmark::State& state) {
  const auto stars = PrepareSteadyShell(false);
  const auto trails = PrepareSteadyShell(true);
  ShowCountingSink counter;
  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{1.0f};
  double cpu[2] = {0, 0};
  uint64_t records[2] = {0, 0};
  auto compile = [&](PreparedShow& show, int k) {
    SetRandomSeed(show.StartSeed);
    CompileSnapshot fresh;
    CompileContext context{sets, trail, show.Snapshot(fresh), scale};
    const double start = ThreadCpuSeconds();
    const CompileOutcome outcome = CompileRootToSink(context, counter, nullptr);
    cpu[k] += ThreadCpuSeconds() - start;
    records[k] += outcome.Records;
  };
  for (auto _ : state) {
    compile(*stars, 0);
    compile(*trails, 1);
  }
  const double starRate = cpu[0] > 0 ? static_cast<double>(records[0]) / cpu[0] : 0.0;
  const double trailRate = cpu[1] > 0 ? static_cast<double>(records[1]) / cpu[1] : 0.0;
  state.counters["stars/cpu-s"] = starRate;
  state.counters["trails/cpu-s"] = trailRate;
  state.counters["ratio"] = starRate > 0 ? trailRate / starRate : 0.0;
  DisableSeededMode();
}

BENCHMARK(BM_PresetInMemory)->DenseRange(1, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PresetToFile)->DenseRange(1, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SteadyStars)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TrailsAgainstStars)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
