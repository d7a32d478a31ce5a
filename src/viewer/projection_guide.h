#pragma once
// The projection guide: a small sphere at the device's start point and a fan of rays over
// the directions into which the device being edited throws its stars.

#include <cstdint>

namespace orvane {

struct GuideRanges {
  int32_t XYLow = 0, XYHigh = 0, XZLow = 0, XZHigh = 0;
};

// Track bar positions in degrees; each bound counts 5-degree steps, truncating toward zero.
GuideRanges GuideRangesFor(int32_t proj_xy, int32_t open_xy, int32_t proj_xz, int32_t open_xz);

void DrawProjectionGuide(const GuideRanges& ranges, const float origin[3]);

}  // namespace orvane
