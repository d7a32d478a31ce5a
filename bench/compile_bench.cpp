// Compile speed: the six presets, seeded, into memory and into a file, and a steady
// stream of stars for the record rate of the frame loop. Counters:
//   records/s      particle records written per second of compile time
//   realtime       show seconds per compile second (how much faster than it plays)

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "util/random.h"

namespace orvane {
namespace {

constexpr uint32_t kSeed = 7;

class SilentDialogs : public UserDialogs {
 public:
  DialogAnswer Message(DialogKind, DialogButtons, const std::string&, const std::string&) override {
    return DialogAnswer::Ok;
  }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return std::nullopt; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return std::nullopt; }
};

// The devices of a preset, prepared in seeded mode, and the seed state the compile starts from.
struct PreparedShow {
  CompileSnapshot Snapshot;
  uint32_t StartSeed = 0;
};

std::unique_ptr<PreparedShow> PreparePreset(int k) {
  EnableSeededMode(kSeed);
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  SilentDialogs dialogs;
  ApplyPreset(k, list, dialogs);
  auto show = std::make_unique<PreparedShow>();
  const int32_t root = PresetDevices(k).front().Code;
  TakeSnapshot(root, [&list](int32_t code) { return list.FindByCode(code); }, show->Snapshot);
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
  d.StarKind = 2;
  d.TrailExists = trail;
  d.TrailLife = 20;
  d.StarWeight = 10;
  d.StarSpeed = 20;
  d.StarResistance = 10;
  d.StarSize = 10;
  d.SpeedKind = 1;
  d.EffectLength = 4000;
  d.MinStarLife = 100;
  d.MaxStarLife = 100;
  PrepareCompiledPart(d);
  auto show = std::make_unique<PreparedShow>();
  show->Snapshot.Add(1, d.Compiled);
  show->Snapshot.SetRoot(1);
  show->StartSeed = RandomSeed();
  return show;
}

template <typename MakeSink>
void RunCompiles(benchmark::State& state, const PreparedShow& show, MakeSink makeSink) {
  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{1.0f};
  uint64_t records = 0, frames = 0;
  for (auto _ : state) {
    SetRandomSeed(show.StartSeed);
    auto sink = makeSink();
    CompileContext context{sets, trail, show.Snapshot, scale};
    const CompileOutcome outcome = CompileRootToSink(context, *sink, nullptr);
    sink->Close();
    records += outcome.Records;
    frames += outcome.Frames;
    benchmark::DoNotOptimize(outcome.Records);
  }
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 25.0, benchmark::Counter::kIsRate);
  state.counters["records"] = static_cast<double>(records) / static_cast<double>(state.iterations());
}

std::filesystem::path BenchFile() { return std::filesystem::temp_directory_path() / "orvane-compile-bench.dat"; }

void BM_PresetInMemory(benchmark::State& state) {
  const auto show = PreparePreset(static_cast<int>(state.range(0)));
  RunCompiles(state, *show, [] { return std::make_unique<ShowMemorySink>(); });
  DisableSeededMode();
}

void BM_PresetToFile(benchmark::State& state) {
  const auto show = PreparePreset(static_cast<int>(state.range(0)));
  RunCompiles(state, *show, [] { return std::make_unique<ShowFileSink>(BenchFile()); });
  std::filesystem::remove(BenchFile());
  DisableSeededMode();
}

// The frame loop alone: records are encoded and counted, nothing is stored.
void BM_SteadyStars(benchmark::State& state) {
  const auto show = PrepareSteadyShell(state.range(0) != 0);
  RunCompiles(state, *show, [] { return std::make_unique<ShowCountingSink>(); });
  DisableSeededMode();
}

BENCHMARK(BM_PresetInMemory)->DenseRange(1, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresetToFile)->DenseRange(1, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SteadyStars)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
