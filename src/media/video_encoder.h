#pragma once
// Writes an MP4 through FFmpeg's libraries: H.264 (libx264, 4:2:0) at a constant frame
// rate from RGB pictures, and optionally AAC sound taken from an audio track and cut to
// the pictures' length. The index goes to the front of the file so players start at once.

#include <cstdint>
#include <memory>
#include <string>

#include "util/result.h"

namespace orvane {

class AudioTrack;

struct VideoFormat {
  int32_t Width = 1280, Height = 720;  // even: 4:2:0 colour halves both
  int32_t FramesPerSecond = 25;
  int32_t Crf = 20;  // x264's constant rate factor: 0 best ... 51 smallest
};

inline constexpr int32_t kVideoMaxCrf = 51;
inline constexpr int32_t kVideoDefaultCrf = 20;

class VideoEncoder {
 public:
  // Writes into the open, empty file `fd` (the caller's, written through and read back,
  // never reopened by name). `music` (may be null) must outlive the encoder.
  static Result<std::unique_ptr<VideoEncoder>> Open(int fd, const VideoFormat& format, AudioTrack* music);
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // One picture of Width x Height RGB pixels, top row first.
  Result<> AddFrame(const uint8_t* rgb);
  // Drains both encoders, ends the sound with the last picture and completes the file.
  Result<> Finish();
  int64_t Frames() const { return frames_; }

 private:
  struct Streams;
  VideoEncoder();
  Result<> WriteAudioUpTo(int64_t samples);

  std::unique_ptr<Streams> streams_;
  VideoFormat format_;
  AudioTrack* music_ = nullptr;
  int64_t frames_ = 0;
  int64_t audioSamples_ = 0;
};

}  // namespace orvane
