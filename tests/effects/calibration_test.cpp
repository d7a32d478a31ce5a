// The whole calibration table in one test: every type at every calibration calibre within
// the tolerance of its targets, inside the show file's reach and above the ground.

#include <gtest/gtest.h>

#include "compiler/show_record.h"
#include "effects/calibration.h"
#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"

namespace orvane {
namespace {

TEST(Calibration, EveryTypeAtEveryCalibreMeasuresWithinItsTargets) {
  const std::vector<CalibrationCell> cells = RunCalibration();
  ASSERT_EQ(cells.size(), kEffectTypes.size() * std::size(kCalibrationCalibres));
  const std::string table = CalibrationTableText(cells);
  // Stored positions wrap beyond this many units from the origin.
  const double reach = 32767 / kPositionSteps;
  for (const CalibrationCell& cell : cells) {
    const std::string name = DescriptionText(cell.Description);
    ASSERT_TRUE(cell.Failure.empty()) << name << ": " << cell.Failure;
    EXPECT_TRUE(cell.Within(kCalibrationTolerance)) << name << "\n" << table;
    EXPECT_LT(kRecipeGroundY + cell.Measured.TopM / kRecipeMetresPerUnit, reach) << name;
    EXPECT_LT(cell.Measured.SpreadM / kRecipeMetresPerUnit, reach) << name;
    // No star falls through the ground (nothing here collides with it); a lift's first trail
    // sparks sink a few metres below where it stands.
    EXPECT_GE(cell.Measured.LowestM, -5.0) << name;
    EXPECT_GT(cell.Measured.DurationS, 0) << name;
  }
}

TEST(Calibration, TheTableNamesEveryCellAndItsVerdict) {
  CalibrationCell good;
  good.Description = CalibrationDescription(EffectType::kWillow, 100);
  good.TargetHeightM = 120;
  good.TargetSpreadM = 50;
  good.Measured.BreakHeightM = 126;
  good.Measured.SpreadM = 44;
  CalibrationCell comet;
  comet.Description = CalibrationDescription(EffectType::kComet, 50);
  comet.TargetHeightM = 60;
  comet.Measured.BreakHeightM = 70;
  CalibrationCell failed;
  failed.Description = CalibrationDescription(EffectType::kMine, 75);
  failed.Failure = "the effect shows no particles";
  const std::string text = CalibrationTableText({good, comet, failed});
  EXPECT_NE(text.find("100mm gold willow"), std::string::npos) << text;
  EXPECT_NE(text.find("+5.0%"), std::string::npos) << text;
  EXPECT_NE(text.find("-12.0%"), std::string::npos) << text;
  EXPECT_NE(text.find("+16.7%"), std::string::npos) << text;
  EXPECT_NE(text.find("75mm silver mine: the effect shows no particles"), std::string::npos) << text;
  EXPECT_TRUE(good.Within(0.15));
  EXPECT_FALSE(good.Within(0.10));
  EXPECT_FALSE(comet.Within(0.15)) << "a comet is judged on its height alone";
  EXPECT_TRUE(comet.Within(0.2));
  EXPECT_FALSE(failed.Within(1.0));
}

TEST(Calibration, ACakesSpreadTargetAddsItsFan) {
  const EffectDescription cake = CalibrationDescription(EffectType::kCake, 100);
  const double shell = TargetSpreadM(CalibrationDescription(EffectType::kPeony, 100)).value();
  const double fanned = TargetSpreadM(cake).value();
  // The outermost shots lean 20 degrees; drag slows their climb more than their drift, so
  // their breaks stand off by more than tan(20) of the height.
  EXPECT_GT(fanned - shell, TargetHeightM(cake) * 0.364);
  EXPECT_LT(fanned - shell, TargetHeightM(cake) * 0.6);
  EXPECT_FALSE(TargetSpreadM(CalibrationDescription(EffectType::kComet, 100)).has_value());
}

}  // namespace
}  // namespace orvane
