// The recipes' flight law against the compiler's own stepping.

#include <gtest/gtest.h>

#include "effects/effect_measure.h"
#include "effects/flight.h"
#include "effects/recipe_parts.h"

namespace orvane {
namespace {

// One white star fired at `elevation` degrees, living `life` frames, alone in its chain.
EffectChain OneStar(int elevation, int speed, int resistance, int weight, int life) {
  TBaseDevice d = recipe::StarDevice();
  d.Definition.Kind = false;
  d.Definition.Code = 7;
  d.ProjectionXY = static_cast<int16_t>(elevation);
  d.OpeningXY = 1;
  d.OpeningXZ = 1;
  d.StarSpeed = speed;
  d.StarResistance = resistance;
  d.StarWeight = weight;
  recipe::SetLife(d, life, 100);
  EffectChain chain;
  chain.Description.Type = EffectType::kComet;  // measured as it flies, no lift to follow
  chain.Devices = {d};
  return chain;
}

TEST(Flight, ApexIsTheHighestPointOfTheSteppedPath) {
  for (const auto& [resistance, weight, speed] : {std::tuple{100, 39, 61}, {40, 39, 30}, {10, 20, 5}, {1, 39, 100}}) {
    const Flight f = FlightOf(resistance, weight);
    const double v = speed * SpeedPerStep();
    const int n = f.MovesToApex(v);
    ASSERT_GT(n, 1);
    EXPECT_GE(f.Up(v, n), f.Up(v, n - 1));
    EXPECT_GE(f.Up(v, n), f.Up(v, n + 1)) << resistance << " " << speed;
  }
  EXPECT_EQ(FlightOf(50, 39).MovesToApex(0.0), 0);
  EXPECT_EQ(FlightOf(50, -10).MovesToApex(0.1), 0) << "a rising star has no apex";
}

TEST(Flight, PredictsWhatTheCompilerMeasures) {
  const double mpu = 20;
  for (const auto& [resistance, weight, speed] : {std::tuple{100, 39, 61}, {40, 39, 30}, {10, 20, 12}}) {
    const Flight f = FlightOf(resistance, weight);
    const double v = speed * SpeedPerStep();
    const int apex = f.MovesToApex(v);
    const Result<EffectMeasurement> up = MeasureEffect(OneStar(90, speed, resistance, weight, apex), 1, mpu);
    ASSERT_TRUE(up.Ok()) << up.Message();
    EXPECT_NEAR(up.Value().TopM, f.Apex(v) * mpu, 0.005 * f.Apex(v) * mpu) << resistance;

    const int life = 60;
    const Result<EffectMeasurement> across = MeasureEffect(OneStar(0, speed, resistance, weight, life), 1, mpu);
    ASSERT_TRUE(across.Ok()) << across.Message();
    // Written positions end one move before the star's last.
    EXPECT_GE(across.Value().SpreadM, f.Across(v, life - 2) * mpu * 0.999) << resistance;
    EXPECT_LE(across.Value().SpreadM, f.Across(v, life) * mpu * 1.001) << resistance;
  }
}

TEST(Flight, SpeedsForAnApexComeFromTheWindowsRange) {
  const Flight lift = FlightOf(100, 39);
  // One step of speed moves a low apex by a larger share.
  for (auto [height, share] : {std::pair{1.0, 0.04}, {3.0, 0.02}, {6.0, 0.02}, {9.0, 0.02}}) {
    const int s = StarSpeedForApex(lift, height);
    EXPECT_NEAR(lift.Apex(s * SpeedPerStep()), height, share * height) << height;
    EXPECT_GT(std::abs(lift.Apex((s + 1) * SpeedPerStep()) - height), std::abs(lift.Apex(s * SpeedPerStep()) - height));
  }
  EXPECT_EQ(StarSpeedForApex(lift, 1000.0), 100) << "beyond reach: the fastest the window allows";
  EXPECT_EQ(StarSpeedFor(-1.0), 0);
  EXPECT_EQ(StarSpeedFor(1e9), 100);
}

}  // namespace
}  // namespace orvane
