#include "media/beat_detector.h"

#include <algorithm>
#include <functional>
#include <memory>

#include <aubio/aubio.h>

namespace orvane {
namespace {

constexpr size_t kTempoSpanBeats = 8;
// Two beats closer than this are one beat seen by two trackers (300 bpm is 0.2 s a beat).
constexpr double kMinBeatGapSeconds = 0.1;

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

namespace {

// Runs one tracker over samples [feedFirst, outEnd) and keeps its beats in
// [outFirst, outEnd), after `track`'s last beat. False when stopped.
bool TrackSegment(std::span<const float> samples, int32_t sampleRate, size_t feedFirst, size_t outFirst, size_t outEnd,
                  aubio_tempo_t& tempo, fvec_t& hop, fvec_t& beat, BeatTrack& track,
                  const std::function<bool()>& tick) {
  const double end = static_cast<double>(outEnd) / sampleRate;
  // A beat on the seam may come just before it from this tracker and just after it from
  // the one before; the gap rule below keeps one of the two.
  const double from = static_cast<double>(outFirst) / sampleRate - kMinBeatGapSeconds;
  for (size_t first = feedFirst; first < outEnd; first += kBeatHopSamples) {
    if (!tick()) return false;
    // The last hop is padded with silence.
    for (size_t i = 0; i < kBeatHopSamples; ++i) hop.data[i] = first + i < samples.size() ? samples[first + i] : 0.0f;
    aubio_tempo_do(&tempo, &hop, &beat);
    if (beat.data[0] == 0.0f) continue;
    const double seconds = static_cast<double>(feedFirst + aubio_tempo_get_last(&tempo)) / sampleRate;
    // Past the end the tracker keeps predicting beats the music does not have.
    if (seconds < from || seconds >= end) continue;
    if (!track.BeatSeconds.empty() && seconds < track.BeatSeconds.back() + kMinBeatGapSeconds) continue;
    track.BeatSeconds.push_back(seconds);
  }
  return true;
}

}  // namespace

BeatTrack DetectBeats(std::span<const float> samples, int32_t sampleRate, const BeatProgress& progress,
                      std::stop_token stop) {
  BeatTrack track;
  if (sampleRate <= 0) {
    track.Status = BeatStatus::Refused;
    track.Message = "Beats cannot be detected at a sample rate of " + std::to_string(sampleRate) + " Hz.";
    return track;
  }
  const auto segment = static_cast<size_t>(kBeatSegmentSeconds) * static_cast<size_t>(sampleRate);
  const auto warmUp = static_cast<size_t>(kBeatWarmUpSeconds) * static_cast<size_t>(sampleRate);
  const size_t segments = std::max<size_t>(1, (samples.size() + segment - 1) / segment);
  const size_t totalHops = (samples.size() + (segments - 1) * warmUp) / kBeatHopSamples + segments;
  const size_t reportEvery = std::max<size_t>(1, totalHops / 100);
  size_t hopsDone = 0;
  auto tick = [&]() {
    if (hopsDone % reportEvery == 0) {
      if (stop.stop_requested()) return false;
      if (progress) progress(std::min(1.0, static_cast<double>(hopsDone) / static_cast<double>(totalHops)));
    }
    ++hopsDone;
    return true;
  };

  for (size_t s = 0; s < segments; ++s) {
    // A fresh tracker for every segment, started early enough to have settled.
    std::unique_ptr<aubio_tempo_t, TempoFreer> tempo(
        new_aubio_tempo("default", kBeatWindowSamples, kBeatHopSamples, static_cast<uint_t>(sampleRate)));
    std::unique_ptr<fvec_t, VectorFreer> hop(new_fvec(kBeatHopSamples));
    std::unique_ptr<fvec_t, VectorFreer> beat(new_fvec(1));
    if (!tempo || !hop || !beat) {
      track.Status = BeatStatus::Refused;
      track.Message = "Beats cannot be detected at a sample rate of " + std::to_string(sampleRate) + " Hz.";
      track.BeatSeconds.clear();
      return track;
    }
    const size_t outFirst = s * segment;
    const size_t outEnd = std::min(samples.size(), outFirst + segment);
    const size_t feedFirst = outFirst > warmUp ? outFirst - warmUp : 0;
    if (!TrackSegment(samples, sampleRate, feedFirst, outFirst, outEnd, *tempo, *hop, *beat, track, tick)) {
      track.Status = BeatStatus::Stopped;
      track.Message = "Beat detection was stopped.";
      track.BeatSeconds.clear();
      return track;
    }
  }
  track.TempoBpm = TempoFromBeats(track.BeatSeconds);
  if (progress) progress(1.0);
  return track;
}

}  // namespace orvane
