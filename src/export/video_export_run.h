#pragma once
// The show window's video export, run as an `orvane-cli video` child process: the words it
// is started with, the sizes offered, its "frame N/M" lines, and what its end means.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/stop_signals.h"

namespace orvane {

inline constexpr const char* kCliProgramName = "orvane-cli";
// The exit statuses of an export stopped on request: by Ctrl-C, and by the SIGTERM the
// window's Cancel sends (as a shell reports them).
inline constexpr int kCliExitStopped = StoppedExitStatus(SIGINT);
inline constexpr int kCliExitTerminated = StoppedExitStatus(SIGTERM);

// The sides a drawn picture may have, in pixels.
inline constexpr int32_t kMinPictureSide = 16;
inline constexpr int32_t kMaxPictureSide = 4096;

struct VideoSize {
  int32_t Width = 0, Height = 0;  // pixels, both even
  bool operator==(const VideoSize&) const = default;
};

// Both sides even (H.264 needs that) and within the picture bounds.
bool IsVideoSize(const VideoSize& size);

struct FrameProgress {
  int64_t Done = 0, Total = 0;  // 0 <= Done <= Total, Total > 0
  bool operator==(const FrameProgress&) const = default;
};

// "frame 250/1500"
std::string FrameProgressLine(int64_t done, int64_t total);
// The progress a line names, or nothing for any other line.
std::optional<FrameProgress> ReadFrameProgressLine(std::string_view line);

// The panel's size made even (H.264 needs even sides), then 1280x720 and 1920x1080; no size twice.
std::vector<VideoSize> VideoExportSizes(int32_t panelWidth, int32_t panelHeight);

struct VideoExportRequest {
  std::filesystem::path ShowFolder;
  std::filesystem::path Output;
  VideoSize Size;
  std::optional<uint32_t> Seed;
};

// The child's arguments (without the program).
std::vector<std::string> VideoExportArguments(const VideoExportRequest& request);

enum class VideoExportEnd { kDone, kCancelled, kFailed };

struct VideoExportOutcome {
  VideoExportEnd End = VideoExportEnd::kFailed;
  std::string Message;  // for kFailed: the child's own words, or how it ended
};

// Follows one child: its stderr as it arrives, a cancel, and its end.
class VideoExportRun {
 public:
  // Bytes from the child's stderr, in any pieces.
  void TakeErrorOutput(std::string_view bytes);
  void RequestCancel() { cancelRequested_ = true; }
  bool CancelRequested() const { return cancelRequested_; }
  const std::optional<FrameProgress>& Progress() const { return progress_; }
  // 0 to 100.
  int Percent() const;
  // exitStatus is meaningful when the child exited; crashed: it died of a signal or did not start.
  VideoExportOutcome Finish(int exitStatus, bool crashed) const;

 private:
  void TakeLine(std::string_view line);

  std::string partial_;
  std::deque<std::string> messages_;  // the last lines that were not progress
  std::optional<FrameProgress> progress_;
  bool cancelRequested_ = false;
};

}  // namespace orvane
