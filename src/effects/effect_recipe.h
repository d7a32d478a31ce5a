#pragma once
// Recipes: a description becomes a chain of devices within the main window's ranges, each
// with at most five colour segments, sized by calibre (see effect_targets.h).

#include <cstdint>

#include "effects/effect_chain.h"

namespace orvane {

// Where generated products stand: the scene's ground, the grid floor.
inline constexpr float kRecipeGroundY = -2.0f;

// The chain with chain indices as links (AssignCodes turns them into codes).
EffectChain BuildEffectChain(const EffectDescription& description);

// The chain under the lowest codes from firstCode that the target list does not use, each
// device named after the description and its part ("100mm gold willow: burst").
Result<EffectChain> MakeEffect(const EffectDescription& description, const CodeTaken& taken, int32_t firstCode);

}  // namespace orvane
