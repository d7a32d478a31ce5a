// Feeds any bytes to the camera path reader; a path it reads must write back to the same
// keys, and the camera along it must stay finite and within the keys' reach.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "show/camera_path.h"

namespace {

bool Finite(const orvane::CameraPathPose& p) {
  for (int k = 0; k < 3; ++k) {
    if (!std::isfinite(p.Eye[k]) || !std::isfinite(p.Target[k])) return false;
  }
  return std::isfinite(p.FovDegrees);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const orvane::CameraPathRead read = orvane::ReadCameraPath(bytes, "camera.csv");
  if (read.Error) {
    if (!read.Keys.empty()) std::abort();
    return 0;
  }
  const orvane::CameraPathRead again = orvane::ReadCameraPath(orvane::CameraPathText(read.Keys), "camera.csv");
  if (again.Error || again.Keys != read.Keys) std::abort();
  if (read.Keys.empty()) return 0;
  const double last = static_cast<double>(read.Keys.back().TimeMs) / 1000;
  for (int i = -2; i <= 42; ++i) {
    const orvane::CameraPathPose pose = orvane::CameraPoseAt(read.Keys, last * i / 40);
    // Curves through far-apart keys may swing past them, never off to infinity.
    if (!Finite(pose) || std::fabs(pose.Eye[0]) > 1e7 || pose.FovDegrees < orvane::kLowestCameraFov ||
        pose.FovDegrees > orvane::kHighestCameraFov)
      std::abort();
  }
  return 0;
}
