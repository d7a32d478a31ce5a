// The main window's execution desk: compile start and end, progress, playback start.

#include <utility>

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "model/integer_text.h"
#include "ui/devices_list_view.h"
#include "ui/main_form.h"
#include "ui/queued_compile_listener.h"

namespace orvane {

void MainForm::ConnectExecution() {
  listener_ = std::make_unique<QueuedCompileListener>(
      this, [this](int position, int64_t records) { PostProgress(position, records); },
      [this](const CompileOutcome& outcome) { CompileFinished(outcome); });
  compiler_ = std::make_unique<CompileController>(scale_);
  connect(RenderBt, &QPushButton::clicked, this, &MainForm::RenderBtClick);
  connect(VisualizarBt, &QPushButton::clicked, this, &MainForm::VisualizarBtClick);
  connect(RenAndVisBt, &QToolButton::clicked, this, &MainForm::RenAndVisBtClick);
}

void MainForm::Post(void (MainForm::*handler)()) {
  QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
}

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
  if (list_.Items().empty()) {
    execution_.ClearRenderAndVisualizeMark();
    inform("No devices have been created, please configure the parameters and press <Create>, then press "
           "<Compile> again.");
    return;
  }
  const auto selected = list_.Selection();
  if (!selected) {
    execution_.ClearRenderAndVisualizeMark();
    inform("Select from the list the device you wish to visualize.");
    return;
  }
  // Only a click while idle gets here; anything else (a queued second click) is dropped.
  if (execution_.Compiling() || execution_.Playing() || compiler_->Busy()) return;
  const int32_t code = ParseInteger(list_.Items()[*selected].Caption).value_or(0);
  const auto lookup = [this](int32_t c) { return list_.FindByCode(c); };
  switch (compiler_->Start(code, lookup, ShowFilePath(), *listener_, limits_)) {
    case CompileController::StartResult::kStarted:
      if (display_) display_->ShowCompileText();
      execution_.CompileStarted();
      ShowButtons();
      return;
    case CompileController::StartResult::kRecursive:
      execution_.ClearRenderAndVisualizeMark();
      inform(kRecursivityRefusal);
      return;
    case CompileController::StartResult::kNoDevice:
      execution_.ClearRenderAndVisualizeMark();
      inform(NoDeviceMessage(code));
      return;
    case CompileController::StartResult::kBusy:
      return;
  }
}

void MainForm::CompileFinished(const CompileOutcome& outcome) {
  compiler_->Finished();
  PostProgress(0, -1);
  const bool play = execution_.CompileFinished(outcome.Written() ? CompileEnd::ShowWritten : CompileEnd::NoShow,
                                               list_.Selection().has_value());
  ShowButtons();
  if (display_) display_->HideCompileText();
  switch (outcome.State) {
    case CompileOutcome::Status::kComplete:
    case CompileOutcome::Status::kStopped: break;
    case CompileOutcome::Status::kCut:
      dialogs_.Message(DialogKind::Warning, DialogButtons::Ok, outcome.Message);
      break;
    case CompileOutcome::Status::kWriteFailed:
    case CompileOutcome::Status::kOutOfMemory:
      dialogs_.Message(DialogKind::Error, DialogButtons::Ok, outcome.Message);
      break;
  }
  if (play) Post(&MainForm::StartVisualize);
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

CompileController::StartResult MainForm::CompileShow(std::vector<RootCue> cues, uint32_t first_frame,
                                                     size_t* failedCue) {
  if (execution_.Compiling() || execution_.Playing() || compiler_->Busy()) return CompileController::StartResult::kBusy;
  const auto lookup = [this](int32_t c) { return list_.FindByCode(c); };
  const auto result = compiler_->StartShow(std::move(cues), lookup, ShowFilePath(), *listener_, limits_, failedCue);
  if (result != CompileController::StartResult::kStarted) return result;
  if (display_) display_->ShowCompileText();
  execution_.CompileStarted();
  execution_.MarkRenderAndVisualize();
  playFrom_ = first_frame;
  ShowButtons();
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

// A compile still running when the window closes is stopped (it removes its partial file)
// before the show file is deleted.
void MainForm::StopCompile() { compiler_ = std::make_unique<CompileController>(scale_); }

}  // namespace orvane
