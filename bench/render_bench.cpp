// Milliseconds per DrawFrame, headless on the software GL: scenery on, particles held on
// screen by a paused show, immediate mode, vertex-array quads and point sprites side by
// side. The sprite cases also print their wall and CPU time as a share of the vertex-array
// quads' in the same run (wall/quads, cpu/quads); every case prints the cores its frame
// kept busy (all threads' CPU time over wall time).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include <sstream>

#include "app/cli_command.h"
#include "compiler/show_reader.h"
#include "compiler/show_sink.h"
#include "compiler/show_writer.h"
#include "cpu_seconds.h"
#include "model/presets.h"
#include "playback_ticks.h"
#include "viewer/gl_headers.h"
#include "viewer/headless/headless_display.h"

namespace orvane {
namespace {

// A burst: particles on shells around a point above the stage, in warm colours.
std::filesystem::path SyntheticShow(int particles) {
  const auto path = std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(particles) + ".dat");
  if (std::filesystem::exists(path)) return path;
  ShowFileSink sink(path);
  ShowWriter writer(sink);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> unit(0, 1);
  for (int f = 0; f < 2; ++f) {
    writer.BeginFrame();
    for (int i = 0; i < particles; ++i) {
      const float a = unit(random) * 6.2831853f, b = std::acos(2 * unit(random) - 1), r = 0.5f + 2.0f * unit(random);
      writer.AddRecord(r * std::sin(b) * std::cos(a), 1 + r * std::cos(b), r * std::sin(b) * std::sin(a),
                       0.6f + 0.4f * unit(random), 0.3f + 0.5f * unit(random), 0.2f * unit(random), 0.8f, 6);
    }
    writer.EndFrame(f == 1);
  }
  writer.Finish();
  sink.Close();
  return path;
}

struct HeldFrame {
  std::filesystem::path Show;
  int64_t Index = 0;
  size_t Particles = 0;
};

// Preset k compiled with seed 1 through orvane-cli's own compile, and its busiest frame.
HeldFrame BusiestPresetFrame(int k) {
  HeldFrame held;
  held.Show = std::filesystem::temp_directory_path() / ("orvane-bench-preset-" + std::to_string(k) + ".dat");
  std::ostringstream out, err;
  cli::CliIo io{out, err, false};
  const std::string root = std::to_string(PresetDevices(k).front().Code);
  if (cli::RunCli({"compile", "--preset", std::to_string(k), "--root", root, "--seed", "1", "-o", held.Show.string()},
                  io) != cli::kExitDone) {
    throw std::runtime_error(err.str());
  }
  ShowFileReader reader;
  reader.Open(held.Show);
  ShowBlock block;
  int64_t index = 0;
  while (reader.ReadBlock(block) == ShowFileReader::Status::kBlock) {
    FrameCursor frames = block.Frames();
    ShowFrame frame;
    while (frames.Next(frame)) {
      if (frame.RecordCount() > held.Particles) {
        held.Particles = frame.RecordCount();
        held.Index = index;
      }
      ++index;
    }
  }
  return held;
}

// One display per show and size, paused on the frame to measure. They go before main
// returns: OSMesa tears itself down at exit, and a display outliving that crashes.
std::map<std::tuple<int, int, std::string>, std::unique_ptr<HeadlessDisplay>>& Displays() {
  static std::map<std::tuple<int, int, std::string>, std::unique_ptr<HeadlessDisplay>> displays;
  return displays;
}

HeadlessDisplay& DisplayHolding(int width, int height, const HeldFrame& held) {
  auto& display = Displays()[{width, height, held.Show.string()}];
  if (!display) {
    Result<std::unique_ptr<HeadlessDisplay>> made = HeadlessDisplay::Create(width, height);
    if (!made) throw std::runtime_error(made.Message());
    display = std::move(made.Value());
    if (const Result<> started = display->Start(held.Show); !started) throw std::runtime_error(started.Message());
    ShowPlayer& player = display->Model().Player();
    while (player.Active() && !(player.Playing() && player.CurrentFrame() == held.Index)) display->Tick();
    player.SetPaused(true);
  }
  display->Context().MakeCurrent();
  return *display;
}

const char* PathName(ParticlePath path) {
  switch (path) {
    case ParticlePath::Immediate: return "immediate";
    case ParticlePath::VertexArrays: return "quads (vertex arrays)";
    case ParticlePath::Sprites: return "sprites";
  }
  return "";
}

struct FrameCost {
  double Wall = 0, Cpu = 0;  // seconds per frame
};

// The vertex-array quads' cost per case, for the sprites that run after them.
std::map<std::string, FrameCost>& QuadCosts() {
  static std::map<std::string, FrameCost> costs;
  return costs;
}

void MeasureDrawFrame(benchmark::State& state, HeadlessDisplay& display, ParticlePath path, size_t particles,
                      const std::string& key) {
  DisplayCore& core = display.Core();
  core.Particles().SetPath(path);
  const auto wallStart = std::chrono::steady_clock::now();
  const double cpuStart = ThreadCpuSeconds();
  const double allCpuStart = ProcessCpuSeconds();
  for (auto _ : state) {
    core.DrawFrame();
    glFinish();
  }
  const double frames = static_cast<double>(state.iterations());
  const FrameCost cost{std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count() / frames,
                       (ThreadCpuSeconds() - cpuStart) / frames};
  // The rasterizer's threads work after the main thread hands over a frame; cores busy near
  // the machine's count says the frame is as short as its total work allows.
  state.counters["cores busy"] = (ProcessCpuSeconds() - allCpuStart) / frames / cost.Wall;
  if (path == ParticlePath::VertexArrays) QuadCosts()[key] = cost;
  if (path == ParticlePath::Sprites && QuadCosts().count(key)) {
    state.counters["wall/quads"] = cost.Wall / QuadCosts()[key].Wall;
    state.counters["cpu/quads"] = cost.Cpu / QuadCosts()[key].Cpu;
  }
  state.SetLabel(PathName(core.Particles().LastPath()));
  state.counters["particles"] = static_cast<double>(particles);
}

std::string CaseKey(const benchmark::State& state) {
  return std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)) + "/" + std::to_string(state.range(2));
}

