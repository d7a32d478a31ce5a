#pragma once
// Music files to mono samples: the containers and codecs AudioSource takes (WAV, FLAC,
// Ogg Vorbis, MP3 among them), resampled to one fixed rate and mixed down to the mean of
// the channels. Runs on whatever thread calls it; progress and the stop request
// let a worker thread drive it. Every failure comes back as a status with the text for
// the user, never as an exception or a partial clip.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "media/audio_source.h"

namespace orvane {

// Every clip the program holds has this rate, so times and sample indices convert alike
// everywhere.
inline constexpr int32_t kAudioSampleRate = 44100;

// The most samples a clip holds: the longest music at the program's rate, about 635 MB.
inline constexpr int64_t kMaxMusicSamples = kMaxMusicSeconds * kAudioSampleRate;

struct AudioClip {
  int32_t SampleRate = kAudioSampleRate;
  std::vector<float> Samples;  // mono, nominally within -1..1

  double DurationSeconds() const { return static_cast<double>(Samples.size()) / SampleRate; }
};

struct AudioDecodeResult {
  AudioDecodeStatus Status = AudioDecodeStatus::Decoded;
  std::string Message;  // the text for the user when Status is not Decoded
  AudioClip Clip;       // holds samples only when Decoded

  bool Ok() const { return Status == AudioDecodeStatus::Decoded; }
};

// fraction: 0..1 of the file read; called on the decoding thread, at most about a hundred
// times a file, and must not block.
using AudioProgress = std::function<void(double fraction)>;

AudioDecodeResult DecodeAudioFile(const std::filesystem::path& path, const AudioProgress& progress = {},
                                  std::stop_token stop = {});

}  // namespace orvane
