// A large professional show: 6000 cues over 20 minutes (300 a minute) from the presets'
// devices, written as a show folder once and then
//   BM_OpenIntoProject     the folder opened into a ShowProject (devices, cues, settings)
//   BM_EditAndUndo         one undoable cue edit and its undo, per pair
//   BM_Compile             the project's compile request and the compile, seeded, into a
//                          counting sink: realtime = show seconds per compile second,
//                          peak-MiB = the process's peak resident memory after it
//   BM_TimelineRepaint     the show window's timeline strip (cue markers over a 20-minute
//                          waveform) grabbed offscreen at full zoom-out and at 10 s a screen
// Run each three times; the medians are the figures (--benchmark_repetitions=3 is the default).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QPixmap>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>

#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "media/waveform_envelope.h"
#include "model/presets.h"
#include "project/show_project.h"
#include "show/cue_list.h"
#include "show/staged_files.h"
#include "silent_dialogs.h"
#include "ui/cue_table_model.h"
#include "ui/timeline_strip.h"
#include "util/private_temp_folder.h"
#include "util/random.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr int kCues = 6000;
constexpr int64_t kShowMs = 20 * 60 * 1000;
constexpr int kStripWidth = 1200;
constexpr int kStripHeight = 160;

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The show folder, made once for the whole run and removed at its end.
const fs::path& BigShowFolder() {
  static PrivateTempFolder folder("orvane-big-show");
  static bool written = false;
  if (written) return folder.Path();
  written = true;
  SilentDialogs dialogs;
  DeviceRecords devices;
  std::vector<int32_t> roots;
  for (int k = 1; k <= kPresetCount; ++k) {
    DeviceList list(PrepareCompiledPart);
    ApplyPreset(k, list, dialogs);
    for (const auto& d : list.Devices()) devices.push_back(std::make_unique<TBaseDevice>(*d));
    roots.push_back(PresetDevices(k).front().Code);
  }
  ShowDocument show;
  show.Settings.Title = "Big show";
  show.Settings.Seed = 7;
  std::mt19937 pick(12345);
  std::uniform_int_distribution<size_t> root(0, roots.size() - 1);
  std::uniform_real_distribution<float> across(-8.0f, 8.0f), depth(-3.0f, 3.0f);
  // Evenly 300 a minute, each on a whole millisecond, so the cue list reads back as written.
  for (int i = 0; i < kCues; ++i) {
    Cue cue;
    cue.TimeMs = static_cast<int64_t>(i) * kShowMs / kCues;
    cue.Code = roots[root(pick)];
    cue.X = std::round(across(pick) * 100.0f) / 100.0f;
    cue.Z = std::round(depth(pick) * 100.0f) / 100.0f;
    cue.Label = "cue " + std::to_string(i + 1);
    show.Cues.push_back(cue);
  }
  if (const Result<> saved = WriteFilesTogether(folder.Path(), ShowFolderFiles(show, devices)); !saved) {
    std::fprintf(stderr, "big show: %s\n", saved.Message().c_str());
    std::abort();
  }
  return folder.Path();
}

std::unique_ptr<ShowProject> OpenBigShow() {
  auto project = std::make_unique<ShowProject>(PrepareCompiledPart);
  SilentDialogs dialogs;
  const ProjectOpenReport report = project->Open(BigShowFolder(), dialogs);
  if (!report.Opened || project->Cues().size() != static_cast<size_t>(kCues)) {
    std::fprintf(stderr, "big show: %s\n", report.Opened ? "cues missing" : report.Opened.Message().c_str());
    std::abort();
  }
  return project;
}

void BM_OpenIntoProject(benchmark::State& state) {
  BigShowFolder();
  for (auto _ : state) {
    auto project = OpenBigShow();
    benchmark::DoNotOptimize(project->Cues().data());
  }
}

void BM_EditAndUndo(benchmark::State& state) {
  auto project = OpenBigShow();
  size_t row = kCues / 2;
  for (auto _ : state) {
    project->EditCues("Move cue", MoveCueChange(project->Cues(), row, project->Cues()[row].TimeMs + 20));
    project->Undo();
    row = (row + 7) % kCues;
  }
  state.counters["history"] = static_cast<double>(project->History().Count());
}

