#include "media/waveform_envelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

namespace orvane {
namespace {

AudioClip RandomClip(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> level(-1.0f, 1.0f);
  AudioClip clip;
  clip.Samples.resize(count);
  for (float& s : clip.Samples) s = level(random);
  return clip;
}

EnvelopeColumn BruteForce(const std::vector<float>& samples, int64_t first, int64_t end) {
  first = std::clamp<int64_t>(first, 0, static_cast<int64_t>(samples.size()));
  end = std::clamp<int64_t>(end, 0, static_cast<int64_t>(samples.size()));
  if (first >= end) return {};
  const auto [low, high] = std::minmax_element(samples.begin() + first, samples.begin() + end);
  return {*low, *high, true};
}

void ExpectSame(const EnvelopeColumn& got, const EnvelopeColumn& want) {
  EXPECT_EQ(got.HasAudio, want.HasAudio);
  EXPECT_EQ(got.Min, want.Min);
  EXPECT_EQ(got.Max, want.Max);
}

TEST(WaveformEnvelope, RangesMatchAScanOfTheSamplesAtEveryAlignment) {
  // A length that is no multiple of any bin, so every level ends in a partial bin.
  const AudioClip clip = RandomClip(100003, 5);
  const WaveformEnvelope envelope(clip);
  std::mt19937 random(11);
  const auto count = static_cast<int64_t>(clip.Samples.size());
  std::uniform_int_distribution<int64_t> position(-50, count + 50);
  for (int trial = 0; trial < 3000; ++trial) {
    int64_t a = position(random), b = position(random);
    if (trial % 3 == 0) b = a + trial % 200;  // short ranges, inside one bin or across two
    SCOPED_TRACE(::testing::Message() << a << ".." << b);
    ExpectSame(envelope.SampleRange(a, b), BruteForce(clip.Samples, a, b));
  }
  ExpectSame(envelope.SampleRange(0, count), BruteForce(clip.Samples, 0, count));
}

TEST(WaveformEnvelope, ColumnsCoverTheirTimeSpan) {
  AudioClip clip = RandomClip(44100 * 3, 7);
  const auto samples = clip.Samples;
  const WaveformEnvelope envelope(std::move(clip));
  EXPECT_DOUBLE_EQ(envelope.DurationSeconds(), 3.0);
  EXPECT_EQ(envelope.Samples().size(), samples.size());

  // 0.5 s to 2.5 s over 800 columns: 2.5 ms, 110.25 samples each.
  const auto columns = envelope.Columns(0.5, 0.0025, 800);
  ASSERT_EQ(columns.size(), 800u);
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto first = static_cast<int64_t>(std::floor((0.5 + i * 0.0025) * 44100));
    const auto end = static_cast<int64_t>(std::floor((0.5 + (i + 1) * 0.0025) * 44100));
    SCOPED_TRACE(i);
    ExpectSame(columns[i], BruteForce(samples, first, end));
  }
}

TEST(WaveformEnvelope, ColumnsOutsideTheMusicHaveNoAudio) {
  const WaveformEnvelope envelope(RandomClip(44100, 3));
  // From one second before the music to one second after, 0.25 s a column.
  const auto columns = envelope.Columns(-1.0, 0.25, 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(columns[static_cast<size_t>(i)].HasAudio, i >= 4 && i < 8) << i;
  EXPECT_FALSE(envelope.Columns(std::numeric_limits<double>::quiet_NaN(), 0.25, 1)[0].HasAudio);
  EXPECT_FALSE(envelope.Columns(1e300, 0.25, 1)[0].HasAudio);
  for (const auto& column : WaveformEnvelope().Columns(0.0, 1.0, 3)) EXPECT_FALSE(column.HasAudio);
}

TEST(WaveformEnvelope, ColumnsNarrowerThanASampleShowTheSampleUnderThem) {
  AudioClip clip;
  clip.Samples = {0.1f, -0.2f, 0.3f, -0.4f};
  const WaveformEnvelope envelope(std::move(clip));
  const double sample = 1.0 / kAudioSampleRate;
  // Four columns a sample, starting inside the first: each shows the sample under its start.
  const auto columns = envelope.Columns(sample / 8, sample / 4, 16);
  for (size_t i = 0; i < 16; ++i) {
    ASSERT_TRUE(columns[i].HasAudio) << i;
    EXPECT_EQ(columns[i].Min, columns[i].Max) << i;
    EXPECT_EQ(columns[i].Min, envelope.Samples()[i / 4]) << i;
  }
}

}  // namespace
}  // namespace orvane
