#pragma once
// Music files to mono samples: any container and codec FFmpeg's libraries know (WAV,
// FLAC, Ogg Vorbis, MP3 among them), resampled to one fixed rate and mixed down to the
// mean of the channels. Runs on whatever thread calls it; progress and the stop request
// let a worker thread drive it. Every failure comes back as a status with the text for
// the user, never as an exception or a partial clip.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

namespace orvane {

// Every clip the program holds has this rate, so times and sample indices convert alike
// everywhere.
inline constexpr int32_t kAudioSampleRate = 44100;

// Music longer than this is refused: an hour of mono float samples is about 635 MB.
inline constexpr int64_t kMaxMusicSeconds = 3600;
inline constexpr int64_t kMaxMusicSamples = kMaxMusicSeconds * kAudioSampleRate;

// Music sampled slower than this is refused: no music is, and resampling a few bytes at 1 Hz
// would make an hour of samples.
inline constexpr int32_t kMinMusicSampleRate = 4000;

// A file may end this much before the length its header declares and still count as
// whole: codec delay and padding move the end by a few milliseconds.
inline constexpr double kTruncationToleranceSeconds = 0.25;

struct AudioClip {
  int32_t SampleRate = kAudioSampleRate;
  std::vector<float> Samples;  // mono, nominally within -1..1

  double DurationSeconds() const { return static_cast<double>(Samples.size()) / SampleRate; }
};

enum class AudioDecodeStatus : uint8_t {
  Decoded,
  Missing,      // no such file
  NotAFile,     // a folder, FIFO, device or socket: never opened
  Empty,        // zero bytes
  NotAudio,     // no format FFmpeg recognises, or no audio stream in it
  Undecodable,  // the audio codec is unknown or its data is damaged
  Truncated,    // the data ends well before the length the file declares
  TooLong,      // longer than kMaxMusicSeconds
  Stopped,      // the stop request came first
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

// FFmpeg prints warnings about damaged data on stderr; the decoder reports every failure
// itself, so programs call this once at start to keep only FFmpeg's fatal messages.
void QuietCodecLog();

AudioDecodeResult DecodeAudioFile(const std::filesystem::path& path, const AudioProgress& progress = {},
                                  std::stop_token stop = {});

}  // namespace orvane
