#pragma once
// Where a show compiles and plays: the compile thread with its lamp and progress, and the
// display. The program's main window is the stage; the show window drives it only through
// this interface, and learns how things went from the project's observers.

#include <cstdint>
#include <optional>

#include "project/show_compile_plan.h"
#include "show/camera_path.h"
#include "show/show_site.h"

namespace orvane {

struct ShowStart {
  bool Started = false;
  bool Busy = false;                      // a compile or a show is running
  std::optional<CompileRefusal> Refusal;  // the project refused the request
};

class ShowStage {
 public:
  virtual ~ShowStage() = default;

  // Asks the project for the show's compile and starts it; the show plays from the frame
  // once compiled.
  virtual ShowStart CompileShow(uint32_t firstFrame) = 0;
  // Plays the show file from a frame; false when it cannot start now.
  virtual bool PlayFrom(uint32_t firstFrame) = 0;
  virtual void StopPlayback() = 0;
  virtual bool Compiling() const = 0;
  virtual bool Playing() const = 0;
  // The show frame playback last took; -1 outside playback.
  virtual int64_t PlaybackFrame() const = 0;
  virtual bool PlaybackPaused() const = 0;
  virtual void TogglePlaybackPause() = 0;
  // Shows play in the night look of the site instead of the classic drawing; false, after
  // its message, when the display cannot draw it.
  virtual bool SetNightLook(bool on, const ShowSite& site) = 0;
  // Where the display looks from and to, in metres, as a camera key takes it; nothing
  // without a display.
  virtual std::optional<CameraPathPose> DisplayView() const = 0;
  // The motion scale a show without its own compiles at (the "Scale" box).
  virtual float BoxScale() const = 0;
  // The display panel's size in pixels, the first size a video export offers.
  virtual int32_t PanelWidth() const = 0;
  virtual int32_t PanelHeight() const = 0;
};

}  // namespace orvane
