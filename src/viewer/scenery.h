#pragma once
// The stage: two fixed lights, the grid scenario and the model scenario, each compiled once
// into a display list, and the camera model drawn in overview mode.

#include <cstdint>
#include <functional>

#include "viewer/camera.h"

namespace orvane {

// The grid scenario's floor, scene units: the ground the stage stands on.
inline constexpr float kGridFloorY = -2.0f;

// How to draw each scenery model; an empty function is a model that failed to load.
struct SceneryModelDraws {
  std::function<void()> Floor, Column, Arc, Camera;
};

void SetUpSceneryLights();
uint32_t BuildGridList();
uint32_t BuildSceneList(const SceneryModelDraws& models);

// The camera as seen from the overview point, with its sight line when asked.
void DrawCameraMarker(const CameraState& camera, const std::function<void()>& camera_model, bool sight_line);

}  // namespace orvane
