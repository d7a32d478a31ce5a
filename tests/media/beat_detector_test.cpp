#include "media/beat_detector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio_fixtures.h"
#include "media/audio_decoder.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using testing::EncodedFormat;

constexpr double kTolerance = 0.020;
// The tracker estimates its period from a window of about 6 s of onsets, refreshed every
// 1.5 s; it places no beat before its first estimate, so clicks in the first 3 s may be
// missed (at most 5 at 120 bpm; 2 are missed in practice).
constexpr double kStartUpSeconds = 3.0;
// After a change of tempo the old period dominates the window until enough of the new
// one has come in: one window and one refresh.
constexpr double kSettleSeconds = 7.5;

struct Ignored {
  double From;
  double To;
  bool Holds(double t) const { return t >= From && t < To; }
};

double Nearest(const std::vector<double>& times, double t) {
  double best = 1e9;
  for (double x : times) best = std::min(best, std::abs(x - t));
  return best;
}

// Every click outside the ignored spans has a beat within the tolerance, and every beat
// up to the last click (the tracker runs on over the silence after it) has a click.
void ExpectBeatsOnClicks(const std::vector<double>& beats, const std::vector<double>& clicks,
                         const std::vector<Ignored>& ignored) {
  auto skip = [&](double t) {
    return std::any_of(ignored.begin(), ignored.end(), [t](auto& s) { return s.Holds(t); });
  };
  int checkedClicks = 0;
  for (double click : clicks) {
    if (skip(click)) continue;
    ++checkedClicks;
    EXPECT_LE(Nearest(beats, click), kTolerance) << "no beat at the click at " << click << " s";
  }
  EXPECT_GT(checkedClicks, static_cast<int>(clicks.size()) / 2);
  for (double beat : beats) {
    if (skip(beat) || beat > clicks.back() + kTolerance) continue;
    EXPECT_LE(Nearest(clicks, beat), kTolerance) << "a beat at " << beat << " s falls on no click";
  }
}

// Writes the click track at 48 kHz (so every format goes through the resampler), encodes
// it and runs it through the decoder and the detector.
BeatTrack BeatsThroughFile(const std::filesystem::path& folder, const std::vector<double>& clicks, double seconds,
                           EncodedFormat format) {
  const auto wav = folder / "clicks.wav";
  testing::WriteWav(wav, testing::ClickTrack(clicks, seconds, 48000), 1, 48000);
  const auto decoded = DecodeAudioFile(testing::EncodeWav(wav, format));
  EXPECT_TRUE(decoded.Ok()) << decoded.Message;
  return DetectBeats(decoded.Clip.Samples, decoded.Clip.SampleRate);
}

constexpr EncodedFormat kFormats[] = {EncodedFormat::Wav, EncodedFormat::Flac, EncodedFormat::Ogg, EncodedFormat::Mp3};

TEST(BeatDetector, SteadyTempiInEveryFormatLandOnTheClicks) {
  for (double bpm : {120.0, 97.0}) {
    const auto clicks = testing::SteadyClicks(bpm, 0.5, static_cast<int32_t>(29.0 * bpm / 60.0));
    for (auto format : kFormats) {
      SCOPED_TRACE(::testing::Message() << bpm << " bpm, " << testing::ExtensionOf(format));
      testing::ScratchDir dir;
      const auto track = BeatsThroughFile(dir.Path(), clicks, 30.0, format);
      ASSERT_TRUE(track.Ok()) << track.Message;
      ExpectBeatsOnClicks(track.BeatSeconds, clicks, {{0.0, kStartUpSeconds}});
      EXPECT_NEAR(track.TempoBpm, bpm, 0.5);
    }
  }
}

TEST(BeatDetector, FollowsAChangeOfTempo) {
  // 120 bpm up to 16 s, then 97 bpm.
  auto clicks = testing::SteadyClicks(120.0, 0.5, 32);
  const double change = clicks.back() + 60.0 / 97.0;
  const auto slower = testing::SteadyClicks(97.0, change, 32);
  clicks.insert(clicks.end(), slower.begin(), slower.end());
  for (auto format : kFormats) {
    SCOPED_TRACE(testing::ExtensionOf(format));
    testing::ScratchDir dir;
    const auto track = BeatsThroughFile(dir.Path(), clicks, clicks.back() + 1.0, format);
    ASSERT_TRUE(track.Ok()) << track.Message;
    ExpectBeatsOnClicks(track.BeatSeconds, clicks, {{0.0, kStartUpSeconds}, {change - 0.5, change + kSettleSeconds}});
    std::vector<double> before, after;
    for (double b : track.BeatSeconds) {
      if (b >= kStartUpSeconds && b < change - 0.5) before.push_back(b);
      if (b >= change + kSettleSeconds && b <= clicks.back()) after.push_back(b);
    }
    EXPECT_NEAR(TempoFromBeats(before), 120.0, 0.5);
    EXPECT_NEAR(TempoFromBeats(after), 97.0, 0.5);
  }
}

