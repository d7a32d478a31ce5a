#include "compiler/compiled_device_prep.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/form_device.h"
#include "util/random.h"

namespace orvane {
namespace {

TBaseDevice FormDefaults() { return testing::FormDevice(1); }

float Speed(const TCompPartics& s, int v) {
  return std::sqrt(s.VelX[v] * s.VelX[v] + s.VelY[v] * s.VelY[v] + s.VelZ[v] * s.VelZ[v]);
}

bool IsStill(const TCompPartics& s) {
  for (int v = 0; v < 5; ++v)
    if (s.VelX[v] != 0 || s.VelY[v] != 0 || s.VelZ[v] != 0) return false;
  return true;
}

class PrepTest : public ::testing::Test {
 protected:
  void SetUp() override { EnableSeededMode(2024); }
  void TearDown() override { DisableSeededMode(); }
};

TEST_F(PrepTest, ScalarConversions) {
  TBaseDevice d = FormDefaults();
  d.ProjectionXY = 90;
  d.OpeningXY = 21;
  d.ProjectionXZ = -3;  // div 2 truncates toward zero
  d.OpeningXZ = 3;
  d.NextParExists = true;
  d.NextParCode = 7;
  d.NextParStart = 40;
  const TCompDevice c = CompiledScalars(d);
  EXPECT_EQ(c.Code, 1);
  EXPECT_EQ(c.AngleXYFrom, 80);
  EXPECT_EQ(c.AngleXYTo, 101);
  EXPECT_EQ(c.AngleXZFrom, -4);
  EXPECT_EQ(c.AngleXZTo, -1);
  EXPECT_EQ(c.EffectFrames, 50u);
  EXPECT_EQ(c.MaxLifeFrames, 49);
  EXPECT_EQ(c.MinLifeFrames, 24);  // round(24.5), half to even
  EXPECT_EQ(c.Gravity, static_cast<float>(-10 / 50000.0));
  EXPECT_EQ(c.Speed, 60.0f);
  EXPECT_EQ(c.Resistance, static_cast<float>(10 / 5000.0));
  EXPECT_EQ(c.Size, 0.1f);
  EXPECT_EQ(c.TrailFactor, 1.0f);
  EXPECT_EQ(c.NextEffFactor, -1.0f);
  EXPECT_EQ(c.NextEffCode, 0);
  EXPECT_EQ(c.NextParCode, 7);
  EXPECT_EQ(c.NextParFactor, 0.4f);
}

TEST_F(PrepTest, LivesFollowTheEffectLength) {
  TBaseDevice d = FormDefaults();
  ASSERT_TRUE(PrepareCompiledPart(d));
  for (const TCompPartics& s : d.Compiled->Stars) {
    EXPECT_GE(s.LifeFrames, 24);
    EXPECT_LE(s.LifeFrames, 48);
    EXPECT_EQ(s.Colors.size(), static_cast<size_t>(s.LifeFrames));
  }
}

TEST_F(PrepTest, ShortEffectGivesOneFrameStars) {
  TBaseDevice d = FormDefaults();
  d.EffectLength = 39;
  ASSERT_TRUE(PrepareCompiledPart(d));
  EXPECT_EQ(d.Compiled->EffectFrames, 1u);
  EXPECT_EQ(d.Compiled->MaxLifeFrames, 0);
  EXPECT_EQ(d.Compiled->MinLifeFrames, 0);
  for (const TCompPartics& s : d.Compiled->Stars) EXPECT_EQ(s.LifeFrames, 1);
}

TEST_F(PrepTest, FullSphereFillsEveryStar) {
  TBaseDevice d = FormDefaults();
  ASSERT_TRUE(PrepareCompiledPart(d));
  ASSERT_EQ(d.Compiled->Stars.size(), 500u);
  for (const TCompPartics& s : d.Compiled->Stars) EXPECT_FALSE(IsStill(s));
}

TEST_F(PrepTest, FlatFanPlacesOneStarPerCell) {
  TBaseDevice d = FormDefaults();
  d.OpeningXY = 90;
  d.OpeningXZ = 0;
  ASSERT_TRUE(PrepareCompiledPart(d));
  int moving = 0, still = 0;
  for (const TCompPartics& s : d.Compiled->Stars) {
    if (IsStill(s)) {
      ++still;
      EXPECT_EQ(s.LifeFrames, 1);
    } else {
      ++moving;
    }
  }
  EXPECT_EQ(moving, 91);
  EXPECT_EQ(still, 409);
}

TEST_F(PrepTest, HomogeneousAndRandomSpeeds) {
  TBaseDevice d = FormDefaults();
  ASSERT_TRUE(PrepareCompiledPart(d));
  for (const TCompPartics& s : d.Compiled->Stars)
    for (int v = 0; v < 5; ++v) EXPECT_NEAR(Speed(s, v), 0.06f, 1e-6f);

  d.SpeedKind = SpeedKind::Random;
  ASSERT_TRUE(PrepareCompiledPart(d));
  float lo = 1, hi = 0;
  for (const TCompPartics& s : d.Compiled->Stars)
    for (int v = 0; v < 5; ++v) {
      lo = std::min(lo, Speed(s, v));
      hi = std::max(hi, Speed(s, v));
    }
  EXPECT_NEAR(lo, 0.030f, 1e-6f);
  EXPECT_NEAR(hi, 0.059f, 1e-6f);
}

TEST_F(PrepTest, NoSegmentsGivesWhiteOpaqueStars) {
  TBaseDevice d = FormDefaults();
  ASSERT_TRUE(PrepareCompiledPart(d));
  for (const TCompPartics& s : d.Compiled->Stars)
    for (const FrameColor& c : s.Colors) EXPECT_EQ(c, (FrameColor{1, 1, 1, 1}));
}

TEST_F(PrepTest, ChainFrameFromTheStarLife) {
  TBaseDevice d = FormDefaults();
  d.NextParExists = true;
  d.NextParCode = 9;
  d.NextParStart = 50;
  ASSERT_TRUE(PrepareCompiledPart(d));
  for (const TCompPartics& s : d.Compiled->Stars)
    EXPECT_EQ(s.NextParFrame, static_cast<int32_t>(std::nearbyint((s.LifeFrames - 1) * 0.5f)));
}

TEST_F(PrepTest, SeededPreparationsRepeatAndClockOnesDiffer) {
  TBaseDevice a = FormDefaults(), b = FormDefaults();
  EnableSeededMode(5);
  ASSERT_TRUE(PrepareCompiledPart(a));
  EnableSeededMode(5);
  ASSERT_TRUE(PrepareCompiledPart(b));
  for (size_t i = 0; i < 500; ++i) EXPECT_EQ(a.Compiled->Stars[i].VelX, b.Compiled->Stars[i].VelX);

  DisableSeededMode();
  ASSERT_TRUE(PrepareCompiledPart(a));
  ASSERT_TRUE(PrepareCompiledPart(b));
  int same = 0;
  for (size_t i = 0; i < 500; ++i) same += a.Compiled->Stars[i].VelX == b.Compiled->Stars[i].VelX;
  EXPECT_LT(same, 500);
}

TEST_F(PrepTest, NoStarsIsAnEffectWithoutStars) {
  TBaseDevice d = FormDefaults();
  d.StarQuantity = 0;
  ASSERT_TRUE(PrepareCompiledPart(d));
  EXPECT_TRUE(d.Compiled->Stars.empty());
}

TEST_F(PrepTest, HugeGridFromAFileEndsAndNonsenseLivesAreRefused) {
  TBaseDevice d = FormDefaults();
  d.StarQuantity = 65535;
  d.OpeningXY = 32767;
  d.OpeningXZ = 32767;
  ASSERT_TRUE(PrepareCompiledPart(d));  // the float32 sum stalls long before the grid ends

  TBaseDevice bad = FormDefaults();
  bad.MaxStarLife = -40;
  bad.MinStarLife = 300;
  EXPECT_FALSE(PrepareCompiledPart(bad));
  EXPECT_EQ(bad.Compiled, nullptr);

  TBaseDevice huge = FormDefaults();
  huge.StarQuantity = 65535;
  huge.EffectLength = 2000000000;
  EXPECT_FALSE(PrepareCompiledPart(huge));
}

TEST(FrameColorAt, MixColorRunsFromInitialToFinal) {
  // 50..100 from red to blue on a 40-frame star.
  const SegmentList segs{NewColorSegment(50, 100, kMixColor, 0x000000FF, 0x00FF0000)};
  EXPECT_EQ(FrameColorAt(segs, 19, 40), (FrameColor{1, 1, 1, 1}));  // no segment yet
  const FrameColor first = FrameColorAt(segs, 20, 40);
  EXPECT_EQ(first, (FrameColor{1, 0, 0, 1}));
  const FrameColor last = FrameColorAt(segs, 39, 40);
  // rate = -510 / 40 = -12.75 per frame: 19 frames in, red 12.75 -> 13, blue 242.25 -> 242.
  EXPECT_EQ(last.Red, static_cast<float>(13 / 255.0));
  EXPECT_EQ(last.Green, 0.0f);
  EXPECT_EQ(last.Blue, static_cast<float>(242 / 255.0));
}

TEST(FrameColorAt, EarlierSegmentWinsAnOverlap) {
  const SegmentList segs{NewColorSegment(0, 50, 0, 0x0000FF00, 0x0000FF00),
                         NewColorSegment(50, 100, kMixColor, 0x000000FF, 0x00FF0000)};
  EXPECT_EQ(FrameColorAt(segs, 20, 40), (FrameColor{0, 1, 0, 1}));
  EXPECT_EQ(FrameColorAt(segs, 21, 40).Red, static_cast<float>(242 / 255.0));  // the later one after 20
}

TEST(FrameColorAt, FadeAndBlink) {
  const SegmentList fade{NewColorSegment(0, 100, kFadeOut, 0x00FFFFFF, 0x00FFFFFF)};
  EXPECT_EQ(FrameColorAt(fade, 0, 10).Alpha, 1.0f);
  EXPECT_EQ(FrameColorAt(fade, 5, 10).Alpha, 0.5f);
  EXPECT_EQ(FrameColorAt(fade, 10, 10).Alpha, 0.0f);

  EnableSeededMode(3);
  const SegmentList blink{NewColorSegment(0, 100, kFadeOut | kBlink, 0x00FFFFFF, 0x00FFFFFF)};
  int off = 0, on = 0;
  for (int j = 0; j < 200; ++j) {
    const float g = FrameColorAt(fade, j % 100, 100).Alpha;
    const float a = FrameColorAt(blink, j % 100, 100).Alpha;
    if (a == 0.0f) ++off;
    else {
      EXPECT_EQ(a, g);
      ++on;
    }
  }
  DisableSeededMode();
  EXPECT_GT(off, 50);
  EXPECT_GT(on, 50);
}

TEST(FrameColorAt, EmptySpanClampsToZero) {
  // FinalPos = InitialPos: the rate is not finite and the clamp gives 0.
  const SegmentList segs{NewColorSegment(50, 50, kMixColor, 0x00FFFFFF, 0x00000000)};
  const FrameColor c = FrameColorAt(segs, 20, 40);
  EXPECT_EQ(c, (FrameColor{0, 0, 0, 1}));  // 0 * inf and 0 * NaN are NaN, clamped to 0
}

TEST(ColorToVec, BytesOver255) {
  const auto v = ColorToVec(0x00FF8000);
  EXPECT_EQ(v[0], 0.0f);
  EXPECT_EQ(v[1], static_cast<float>(128 / 255.0));
  EXPECT_EQ(v[2], 1.0f);
}

}  // namespace
}  // namespace orvane
