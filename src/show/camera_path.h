#pragma once
// A show's camera path: keys of time, eye, target (metres; y is the height above the ground)
// and vertical field of view, in camera.csv beside the cues. Between keys the eye and the
// target follow centripetal Catmull-Rom curves (no loops or cusps where keys crowd),
// eased so the camera settles at every key; before the first key and after the last the
// camera holds still.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace orvane {

inline constexpr const char* kCameraPathFileName = "camera.csv";
// A path is text of at most a megabyte; a larger file is refused unread.
inline constexpr uintmax_t kMaxCameraPathBytes = uintmax_t{1} << 20;
inline constexpr size_t kMaxCameraKeys = 10'000;
// The farthest a camera goes from the site's centre, in metres.
inline constexpr double kMaxCameraMetres = 100'000;
inline constexpr double kLowestCameraFov = 5, kHighestCameraFov = 150;

using Metres3 = std::array<double, 3>;

struct CameraPathPose {
  Metres3 Eye{};
  Metres3 Target{};
  double FovDegrees = 50;
  bool operator==(const CameraPathPose&) const = default;
};

struct CameraKey {
  int64_t TimeMs = 0;
  CameraPathPose Pose;
  bool operator==(const CameraKey&) const = default;
};

// CSV with a header naming the columns (without case, in any order; others are ignored):
// time (seconds, or minutes:seconds), eye_x, eye_y, eye_z, target_x, target_y, target_z
// (metres, "." decimals) and fov (degrees). Messages start with `fileName` and name the line
// and column ("camera.csv line 4, column 3 (eye_y): ..."). The keys come by time, strictly
// increasing; none: no path (the default camera).
Result<std::vector<CameraKey>> ReadCameraPath(std::string_view text, std::string_view fileName);

// The path as camera.csv: the header above and one line per key.
std::string CameraPathText(const std::vector<CameraKey>& keys);

// The pose as camera.csv keeps it: millimetres and hundredths of a degree, the eye on or
// above the ground, everything within reach and the field of view within range, so that it
// reads back as it was written.
CameraPathPose StorablePose(const CameraPathPose& pose);

// The keys with `key` added in time order, replacing one at the same time.
std::vector<CameraKey> WithCameraKey(std::vector<CameraKey> keys, const CameraKey& key);

// The pose at show time `seconds`; `keys` must be non-empty and by time.
CameraPathPose CameraPoseAt(const std::vector<CameraKey>& keys, double seconds);

}  // namespace orvane
