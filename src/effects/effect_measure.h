#pragma once
// Measuring a generated effect with the simulation: its chain compiled alone, seeded, into
// a sink that keeps nothing, sized from the compiler's per-cue extents.

#include <cstdint>
#include <optional>
#include <vector>

#include "effects/effect_chain.h"
#include "util/result.h"

namespace orvane {

struct EffectMeasurement {
  // Above the firing position: where the burst starts (the lift's apex) for shells and
  // cakes, the highest point for effects from the ground.
  double BreakHeightM = 0;
  double SpreadM = 0;  // largest horizontal distance from the firing position
  double TopM = 0;     // highest point above the firing position
  double LowestM = 0;  // lowest point above the firing position (below it: negative)
  double DurationS = 0;
};

// Compiles the chain (codes assigned) on this thread's own generator started at `seed`, as
// `orvane-cli compile --seed` would; other threads' draws neither change it nor see it.
Result<EffectMeasurement> MeasureEffect(const EffectChain& chain, uint32_t seed, double metresPerUnit);

// Field by field median of several seeds' measurements; at least one.
EffectMeasurement MedianMeasurement(std::vector<EffectMeasurement> measurements);

// The seeds a product's figures are the median of.
inline constexpr uint32_t kMeasureSeeds[] = {1, 2, 3};

// The median over kMeasureSeeds.
Result<EffectMeasurement> MeasureEffectMedian(const EffectChain& chain, double metresPerUnit);

// Firing to break as a show measures a product: the chain alone at the show's measuring
// seed and scale 1, so the row's prefire is what the show would find. Nothing when the
// effect has no break.
Result<std::optional<int64_t>> MeasurePrefireMs(const EffectChain& chain);

}  // namespace orvane
