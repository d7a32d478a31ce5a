#include "media/beat_detector.h"

#include <algorithm>
#include <memory>

#include <aubio/aubio.h>

namespace orvane {
namespace {

constexpr size_t kTempoSpanBeats = 8;

struct TempoFreer {
  void operator()(aubio_tempo_t* tempo) const { del_aubio_tempo(tempo); }
};
struct VectorFreer {
  void operator()(fvec_t* vector) const { del_fvec(vector); }
};

}  // namespace

double TempoFromBeats(std::span<const double> beatSeconds) {
  if (beatSeconds.size() < 2) return 0.0;
  // Spans of several beats: the tracker places each beat on its hop grid, which makes
  // single intervals jitter by a hop; over a span the jitter shrinks by its length.
  const size_t span = std::min(kTempoSpanBeats, beatSeconds.size() - 1);
  std::vector<double> periods;
  periods.reserve(beatSeconds.size() - span);
  for (size_t i = span; i < beatSeconds.size(); ++i)
    periods.push_back((beatSeconds[i] - beatSeconds[i - span]) / static_cast<double>(span));
  const auto middle = periods.begin() + static_cast<ptrdiff_t>(periods.size() / 2);
  std::nth_element(periods.begin(), middle, periods.end());
  return *middle > 0.0 ? 60.0 / *middle : 0.0;
}

BeatTrack DetectBeats(std::span<const float> samples, int32_t sampleRate, const BeatProgress& progress,
                      std::stop_token stop) {
  BeatTrack track;
  std::unique_ptr<aubio_tempo_t, TempoFreer> tempo;
  if (sampleRate > 0)
    tempo.reset(new_aubio_tempo("default", kBeatWindowSamples, kBeatHopSamples, static_cast<uint_t>(sampleRate)));
  std::unique_ptr<fvec_t, VectorFreer> hop(new_fvec(kBeatHopSamples));
  std::unique_ptr<fvec_t, VectorFreer> beat(new_fvec(1));
  if (!tempo || !hop || !beat) {
    track.Status = BeatStatus::Refused;
    track.Message = "Beats cannot be detected at a sample rate of " + std::to_string(sampleRate) + " Hz.";
    return track;
  }

  const size_t hops = (samples.size() + kBeatHopSamples - 1) / kBeatHopSamples;
  const size_t reportEvery = std::max<size_t>(1, hops / 100);
  for (size_t h = 0; h < hops; ++h) {
    if (h % reportEvery == 0) {
      if (stop.stop_requested()) {
        track.Status = BeatStatus::Stopped;
        track.Message = "Beat detection was stopped.";
        track.BeatSeconds.clear();
        return track;
      }
      if (progress) progress(static_cast<double>(h) / static_cast<double>(hops));
    }
    // The last hop is padded with silence.
    const size_t first = h * kBeatHopSamples;
    for (size_t i = 0; i < kBeatHopSamples; ++i)
      hop->data[i] = first + i < samples.size() ? samples[first + i] : 0.0f;
    aubio_tempo_do(tempo.get(), hop.get(), beat.get());
    if (beat->data[0] != 0.0f) {
      const double seconds = static_cast<double>(aubio_tempo_get_last(tempo.get())) / sampleRate;
      // The tracker keeps predicting after the music ends; those are no beats of it.
      const bool inMusic = seconds < static_cast<double>(samples.size()) / sampleRate;
      if (inMusic && (track.BeatSeconds.empty() || seconds > track.BeatSeconds.back()))
        track.BeatSeconds.push_back(seconds);
    }
  }
  track.TempoBpm = TempoFromBeats(track.BeatSeconds);
  if (progress) progress(1.0);
  return track;
}

}  // namespace orvane
