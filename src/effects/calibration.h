#pragma once
// The calibration table: every type at every calibration calibre, generated, measured over
// kMeasureSeeds (median) and compared with the calibre's targets.

#include <optional>
#include <string>
#include <vector>

#include "effects/effect_description.h"
#include "effects/effect_measure.h"

namespace orvane {

inline constexpr int kCalibrationCalibres[] = {50, 75, 100, 125, 150};
inline constexpr double kCalibrationTolerance = 0.15;
inline constexpr int kCalibrationCakeShots = 5;

struct CalibrationCell {
  EffectDescription Description;
  double TargetHeightM = 0;
  // A comet is one star straight up: it has no spread to aim at.
  std::optional<double> TargetSpreadM;
  EffectMeasurement Measured;
  std::string Failure;  // set when the effect could not be measured

  double HeightError() const { return Measured.BreakHeightM / TargetHeightM - 1; }
  std::optional<double> SpreadError() const;
  bool Within(double tolerance) const;
};

// The description a cell measures: the type's own colour; cakes of peonies.
EffectDescription CalibrationDescription(EffectType type, int calibreMm);

// What the description should measure. A cake's spread adds how far its fan carries the
// outermost shots' breaks to the shell rule.
double TargetHeightM(const EffectDescription& description);
std::optional<double> TargetSpreadM(const EffectDescription& description);

CalibrationCell CalibrateCell(const EffectDescription& description);
std::vector<CalibrationCell> RunCalibration();

// One line per cell: description, target and measured height and spread, errors.
std::string CalibrationTableText(const std::vector<CalibrationCell>& cells);

}  // namespace orvane
