#pragma once
// Reads a video file back: what its streams hold, and any one picture as RGB. Used to check
// an export against what was drawn.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/result.h"

namespace orvane {

struct MediaStreamFacts {
  std::string Codec;                     // FFmpeg's short name: "h264", "aac"
  int32_t Width = 0, Height = 0;         // pictures
  double FramesPerSecond = 0;            // pictures: the average rate
  int32_t SampleRate = 0, Channels = 0;  // sound
  int64_t Packets = 0;                   // pictures: one per frame
  double Seconds = 0;                    // the stream's own duration
};

struct VideoFileFacts {
  std::optional<MediaStreamFacts> Video, Audio;
  double Seconds = 0;  // the whole file's duration
};

// Fails when the file does not open as a video.
Result<VideoFileFacts> ReadVideoFacts(const std::string& path);

// Picture `index` (0 first, in showing order) as RGB, top row first; fails when there is no
// such picture.
Result<std::vector<uint8_t>> DecodeVideoFrame(const std::string& path, int64_t index);

}  // namespace orvane
