#pragma once
// The display window as the main window drives it: the guide's origin, the drawing mode,
// the "Compiling..." and About overlays, playback and raising the window (the display
// reads the guide's angles with the other switches at every frame). The Qt display window
// implements it over the viewer core; tests of the main window use a recorder.

#include <cstdint>

#include "viewer/display_switches.h"

namespace orvane {

class DisplayPort {
 public:
  virtual ~DisplayPort() = default;

  // axis 0, 1, 2: x, y, z of the guide's origin.
  virtual void SetGuideOrigin(int axis, float value) = 0;
  virtual void SetBillboards3D(bool on) = 0;

  virtual void ShowCompileText() = 0;
  virtual void HideCompileText() = 0;
  // The six About lines fade in, centred; Hide fades them out.
  virtual void ShowAboutLines() = 0;
  virtual void HideAboutLines() = 0;

  // False, after its message, when the show file cannot be opened.
  virtual bool StartPlayback() = 0;
  // The same from a frame on.
  virtual bool StartPlaybackAt(uint32_t first_frame) = 0;
  // Ends the show being played, as its end would.
  virtual void StopPlayback() = 0;
  // The show frame last taken by playback; -1 outside playback.
  virtual int64_t PlaybackFrame() const = 0;
  virtual bool PlaybackPaused() const = 0;
  virtual void TogglePlaybackPause() = 0;
  virtual void BringToFront() = 0;
  // Shows and raises the window, leaving the keyboard where it is.
  virtual void ShowWithoutFocus() = 0;
};

}  // namespace orvane
