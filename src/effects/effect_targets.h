#pragma once
// The sizes a calibre stands for: practitioners' rules of thumb for shells, in metres.
// Recipes aim at them and the calibration measures against them.

namespace orvane {

// The scale generated effects are sized for: one scene unit is 20 m.
inline constexpr double kRecipeMetresPerUnit = 20.0;

// Scene units of a length in metres at that scale.
constexpr double RecipeUnits(double metres) { return metres / kRecipeMetresPerUnit; }

// Break height above the firing position: 30 m per 25 mm of calibre.
constexpr double TargetBreakHeightM(double calibreMm) { return calibreMm * 30.0 / 25.0; }
// Largest horizontal radius of the burst: a diameter of 1 m per mm of calibre.
constexpr double TargetSpreadM(double calibreMm) { return calibreMm * 0.5; }

}  // namespace orvane
