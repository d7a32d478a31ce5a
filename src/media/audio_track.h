#pragma once
// A music file decoded for a video's sound: 48 kHz stereo float samples from a chosen music
// time on, read piece by piece so a long file never sits in memory whole.

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>

#include "util/result.h"

namespace orvane {

inline constexpr int32_t kAudioTrackSampleRate = 48000;

class AudioTrack {
 public:
  // The music from `start_seconds` on (negative: that much silence first). Fails, with a
  // message naming the file, when the file is not music as the analysis takes it: the whole
  // file is decoded once first (`stop` ends that early), so a file cut short or sampled too
  // slowly is refused here as it is there.
  static Result<std::unique_ptr<AudioTrack>> Open(const std::string& path, double start_seconds,
                                                  std::stop_token stop = {});
  ~AudioTrack();
  AudioTrack(const AudioTrack&) = delete;
  AudioTrack& operator=(const AudioTrack&) = delete;

  // The next `count` samples of each channel; silence past the music's end.
  void Read(float* left, float* right, int32_t count);
  // Set when the file broke off partway after all (it changed since the open); the rest
  // plays as silence.
  const std::string& Warning() const { return warning_; }

 private:
  struct Decoder;
  AudioTrack();
  // Decodes until samples are buffered; false at the end of the music.
  bool Refill();

  std::unique_ptr<Decoder> decoder_;
  int64_t silence_ = 0;  // samples of leading silence still to give
  int64_t skip_ = 0;     // decoded samples still to drop before the start time
  std::string warning_;
};

}  // namespace orvane