// The synthetic shows hold their burst from the first frame on.
void BM_SyntheticFrame(benchmark::State& state) {
  const int particles = static_cast<int>(state.range(2));
  HeadlessDisplay& display = DisplayHolding(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                            HeldFrame{SyntheticShow(particles), 0, static_cast<size_t>(particles)});
  MeasureDrawFrame(state, display, static_cast<ParticlePath>(state.range(3)), static_cast<size_t>(particles),
                   "n" + CaseKey(state));
}

void BM_BusiestPresetFrame(benchmark::State& state) {
  static std::map<int, HeldFrame> frames;
  const int k = static_cast<int>(state.range(2));
  if (!frames.count(k)) frames[k] = BusiestPresetFrame(k);
  HeadlessDisplay& display =
      DisplayHolding(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), frames[k]);
  MeasureDrawFrame(state, display, static_cast<ParticlePath>(state.range(3)), frames[k].Particles,
                   "preset" + CaseKey(state));
  state.counters["frame"] = static_cast<double>(frames[k].Index);
}

// A show of 10 s: a rising stream of particles, then a finale of 100 000 for its last 2 s.
std::filesystem::path FinaleShow() {
  const auto path = std::filesystem::temp_directory_path() / "orvane-bench-finale.dat";
  if (std::filesystem::exists(path)) return path;
  ShowFileSink sink(path);
  ShowWriter writer(sink);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> unit(0, 1);
  constexpr int kFrames = 250, kFinale = 200, kFinaleParticles = 100000;
  for (int f = 0; f < kFrames; ++f) {
    writer.BeginFrame();
    const int particles = f < kFinale ? f * 100 : kFinaleParticles;
    for (int i = 0; i < particles; ++i) {
      const float a = unit(random) * 6.2831853f, b = std::acos(2 * unit(random) - 1);
      const float r = 0.3f + 2.5f * unit(random) * (f < kFinale ? 0.5f : 1.0f);
      writer.AddRecord(r * std::sin(b) * std::cos(a), 1.5f + r * std::cos(b), r * std::sin(b) * std::sin(a),
                       0.5f + 0.5f * unit(random), 0.3f + 0.6f * unit(random), 0.3f * unit(random),
                       0.4f + 0.6f * unit(random), static_cast<uint8_t>(2 + i % 8));
    }
    writer.EndFrame(f == kFrames - 1);
  }
  writer.Finish();
  sink.Close();
  return path;
}

// The finale show played through the player and the display's own frame drawing, as the
// window plays it: every tick is two pump periods and one render tick. A tick meets the
// 40 ms frame period when its render tick, drawing finished, takes no longer; the pump
// periods are left out, since headless they wait for the loader, which the window does not.
void BM_PlaybackFinale(benchmark::State& state) {
  const auto path = static_cast<ParticlePath>(state.range(0));
  const std::filesystem::path show = FinaleShow();
  std::vector<double> ticks;
  for (auto _ : state) {
    Result<std::unique_ptr<HeadlessDisplay>> made = HeadlessDisplay::Create(392, 324);
    if (!made) {
      state.SkipWithError(made.Message().c_str());
      return;
    }
    std::unique_ptr<HeadlessDisplay>& display = made.Value();
    display->Core().Particles().SetPath(path);
    if (const Result<> started = display->Start(show); !started) {
      state.SkipWithError(started.Message().c_str());
      return;
    }
    TimeRenderTicks(*display, ticks);
    state.SetLabel(PathName(display->Core().Particles().LastPath()));
  }
  ReportTicks(state, std::move(ticks));
}
BENCHMARK(BM_PlaybackFinale)
    ->Arg(static_cast<int>(ParticlePath::VertexArrays))
    ->Arg(static_cast<int>(ParticlePath::Sprites))
    ->ArgName("path")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

void Sizes(benchmark::internal::Benchmark* b, std::initializer_list<int> thirds, const char* third) {
  for (int n : thirds) {
    for (auto [w, h] : {std::pair{392, 324}, std::pair{640, 480}}) {
      for (ParticlePath path : {ParticlePath::Immediate, ParticlePath::VertexArrays, ParticlePath::Sprites}) {
        b->Args({w, h, n, static_cast<int>(path)});
      }
    }
  }
  b->ArgNames({"w", "h", third, "path"})->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
BENCHMARK(BM_BusiestPresetFrame)->Apply([](benchmark::internal::Benchmark* b) {
  Sizes(b, {1, 2, 3, 4, 5, 6}, "preset");
});
BENCHMARK(BM_SyntheticFrame)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, {50000, 100000}, "n"); });

}  // namespace

void CloseDisplays() { Displays().clear(); }

}  // namespace orvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  orvane::CloseDisplays();
  benchmark::Shutdown();
  return 0;
}
