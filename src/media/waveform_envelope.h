#pragma once
// The music's waveform for drawing: the smallest and largest sample of each pixel column
// of any time range. A min/max pyramid (bins of kEnvelopeBaseBin samples, doubling each
// level) answers a column from a handful of bins, so zooming recomputes a screen of
// columns in microseconds; the samples themselves fill in the ragged ends, so the answer
// is exact at every zoom.

#include <cstdint>
#include <span>
#include <vector>

#include "media/audio_decoder.h"

namespace orvane {

inline constexpr int64_t kEnvelopeBaseBin = 32;

struct EnvelopeColumn {
  float Min = 0.0f;
  float Max = 0.0f;
  bool HasAudio = false;  // false for columns wholly before or after the music
};

class WaveformEnvelope {
 public:
  WaveformEnvelope() = default;
  // Takes the clip's samples; they stay available through Samples().
  explicit WaveformEnvelope(AudioClip clip);

  int32_t SampleRate() const { return clip_.SampleRate; }
  std::span<const float> Samples() const { return clip_.Samples; }
  double DurationSeconds() const { return clip_.DurationSeconds(); }

  // Column i covers [startSeconds + i * secondsPerColumn, startSeconds + (i + 1) * secondsPerColumn).
  // A column narrower than one sample shows the sample under its start, so a zoomed-in
  // waveform stays one connected line. secondsPerColumn must be positive.
  void Columns(double startSeconds, double secondsPerColumn, std::span<EnvelopeColumn> out) const;
  std::vector<EnvelopeColumn> Columns(double startSeconds, double secondsPerColumn, int32_t count) const;

  // The samples [first, end) clipped to the clip; no audio when nothing is left.
  EnvelopeColumn SampleRange(int64_t first, int64_t end) const;

 private:
  struct Bin {
    float Min;
    float Max;
  };

  int64_t SampleAt(double seconds) const;

  AudioClip clip_;
  std::vector<std::vector<Bin>> levels_;  // level k: bins of kEnvelopeBaseBin << k samples
};

}  // namespace orvane
