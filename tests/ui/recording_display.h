#pragma once
// A DisplayPort that records what the main window asks of the display.

#include <array>
#include <string>
#include <vector>

#include "ui/display_port.h"

namespace orvane::testing {

class RecordingDisplay : public DisplayPort {
 public:
  std::array<float, 3> Origin{-1, -1, -1};
  bool Billboards = false;
  bool CompileTextShown = false;
  bool AboutShown = false;
  int Raised = 0;
  int PlaybackStarts = 0;
  bool PlaybackOpens = true;

  void SetGuideOrigin(int axis, float value) override { Origin[static_cast<size_t>(axis)] = value; }
  void SetBillboards3D(bool on) override { Billboards = on; }
  void ShowCompileText() override { CompileTextShown = true; }
  void HideCompileText() override { CompileTextShown = false; }
  void ShowAboutLines() override { AboutShown = true; }
  void HideAboutLines() override { AboutShown = false; }
  bool StartPlayback() override {
    ++PlaybackStarts;
    return PlaybackOpens;
  }
  bool StartPlaybackAt(uint32_t first_frame) override {
    FirstFrames.push_back(first_frame);
    return StartPlayback();
  }
  void StopPlayback() override { ++Stops; }
  int64_t PlaybackFrame() const override { return Frame; }
  bool PlaybackPaused() const override { return Paused; }
  void TogglePlaybackPause() override { Paused = !Paused; }
  bool Paused = false;
  void BringToFront() override { ++Raised; }
  void ShowWithoutFocus() override { ++RaisedWithoutFocus; }
  int RaisedWithoutFocus = 0;
  std::vector<uint32_t> FirstFrames;
  int Stops = 0;
  int64_t Frame = -1;
};

}  // namespace orvane::testing
