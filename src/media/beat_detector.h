#pragma once
// Beats and tempo of a mono sample stream through aubio's tempo tracker. The tracker
// needs a few seconds of music before it trusts a period, so the first beats of a piece
// (and the first beats after a change of tempo) may be missing.

#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace orvane {

// Analysis window and hop of the tracker, in samples: a 256-sample hop (5.8 ms at
// 44.1 kHz) places beats within a few milliseconds of the onsets.
inline constexpr uint32_t kBeatWindowSamples = 1024;
inline constexpr uint32_t kBeatHopSamples = 256;

// The tracker restarts every kBeatSegmentSeconds, each run fed kBeatWarmUpSeconds of the
// music before its part so it has settled when its part begins: left running, its phase
// slips off the beat after about fifty seconds of a steady 120 bpm and takes many beats
// to come back.
inline constexpr int32_t kBeatSegmentSeconds = 30;
inline constexpr int32_t kBeatWarmUpSeconds = 8;

enum class BeatStatus : uint8_t {
  Detected,  // the track may still hold no beats (silence, no pulse)
  Refused,   // aubio could not be set up for the sample rate
  Stopped,   // the stop request came first
};

struct BeatTrack {
  BeatStatus Status = BeatStatus::Detected;
  std::string Message;              // the text for the user when Status is not Detected
  std::vector<double> BeatSeconds;  // ascending
  double TempoBpm = 0.0;            // TempoFromBeats(BeatSeconds)

  bool Ok() const { return Status == BeatStatus::Detected; }
};

// fraction: 0..1 of the samples analysed; called on the calling thread about a hundred
// times at most, and must not block.
using BeatProgress = std::function<void(double fraction)>;

BeatTrack DetectBeats(std::span<const float> samples, int32_t sampleRate, const BeatProgress& progress = {},
                      std::stop_token stop = {});

// 60 / the median beat period, each period the mean over a span of up to eight beats;
// 0 with fewer than two beats.
double TempoFromBeats(std::span<const double> beatSeconds);

}  // namespace orvane
