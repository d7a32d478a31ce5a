#pragma once
// A frame's particle records as the night look's stars: metres above the site's ground, and
// the motion each star made since the previous frame. Records carry no identity, so a star
// is matched to the previous frame's record nearest to it among those written at about the
// same place in the frame (the compiler writes live particles in a stable order), falling
// back to the nearest anywhere when the order has shifted; an unmatched star stands still.

#include <cstdint>
#include <span>
#include <vector>

#include "viewer/night_scene.h"

namespace orvane {

// The exposure as a share of the frame time (a 180-degree shutter).
inline constexpr float kNightShutterShare = 0.5f;
// The farthest a star is taken to move in one frame: half a scene unit (250 m/s at 20 m a unit).
inline constexpr int32_t kMaxRecordStepPerFrame = 1500;  // 1/3000 unit

// Heights: y_m = (y_u - ground_y) * metres_per_unit; x and z scale alike.
Vec3 UnitsToMetres(float x, float y, float z, const NightSite& site);

// `records` and `previous` hold whole 10-byte records; `previous` is the frame before
// (empty: every star stands still).
std::vector<NightStar> NightStarsOf(std::span<const uint8_t> records, std::span<const uint8_t> previous,
                                    const NightSite& site);

}  // namespace orvane
