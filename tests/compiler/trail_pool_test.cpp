#include "compiler/trail_pool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "compiler/random_stretch.h"
#include "compiler/show_record.h"
#include "util/random.h"

namespace orvane {
namespace {

constexpr EncodedColor kWhite{255, 255, 255, 0};

class TrailPoolTest : public ::testing::Test {
 protected:
  void SetUp() override { EnableSeededMode(3); }
  void TearDown() override { DisableSeededMode(); }

  void Fill(size_t n, float alpha, float step) {
    for (size_t i = 0; i < n; ++i) pool.Particles.push_back({0, 0, 0, kWhite, alpha, step, 0.1f});
  }

  CTrail pool;
};

TEST_F(TrailPoolTest, ParticlesPerEmitFollowTheSize) {
  EXPECT_EQ(CTrail::ParticlesPerEmit(0.1f), 4);   // round(4.5)
  EXPECT_EQ(CTrail::ParticlesPerEmit(0.05f), 2);  // round(2.25)
  EXPECT_EQ(CTrail::ParticlesPerEmit(0.3f), 14);  // round(13.5)
  EXPECT_EQ(CTrail::ParticlesPerEmit(0.01f), 3);  // round(0.45) is 0
  EXPECT_EQ(CTrail::ParticlesPerEmit(0.0f), 3);
}

TEST_F(TrailPoolTest, EmitSpreadsParticlesAlongTheMove) {
  pool.Emit(10, 1, 2, 3, EncodeColor(0.5f, 0.25f, 1, 1.0f), 1.0f, 0.1f, 0.4f, -0.8f, 0);
  ASSERT_EQ(pool.Count(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const TrailParticle& p = pool.Particles[i];
    EXPECT_NEAR(p.X, 1 + 0.1f * (i + 1), 1e-6);
    EXPECT_NEAR(p.Y, 2 - 0.2f * (i + 1), 1e-6);
    EXPECT_EQ(p.Z, 3.0f);
    EXPECT_EQ(p.Color.Red, 128);      // round(127.5)
    EXPECT_EQ(p.Color.Green, 64);     // round(63.75)
    EXPECT_EQ(p.Color.AlphaHigh, 0);  // each record has its own
    EXPECT_EQ(p.Alpha, 1.0f);
    EXPECT_EQ(p.AlphaStep, -0.1f);
    EXPECT_EQ(p.Size, 0.1f);
  }
}

TEST_F(TrailPoolTest, ParticleFadesOutOverItsLife) {
  pool.Emit(10, 0, 0, 0, kWhite, 1.0f, 0.05f, 0, 0, 0);
  std::vector<float> written;
  while (pool.Count() > 0) {
    written.push_back(pool.Particles[0].Alpha);
    ASSERT_LT(written.size(), 20u);
    pool.Fade();
  }
  ASSERT_GE(written.size(), 10u);
  EXPECT_EQ(written[0], 1.0f);
  EXPECT_EQ(written[1], 0.9f);
  EXPECT_NEAR(written[5], 0.5f, 1e-6);
  // Every written value but the last is above 0.1; the last is the first at or below it.
  for (size_t i = 0; i + 1 < written.size(); ++i) EXPECT_GT(static_cast<double>(written[i]), 0.1);
  EXPECT_LE(static_cast<double>(written.back()), 0.1);
}

TEST_F(TrailPoolTest, NearestFloatToATenthStaysOneMoreFrame) {
  Fill(1, 0.1f, -0.05f);  // 0.1f is slightly above 0.1
  pool.Fade();
  ASSERT_EQ(pool.Count(), 1u);
  EXPECT_EQ(pool.Particles[0].Alpha, 0.1f - 0.05f);
}

TEST_F(TrailPoolTest, ParticlesSinkAtRandom) {
  Fill(200, 1.0f, -0.01f);
  pool.Fade();
  float lo = 0, hi = -1;
  for (const TrailParticle& p : pool.Particles) {
    lo = std::min(lo, p.Y);
    hi = std::max(hi, p.Y);
  }
  EXPECT_NEAR(lo, -0.009f, 1e-7);
  EXPECT_EQ(hi, 0.0f);
}

TEST_F(TrailPoolTest, CrowdedPoolThirdsEveryEvenIndex) {
  Fill(3001, 0.9f, -0.1f);
  pool.Fade();
  ASSERT_EQ(pool.Count(), 3001u);
  EXPECT_EQ(pool.Particles[0].Alpha, 0.9f / 3);
  EXPECT_EQ(pool.Particles[1].Alpha, 0.9f - 0.1f);
  EXPECT_EQ(pool.Particles[2].Alpha, 0.9f / 3);

  // At 3000 no crowding applies.
  CTrail small;
  small.Particles.assign(3000, {0, 0, 0, kWhite, 0.9f, -0.1f, 0.1f});
  small.Fade();
  EXPECT_EQ(small.Particles[0].Alpha, 0.9f - 0.1f);
}

TEST_F(TrailPoolTest, CrowdingCountsThePoolAtTheMomentOfTheVisit) {
  // Two spent particles first: once they are gone the pool holds 3000 and thinning stops.
  Fill(2, 0.05f, -0.1f);
  Fill(3000, 0.9f, -0.1f);
  pool.Fade();
  ASSERT_EQ(pool.Count(), 3000u);
  EXPECT_EQ(pool.Particles[0].Alpha, 0.9f - 0.1f);

  // One spent particle at index 1: index 0 is thinned (3002 at that moment), and the
  // particle that moves into index 1 is visited next, when 3001 remain: odd, normal step.
  CTrail mixed;
  mixed.Particles.assign(3002, {0, 0, 0, kWhite, 0.9f, -0.1f, 0.1f});
  mixed.Particles[1].Alpha = 0.05f;
  mixed.Fade();
  ASSERT_EQ(mixed.Count(), 3001u);
  EXPECT_EQ(mixed.Particles[0].Alpha, 0.9f / 3);
  EXPECT_EQ(mixed.Particles[1].Alpha, 0.9f - 0.1f);
  EXPECT_EQ(mixed.Particles[2].Alpha, 0.9f / 3);
}

TEST_F(TrailPoolTest, RemovalDoesNotSkipTheNextParticle) {
  Fill(3, 0.05f, -0.01f);
  pool.Particles[2].Alpha = 0.5f;
  pool.Particles[2].X = 7;
  SetRandomSeed(42);
  pool.Fade();
  ASSERT_EQ(pool.Count(), 1u);
  EXPECT_EQ(pool.Particles[0].X, 7.0f);
  EXPECT_EQ(pool.Particles[0].Alpha, 0.49f);
  // Every particle drew its sink, the removed ones too.
  const uint32_t after = RandomSeed();
  SetRandomSeed(42);
  for (int i = 0; i < 3; ++i) Random(10);
  EXPECT_EQ(after, RandomSeed());
}

TEST_F(TrailPoolTest, ZeroLifeGoesToZeroThenAway) {
  pool.Emit(0, 0, 0, 0, kWhite, 0.8f, 0.05f, 0, 0, 0);
  pool.Emit(0, 0, 0, 0, kWhite, 0.0f, 0.05f, 0, 0, 0);
  ASSERT_EQ(pool.Count(), 4u);
  EXPECT_TRUE(std::isinf(pool.Particles[0].AlphaStep));
  EXPECT_TRUE(std::isnan(pool.Particles[2].AlphaStep));
  pool.Fade();
  ASSERT_EQ(pool.Count(), 2u);  // alpha 0 is spent at once
  EXPECT_EQ(pool.Particles[0].Alpha, 0.0f);
  pool.Fade();
  EXPECT_EQ(pool.Count(), 0u);
}

// The one-pass write and fade against the two passes it replaces: every record drawn
// first, then Fade, through the process-wide generator one draw at a time.
TEST_F(TrailPoolTest, WriteAndFadeMatchesWritingThenFading) {
  const float nan = std::nanf("");
  const float inf = std::numeric_limits<float>::infinity();
  const float alphas[] = {0.9f, 0.05f, 0.1f, 1.0f, 0.3f, 0.0f, 0.11f, 0.7f, 0.1000001f};
  const float steps[] = {-0.1f, -0.01f, -inf, nan, -0.05f, -0.9f, -0.3f};
  const float sizes[] = {0.1f, 0.1f, 0.05f, 0.3f, 0.0f, 0.02f};
  // Below, at and above the crowding bound, with spent particles mixed in.
  for (size_t n : {0u, 1u, 7u, 2999u, 3000u, 3001u, 3002u, 5000u}) {
    for (float scale : {1.0f, 1.7f}) {
      CTrail plain, merged;
      for (size_t i = 0; i < n; ++i) {
        plain.Particles.push_back(
            {static_cast<float>(i % 97) * 0.013f - 0.6f, 1.5f + static_cast<float>(i % 13) * 0.01f,
             -static_cast<float>(i % 31) * 0.05f,
             EncodeColor(static_cast<float>(i % 11) / 10, static_cast<float>(i % 7) / 6, 0.25f, 0), alphas[i % 9],
             steps[i % 7], sizes[i / 4 % 6]});
      }
      merged.Particles = plain.Particles;

      SetRandomSeed(static_cast<uint32_t>(n * 7919 + 5));
      std::vector<uint8_t> expected(n * kRecordSize);
      for (size_t i = 0; i < n; ++i) {
        const TrailParticle& p = plain.Particles[i];
        const float alpha = Random(100) > 50 ? p.Alpha / 3 : p.Alpha;
        EncodedColor color = p.Color;
        color.AlphaHigh = AlphaHighNibble(alpha);
        EncodeRecord(expected.data() + i * kRecordSize, p.X, p.Y, p.Z, color, SizeNibble(p.Size, scale));
      }
      plain.Fade();
      const uint32_t seedAfterTwoPasses = RandomSeed();

      SetRandomSeed(static_cast<uint32_t>(n * 7919 + 5));
      std::vector<uint8_t> written(n * kRecordSize);
      EXPECT_EQ(merged.WriteAndFade(written.data(), scale), n);
      EXPECT_EQ(written, expected) << n;
      EXPECT_EQ(RandomSeed(), seedAfterTwoPasses) << n;
      ASSERT_EQ(merged.Count(), plain.Count()) << n;
      if (plain.Count() > 0) {  // memcmp takes no null pointer, even for no bytes
        EXPECT_EQ(std::memcmp(merged.Particles.data(), plain.Particles.data(), plain.Count() * sizeof(TrailParticle)),
                  0)
            << n;
      }
    }
  }
}

// The pool's storage past 2 MiB comes from huge-page blocks: growth, copies and shrinking
// keep every particle, and the big blocks sit at 2 MiB boundaries.
TEST_F(TrailPoolTest, LargePoolKeepsItsParticlesThroughGrowth) {
  const size_t many = 3 * kHugePage / sizeof(TrailParticle) + 17;
  for (size_t i = 0; i < many; ++i)
    pool.Particles.push_back({static_cast<float>(i), 0, 0, kWhite, 0.5f, -0.1f, 0.1f, static_cast<uint32_t>(i)});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pool.Particles.data()) % kHugePage, 0u);
  CTrail copy;
  copy.Particles = pool.Particles;
  pool.Particles.resize(5);
  pool.Particles.shrink_to_fit();  // back to the ordinary heap
  ASSERT_EQ(copy.Count(), many);
  for (size_t i = 0; i < many; i += 4099) {
    EXPECT_EQ(copy.Particles[i].X, static_cast<float>(i));
    EXPECT_EQ(copy.Particles[i].Cue, i);
  }
  EXPECT_EQ(copy.Particles.back().Cue, many - 1);
  EXPECT_EQ(pool.Particles[4].Cue, 4u);
}

TEST_F(TrailPoolTest, ReservedPoolGrowsWithoutMoving) {
  const size_t most = 2 * kHugePage / sizeof(TrailParticle) + 5;
  Fill(3, 0.5f, -0.1f);
  pool.Reserve(most);
  ASSERT_GE(pool.Particles.capacity(), most);
  EXPECT_EQ(pool.Count(), 3u);  // the particles held stay
  const TrailParticle* start = pool.Particles.data();
  Fill(most - 3, 0.5f, -0.1f);
  EXPECT_EQ(pool.Particles.data(), start);
  // A bound below what the pool already has room for changes nothing.
  pool.Reserve(10);
  EXPECT_EQ(pool.Particles.data(), start);
}

TEST(RandomSkip, SeedAfterDrawsIsTheSeedThatManyDrawsLater) {
  for (uint64_t draws : {0ull, 1ull, 2ull, 3ull, 1000ull, 65537ull}) {
    SetRandomSeed(0xC0FFEEu);
    for (uint64_t i = 0; i < draws; ++i) Random(10);
    EXPECT_EQ(SeedAfterDraws(0xC0FFEEu, draws), RandomSeed()) << draws;
  }
  // The recurrence has period 2^32.
  EXPECT_EQ(SeedAfterDraws(12345u, 1ull << 32), 12345u);
}

}  // namespace
}  // namespace orvane
