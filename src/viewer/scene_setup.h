#pragma once
// The GL state the whole program draws with, and the panel's viewport and projection.

#include <cstdint>

#include "viewer/camera.h"

namespace orvane {

// The display's perspective: vertical field of view and the near and far planes.
inline constexpr double kFieldOfViewYDegrees = 45.0;
inline constexpr double kNearPlane = 0.5;   // scene units
inline constexpr double kFarPlane = 100.0;  // scene units

void SetGlobalGlState();

// Viewport over the whole panel, 45-degree perspective, then the camera's view. Returns the
// height actually used (a height of 0 becomes 1).
int32_t SetViewportAndProjection(int32_t width, int32_t height, const CameraState& camera);

}  // namespace orvane
