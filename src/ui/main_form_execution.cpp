// The main window's execution desk: compile start and end, progress, playback start.

#include <utility>

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "ui/devices_list_view.h"
#include "ui/main_form.h"
#include "ui/queued_compile_listener.h"
#include "ui/status_lamp.h"

namespace orvane {

void MainForm::ConnectExecution() {
  listener_ = std::make_unique<QueuedCompileListener>(
      this, [this](int position, int64_t records) { ShowProgressMessage(position, records); },
      [this](const CompileOutcome& outcome) { CompileFinished(outcome); });
  compiler_ = std::make_unique<CompileController>(scale_);
  connect(RenderBt, &QPushButton::clicked, this, &MainForm::RenderBtClick);
  connect(VisualizarBt, &QPushButton::clicked, this, &MainForm::VisualizarBtClick);
  connect(RenAndVisBt, &QToolButton::clicked, this, &MainForm::RenAndVisBtClick);
  connect(CompileLed, &StatusLamp::Clicked, this, &MainForm::StopCompileClick);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &MainForm::StopCompileClick);
}

void MainForm::Post(void (MainForm::*handler)()) { QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection); }

void MainForm::RenderBtClick() { Post(&MainForm::StartCompile); }

void MainForm::RenAndVisBtClick() {
  execution_.MarkRenderAndVisualize();
  Post(&MainForm::StartCompile);
}

void MainForm::VisualizarBtClick() { Post(&MainForm::StartVisualize); }

void MainForm::PostStartVisualize() { Post(&MainForm::StartVisualize); }

void MainForm::PostProgress(int position, int64_t count) {
  QMetaObject::invokeMethod(
      this, [this, position, count] { ShowProgressMessage(position, count); }, Qt::QueuedConnection);
}

void MainForm::ShowProgressMessage(int position, int64_t count) {
  if (position >= 0) Progress->setValue(position);
  if (count >= 0) ParLabel->setText(QString::number(count));
}

void MainForm::ShowProgress(int percent) { Progress->setValue(percent); }

void MainForm::StartCompile() {
  const auto inform = [this](const std::string& text) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, text);
  };
  const auto selected = list_.Selection();
  CompileRequest request;
  request.ItemCount = list_.Items().size();
  if (selected) request.SelectedCode = list_.Items()[*selected].Caption;
  request.CompilerBusy = compiler_->Busy();
  const Result<CompileRoot> root = execution_.RequestCompile(request);
  if (!root) {
    inform(root.Message());
    return;
  }
  if (!root.Value()) return;  // a compile or a show is running
  const int32_t code = *root.Value();
  const auto lookup = [this](int32_t c) { return list_.FindByCode(c); };
  switch (compiler_->Start(code, lookup, ShowFilePath(), *listener_, limits_)) {
    case CompileController::StartResult::kStarted: CompileLaunched(); return;
    case CompileController::StartResult::kRecursive:
      execution_.ClearRenderAndVisualizeMark();
      inform(kRecursivityRefusal);
      return;
    case CompileController::StartResult::kNoDevice:
      execution_.ClearRenderAndVisualizeMark();
      inform(NoDeviceMessage(code));
      return;
    case CompileController::StartResult::kBusy: return;
  }
}

void MainForm::CompileLaunched() {
  ++compileNumber_;
  if (display_) display_->ShowCompileText();
  execution_.CompileStarted();
  ShowButtons();
}

namespace {

CompileEnd PlainEnd(const CompileOutcome& outcome) {
  CompileEnd end;
  end.Message = outcome.Message;
  switch (outcome.State) {
    case CompileOutcome::Status::kComplete: end.Kind = CompileEndKind::Complete; break;
    case CompileOutcome::Status::kCut: end.Kind = CompileEndKind::Cut; break;
    case CompileOutcome::Status::kWriteFailed: end.Kind = CompileEndKind::Failed; break;
    case CompileOutcome::Status::kOutOfMemory: end.Kind = CompileEndKind::OutOfMemory; break;
    case CompileOutcome::Status::kStopped: end.Kind = CompileEndKind::Stopped; break;
  }
  return end;
}

}  // namespace

void MainForm::CompileFinished(const CompileOutcome& outcome) {
  compiler_->Finished();
  PostProgress(0, -1);
  const AfterCompile after = execution_.CompileFinished(PlainEnd(outcome), list_.Selection().has_value());
  ShowButtons();
  if (display_) display_->HideCompileText();
  if (after.Message) dialogs_.Message(after.Message->Kind, DialogButtons::Ok, after.Message->Text);
  if (outcome.Written()) TellShowWindow(outcome);
  if (after.StartPlayback) Post(&MainForm::StartVisualize);
}

void MainForm::StartVisualize() {
  if (!execution_.PlaybackStarting()) return;
  ShowButtons();
  if (!display_) {
    PlaybackFinished();
    return;
  }
  display_->BringToFront();
  const uint32_t first = std::exchange(playFrom_, 0);
  if (!(first == 0 ? display_->StartPlayback() : display_->StartPlaybackAt(first))) PlaybackFinished();
}

CompileController::StartResult MainForm::CompileShow(std::vector<RootCue> cues, std::optional<float> scale,
                                                     uint32_t first_frame, size_t* failedCue) {
  if (execution_.CompileBlocked(compiler_->Busy())) return CompileController::StartResult::kBusy;
  const auto lookup = [this](int32_t c) { return list_.FindByCode(c); };
  const auto result =
      compiler_->StartShow(std::move(cues), lookup, ShowFilePath(), *listener_, limits_, failedCue, scale);
  if (result != CompileController::StartResult::kStarted) return result;
  execution_.MarkRenderAndVisualize();
  playFrom_ = first_frame;
  CompileLaunched();
  return result;
}

bool MainForm::PlayFrom(uint32_t first_frame) {
  if (execution_.Compiling() || execution_.Playing() || !execution_.Buttons().Visualize) return false;
  playFrom_ = first_frame;
  StartVisualize();
  return true;
}

void MainForm::StopPlayback() {
  if (display_) display_->StopPlayback();
}

void MainForm::PlaybackFinished() {
  execution_.PlaybackFinished(list_.Selection().has_value());
  ShowButtons();
}

void MainForm::StopCompileClick() {
  if (execution_.ConfirmStopCompile(dialogs_)) compiler_->RequestStop();
}

// A compile still running when the window closes is stopped (it removes its partial file)
// before the show file is deleted.
void MainForm::StopCompile() { compiler_ = std::make_unique<CompileController>(scale_); }

}  // namespace orvane
