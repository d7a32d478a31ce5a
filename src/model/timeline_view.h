#pragma once
// Geometry of the show timeline strip: which time sits under which pixel column at the
// current zoom and scroll, fitting a show into the strip, finding the marker under the
// mouse and snapping a time to the nearest beat. Times are seconds, positions pixels.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

inline constexpr double kTimelineMinZoom = 2.0;     // pixels per second
inline constexpr double kTimelineMaxZoom = 2000.0;  // pixels per second
inline constexpr double kTimelineDefaultZoom = 40.0;
inline constexpr double kTimelineWheelFactor = 1.25;  // zoom step per wheel notch
inline constexpr double kMarkerHitPixels = 5.0;       // how close a click must be to a marker

struct TimelineView {
  double PixelsPerSecond = kTimelineDefaultZoom;
  double FirstSecond = 0;  // the time at pixel 0; never below 0
  int32_t WidthPixels = 0;
};

double PixelAtTime(const TimelineView& view, double seconds);
double TimeAtPixel(const TimelineView& view, double x);
// The last time visible at the right edge.
double LastVisibleSecond(const TimelineView& view);

// Zooms by `factor` keeping the time under `anchor_x` in place; zoom and scroll stay in range.
TimelineView ZoomAround(const TimelineView& view, double anchor_x, double factor);
// Moves the strip by `pixels` (positive: later times); never before time 0.
TimelineView ScrollByPixels(const TimelineView& view, double pixels);
// The whole of [0, seconds] in the strip with a small margin on the right.
TimelineView FitSeconds(double seconds, int32_t width_pixels);

// The marker nearest to `x` within kMarkerHitPixels; ties go to the later index, which
// is drawn on top.
std::optional<size_t> HitMarker(const TimelineView& view, const std::vector<double>& marker_seconds, double x);

// The beat nearest to `seconds` (beats sorted ascending); `seconds` itself without beats.
double SnapToBeat(double seconds, const std::vector<double>& beats);

// The time as the play head's read-out shows it: minutes, seconds and hundredths ("1:02.50").
std::string ClockText(int64_t ms);

// Ruler tick spacing in seconds so that labels stay at least `min_pixels` apart.
double RulerStep(double pixels_per_second, double min_pixels);

}  // namespace orvane
