// The example show's music as the show relies on it: cues sit on multiples of half a
// second, so the detector must find its beats there.

#include <gtest/gtest.h>

#include <cmath>

#include "media/music_analysis.h"

namespace orvane {
namespace {

double Rms(std::span<const float> samples) {
  double sum = 0.0;
  for (float v : samples) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

TEST(ExampleMusic, IsSixtyFourSecondsAt120BpmWithItsBeatsOnTheHalfSeconds) {
  const MusicAnalysis analysis = AnalyseMusic({ORVANE_EXAMPLE_MUSIC, true});
  ASSERT_TRUE(analysis.Ok()) << analysis.Message;
  EXPECT_NEAR(analysis.Envelope->DurationSeconds(), 64.0, 0.05);
  EXPECT_NEAR(analysis.Beats.TempoBpm, 120.0, 0.5);
  // Beats from the tracker's start-up (within the first 3 s) to the last beat at 63.5 s.
  EXPECT_GE(analysis.Beats.BeatSeconds.size(), 122u);
  for (double beat : analysis.Beats.BeatSeconds) EXPECT_NEAR(beat, std::round(beat * 2.0) / 2.0, 0.020) << beat;

  // A quiet opening and a big finale.
  const auto samples = analysis.Envelope->Samples();
  const auto rate = static_cast<size_t>(analysis.Envelope->SampleRate());
  const double opening = Rms(samples.subspan(0, 16 * rate));
  const double finale = Rms(samples.subspan(54 * rate, 10 * rate));
  EXPECT_GT(finale, 3.0 * opening);
}

}  // namespace
}  // namespace orvane
