// The night look on the software GL: a 1280 x 720 frame of 20 000 stars (target 100 ms)
// with its parts taken away one by one, the stars' matching on the CPU, the display
// window's night playback of the example show at 392 x 324 (target: 90 % of ticks within
// 40 ms), and the example show's night video at 1280 x 720 (target: 0.4 x real time).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <stdexcept>

#include "app/cli_command.h"
#include "compiler/show_record.h"
#include "compiler/show_summary.h"
#include "cpu_seconds.h"
#include "export/video_export.h"
#include "playback_ticks.h"
#include "viewer/gl_headers.h"
#include "viewer/headless/headless_display.h"
#include "viewer/headless/osmesa_context.h"
#include "viewer/night_lights.h"
#include "viewer/night_renderer.h"
#include "viewer/night_stars.h"

namespace orvane {
namespace {

// Bursts over the site as a show's busy frame holds them: most stars moving, some fast.
NightScene BusyScene(int stars) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> unit(0, 1);
  NightScene scene;
  scene.Camera = {{0, 1.7f, 160}, {0, 75, 0}, 60};
  for (int i = 0; i < stars; ++i) {
    const int burst = i % 12;
    const float cx = -120 + 22 * static_cast<float>(burst), cy = 60 + 9 * static_cast<float>(burst % 5);
    const float a = unit(random) * 6.2831853f, b = std::acos(2 * unit(random) - 1), r = 5 + 35 * unit(random);
    const Vec3 d{std::sin(b) * std::cos(a), std::cos(b), std::sin(b) * std::sin(a)};
    NightStar s;
    s.Position = {cx + r * d[0], cy + r * d[1], r * d[2]};
    const float step = unit(random) < 0.7f ? 2.5f * unit(random) : 0.0f;
    s.Motion = {d[0] * step, d[1] * step, d[2] * step};
    s.Light = {0.6f + 0.4f * unit(random), 0.3f + 0.5f * unit(random), 0.2f * unit(random)};
    s.HalfSize = 0.2f + 1.0f * unit(random);
    scene.Stars.push_back(s);
  }
  scene.Lights = BurstLights(scene.Stars);
  return scene;
}

// range(0): stars; range(1): 1 with sky and ground; range(2): 1 with bloom; range(3): water.
void BM_NightFrame(benchmark::State& state) {
  constexpr int32_t kWidth = 1280, kHeight = 720;
  auto context = OsMesaContext::CreateCore(kWidth, kHeight);
  NightRenderer renderer;
  if (!context) {
    state.SkipWithError("no core context");
    return;
  }
  if (const Result<> available = renderer.Available(); !available) {
    state.SkipWithError(available.Message().c_str());
    return;
  }
  NightScene scene = BusyScene(static_cast<int>(state.range(0)));
  scene.Environment = state.range(1) != 0;
  scene.Bloom = state.range(2) != 0;
  scene.Site.Ground = state.range(3) != 0 ? NightGround::kWater : NightGround::kField;
  // The first frame compiles the shaders' variants for this state.
  renderer.Render(scene, {0, 0, 0, kWidth, kHeight});
  context->RgbTopDown();
  const double cpu0 = ProcessCpuSeconds();
  const auto wall0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    renderer.Render(scene, {0, 0, 0, kWidth, kHeight});
    benchmark::DoNotOptimize(context->RgbTopDown());
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  state.counters["cores"] = (ProcessCpuSeconds() - cpu0) / wall;
  state.counters["cpu_ms"] = (ProcessCpuSeconds() - cpu0) * 1000 / static_cast<double>(state.iterations());
  renderer.Release();
}
BENCHMARK(BM_NightFrame)
    ->Args({20000, 1, 1, 0})
    ->Args({20000, 1, 1, 1})
    ->Args({20000, 0, 1, 0})
    ->Args({20000, 0, 0, 0})
    ->Args({0, 1, 0, 0})
    ->Args({0, 0, 1, 0})
    ->Args({0, 0, 0, 0})
    ->ArgNames({"stars", "sky", "bloom", "water"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

// Records of a busy frame and the one before it, the stars moved a step between them.
void BM_NightStarsOf(benchmark::State& state) {
  const auto n = static_cast<size_t>(state.range(0));
  std::mt19937 random(5);
  std::uniform_int_distribution<int> coordinate(-20000, 20000), step(-300, 300), byte(0, 255);
  std::vector<uint8_t> before(n * kRecordSize), now(n * kRecordSize);
  for (size_t i = 0; i < n; ++i) {
    uint8_t* a = &before[i * kRecordSize];
    uint8_t* b = &now[i * kRecordSize];
    for (int k = 0; k < 3; ++k) {
      const int v = coordinate(random), moved = std::clamp(v + step(random), -32768, 32767);
      a[k * 2] = static_cast<uint8_t>(v & 0xFF);
      a[k * 2 + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
      b[k * 2] = static_cast<uint8_t>(moved & 0xFF);
      b[k * 2 + 1] = static_cast<uint8_t>((moved >> 8) & 0xFF);
    }
    for (int k = 6; k < 10; ++k) a[k] = b[k] = static_cast<uint8_t>(byte(random));
  }
  // A few stars died early in the frame: the order shifts from there on.
  now.erase(now.begin() + static_cast<std::ptrdiff_t>(n / 3 * kRecordSize),
            now.begin() + static_cast<std::ptrdiff_t>((n / 3 + 5) * kRecordSize));
  for (auto _ : state) {
    std::vector<NightStar> stars = NightStarsOf(now, before, NightSite{});
    benchmark::DoNotOptimize(BurstLights(stars));
  }
}
BENCHMARK(BM_NightStarsOf)->Arg(20000)->Unit(benchmark::kMillisecond);

std::filesystem::path ExampleShow() {
  const auto path = std::filesystem::temp_directory_path() / "orvane-night-bench-harbour.dat";
  std::ostringstream out, err;
  cli::CliIo io{out, err, false};
  if (cli::RunCli({"compile", "--show", ORVANE_EXAMPLE_SHOW, "--seed", "7", "-o", path.string()}, io) !=
      cli::kExitDone) {
    throw std::runtime_error(err.str());
  }
  return path;
}

// The display window's path: the display core in a compatibility context, night look on.
void BM_NightPlayback392x324(benchmark::State& state) {
  const std::filesystem::path show = ExampleShow();
  std::vector<double> ticks;
  for (auto _ : state) {
    Result<std::unique_ptr<HeadlessDisplay>> made = HeadlessDisplay::Create(392, 324);
    if (!made) {
      state.SkipWithError(made.Message().c_str());
      return;
    }
    const std::unique_ptr<HeadlessDisplay>& display = made.Value();
    display->Model().Night().On = true;
    display->Model().Night().Profile = state.range(0) != 0 ? NightProfile::Export : NightProfile::Preview;
    if (const Result<> started = display->Start(show); !started) {
      state.SkipWithError(started.Message().c_str());
      return;
    }
    TimeRenderTicks(*display, ticks);
  }
  ReportTicks(state, std::move(ticks));
}
BENCHMARK(BM_NightPlayback392x324)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("export_profile")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// The example show's night video at 1280 x 720, as `video --show` makes it (without its music).
void BM_NightVideo1280x720(benchmark::State& state) {
  const std::filesystem::path show = ExampleShow();
  VideoJob job;
  job.ShowFile = show;
  job.Output = std::filesystem::temp_directory_path() / "orvane-night-bench.mp4";
  job.Render.Width = kVideoDefaultWidth;
  job.Render.Height = kVideoDefaultHeight;
  job.Render.Look = RenderLook::Night;
  job.Render.Night.Title = "Harbour Night";
  const std::atomic<bool> stop{false};
  VideoExportReport report;
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = ProcessCpuSeconds();
    report = ExportVideo(job, stop, nullptr);
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu = ProcessCpuSeconds() - cpu0;
    if (!report.Error.empty()) state.SkipWithError(report.Error.c_str());
  }
  state.counters["show_s"] = report.Seconds;
  state.counters["x_real_time"] = wall > 0 ? report.Seconds / wall : 0;
  // What two cores of its own would give: on a shared machine the wall time says little.
  state.counters["cpu_s"] = cpu;
  state.counters["x_real_time_2_cores"] = cpu > 0 ? report.Seconds / (cpu / 2) : 0;
  state.counters["file_MB"] = static_cast<double>(report.Bytes) / 1e6;
  std::filesystem::remove(job.Output);
}
BENCHMARK(BM_NightVideo1280x720)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
