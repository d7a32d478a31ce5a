#include "model/timeline_view.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvane {
namespace {

TEST(TimelineView, TimeAndPixelAreInverseAtAnyZoomAndScroll) {
  TimelineView view{80.0, 12.5, 640};
  EXPECT_DOUBLE_EQ(PixelAtTime(view, 12.5), 0.0);
  EXPECT_DOUBLE_EQ(PixelAtTime(view, 13.0), 40.0);
  for (double x : {0.0, 1.0, 333.3, 640.0}) EXPECT_NEAR(PixelAtTime(view, TimeAtPixel(view, x)), x, 1e-9);
  EXPECT_DOUBLE_EQ(LastVisibleSecond(view), 20.5);
}

TEST(TimelineView, ZoomKeepsTheTimeUnderTheMouseAndStaysInRange) {
  TimelineView view{40.0, 10.0, 800};
  const double under_mouse = TimeAtPixel(view, 300);
  TimelineView zoomed = ZoomAround(view, 300, kTimelineWheelFactor);
  EXPECT_DOUBLE_EQ(zoomed.PixelsPerSecond, 50.0);
  EXPECT_NEAR(TimeAtPixel(zoomed, 300), under_mouse, 1e-9);

  // Zooming out near the start cannot scroll before time 0.
  TimelineView out = ZoomAround(TimelineView{40.0, 1.0, 800}, 400, 0.1);
  EXPECT_DOUBLE_EQ(out.FirstSecond, 0.0);

  for (int i = 0; i < 100; ++i) view = ZoomAround(view, 0, 10);
  EXPECT_DOUBLE_EQ(view.PixelsPerSecond, kTimelineMaxZoom);
  for (int i = 0; i < 100; ++i) view = ZoomAround(view, 0, 0.1);
  EXPECT_DOUBLE_EQ(view.PixelsPerSecond, kTimelineMinZoom);
  // Nonsense factors change nothing.
  EXPECT_DOUBLE_EQ(ZoomAround(view, 0, 0).PixelsPerSecond, view.PixelsPerSecond);
  EXPECT_DOUBLE_EQ(ZoomAround(view, 0, std::numeric_limits<double>::quiet_NaN()).PixelsPerSecond, view.PixelsPerSecond);
}

TEST(TimelineView, ScrollStopsAtTimeZero) {
  TimelineView view{50.0, 2.0, 500};
  EXPECT_DOUBLE_EQ(ScrollByPixels(view, 100).FirstSecond, 4.0);
  EXPECT_DOUBLE_EQ(ScrollByPixels(view, -1000).FirstSecond, 0.0);
}

TEST(TimelineView, FitShowsTheWholeShowWithAMargin) {
  TimelineView view = FitSeconds(60.0, 630);
  EXPECT_DOUBLE_EQ(view.FirstSecond, 0.0);
  EXPECT_LT(PixelAtTime(view, 60.0), 630.0);
  EXPECT_GT(PixelAtTime(view, 60.0), 590.0);
  // An empty show still gives a usable strip.
  EXPECT_GE(FitSeconds(0.0, 500).PixelsPerSecond, kTimelineMinZoom);
  EXPECT_GE(FitSeconds(10.0, 0).PixelsPerSecond, kTimelineMinZoom);
}

TEST(TimelineView, HitMarkerTakesTheNearestWithinReachAndTheTopOneOnTies) {
  TimelineView view{100.0, 0.0, 1000};
  const std::vector<double> markers = {1.0, 1.04, 3.0, 3.0};
  EXPECT_EQ(HitMarker(view, markers, 101), 0u);
  EXPECT_EQ(HitMarker(view, markers, 104), 1u);
  EXPECT_EQ(HitMarker(view, markers, 300), 3u);
  EXPECT_FALSE(HitMarker(view, markers, 200).has_value());
  EXPECT_FALSE(HitMarker(view, markers, 100 - kMarkerHitPixels - 0.5).has_value());
  EXPECT_FALSE(HitMarker(view, {}, 0).has_value());
}

TEST(TimelineView, SnapGoesToTheNearestBeat) {
  const std::vector<double> beats = {0.5, 1.0, 1.5, 2.0};
  EXPECT_DOUBLE_EQ(SnapToBeat(1.2, beats), 1.0);
  EXPECT_DOUBLE_EQ(SnapToBeat(1.3, beats), 1.5);
  EXPECT_DOUBLE_EQ(SnapToBeat(0.0, beats), 0.5);
  EXPECT_DOUBLE_EQ(SnapToBeat(9.0, beats), 2.0);
  EXPECT_DOUBLE_EQ(SnapToBeat(1.25, beats), 1.0);  // halfway: the earlier beat
  EXPECT_DOUBLE_EQ(SnapToBeat(1.7, {}), 1.7);
}

TEST(TimelineView, ClockTextShowsMinutesSecondsAndHundredths) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0:00.00"},      {9, "0:00.00"},        {10, "0:00.01"},  {62500, "1:02.50"},
      {599990, "9:59.99"}, {3600000, "60:00.00"}, {-40, "0:00.00"},
  };
  for (const auto& [ms, text] : cases) EXPECT_EQ(ClockText(ms), text) << ms;
}

TEST(TimelineView, RulerLabelsStayApart) {
  EXPECT_DOUBLE_EQ(RulerStep(1000, 60), 0.1);
  EXPECT_DOUBLE_EQ(RulerStep(40, 60), 2.0);
  EXPECT_DOUBLE_EQ(RulerStep(2, 60), 30.0);
  EXPECT_DOUBLE_EQ(RulerStep(0.01, 60), 600.0);
}

}  // namespace
}  // namespace orvane
