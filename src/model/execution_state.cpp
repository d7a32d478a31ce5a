#include "model/execution_state.h"

#include "model/integer_text.h"

namespace orvane {

// Neither a compile nor a show in progress may be joined by a new compile: it would
// rewrite the show file that is being written or read.
void ExecutionState::ItemSelected() {
  if (Busy()) return;
  buttons_.Compile = true;
  buttons_.RenderAndVisualize = true;
}

void ExecutionState::ItemDeselected() {
  buttons_.Compile = false;
  buttons_.RenderAndVisualize = false;
}

Result<CompileRoot> ExecutionState::RequestCompile(const CompileRequest& request) {
  if (request.ItemCount == 0) {
    renderAndVisualize_ = false;
    return Fail(kNoDevicesToCompile);
  }
  if (!request.SelectedCode) {
    renderAndVisualize_ = false;
    return Fail(kNothingSelectedToCompile);
  }
  // A queued second click finds the first one's compile running.
  if (CompileBlocked(request.CompilerBusy)) return CompileRoot{};
  return CompileRoot{ParseInteger(*request.SelectedCode).value_or(0)};
}

void ExecutionState::CompileStarted() {
  buttons_.Compile = false;
  buttons_.Visualize = false;
  buttons_.RenderAndVisualize = false;
  buttons_.CompileLed = true;
  stopRequested_ = false;
}

bool ExecutionState::ConfirmStopCompile(UserDialogs& dialogs) {
  if (!Compiling() || stopRequested_ || askingToStop_) return false;
  askingToStop_ = true;
  const DialogAnswer answer = dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo, kStopCompileQuestion);
  askingToStop_ = false;
  if (answer != DialogAnswer::Yes || !Compiling()) return false;
  // A stopped compile leaves no show, so playback must not follow it.
  renderAndVisualize_ = false;
  stopRequested_ = true;
  return true;
}

void ExecutionState::Idle(bool itemSelected) {
  buttons_.Compile = itemSelected;
  buttons_.RenderAndVisualize = itemSelected;
}

namespace {

std::optional<Notice> CompileEndNotice(const CompileEnd& end) {
  switch (end.Kind) {
    case CompileEndKind::Complete:
    case CompileEndKind::Stopped: return std::nullopt;
    case CompileEndKind::Cut: return Notice{DialogKind::Warning, end.Message};
    case CompileEndKind::Failed:
    case CompileEndKind::OutOfMemory: return Notice{DialogKind::Error, end.Message};
  }
  return std::nullopt;
}

}  // namespace

AfterCompile ExecutionState::CompileFinished(const CompileEnd& end, bool itemSelected) {
  buttons_.CompileLed = false;
  stopRequested_ = false;
  Idle(itemSelected);
  buttons_.Visualize = end.ShowWritten();
  AfterCompile after;
  after.Message = CompileEndNotice(end);
  after.StartPlayback = renderAndVisualize_ && buttons_.Visualize;
  renderAndVisualize_ = false;
  return after;
}

bool ExecutionState::PlaybackStarting() {
  if (!buttons_.Visualize) return false;
  buttons_.Compile = false;
  buttons_.Visualize = false;
  buttons_.RenderAndVisualize = false;
  buttons_.VisualLed = true;
  return true;
}

void ExecutionState::PlaybackFinished(bool itemSelected) {
  buttons_.VisualLed = false;
  buttons_.Visualize = true;
  Idle(itemSelected);
}

}  // namespace orvane
