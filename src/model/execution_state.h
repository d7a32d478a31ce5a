#pragma once
// The main window's execution controls as a state machine: which of Compile, Visualize
// and Render-and-visualize are usable and which status lamp is lit, through selection,
// compile and playback; and what a compile request and a compile's end come to, for the
// window to show.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/notice.h"
#include "model/user_dialogs.h"
#include "util/result.h"

namespace orvane {

// The question asked before a running compile is stopped from the main window.
inline constexpr const char* kStopCompileQuestion = "Stop the running compile? The show compiled so far is discarded.";

inline constexpr const char* kNoDevicesToCompile =
    "No devices have been created, please configure the parameters and press <Create>, then press "
    "<Compile> again.";
inline constexpr const char* kNothingSelectedToCompile = "Select from the list the device you wish to visualize.";

struct ExecutionButtons {
  bool Compile = false;
  bool Visualize = false;
  bool RenderAndVisualize = false;
  bool CompileLed = false;
  bool VisualLed = false;

  bool operator==(const ExecutionButtons&) const = default;
};

// The device list as a click on Compile finds it once the click arrives.
struct CompileRequest {
  size_t ItemCount = 0;
  // The selected item's code column; nothing while no item is selected.
  std::optional<std::string> SelectedCode;
  // The last compile's thread has not been joined yet.
  bool CompilerBusy = false;
};

// The root code to compile, or nothing: the click is dropped without a word.
using CompileRoot = std::optional<int32_t>;

// How a compile ended, in the compiler's terms.
enum class CompileEndKind {
  Complete,
  Cut,          // at the size or the length bound: the file holds a valid show up to the cut
  Failed,       // the file could not be written, or the disk is nearly full: no file is left
  OutOfMemory,  // no file is left
  Stopped,      // by the user or the window's going away: the partial file is removed
};

struct CompileEnd {
  CompileEndKind Kind = CompileEndKind::Complete;
  // The compiler's text for the user; shown for every end but Complete and Stopped.
  std::string Message;

  bool ShowWritten() const { return Kind == CompileEndKind::Complete || Kind == CompileEndKind::Cut; }
};

// What the window does once a compile has ended, in this order.
struct AfterCompile {
  std::optional<Notice> Message;
  // The compile-and-visualize request on a written show: playback starts after the message.
  bool StartPlayback = false;
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

  // A new compile of any kind waits for the running compile or show, and for the last
  // compile's thread to be joined.
  bool CompileBlocked(bool compilerBusy) const { return Busy() || compilerBusy; }
  // Compile and Compile-and-visualize: refused with the message to show (the
  // compile-and-visualize mark is dropped), dropped while CompileBlocked (a queued second
  // click), or the selected item's code. A code column that is no number asks for code 0,
  // which the compiler refuses as no device.
  Result<CompileRoot> RequestCompile(const CompileRequest& request);

  void CompileStarted();
  // Escape in the main window or a click on the compile lamp: while a compile runs and no
  // stop is pending, asks the user; true when the compile is to be stopped now. The
  // compile may end while the question is open; then nothing is left to stop.
  bool ConfirmStopCompile(UserDialogs& dialogs);
  bool StopRequested() const { return stopRequested_; }
  // Back to idle, with Visualize usable while a show was written. The compiler's message
  // comes as a warning for a cut show and as an error for a failed compile; a stopped one
  // ends quietly. Playback follows only the compile-and-visualize request on a written
  // show; the request goes either way.
  AfterCompile CompileFinished(const CompileEnd& end, bool itemSelected);

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
