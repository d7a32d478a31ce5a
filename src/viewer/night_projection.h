#pragma once
// The night camera as matrices and axes: what the passes need to put stars on the picture
// and to turn a pixel into a ray. Column-major, as GL stores matrices.

#include <array>
#include <cstdint>

#include "viewer/night_scene.h"

namespace orvane {

inline constexpr float kNightNearMetres = 0.5f;
inline constexpr float kNightFarMetres = 100000.0f;
inline constexpr float kNightLowestFov = 1.0f, kNightHighestFov = 170.0f;
// The eye never goes below this height: the ground would fill the picture from behind.
inline constexpr float kNightLowestEye = 0.3f;

struct NightProjection {
  std::array<float, 16> ViewProjection{};
  std::array<float, 16> Rotation{};  // projection times the view without its translation
  Vec3 Eye{}, Right{}, Up{}, Forward{};
  float TanHalfX = 1, TanHalfY = 1;  // half the picture's width and height at a metre's distance
  float PixelsPerMetre = 1;          // on the picture, per metre across at a metre's distance
  float PixelAngle = 0.001f;         // radians a pixel spans at the picture's centre
};

// A camera whose eye and target coincide looks along -z; one looking straight up or down
// keeps -z as the picture's up. The field of view is held within 1 ... 170 degrees.
NightProjection ProjectionFor(const NightCamera& camera, int32_t width, int32_t height);

struct PicturePoint {
  bool Visible = false;  // in front of the camera
  float X = 0, Y = 0;    // pixels from the picture's bottom-left corner
};
PicturePoint Project(const NightProjection& p, const Vec3& point, int32_t width, int32_t height);

}  // namespace orvane
