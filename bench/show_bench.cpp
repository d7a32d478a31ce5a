// Show compile speed: a generated show of 300 cues over 5 minutes, each firing one of the
// six presets' first devices at a random place, compiled seeded on one thread into memory
// (a sink that counts the bytes). Counters:
//   realtime   show seconds per compile second (how much faster than it plays)
//   records/s  particle records written per second of compile time
//   peak-MiB   the process's peak resident memory after the runs

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <random>

#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "silent_dialogs.h"
#include "util/random.h"

namespace orvane {
namespace {

constexpr uint32_t kSeed = 7;
constexpr int kCues = 300;
constexpr uint32_t kShowFrames = 5 * 60 * 25;

struct GeneratedShow {
  CompiledParts Parts;  // every preset's devices; their codes do not overlap
  std::vector<RootCue> Cues;
  uint32_t StartSeed = 0;
};

GeneratedShow Generate() {
  GeneratedShow show;
  EnableSeededMode(kSeed);
  SilentDialogs dialogs;
  for (int k = 1; k <= kPresetCount; ++k) {
    DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
    ApplyPreset(k, list, dialogs);
    for (auto& part : list.CompiledSnapshot()) show.Parts.push_back(part);
  }
  show.StartSeed = RandomSeed();
  std::mt19937 pick(12345);
  std::uniform_int_distribution<uint32_t> frame(0, kShowFrames - 1);
  std::uniform_int_distribution<int> preset(1, kPresetCount);
  std::uniform_real_distribution<float> across(-8.0f, 8.0f), depth(-3.0f, 3.0f);
  for (int i = 0; i < kCues; ++i) {
    const int32_t code = PresetDevices(preset(pick)).front().Code;
    const auto part = FindByCode(show.Parts, code);
    show.Cues.push_back({frame(pick), code, across(pick), part->BestY, depth(pick)});
  }
  return show;
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ShowOf300Cues(benchmark::State& state) {
  const GeneratedShow show = Generate();
  const DeviceLookup lookup = [&show](int32_t code) { return FindByCode(show.Parts, code); };
  uint64_t records = 0, frames = 0, bytes = 0;
  for (auto _ : state) {
    SetRandomSeed(show.StartSeed);
    SetList sets;
    CTrail trail;
    CompileSnapshot snapshot;
    TakeCueSnapshot(show.Cues, lookup, snapshot);
    const std::atomic<float> scale{1.0f};
    CompileContext context{sets, trail, snapshot, scale};
    // /1: with the fallout gathered, as a show's compile does (10 m above the default ground).
    if (state.range(0) != 0) context.FalloutCeilingY = -2.0 + 10.0 / 20.0;
    ShowCountingSink sink;
    const CompileOutcome outcome = CompileCuesToSink(context, show.Cues, sink, nullptr);
    records += outcome.Records;
    frames += outcome.Frames;
    bytes += sink.ByteCount;
  }
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 25.0, benchmark::Counter::kIsRate);
  const double runs = static_cast<double>(state.iterations());
  state.counters["show-s"] = static_cast<double>(frames) / 25.0 / runs;
  state.counters["show-MiB"] = static_cast<double>(bytes) / runs / (1024.0 * 1024.0);
  state.counters["peak-MiB"] = PeakMiB();
  DisableSeededMode();
}

BENCHMARK(BM_ShowOf300Cues)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
