#pragma once
// The main window's controls that the display's drawing reads at every frame.

#include <cstdint>

namespace orvane {

struct DisplaySwitches {
  bool RotateCamera = false;    // "Rotate camera"
  bool ShowScenery = true;      // "Show scenario"
  bool ShowProjection = false;  // "Show projection"
  // The projection guide's track bars, degrees.
  int32_t ProjXY = 0, OpenXY = 360, ProjXZ = 0, OpenXZ = 180;
  bool operator==(const DisplaySwitches&) const = default;
};

}  // namespace orvane
