#include "viewer/camera_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "viewer/scene_setup.h"

namespace orvane {
namespace {

// Room around the show, so sparks at its edge are not cut by the frame.
constexpr double kMargin = 1.12;

}  // namespace

std::optional<SceneBox> ShowBox(const std::vector<RootCue>& cues, const std::vector<CueExtent>& extents,
                                float groundY) {
  std::optional<SceneBox> box;
  for (size_t i = 0; i < cues.size() && i < extents.size(); ++i) {
    const CueExtent& e = extents[i];
    if (!e.Seen) continue;
    const RootCue& c = cues[i];
    const SceneBox one{static_cast<float>(c.X - e.Radius), std::max(groundY, static_cast<float>(e.Lowest)),
                       static_cast<float>(c.Z - e.Radius), static_cast<float>(c.X + e.Radius),
                       static_cast<float>(c.Y + e.Height), static_cast<float>(c.Z + e.Radius)};
    if (!box) {
      box = one;
      continue;
    }
    box->MinX = std::min(box->MinX, one.MinX);
    box->MinY = std::min(box->MinY, one.MinY);
    box->MinZ = std::min(box->MinZ, one.MinZ);
    box->MaxX = std::max(box->MaxX, one.MaxX);
    box->MaxY = std::max(box->MaxY, one.MaxY);
    box->MaxZ = std::max(box->MaxZ, one.MaxZ);
  }
  if (box) box->MaxY = std::max(box->MaxY, box->MinY);
  return box;
}

CameraPose FitCamera(const SceneBox& box, double aspect) {
  aspect = std::isfinite(aspect) && aspect > 0 ? aspect : 1.0;
  const double tanHalfV = std::tan(kFieldOfViewYDegrees / 2 * std::numbers::pi / 180);
  const double tanHalfH = tanHalfV * aspect;
  const double halfWidth = (static_cast<double>(box.MaxX) - box.MinX) / 2;
  const double halfHeight = (static_cast<double>(box.MaxY) - box.MinY) / 2;
  const double depth = static_cast<double>(box.MaxZ) - box.MinZ;
  // From the box's front face: its far corners are then inside the view as well.
  double distance = std::max(halfWidth / tanHalfH, halfHeight / tanHalfV) * kMargin;
  distance = std::clamp(distance, kNearPlane * 2, kFarPlane * 0.95);
  distance = std::min(distance, std::max(kNearPlane * 2, kFarPlane * 0.95 - depth));
  CameraPose pose;
  pose.X = static_cast<float>((static_cast<double>(box.MinX) + box.MaxX) / 2);
  pose.Y = static_cast<float>((static_cast<double>(box.MinY) + box.MaxY) / 2);
  pose.Z = static_cast<float>(box.MaxZ + distance);
  return pose;
}

}  // namespace orvane