void BM_Compile(benchmark::State& state) {
  auto project = OpenBigShow();
  uint64_t frames = 0, records = 0;
  for (auto _ : state) {
    ShowCompileRequest request;
    request.Output = BigShowFolder() / "unused.dat";
    ShowCompileAnswer answer = project->RequestCompile(request);
    if (!answer.Ok()) {
      state.SkipWithError(answer.Refusal.Message.c_str());
      return;
    }
    CompileJob& job = answer.Plan->Job;
    const ThreadRandomScope random(*job.Seed);
    SetList sets;
    CTrail trail;
    const std::atomic<float> scale{answer.Plan->Scale};
    CompileContext context{sets, trail, job.Snapshot, scale};
    context.FalloutCeilingY = job.FalloutCeilingY;
    ShowCountingSink sink;
    const CompileOutcome outcome = CompileCuesToSink(context, *job.Cues, sink, nullptr);
    frames += outcome.Frames;
    records += outcome.Records;
    state.counters["show-GiB"] = static_cast<double>(sink.ByteCount) / (1 << 30);
  }
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 25.0, benchmark::Counter::kIsRate);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  state.counters["peak-MiB"] = PeakMiB();
}

// Twenty minutes of a 2 Hz beating tone at the decoder's rate, as the window would hold it.
std::shared_ptr<const WaveformEnvelope> TwentyMinutesOfMusic() {
  AudioClip clip;
  clip.Samples.resize(static_cast<size_t>(kShowMs / 1000) * static_cast<size_t>(clip.SampleRate));
  for (size_t i = 0; i < clip.Samples.size(); ++i) {
    const double t = static_cast<double>(i) / clip.SampleRate;
    clip.Samples[i] = static_cast<float>(0.6 * std::sin(2 * M_PI * 220 * t) * std::abs(std::sin(2 * M_PI * t)));
  }
  return std::make_shared<const WaveformEnvelope>(std::move(clip));
}

void BM_TimelineRepaint(benchmark::State& state) {
  auto project = OpenBigShow();
  static const std::shared_ptr<const WaveformEnvelope> music = TwentyMinutesOfMusic();
  TimelineContent content;
  content.Cues = &project->Cues();
  content.Devices = &project->Devices().Devices();
  content.Envelope = music;
  for (int beat = 0; beat < kShowMs / 500; ++beat) content.BeatSeconds.push_back(beat * 0.5);
  content.BreakMs.resize(project->Cues().size());
  for (size_t i = 0; i < content.BreakMs.size(); ++i) content.BreakMs[i] = project->CueBreakMs(i);
  CueTableModel model(*project, {});
  QItemSelectionModel selection(&model);
  for (int row : {10, 3000, 5990})
    selection.select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  TimelineStrip strip(content, selection);
  strip.resize(kStripWidth, kStripHeight);
  const double secondsPerScreen = static_cast<double>(state.range(0));
  if (secondsPerScreen > 0) {
    strip.SetView(TimelineView{kStripWidth / secondsPerScreen, 600.0, kStripWidth});
  } else {
    strip.FitShow();
  }
  content.PlayHeadMs = 600'000;
  for (auto _ : state) {
    QPixmap shot = strip.grab();
    benchmark::DoNotOptimize(shot.cacheKey());
  }
  state.SetLabel(secondsPerScreen > 0 ? "10 s a screen" : "whole show");
}

BENCHMARK(BM_OpenIntoProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EditAndUndo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_Compile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_TimelineRepaint)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
}  // namespace orvane

int main(int argc, char** argv) {
  // The strip paints offscreen; no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=3";
  std::string aggregates = "--benchmark_report_aggregates_only=false";
  bool given = false;
  for (char* a : args) given = given || std::string(a).rfind("--benchmark_repetitions", 0) == 0;
  if (!given) args.push_back(repetitions.data());
  args.push_back(aggregates.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
