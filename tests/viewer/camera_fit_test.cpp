#include "viewer/camera_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "viewer/scene_setup.h"

namespace orvane {
namespace {

CueExtent Seen(double height, double radius, double lowest) {
  CueExtent e;
  e.Seen = true;
  e.Height = height;
  e.Radius = radius;
  e.Lowest = lowest;
  return e;
}

// Where a point lands in the picture, -1..1 across and up, for a camera looking toward -z.
std::pair<double, double> Projected(const CameraPose& pose, double aspect, double x, double y, double z) {
  const double tanV = std::tan(kFieldOfViewYDegrees / 2 * std::numbers::pi / 180);
  const double ahead = pose.Z - z;
  return {(x - pose.X) / (ahead * tanV * aspect), (y - pose.Y) / (ahead * tanV)};
}

TEST(CameraFit, TheBoxHoldsEverySeenCueAroundItsStartPoint) {
  const std::vector<RootCue> cues = {{0, 1, -4, -2, 0}, {10, 2, 3, 0, 1}, {20, 3, 50, 50, 50}};
  const std::vector<CueExtent> extents = {Seen(6, 2, -2.5), Seen(9, 1, -1), CueExtent{}};
  const std::optional<SceneBox> box = ShowBox(cues, extents, -3);
  ASSERT_TRUE(box);
  EXPECT_FLOAT_EQ(box->MinX, -6);
  EXPECT_FLOAT_EQ(box->MaxX, 4);
  EXPECT_FLOAT_EQ(box->MinY, -2.5);
  EXPECT_FLOAT_EQ(ShowBox(cues, extents, -2)->MinY, -2) << "what falls below the ground is out of sight";
  EXPECT_FLOAT_EQ(box->MaxY, 9);  // cue 2: start 0, up 9
  EXPECT_FLOAT_EQ(box->MinZ, -2);
  EXPECT_FLOAT_EQ(box->MaxZ, 2);
  EXPECT_FALSE(ShowBox(cues, {CueExtent{}, CueExtent{}, CueExtent{}}, -2));
  EXPECT_FALSE(ShowBox({}, {}, -2));
}

TEST(CameraFit, EveryCornerOfTheBoxIsInThePictureWithAMarginAtAnyShape) {
  struct Case {
    SceneBox Box;
    double Aspect;
  };
  const Case cases[] = {
      {{-6, -2, -1, 6, 12, 1}, 16.0 / 9},   // a tall finale, wide picture
      {{-30, -2, -3, 30, 4, 3}, 16.0 / 9},  // a wide low front
      {{-6, -2, -1, 6, 12, 1}, 3.0 / 4},    // tall picture
      {{0, 0, 0, 0, 0, 0}, 1.0},            // one point
      {{2, 3, 4, 5, 7, 8}, 4.0 / 3},        // off centre
  };
  for (const Case& c : cases) {
    const CameraPose pose = FitCamera(c.Box, c.Aspect);
    EXPECT_EQ(pose.Yaw, 180);
    EXPECT_EQ(pose.Pitch, 0);
    EXPECT_GT(pose.Z, c.Box.MaxZ + kNearPlane);
    double widest = 0;
    for (float x : {c.Box.MinX, c.Box.MaxX})
      for (float y : {c.Box.MinY, c.Box.MaxY})
        for (float z : {c.Box.MinZ, c.Box.MaxZ}) {
          const auto [across, up] = Projected(pose, c.Aspect, x, y, z);
          EXPECT_LE(std::abs(across), 0.95) << x << "," << y << "," << z;
          EXPECT_LE(std::abs(up), 0.95) << x << "," << y << "," << z;
          widest = std::max({widest, std::abs(across), std::abs(up)});
        }
    // Fitted, not merely inside: the box's front face fills most of one side.
    if (c.Box.MaxX > c.Box.MinX) {
      EXPECT_GT(widest, 0.8);
    }
  }
}

TEST(CameraFit, AShowDeeperThanTheFarPlaneKeepsItsFront) {
  const SceneBox deep{-5, 0, -400, 5, 8, 0};
  const CameraPose pose = FitCamera(deep, 16.0 / 9);
  EXPECT_LE(pose.Z - deep.MaxZ, kFarPlane);
  EXPECT_GE(pose.Z - deep.MaxZ, kNearPlane);
  const CameraPose bad = FitCamera({-1, -1, -1, 1, 1, 1}, std::nan(""));
  EXPECT_TRUE(std::isfinite(bad.Z));
}

}  // namespace
}  // namespace orvane
