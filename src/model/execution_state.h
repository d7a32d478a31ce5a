#pragma once
// The main window's execution controls as a state machine: which of Compile, Visualize
// and Render-and-visualize are usable and which status lamp is lit, through selection,
// compile and playback.

#include <string>

#include "model/user_dialogs.h"

namespace orvane {

// The question asked before a running compile is stopped from the main window.
inline constexpr const char* kStopCompileQuestion =
    "Stop the running compile? The show compiled so far is discarded.";

struct ExecutionButtons {
  bool Compile = false;
  bool Visualize = false;
  bool RenderAndVisualize = false;
  bool CompileLed = false;
  bool VisualLed = false;

  bool operator==(const ExecutionButtons&) const = default;
};

// How a compile ended, as far as the buttons care.
enum class CompileEnd {
  ShowWritten,  // complete, or cut at the size bound with a valid show up to the cut
  NoShow,       // failed: no playable show file is left
};

class ExecutionState {
 public:
  const ExecutionButtons& Buttons() const { return buttons_; }
  bool Compiling() const { return buttons_.CompileLed; }
  bool Playing() const { return buttons_.VisualLed; }

  // A list item became selected or the selection went away.
  void ItemSelected();
  void ItemDeselected();

  // The compile-and-visualize button's tag.
  void MarkRenderAndVisualize() { renderAndVisualize_ = true; }
  void ClearRenderAndVisualizeMark() { renderAndVisualize_ = false; }
  bool RenderAndVisualizeMarked() const { return renderAndVisualize_; }

  void CompileStarted();
  // Escape in the main window or a click on the compile lamp: while a compile runs and no
  // stop is pending, asks the user; true when the compile is to be stopped now. The
  // compile may end while the question is open; then nothing is left to stop.
  bool ConfirmStopCompile(UserDialogs& dialogs);
  bool StopRequested() const { return stopRequested_; }
  // True when playback should start now (the compile-and-visualize request). A compile
  // that left no show clears the request.
  bool CompileFinished(CompileEnd end, bool itemSelected);

  // Message 1028: false (ignored) while Visualize is not usable.
  bool PlaybackStarting();
  // End of the show, or a show file that could not be opened: Visualize stays usable.
  void PlaybackFinished(bool itemSelected);

 private:
  bool Busy() const { return buttons_.CompileLed || buttons_.VisualLed; }
  void Idle(bool itemSelected);

  ExecutionButtons buttons_;
  bool renderAndVisualize_ = false;
  bool stopRequested_ = false;
  bool askingToStop_ = false;
};

}  // namespace orvane
