#pragma once
// Made-up night scenes for the renderer's tests: bursts of stars in metres, and sums and
// checks over the pictures the renderer reads back.

#include <cstdint>
#include <vector>

#include "viewer/night_scene.h"

namespace orvane::testing {

// `count` stars spread evenly over a sphere, each having moved `step` metres outwards.
std::vector<NightStar> Burst(const Vec3& centre, float radius, int count, const Vec3& light, float half_size,
                             float step);

// The camera of a spectator 160 m from the firing line, looking up at the bursts.
NightCamera SpectatorCamera();

// Two bursts and a fountain over the ground, with their lights.
NightScene ShowScene(NightGround ground);

// Red + green + blue summed over every pixel of RGBA floats.
double TotalLight(const std::vector<float>& rgba);

}  // namespace orvane::testing
