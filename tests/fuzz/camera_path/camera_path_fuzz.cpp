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
  const auto read = orvane::ReadCameraPath(bytes, "camera.csv");
  if (!read) return 0;
  const std::vector<orvane::CameraKey>& keys = read.Value();
  const auto again = orvane::ReadCameraPath(orvane::CameraPathText(keys), "camera.csv");
  if (!again || again.Value() != keys) std::abort();
  if (keys.empty()) return 0;
  const double last = static_cast<double>(keys.back().TimeMs) / 1000;
  for (int i = -2; i <= 42; ++i) {
    const orvane::CameraPathPose pose = orvane::CameraPoseAt(keys, last * i / 40);
    // Curves through far-apart keys may swing past them, never off to infinity.
    if (!Finite(pose) || std::fabs(pose.Eye[0]) > 1e7 || pose.FovDegrees < orvane::kLowestCameraFov ||
        pose.FovDegrees > orvane::kHighestCameraFov)
      std::abort();
  }
  return 0;
}
