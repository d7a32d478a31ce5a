// How long the window stays busy after a compile: a compile of empty frames (a device
// with no stars and a long effect) through the compile thread and the window's queued
// listener, into a real progress bar and particle counter. Counters:
//   drain_ms        from the completion report on the compile thread until the window's
//                   queue has run everything posted before and by the completion handler
//   progress_calls  progress updates the window handled
//   compile_s       the compile's own time
// The reference case posts one update per frame, as the window's listener once did.
// Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>

#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "model/device.h"
#include "ui/queued_compile_listener.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

// Stamps the completion report as it leaves the compile thread.
class StampingListener : public CompileListener {
 public:
  explicit StampingListener(CompileListener& next) : next_(next) {}
  void CompileProgress(int position, int64_t records) override { next_.CompileProgress(position, records); }
  void CompileFinished(const CompileOutcome& outcome) override {
    Finished.store(Clock::now());
    next_.CompileFinished(outcome);
  }
  std::atomic<Clock::time_point> Finished{};

 private:
  CompileListener& next_;
};

// One queued call per report, nothing coalesced: the reference.
class PerFrameListener : public CompileListener {
 public:
  PerFrameListener(QObject* target, QueuedCompileListener::ProgressHandler progress,
                   QueuedCompileListener::FinishedHandler finished)
      : target_(target), progress_(std::move(progress)), finished_(std::move(finished)) {}
  void CompileProgress(int position, int64_t records) override {
    QMetaObject::invokeMethod(
        target_, [this, position, records] { progress_(position, records); }, Qt::QueuedConnection);
  }
  void CompileFinished(const CompileOutcome& outcome) override {
    QMetaObject::invokeMethod(
        target_, [this, outcome] { finished_(outcome); }, Qt::QueuedConnection);
  }

 private:
  QObject* target_;
  QueuedCompileListener::ProgressHandler progress_;
  QueuedCompileListener::FinishedHandler finished_;
};

TBaseDevice EmptyDevice(int64_t frames) {
  TBaseDevice d;
  d.Definition.Code = 1;
  d.OpeningXY = 360;
  d.OpeningXZ = 180;
  d.StarQuantity = 0;
  d.StarKind = StarKind::Explosive;
  d.StarSpeed = 20;
  d.StarResistance = 10;
  d.StarSize = 10;
  d.SpeedKind = SpeedKind::Homogeneous;
  d.EffectLength = static_cast<int32_t>(frames * 40);
  d.MaxStarLife = 100;
  d.MinStarLife = 50;
  PrepareCompiledPart(d);
  return d;
}

template <class WindowListener>
void RunDrain(benchmark::State& state) {
  const TBaseDevice device = EmptyDevice(state.range(0));
  const auto lookup = [&](int32_t code) { return code == 1 ? device.Compiled : nullptr; };
  const std::filesystem::path output = std::filesystem::temp_directory_path() / "orvane-drain-bench.dat";

  QWidget window;
  auto* bar = new QProgressBar(&window);
  auto* counter = new QLabel(&window);
  bar->setRange(0, 100);
  bar->setGeometry(0, 0, 200, 16);
  counter->setGeometry(0, 20, 200, 16);
  window.resize(200, 40);
  window.show();  // the updates are painted, as in the program
  QEventLoop loop;
  Clock::time_point drained{};
  Clock::time_point compileStart{};
  Clock::time_point compileEnd{};
  int64_t progressCalls = 0;
  // As the main window does: the bar and the counter, then the completion resets the bar
  // through one more queued call.
  WindowListener queued(
      &window,
      [&](int position, int64_t records) {
        ++progressCalls;
        if (position >= 0) bar->setValue(position);
        if (records >= 0) counter->setText(QString::number(records));
      },
      [&](const CompileOutcome&) {
        QMetaObject::invokeMethod(
            &window,
            [&] {
              bar->setValue(0);
              drained = Clock::now();
              loop.quit();
            },
            Qt::QueuedConnection);
      });
  StampingListener stamping(queued);
  const std::atomic<float> scale{1.0f};
  CompileController controller(scale);

  double drainMs = 0, compileS = 0;
  for (auto _ : state) {
    progressCalls = 0;
    compileStart = Clock::now();
    if (controller.Start(1, lookup, output, stamping) != CompileController::StartResult::kStarted) {
      state.SkipWithError("the compile did not start");
      break;
    }
    loop.exec();
    controller.Finished();
    compileEnd = stamping.Finished.load();
    drainMs += std::chrono::duration<double, std::milli>(drained - compileEnd).count();
    compileS += std::chrono::duration<double>(compileEnd - compileStart).count();
  }
  std::filesystem::remove(output);
  const double n = static_cast<double>(state.iterations());
  state.counters["drain_ms"] = drainMs / n;
  state.counters["compile_s"] = compileS / n;
  state.counters["progress_calls"] = static_cast<double>(progressCalls);
}
void BM_ProgressDrainAfterCompile(benchmark::State& state) { RunDrain<QueuedCompileListener>(state); }
void BM_ProgressDrainPerFrameReference(benchmark::State& state) { RunDrain<PerFrameListener>(state); }

BENCHMARK(BM_ProgressDrainAfterCompile)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ProgressDrainPerFrameReference)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace orvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
