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
#include "export/night_site.h"
#include "show/cue_list.h"
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
    case CompileController::StartResult::kStarted:
      project_.ShowFileReplaced();
      CompileLaunched();
      return;
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
  if (std::exchange(showCompile_, false)) {
    if (!outcome.Written()) showPlayback_ = false;
    project_.CompileEnded(outcome);
  }
  PostProgress(0, -1);
  const AfterCompile after = execution_.CompileFinished(PlainEnd(outcome), list_.Selection().has_value());
  ShowButtons();
  if (display_) display_->HideCompileText();
  if (after.Message) dialogs_.Message(after.Message->Kind, DialogButtons::Ok, after.Message->Text);
  if (after.StartPlayback) Post(&MainForm::StartVisualize);
}

void MainForm::StartVisualize() {
  if (!execution_.PlaybackStarting()) return;
  ShowButtons();
  if (!display_) {
    PlaybackFinished();
    return;
  }
  // The show window keeps the keyboard, so its keys (Stop, Space, Enter) still work.
  if (showPlayback_) {
    display_->ShowWithoutFocus();
  } else {
    display_->BringToFront();
  }
  const uint32_t first = std::exchange(playFrom_, 0);
  if (!(first == 0 ? display_->StartPlayback() : display_->StartPlaybackAt(first))) {
    PlaybackFinished();
    return;
  }
  if (showPlayback_) project_.PlaybackStarted();
}

ShowStart MainForm::CompileShow(uint32_t firstFrame) {
  ShowStart start;
  if (execution_.CompileBlocked(compiler_->Busy())) {
    start.Busy = true;
    return start;
  }
  ShowCompileRequest request;
  request.Output = ShowFilePath();
  request.Limits = limits_;
  request.BoxScale = scale_.load();
  request.Places.WithRow = true;
  ShowCompileAnswer answer = project_.RequestCompile(request);
  if (!answer.Ok()) {
    start.Refusal = std::move(answer.Refusal);
    return start;
  }
  ShowCompilePlan& plan = *answer.Plan;
  project_.CompileStarted(plan);
  if (compiler_->StartJob(std::move(plan.Job), *listener_) != CompileController::StartResult::kStarted) {
    project_.ShowFileReplaced();
    start.Busy = true;
    return start;
  }
  showCompile_ = true;
  showPlayback_ = true;
  execution_.MarkRenderAndVisualize();
  playFrom_ = firstFrame;
  CompileLaunched();
  start.Started = true;
  return start;
}

bool MainForm::PlayFrom(uint32_t firstFrame) {
  if (execution_.Compiling() || execution_.Playing() || !execution_.Buttons().Visualize) return false;
  playFrom_ = firstFrame;
  showPlayback_ = true;
  StartVisualize();
  return true;
}

void MainForm::StopPlayback() {
  if (display_) display_->StopPlayback();
}

void MainForm::TogglePlaybackPause() {
  if (display_) display_->TogglePlaybackPause();
}

bool MainForm::SetNightLook(bool on, const ShowSite& site) {
  return display_ != nullptr ? display_->SetNightLook(on, NightSiteOf(site)) : !on;
}

std::optional<CameraPathPose> MainForm::DisplayView() const {
  if (display_ == nullptr) return std::nullopt;
  const NightCamera view = display_->NightView();
  CameraPathPose pose;
  for (int k = 0; k < 3; ++k) {
    pose.Eye[static_cast<size_t>(k)] = view.Eye[static_cast<size_t>(k)];
    pose.Target[static_cast<size_t>(k)] = view.Target[static_cast<size_t>(k)];
  }
  pose.FovDegrees = view.FovYDegrees;
  return pose;
}

int32_t MainForm::PanelWidth() const {
  const auto* panel = dynamic_cast<const QWidget*>(display_);
  return panel ? panel->width() : 1280;
}

int32_t MainForm::PanelHeight() const {
  const auto* panel = dynamic_cast<const QWidget*>(display_);
  return panel ? panel->height() : 720;
}

void MainForm::PlaybackFinished() {
  execution_.PlaybackFinished(list_.Selection().has_value());
  ShowButtons();
  if (std::exchange(showPlayback_, false)) project_.PlaybackEnded();
}

void MainForm::StopCompileClick() {
  if (execution_.ConfirmStopCompile(dialogs_)) compiler_->RequestStop();
}

// A compile still running when the window closes is stopped (it removes its partial file)
// before the show file is deleted.
void MainForm::StopCompile() { compiler_ = std::make_unique<CompileController>(scale_); }

}  // namespace orvane