TEST(BeatDetector, StaysOnTheBeatThroughALongSteadyTrack) {
  // Two minutes at 120 bpm: a single tracker run slips off the beat after about fifty
  // seconds of this; the restarted runs must not, nor lose or double a beat at their seams.
  const auto clicks = testing::SteadyClicks(120.0, 0.5, 240);
  const auto samples = testing::ClickTrack(clicks, 120.5, kAudioSampleRate);
  const auto track = DetectBeats(samples, kAudioSampleRate);
  ASSERT_TRUE(track.Ok());
  ExpectBeatsOnClicks(track.BeatSeconds, clicks, {{0.0, kStartUpSeconds}});
  for (size_t i = 1; i < track.BeatSeconds.size(); ++i)
    EXPECT_NEAR(track.BeatSeconds[i] - track.BeatSeconds[i - 1], 0.5, kTolerance) << track.BeatSeconds[i];
  EXPECT_NEAR(track.TempoBpm, 120.0, 0.5);
}

TEST(BeatDetector, SilenceHasNoBeatsAndNoTempo) {
  const std::vector<float> silence(static_cast<size_t>(10 * kAudioSampleRate), 0.0f);
  const auto track = DetectBeats(silence, kAudioSampleRate);
  ASSERT_TRUE(track.Ok());
  EXPECT_TRUE(track.BeatSeconds.empty());
  EXPECT_EQ(track.TempoBpm, 0.0);
  EXPECT_TRUE(DetectBeats({}, kAudioSampleRate).BeatSeconds.empty());
}

TEST(BeatDetector, ProgressRisesToOneAndAStopEndsTheRun) {
  const auto samples = testing::ClickTrack(testing::SteadyClicks(120.0, 0.5, 20), 10.5, kAudioSampleRate);
  std::vector<double> seen;
  const auto track = DetectBeats(samples, kAudioSampleRate, [&](double f) { seen.push_back(f); });
  ASSERT_TRUE(track.Ok());
  EXPECT_FALSE(track.BeatSeconds.empty());
  ASSERT_GE(seen.size(), 50u);
  EXPECT_LE(seen.size(), 102u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 1.0);

  std::stop_source source;
  int calls = 0;
  const auto stopped = DetectBeats(
      samples, kAudioSampleRate, [&](double) { ++calls, source.request_stop(); }, source.get_token());
  EXPECT_EQ(stopped.Status, BeatStatus::Stopped);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(stopped.BeatSeconds.empty());
}

TEST(BeatDetector, ARateOfZeroIsRefused) {
  const std::vector<float> samples(1000, 0.1f);
  const auto track = DetectBeats(samples, 0);
  EXPECT_EQ(track.Status, BeatStatus::Refused);
  EXPECT_EQ(track.Message, "Beats cannot be detected at a sample rate of 0 Hz.");
}

TEST(BeatDetector, TempoIsTheMedianPeriodOverSpansOfBeats) {
  EXPECT_EQ(TempoFromBeats({}), 0.0);
  EXPECT_EQ(TempoFromBeats(std::vector<double>{1.0}), 0.0);
  EXPECT_DOUBLE_EQ(TempoFromBeats(std::vector<double>{1.0, 1.5}), 120.0);
  // Beats jittering by 6 ms around a 0.5 s grid still give 120 within a fraction.
  std::vector<double> jittered;
  for (int i = 0; i < 40; ++i) jittered.push_back(i * 0.5 + (i % 3 == 0 ? 0.006 : i % 3 == 1 ? -0.006 : 0.0));
  EXPECT_NEAR(TempoFromBeats(jittered), 120.0, 0.2);
  // One missed beat (a doubled interval) does not move the median.
  std::vector<double> gap;
  for (int i = 0; i < 40; ++i)
    if (i != 20) gap.push_back(i * 0.5);
  EXPECT_NEAR(TempoFromBeats(gap), 120.0, 0.01);
}

}  // namespace
}  // namespace orvane
