#pragma once
// Turns a compiled show into an MP4: the display window's drawing of every frame, encoded
// on a second thread while the next frames draw, with the music cut to the show's length.
// The file appears at its target only when complete.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/show_render.h"
#include "media/video_encoder.h"

namespace orvane {

inline constexpr int32_t kVideoDefaultWidth = 1280;
inline constexpr int32_t kVideoDefaultHeight = 720;

struct VideoJob {
  std::filesystem::path ShowFile;
  std::filesystem::path Output;
  RenderOptions Render;  // the size is the video's
  int32_t Crf = kVideoDefaultCrf;
  std::optional<std::filesystem::path> Music;
  std::optional<std::filesystem::path> CameraPath;  // read into Render.Night; kept to refuse it as -o
  double MusicOffsetSeconds = 0;  // the music time at show time 0
};

struct VideoExportReport {
  std::string Error;     // set: nothing was left at the target
  bool Stopped = false;  // stopped on request: nothing was left at the target
  int64_t Frames = 0;
  double Seconds = 0;
  uint64_t Bytes = 0;
  std::vector<std::string> Warnings;  // the music broke off early (the rest is silent)
};

// Called on the drawing thread: frames encoded so far, frames in the show.
using VideoProgress = std::function<void(int64_t done, int64_t total)>;

// `stop` is polled once a frame.
VideoExportReport ExportVideo(const VideoJob& job, const std::atomic<bool>& stop, const VideoProgress& progress);

}  // namespace orvane
