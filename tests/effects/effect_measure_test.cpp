// Measuring a generated effect: seeded compiles that leave the process's generator as
// they found it, and medians over seeds.

#include <gtest/gtest.h>

#include "effects/effect_measure.h"
#include "effects/effect_recipe.h"
#include "util/random.h"

namespace orvane {
namespace {

EffectChain Made(const std::string& text) {
  const Result<EffectDescription> d = ParseEffectDescription(text);
  EXPECT_TRUE(d.Ok());
  Result<EffectChain> chain = MakeEffect(
      d.Value(), [](int32_t) { return false; }, 1);
  EXPECT_TRUE(chain.Ok());
  return chain.Value();
}

TEST(EffectMeasure, RepeatsForASeedAndLeavesTheGeneratorAsItWas) {
  const EffectChain mine = Made("75mm silver mine");
  DisableSeededMode();
  const Result<EffectMeasurement> a = MeasureEffect(mine, 4, 20);
  EXPECT_FALSE(SeededModeEnabled()) << "a measurement must not leave later compiles seeded";
  EnableSeededMode(77);
  Random(10);
  const uint32_t before = RandomSeed();
  const Result<EffectMeasurement> b = MeasureEffect(mine, 4, 20);
  EXPECT_TRUE(SeededModeEnabled());
  EXPECT_EQ(RandomSeed(), before) << "a seeded run goes on where it was";
  DisableSeededMode();
  ASSERT_TRUE(a.Ok() && b.Ok());
  EXPECT_EQ(a.Value().SpreadM, b.Value().SpreadM);
  EXPECT_EQ(a.Value().TopM, b.Value().TopM);
  EXPECT_EQ(a.Value().DurationS, b.Value().DurationS);
}

TEST(EffectMeasure, ShellsBreakAtTheLiftsApexAndGroundEffectsAtTheirTop) {
  const Result<EffectMeasurement> peony = MeasureEffect(Made("100mm red peony"), 1, 20);
  ASSERT_TRUE(peony.Ok()) << peony.Message();
  EXPECT_LT(peony.Value().BreakHeightM, peony.Value().TopM) << "the burst rises above the break";
  EXPECT_GT(peony.Value().BreakHeightM, peony.Value().TopM - peony.Value().SpreadM * 1.1);
  const Result<EffectMeasurement> comet = MeasureEffect(Made("100mm gold comet"), 1, 20);
  ASSERT_TRUE(comet.Ok()) << comet.Message();
  EXPECT_EQ(comet.Value().BreakHeightM, comet.Value().TopM);
  // Metres scale with the show's metres per unit.
  const Result<EffectMeasurement> half = MeasureEffect(Made("100mm gold comet"), 1, 10);
  ASSERT_TRUE(half.Ok());
  EXPECT_DOUBLE_EQ(half.Value().TopM * 2, comet.Value().TopM);
}

TEST(EffectMeasure, MedianTakesTheMiddleOfEachFigure) {
  const auto m = [](double height, double spread, double duration) {
    EffectMeasurement e;
    e.BreakHeightM = height;
    e.SpreadM = spread;
    e.DurationS = duration;
    return e;
  };
  const EffectMeasurement three = MedianMeasurement({m(3, 10, 1), m(1, 30, 2), m(2, 20, 9)});
  EXPECT_EQ(three.BreakHeightM, 2);
  EXPECT_EQ(three.SpreadM, 20);
  EXPECT_EQ(three.DurationS, 2);
  const EffectMeasurement two = MedianMeasurement({m(1, 10, 1), m(2, 30, 2)});
  EXPECT_EQ(two.BreakHeightM, 1.5);
  EXPECT_EQ(two.SpreadM, 20);
  EXPECT_EQ(MedianMeasurement({m(5, 6, 7)}).SpreadM, 6);
}

TEST(EffectMeasure, AChainThatDoesNotCompileIsAFailureNotACrash) {
  EffectChain broken = Made("100mm red peony");
  broken.Devices.pop_back();  // the lift now starts a device that is not there
  const Result<EffectMeasurement> lone = MeasureEffect(broken, 1, 20);
  EXPECT_TRUE(lone.Ok()) << "a missing chained device starts nothing, as in any compile";
  EffectChain cycle = Made("100mm red peony");
  cycle.Devices[1].NextEffExists = true;
  cycle.Devices[1].NextEffCode = cycle.RootCode();
  const Result<EffectMeasurement> endless = MeasureEffect(cycle, 1, 20);
  ASSERT_FALSE(endless.Ok());
  EXPECT_NE(endless.Message().find("do not chain"), std::string::npos) << endless.Message();
}

}  // namespace
}  // namespace orvane
