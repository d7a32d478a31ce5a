#pragma once
// The burst light of a frame: its stars gathered into clusters on a coarse grid, the
// brightest few kept as point lights that light the sky and the ground.

#include <vector>

#include "viewer/night_scene.h"

namespace orvane {

// Clusters are gathered in cells of this size.
inline constexpr float kLightCellMetres = 40;

// Brightest first, at most kMaxNightLights; stars below the ground give none.
std::vector<NightLight> BurstLights(const std::vector<NightStar>& stars);

}  // namespace orvane
