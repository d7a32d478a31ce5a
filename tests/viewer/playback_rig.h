#pragma once
// A show player with recording stand-ins for its listener and the timer; the test thread
// runs every main-thread task itself.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/test_paths.h"
#include "viewer/display_model.h"
#include "viewer/display_services.h"
#include "viewer/queued_poster.h"
#include "viewer/show_player.h"
#include "viewer/stepped_timer.h"

namespace orvane::testing {

// What the player tells the display around it.
class RecordingListener : public PlaybackListener {
 public:
  void PlaybackProgress(int32_t percent) override { progress.push_back(percent); }
  void ShowEndReached() override { credits = true, ++credits_shown; }
  void PlaybackEnded(const Result<>& end) override {
    credits = false;
    ++ended;
    if (!end) damage_reports.push_back(end.Message());
  }

  std::vector<int32_t> progress;
  bool credits = false;
  int credits_shown = 0;
  int ended = 0;
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
  RecordingListener listener;
  ShowPlayer player{poster, timers, listener};
  std::vector<int> drawn;  // the x field of each drawn frame's first record
};

// What the display model tells its owner.
class RecordingEvents : public DisplayEvents {
 public:
  void PlaybackProgress(int32_t percent) override { progress.push_back(percent); }
  void PlaybackEnded(const Result<>& end) override { ends.push_back(end); }
  void VisualizeRequested() override { ++visualize_requests; }
  void CloseRequested() override { ++close_requests; }

  std::vector<int32_t> progress;
  std::vector<Result<>> ends;
  int visualize_requests = 0, close_requests = 0;
};

}  // namespace orvane::testing
