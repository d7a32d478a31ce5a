// Milliseconds per DrawFrame, headless on the software GL: scenery on, particles held on
// screen by a paused show, immediate mode and vertex arrays side by side.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "compiler/show_sink.h"
#include "compiler/show_writer.h"
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

// One display per size, its show paused on the first frame with particles.
HeadlessDisplay& DisplayHolding(int width, int height, int particles) {
  static std::map<std::tuple<int, int, int>, std::unique_ptr<HeadlessDisplay>> displays;
  auto& display = displays[{width, height, particles}];
  if (!display) {
    std::string error;
    display = HeadlessDisplay::Create(width, height, error);
    if (!display) throw std::runtime_error(error);
    display->Start(SyntheticShow(particles));
    while (!display->Core().Player().Playing()) display->Tick();
    display->Tick();
    display->Core().Player().SetPaused(true);
  }
  display->Context().MakeCurrent();
  return *display;
}

void BM_DrawFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const int particles = static_cast<int>(state.range(2));
  HeadlessDisplay& display = DisplayHolding(width, height, particles);
  DisplayCore& core = display.Core();
  core.Particles().SetPath(state.range(3) != 0 ? ParticlePath::VertexArrays : ParticlePath::Immediate);
  for (auto _ : state) {
    core.DrawFrame();
    glFinish();
  }
  state.SetLabel(state.range(3) != 0 ? "vertex arrays" : "immediate");
  state.counters["particles"] = particles;
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int particles : {50000, 100000}) {
    for (auto [w, h] : {std::pair{392, 324}, std::pair{640, 480}}) {
      for (int arrays : {0, 1}) b->Args({w, h, particles, arrays});
    }
  }
  b->ArgNames({"w", "h", "n", "arrays"})->Unit(benchmark::kMillisecond)->MinTime(1.0);
}
BENCHMARK(BM_DrawFrame)->Apply(Sizes);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
