#pragma once
// Stars as the rasterizer draws them: a capsule on the picture from where the star was to
// where it is, with a Gaussian across it, exp(-4.5 d^2 / r^2) cut at d = r. The light at
// its centre line is the star's light divided by what the capsule holds, so a streak gives
// exactly the light of the same star standing still.

#include <cstdint>
#include <vector>

#include "viewer/night_projection.h"
#include "viewer/night_scene.h"

namespace orvane {

struct NightSprite {
  float HeadX = 0, HeadY = 0, TailX = 0, TailY = 0;  // pixels from the bottom-left corner
  float Radius = 0;                                  // pixels
  float Red = 0, Green = 0, Blue = 0;                // light on the centre line
};

// What the cut Gaussian holds as a dot (times r^2) and per pixel of streak (times r).
inline constexpr double kSpriteStill = 0.6903761581503326;  // pi / 4.5 * (1 - e^-4.5)
inline constexpr double kSpriteLine = 0.8332869631610317;   // sqrt(pi / 4.5) * erf(sqrt(4.5))

// How much light a star of a record's full colour gives per pixel of its size squared,
// and the smallest radius a star is drawn with, in pixels (fewer would alias).
inline constexpr float kStarEnergy = 2.2f;
inline constexpr float kStarMinRadius = 2.0f;
// The longest streak at 720 lines, in pixels: a longer one is a match gone wrong, not a star.
inline constexpr float kStarMaxStreak = 48.0f;
// No star is brighter than this on its centre line, however many add up: far below
// half-float overflow.
inline constexpr float kStarMostLight = 4096.0f;

// The stars above the ground that reach the picture (width x height pixels); with
// `mirrored`, their reflections in the ground plane instead. Stars with a light or a place
// that is not a number are left out.
std::vector<NightSprite> SpritesOf(const std::vector<NightStar>& stars, const NightProjection& projection,
                                   int32_t width, int32_t height, bool mirrored);

// The light the sprite adds to the picture in all.
double SpriteLight(const NightSprite& sprite);

}  // namespace orvane
