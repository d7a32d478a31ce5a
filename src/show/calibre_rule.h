#pragma once
// The practitioners' rule for how high a shell breaks: about 30 m per 25 mm of calibre up
// to 150 mm, less than linear above (a 300 mm shell about 330 m, taken as 1 m per mm past
// 150 mm). Shown beside measured heights; products more than 25 % off are flagged.

#include <optional>

#include "show/product_figures.h"
#include "show/product_list.h"

namespace orvane {

inline constexpr double kCalibreRuleMetresPerMm = 30.0 / 25.0;
inline constexpr double kCalibreRuleLinearToMm = 150;
inline constexpr double kCalibreRuleLargestMm = 300;
inline constexpr double kCalibreRuleTolerance = 0.25;

// Metres; nothing outside 0 < calibre <= 300 mm, where the rule says nothing.
std::optional<double> CalibreRuleHeight(double calibreMm);

// Below this a break counts as where the product fires (mines, fans, set pieces).
inline constexpr double kAloftMetres = 1.0;

// The rule is about effects that break aloft: a product with a calibre the rule covers whose
// measured break lies above its firing position. Products breaking where they fire, and
// products that never break, are not held to it.
bool CalibreRuleApplies(const Product& product, const ProductFigures& measured);

// |measured - rule| > 25 % of the rule.
bool OffCalibreRule(double measuredHeightM, double calibreMm);

}  // namespace orvane
