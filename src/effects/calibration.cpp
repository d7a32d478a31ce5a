#include "effects/calibration.h"

#include <cmath>
#include <cstdio>

#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"
#include "effects/flight.h"

namespace orvane {

std::optional<double> CalibrationCell::SpreadError() const {
  if (!TargetSpreadM) return std::nullopt;
  return Measured.SpreadM / *TargetSpreadM - 1;
}

bool CalibrationCell::Within(double tolerance) const {
  if (!Failure.empty() || std::abs(HeightError()) > tolerance) return false;
  const std::optional<double> spread = SpreadError();
  return !spread || std::abs(*spread) <= tolerance;
}

EffectDescription CalibrationDescription(EffectType type, int calibreMm) {
  EffectDescription d;
  d.CalibreTenths = calibreMm * 10;
  d.Type = type;
  if (type == EffectType::kCake) {
    d.ShotType = EffectType::kPeony;
    d.Shots = kCalibrationCakeShots;
  }
  d.Colours = {{DefaultColour(d.BurstType()), std::nullopt}};
  return d;
}

double TargetHeightM(const EffectDescription& d) { return TargetBreakHeightM(d.CalibreMm()); }

std::optional<double> TargetSpreadM(const EffectDescription& d) {
  if (d.Type == EffectType::kComet) return std::nullopt;
  double spread = TargetSpreadM(d.CalibreMm());
  if (d.Type == EffectType::kCake) {
    const EffectChain chain = BuildEffectChain(d);
    double fan = 0;
    for (int k = 0; k < d.Shots; ++k) fan = std::max(fan, LiftBreakOffset(chain.Devices[k]));
    spread += fan * kRecipeMetresPerUnit;
  }
  return spread;
}

CalibrationCell CalibrateCell(const EffectDescription& description) {
  CalibrationCell cell;
  cell.Description = description;
  cell.TargetHeightM = TargetHeightM(description);
  cell.TargetSpreadM = TargetSpreadM(description);
  Result<EffectChain> chain = MakeEffect(
      description, [](int32_t) { return false; }, 1);
  if (!chain) {
    cell.Failure = chain.Message();
    return cell;
  }
  const Result<EffectMeasurement> measured = MeasureEffectMedian(chain.Value(), kRecipeMetresPerUnit);
  if (!measured) {
    cell.Failure = measured.Message();
    return cell;
  }
  cell.Measured = measured.Value();
  return cell;
}

std::vector<CalibrationCell> RunCalibration() {
  std::vector<CalibrationCell> cells;
  for (EffectType type : kEffectTypes)
    for (int calibre : kCalibrationCalibres) cells.push_back(CalibrateCell(CalibrationDescription(type, calibre)));
  return cells;
}

std::string CalibrationTableText(const std::vector<CalibrationCell>& cells) {
  std::string text;
  char line[256];
  std::snprintf(line, sizeof line, "%-34s %8s %8s %7s %8s %8s %7s %s\n", "effect", "height", "target", "error",
                "spread", "target", "error", "");
  text += line;
  for (const CalibrationCell& c : cells) {
    const std::string name = DescriptionText(c.Description);
    if (!c.Failure.empty()) {
      text += name + ": " + c.Failure + "\n";
      continue;
    }
    char spreadTarget[32] = "-";
    char spreadError[32] = "-";
    if (c.TargetSpreadM) {
      std::snprintf(spreadTarget, sizeof spreadTarget, "%.1f", *c.TargetSpreadM);
      std::snprintf(spreadError, sizeof spreadError, "%+.1f%%", *c.SpreadError() * 100);
    }
    std::snprintf(line, sizeof line, "%-34s %8.1f %8.1f %+6.1f%% %8.1f %8s %7s %s\n", name.c_str(),
                  c.Measured.BreakHeightM, c.TargetHeightM, c.HeightError() * 100, c.Measured.SpreadM, spreadTarget,
                  spreadError, c.Within(kCalibrationTolerance) ? "ok" : "OUT");
    text += line;
  }
  return text;
}

}  // namespace orvane
