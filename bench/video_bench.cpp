// Video export speed as a multiple of real time: a preset at 1280 x 720 (and any show file
// named in ORVANE_BENCH_SHOW), against the drawing alone, to see which thread limits it.
// The software GL and x264 share the machine's cores.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "app/cli_command.h"
#include "export/video_export.h"
#include "compiler/show_record.h"
#include "compiler/show_summary.h"
#include "model/presets.h"

namespace orvane {
namespace {

std::filesystem::path PresetShow(int k) {
  const auto path = std::filesystem::temp_directory_path() / ("orvane-video-bench-" + std::to_string(k) + ".dat");
  std::ostringstream out, err;
  cli::CliIo io{out, err, false};
  const std::string root = std::to_string(PresetDevices(k).front().Code);
  if (cli::RunCli({"compile", "--preset", std::to_string(k), "--root", root, "--seed", "1", "-o", path.string()}, io) !=
      cli::kExitDone) {
    throw std::runtime_error(err.str());
  }
  return path;
}

double ShowSeconds(const std::filesystem::path& show) {
  ShowSummary summary;
  if (SummarizeShowFile(show, summary)) throw std::runtime_error("damaged show " + show.string());
  return static_cast<double>(summary.Frames) / kFramesPerSecond;
}

void Report(benchmark::State& state, double show_seconds, double wall_seconds) {
  state.counters["show_s"] = show_seconds;
  state.counters["x_real_time"] = show_seconds / wall_seconds;
}

void Export(benchmark::State& state, const std::filesystem::path& show) {
  VideoJob job;
  job.ShowFile = show;
  job.Output = std::filesystem::temp_directory_path() / "orvane-video-bench.mp4";
  job.Render.Width = kVideoDefaultWidth;
  job.Render.Height = kVideoDefaultHeight;
  const std::atomic<bool> stop{false};
  VideoExportReport report;
  double wall = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    report = ExportVideo(job, stop, nullptr);
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!report.Error.empty()) state.SkipWithError(report.Error.c_str());
  }
  Report(state, report.Seconds, wall);
  state.counters["file_MB"] = static_cast<double>(report.Bytes) / 1e6;
  std::filesystem::remove(job.Output);
}

// The same drawing with nothing encoded.
void DrawOnly(benchmark::State& state, const std::filesystem::path& show) {
  RenderOptions options;
  options.Width = kVideoDefaultWidth;
  options.Height = kVideoDefaultHeight;
  double wall = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const RenderReport r = RenderShow(
        show.string(), options, [](int64_t) { return true; }, nullptr, [](RenderedFrame&&) { return true; });
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!r.Error.empty()) state.SkipWithError(r.Error.c_str());
  }
  Report(state, ShowSeconds(show), wall);
}

void Register(const std::string& name, const std::filesystem::path& show) {
  benchmark::RegisterBenchmark(("BM_Export1280x720/" + name).c_str(), [show](benchmark::State& s) { Export(s, show); })
      ->Iterations(1)
      ->Unit(benchmark::kSecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark(("BM_Draw1280x720/" + name).c_str(), [show](benchmark::State& s) { DrawOnly(s, show); })
      ->Iterations(1)
      ->Unit(benchmark::kSecond)
      ->UseRealTime();
}

}  // namespace
}  // namespace orvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  orvane::Register("preset1", orvane::PresetShow(1));
  if (const char* show = std::getenv("ORVANE_BENCH_SHOW")) orvane::Register("show", show);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
