#pragma once
// The one way into a music file, for the analysis decoder and a video's sound alike: one
// container check, one budget for damaged packets, one sample-rate floor, one rule for a
// file cut short, and FFmpeg's log kept quiet.
//
// Only a plain local file in a plain audio container opens. The file is opened here (never
// by FFmpeg, by name) and checked on its descriptor: a FIFO, a device or a folder is refused
// before a byte is read. The containers are a whitelist by name; playlists and concat lists,
// which would open whatever files they name, are not on it, and no nested file is opened.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "util/show_length.h"

struct AVFrame;

namespace orvane {

// Music longer than the longest show is refused.
inline constexpr int64_t kMaxMusicSeconds = kMaxShowSeconds;

// Music sampled slower than this is refused: no music is, and resampling a few bytes at 1 Hz
// would make an hour of samples.
inline constexpr int32_t kMinMusicSampleRate = 4000;

// A file may end this much before the length its header declares and still count as
// whole: codec delay and padding move the end by a few milliseconds.
inline constexpr double kTruncationToleranceSeconds = 0.25;

enum class AudioDecodeStatus : uint8_t {
  Decoded,
  Missing,      // no such file
  NotAFile,     // a folder, FIFO, device or socket: never opened
  Empty,        // zero bytes
  NotAudio,     // no container on the list, or no audio stream in it
  Undecodable,  // the audio codec is unknown, its data is damaged, or it is sampled too slowly
  Truncated,    // the data ends well before the length the file declares
  TooLong,      // longer than kMaxMusicSeconds
  Stopped,      // the stop request came first
};

// "is longer than 60 minutes, …": what follows the file's name when music is too long.
std::string TooLongMusicText();

struct AudioFailure {
  AudioDecodeStatus Status = AudioDecodeStatus::Undecodable;
  std::string Message;  // "The music file "…" is cut short: …", for the user as it stands
};

class AudioSource {
 public:
  // The file's best audio stream with its decoder; nothing, with `failure` set, when the
  // file is refused or does not open.
  static std::unique_ptr<AudioSource> Open(const std::filesystem::path& path, AudioFailure& failure);
  ~AudioSource();
  AudioSource(const AudioSource&) = delete;
  AudioSource& operator=(const AudioSource&) = delete;

  enum class Step { kFrame, kEnd, kFailed };
  // The next decoded frame, valid until the next call. kEnd after the last frame of a whole
  // file; kFailed (Failure() set) for too many damaged packets in a row, a frame sampled
  // below the floor, a file longer than the bound, one that ends well before its declared
  // length, or one that gives no sound at all.
  Step Next(const AVFrame*& frame);
  const AudioFailure& Failure() const { return failure_; }

  // The length the file states, in seconds; negative when it states none (or only guesses).
  double DeclaredSeconds() const { return declared_; }
  // How much of the file has been read, 0 to 1.
  double FractionRead() const;

 private:
  struct Streams;
  AudioSource();
  Step Fail(AudioDecodeStatus status, const std::string& what);

  std::unique_ptr<Streams> streams_;
  std::filesystem::path path_;
  AudioFailure failure_;
  double declared_ = -1;
  double decodedSeconds_ = 0;
  int badInRow_ = 0;
  bool draining_ = false;
};

// Reads the whole file through an AudioSource: the music a video may use passes exactly
// the checks the analysis applies. Nothing when it is whole; the failure otherwise.
std::optional<AudioFailure> CheckWholeMusic(const std::filesystem::path& path, std::stop_token stop = {});

}  // namespace orvane
