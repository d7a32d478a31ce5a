#pragma once
// The display window without a toolkit and without GL: the switches and the camera the
// drawing reads, what keys, mouse and joystick do, the texts over the picture (the About
// lines, "Compiling...", "PAUSE", the credits) and where they stand, and playback with its
// clock. A host (the Qt window, a headless run, a test) forwards input to it, draws it with
// DisplayCore and hears of it through DisplayEvents.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/about_text.h"
#include "model/user_dialogs.h"
#include "util/result.h"
#include "viewer/camera.h"
#include "viewer/camera_input.h"
#include "viewer/display_services.h"
#include "viewer/display_switches.h"
#include "viewer/font_service.h"
#include "viewer/night_scene.h"
#include "viewer/overlays.h"
#include "viewer/show_player.h"

namespace orvane {

// The display's own drawing modes.
struct DisplayModes {
  bool Overview = false;               // F1: the fixed overview instead of the camera's view
  bool SightLine = true;               // F3: the camera marker's sight line in the overview
  bool ModelScenery = true;            // F4: the model scenario, else the grid
  bool Billboards3D = true;            // particles turn to the camera in 3D, else only flat
  std::array<float, 3> GuideOrigin{};  // the projection guide's origin, scene units
};

// Where playback stands, for whatever follows it: the music, the play head, an export.
struct PlaybackClock {
  bool Active = false;   // a show is open: buffering, playing or paused
  bool Playing = false;  // buffered: frames are being taken
  bool Paused = false;
  int64_t Frame = -1;  // show index of the frame last taken; -1 before the first and outside playback

  // Frame at 25 frames per second; 0 before the first.
  double Seconds() const;
};

// What the display tells its owner, on the main thread.
class DisplayEvents {
 public:
  virtual ~DisplayEvents() = default;
  // The loader's place in the show file, in percent.
  virtual void PlaybackProgress(int32_t percent) = 0;
  // Once for every show that started: at its end, on StopPlayback, or early on a damaged
  // file, whose failure the display reports to the user itself as well.
  virtual void PlaybackEnded(const Result<>& end) = 0;
  // Enter, or joystick button 1: play the compiled show.
  virtual void VisualizeRequested() = 0;
  // Escape: the program ends.
  virtual void CloseRequested() = 0;
};

struct DisplayModelServices {
  PanelSizeSource* Panel = nullptr;  // none: a panel of 0 x 0
  FontService* Font = nullptr;       // text widths for centring; none: 0
  MainThreadPoster* Poster = nullptr;
  PeriodicTimerService* Timers = nullptr;
  UserDialogs* Dialogs = nullptr;   // none: messages go nowhere
  DisplayEvents* Events = nullptr;  // none: nobody listens
};

class DisplayModel : private PlaybackListener {
 public:
  // `show_file` is the compiled show that StartPlayback plays.
  DisplayModel(const DisplayModelServices& services, std::filesystem::path show_file);
  ~DisplayModel() override;
  DisplayModel(const DisplayModel&) = delete;
  DisplayModel& operator=(const DisplayModel&) = delete;

  // What the drawing reads at every frame; plain data, written by the host and by input.
  DisplaySwitches& Switches() { return switches_; }
  const DisplaySwitches& Switches() const { return switches_; }
  DisplayModes& Modes() { return modes_; }
  const DisplayModes& Modes() const { return modes_; }
  CameraState& Camera() { return camera_; }
  const CameraState& Camera() const { return camera_; }
  // The night look instead of the classic drawing, for shows.
  NightLook& Night() { return night_; }
  const NightLook& Night() const { return night_; }

  // Input, as plain values. F5 (saving the picture) is the drawing's; it does nothing here.
  void KeyDown(int32_t key);
  void KeyUp(int32_t key);
  void MouseDown(int32_t x, int32_t y, MouseButtons buttons);
  void MouseMove(int32_t x, int32_t y, MouseButtons buttons);
  void MouseUp();
  void DoubleClick();
  void JoystickMove(uint32_t x, uint32_t y);
  void JoystickZMove(uint32_t z);
  // Button state and changed bits (JoystickButtonBits).
  void JoystickButtonDown(uint32_t buttons);

  // The texts over the picture. Each fades in when shown and out when hidden.
  void ShowCompileText();
  void HideCompileText();
  // The six About lines, centred at their offsets from the panel's middle.
  void ShowAboutLines();
  void HideAboutLines();
  bool AboutShown() const { return aboutShown_; }
  // Pauses or resumes playback (also without a show) with "PAUSE" at the top left.
  void TogglePause();
  // Keeps the size-bound texts in place on a panel `height` pixels high as drawn.
  void PanelResized(int32_t height);
  // The lines on show; none when hidden.
  const TTextAtt* CompileText() const { return compileText_; }
  const TTextAtt* PauseText() const { return pauseText_; }
  const TTextAtt* CreditTop() const { return creditTop_; }
  const TTextAtt* CreditBottom() const { return creditBottom_; }
  const TTextAtt* AboutLine(int index) const;
  // Every line, the fading ones too; others may add lines of their own (a caption).
  OverlayList& Overlays() { return overlays_; }
  const OverlayList& Overlays() const { return overlays_; }
  // Drops every line at once (a new or a lost GL context).
  void ClearTexts();
  TextSize TextExtent(const std::string& text) const;

  // Plays the show file from `first_frame` on; a show already open is replaced. The
  // failure, when the file cannot be opened, is for the caller to show.
  Result<> StartPlayback(uint32_t first_frame = 0);
  Result<> StartPlaybackOf(const std::filesystem::path& show_file, uint32_t first_frame = 0);
  // Ends the show now, as its end would.
  void StopPlayback();
  PlaybackClock Clock() const;
  // The period of the playback pump's timer, in ms; -1 when the system has no such figure.
  void SetTimerResolution(int32_t ms);
  int32_t TimerResolution() const { return timerResolution_; }

  // For the drawing, once per frame: the frame to draw now (none while buffering or
  // outside playback), then AdvanceFrame after the picture is done.
  const std::vector<uint8_t>* TakeFrame();
  void AdvanceFrame();
  // For hosts that step playback themselves (headless runs, benchmarks, tests).
  ShowPlayer& Player() { return player_; }
  const ShowPlayer& Player() const { return player_; }

 private:
  // PlaybackListener
  void PlaybackProgress(int32_t percent) override;
  void ShowEndReached() override;
  void PlaybackEnded(const Result<>& end) override;

  void Centre(OverlaySlot slot, int32_t y);
  int32_t PanelWidth() const;
  int32_t PanelHeight() const;

  DisplayModelServices services_;
  std::filesystem::path showFile_;
  DisplaySwitches switches_;
  DisplayModes modes_;
  CameraState camera_;
  NightLook night_;
  OverlayList overlays_;
  OverlaySlot compileText_ = nullptr, pauseText_ = nullptr;
  OverlaySlot creditTop_ = nullptr, creditBottom_ = nullptr;
  std::array<OverlaySlot, kAboutLineCount> aboutLines_{};
  bool aboutShown_ = false;
  int32_t timerResolution_ = -1;
  ShowPlayer player_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The two credit lines shown while a show ends, decoded from their stored text.
std::string CreditLineBottom();
std::string CreditLineTop();

}  // namespace orvane
