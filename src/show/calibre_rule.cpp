#include "show/calibre_rule.h"

#include <cmath>

namespace orvane {

std::optional<double> CalibreRuleHeight(double calibreMm) {
  if (!(calibreMm > 0) || calibreMm > kCalibreRuleLargestMm) return std::nullopt;
  if (calibreMm <= kCalibreRuleLinearToMm) return calibreMm * kCalibreRuleMetresPerMm;
  return kCalibreRuleLinearToMm * kCalibreRuleMetresPerMm + (calibreMm - kCalibreRuleLinearToMm);
}

bool CalibreRuleApplies(const Product& product, const ProductFigures& measured) {
  return product.CalibreMm && CalibreRuleHeight(*product.CalibreMm) && measured.Broke &&
         measured.BreakHeight >= kAloftMetres;
}

bool OffCalibreRule(double measuredHeightM, double calibreMm) {
  const std::optional<double> rule = CalibreRuleHeight(calibreMm);
  return rule && std::fabs(measuredHeightM - *rule) > kCalibreRuleTolerance * *rule;
}

}  // namespace orvane
