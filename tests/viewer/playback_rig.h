#pragma once
// A show player with recording stand-ins for the main window, the timer and the screen;
// the test thread runs every main-thread task itself.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/test_paths.h"
#include "viewer/display_services.h"
#include "viewer/queued_poster.h"
#include "viewer/show_player.h"
#include "viewer/stepped_timer.h"

namespace orvane::testing {

class RecordingMainWindow : public MainWindowLink {
 public:
  void SetVisualLed(bool lit) override { led = lit; }
  void ShowProgress(int32_t percent) override { progress.push_back(percent); }
  void PostProgress(int32_t position, int32_t count) override { posted_progress.push_back({position, count}); }
  bool DeviceSelected() const override { return device_selected; }
  void EnableCompileButtons() override { compile_enabled = true; }
  void EnableVisualizeButton() override { visualize_enabled = true; }
  bool VisualizeEnabled() const override { return visualize_enabled; }
  void ClickVisualize() override { ++visualize_clicks; }
  void PostStartVisualize() override { ++start_visualize_posts; }
  void CloseMainWindow() override { ++close_requests; }

  bool led = false;
  std::vector<int32_t> progress;
  std::vector<std::pair<int32_t, int32_t>> posted_progress;
  bool device_selected = true;
  bool compile_enabled = false;
  bool visualize_enabled = false;
  int visualize_clicks = 0, start_visualize_posts = 0, close_requests = 0;
};

class RecordingScreen : public PlaybackScreen {
 public:
  void ShowCredits() override { credits = true, ++credits_shown; }
  bool CreditsShown() const override { return credits; }
  void HideCredits() override { credits = false; }
  void ReportDamagedShow(const std::string& text) override { damage_reports.push_back(text); }

  bool credits = false;
  int credits_shown = 0;
  std::vector<std::string> damage_reports;
};

// Frame f of a test show holds `ParticlesIn(f)` records whose x field is f.
struct TestShow {
  int frames = 0;
  std::function<int(int)> particles_in = [](int) { return 1; };
};
std::vector<uint8_t> BuildShow(const TestShow& show);

class PlaybackRig {
 public:
  PlaybackRig();
  std::filesystem::path WriteShow(const std::vector<uint8_t>& bytes);
  std::filesystem::path ShowPath() const { return dir.Path() / kShowFileName; }

  // One pump period: the pump message, then the completion of any loader it started.
  void Pump();
  // What the render tick does with playback: draw the frame while playing, then advance.
  void Render();
  // Two pumps and a render, as 20 ms pumps and 40 ms ticks interleave.
  void Tick();
  // Ticks until the show has ended; false when it did not within `limit` ticks.
  bool PlayToEnd(int limit);

  ScratchDir dir;
  QueuedPoster poster;
  SteppedTimerService timers;
  RecordingMainWindow main_window;
  RecordingScreen screen;
  ShowPlayer player{poster, timers, main_window, screen};
  std::vector<int> drawn;  // the x field of each drawn frame's first record
};

}  // namespace orvane::testing
