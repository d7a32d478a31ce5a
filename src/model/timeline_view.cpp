#include "model/timeline_view.h"

#include <cstdio>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace orvane {

double PixelAtTime(const TimelineView& view, double seconds) {
  return (seconds - view.FirstSecond) * view.PixelsPerSecond;
}

double TimeAtPixel(const TimelineView& view, double x) {
  assert(view.PixelsPerSecond > 0);
  return view.FirstSecond + x / view.PixelsPerSecond;
}

double LastVisibleSecond(const TimelineView& view) { return TimeAtPixel(view, view.WidthPixels); }

TimelineView ZoomAround(const TimelineView& view, double anchor_x, double factor) {
  assert(view.FirstSecond >= 0);
  if (!(factor > 0) || !std::isfinite(factor)) return view;
  const double anchor_time = TimeAtPixel(view, anchor_x);
  TimelineView zoomed = view;
  zoomed.PixelsPerSecond = std::clamp(view.PixelsPerSecond * factor, kTimelineMinZoom, kTimelineMaxZoom);
  zoomed.FirstSecond = std::max(0.0, anchor_time - anchor_x / zoomed.PixelsPerSecond);
  return zoomed;
}

TimelineView ScrollByPixels(const TimelineView& view, double pixels) {
  assert(view.FirstSecond >= 0 && view.PixelsPerSecond > 0);
  TimelineView moved = view;
  if (std::isfinite(pixels)) moved.FirstSecond = std::max(0.0, view.FirstSecond + pixels / view.PixelsPerSecond);
  return moved;
}

TimelineView FitSeconds(double seconds, int32_t width_pixels) {
  TimelineView view;
  view.WidthPixels = std::max<int32_t>(width_pixels, 0);
  // 5 % to the right of the last cue, so its marker is not cut at the edge.
  const double span = std::isfinite(seconds) && seconds > 0 ? seconds * 1.05 : 10.0;
  const double usable = std::max<int32_t>(view.WidthPixels, 1);
  view.PixelsPerSecond = std::clamp(usable / span, kTimelineMinZoom, kTimelineMaxZoom);
  view.FirstSecond = 0;
  return view;
}

std::optional<size_t> HitMarker(const TimelineView& view, const std::vector<double>& marker_seconds, double x) {
  std::optional<size_t> best;
  double best_distance = kMarkerHitPixels;
  for (size_t i = 0; i < marker_seconds.size(); ++i) {
    const double distance = std::abs(PixelAtTime(view, marker_seconds[i]) - x);
    if (distance <= best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

double SnapToBeat(double seconds, const std::vector<double>& beats) {
  if (beats.empty()) return seconds;
  assert(std::is_sorted(beats.begin(), beats.end()));
  const auto later = std::lower_bound(beats.begin(), beats.end(), seconds);
  if (later == beats.begin()) return *later;
  if (later == beats.end()) return beats.back();
  const double before = *(later - 1);
  return (seconds - before) <= (*later - seconds) ? before : *later;
}

double RulerStep(double pixels_per_second, double min_pixels) {
  static constexpr double kSteps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300, 600};
  for (double step : kSteps)
    if (step * pixels_per_second >= min_pixels) return step;
  return kSteps[std::size(kSteps) - 1];
}

}  // namespace orvane

namespace orvane {

std::string ClockText(int64_t ms) {
  const int64_t hundredths = std::max<int64_t>(0, ms) / 10;
  const int64_t minutes = hundredths / 6000;
  const int64_t rest = hundredths % 6000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(minutes),
                static_cast<long long>(rest / 100), static_cast<long long>(rest % 100));
  return text;
}

}  // namespace orvane
