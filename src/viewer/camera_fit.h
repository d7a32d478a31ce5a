#pragma once
// A camera that sees a whole show: from the box the show's particles fill (each cue's
// measured extent around its start point) to the display camera's yaw, pitch and eye that
// frame it in the display's perspective. The default camera of a video export; another
// camera model (a spectator's, a night view's) can take the same box.

#include <optional>
#include <vector>

#include "compiler/root_cue.h"

namespace orvane {

struct SceneBox {
  float MinX = 0, MinY = 0, MinZ = 0;  // scene units
  float MaxX = 0, MaxY = 0, MaxZ = 0;
};

struct CameraPose {
  float Yaw = 180, Pitch = 0;  // degrees, as the display camera's
  float X = 0, Y = 0, Z = 8;   // the eye, scene units
};

// The box of every cue whose particles were seen, down to the ground at most (what falls
// below it is out of sight); nothing when none was. `cues` and `extents` go in step (the
// compile's cues and its outcome's extents).
std::optional<SceneBox> ShowBox(const std::vector<RootCue>& cues, const std::vector<CueExtent>& extents, float groundY);

// Looks at the box from in front (toward -z, level) from just far enough for all of it to
// fit with a margin in a picture of this width / height; a box too deep for the far plane
// keeps its front part.
CameraPose FitCamera(const SceneBox& box, double aspect);

}  // namespace orvane
