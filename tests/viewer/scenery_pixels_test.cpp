// The grid scenario and the projection guide appear where the camera math puts them.

#include <gtest/gtest.h>

#include <cmath>

#include "gl_fixture.h"
#include "viewer/gl_headers.h"
#include "viewer/projection_guide.h"
#include "viewer/scenery.h"

namespace orvane::testing {
namespace {

class SceneryPixels : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    SetUpSceneryLights();
  }
  CameraState camera_;
};

TEST_F(SceneryPixels, GridLinesLieOnTheGroundAndCornersAreMarkedCyan) {
  camera_.Eye = {0, 1, 8};
  StepCamera(camera_);
  StartFrame(camera_);
  const uint32_t grid = BuildGridList();
  glCallList(grid);
  // Crossings of grid lines on the ground at height -2.
  for (float x : {-2.0f, 0.0f, 1.5f}) {
    const uint32_t p = BrightestNear(Project(x, -2, 0), 1);
    EXPECT_EQ(PixelRed(p), 0) << x;
    EXPECT_NEAR(PixelGreen(p), 128, 1) << x;
    EXPECT_EQ(PixelBlue(p), 0) << x;
  }
  // Middle of a grid cell: nothing.
  EXPECT_EQ(BrightestNear(Project(0.25f, -2, 0.25f), 1), 0u);
  // The far top corners end cyan.
  const uint32_t corner = BrightestNear(Project(-3, 3, -3), 1);
  EXPECT_GT(PixelGreen(corner), 200);
  EXPECT_GT(PixelBlue(corner), 200);
  EXPECT_LT(PixelRed(corner), 40);
  // Half a unit below the corner the mark is still drawn, greyer.
  const uint32_t lower = BrightestNear(Project(-3, 2.5f, -3), 1);
  EXPECT_GT(PixelGreen(lower), 60);
  EXPECT_LT(PixelGreen(lower), PixelGreen(corner));
  glDeleteLists(grid, 1);
}

TEST_F(SceneryPixels, EmptyModelsGiveAnEmptySceneList) {
  StartFrame(camera_);
  const uint32_t scene = BuildSceneList(SceneryModelDraws{});
  ASSERT_NE(scene, 0u);
  glCallList(scene);
  EXPECT_EQ(CountNonBlack(), 0);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST(GuideRanges, TrackBarDegreesBecomeFiveDegreeSteps) {
  const GuideRanges start = GuideRangesFor(0, 360, 0, 180);
  EXPECT_EQ(start.XYLow, -36);
  EXPECT_EQ(start.XYHigh, 36);
  EXPECT_EQ(start.XZLow, -18);
  EXPECT_EQ(start.XZHigh, 18);
  const GuideRanges odd = GuideRangesFor(-7, 5, 12, 3);  // truncation toward zero
  EXPECT_EQ(odd.XYLow, -1);                              // (-7 - 2) / 5
  EXPECT_EQ(odd.XYHigh, -1);                             // (-7 + 2) / 5
  EXPECT_EQ(odd.XZLow, 2);                               // (12 - 1) / 5
  EXPECT_EQ(odd.XZHigh, 2);
}

TEST_F(SceneryPixels, GuideRaysRunFromGreyToRedAtTheirAngles) {
  const float origin[3] = {0.5f, -1, 0};
  StartFrame(camera_);
  // Three rays: straight up (a 90), along +x (a 0, b 0) and up 45 degrees toward -z (b -90).
  DrawProjectionGuide({18, 18, 0, 0}, origin);
  DrawProjectionGuide({0, 0, 0, 0}, origin);
  DrawProjectionGuide({9, 9, -18, -18}, origin);
  struct Ray {
    double a, b;
  };
  for (const Ray r : {Ray{90, 0}, Ray{0, 0}, Ray{45, -90}}) {
    const double a = r.a * M_PI / 180, b = r.b * M_PI / 180;
    const double dx = std::cos(a) * std::cos(b), dy = std::sin(a), dz = std::cos(a) * std::sin(b);
    const auto at = [&](double d) {
      return Project(static_cast<float>(origin[0] + d * dx), static_cast<float>(origin[1] + d * dy),
                     static_cast<float>(origin[2] + d * dz));
    };
    const uint32_t outer = BrightestNear(at(2.995), 1);
    EXPECT_GT(PixelRed(outer), 200) << r.a;
    EXPECT_LT(PixelGreen(outer), 60) << r.a;
    const uint32_t inner = BrightestNear(at(2.905), 1);
    EXPECT_GT(PixelGreen(inner), 90) << "grey end " << r.a;
    EXPECT_EQ(BrightestNear(at(2.5), 1), 0u) << "the ray starts at 2.9";
  }
  // The sphere, lit in its golden material.
  const uint32_t sphere = Pixel(Project(origin[0], origin[1], origin[2]));
  EXPECT_GT(PixelRed(sphere), PixelBlue(sphere));
  EXPECT_GT(PixelRed(sphere), 60);
}

TEST_F(SceneryPixels, GuideWithHighBelowLowDrawsOnlyTheSphere) {
  const float origin[3] = {0, 0, 0};
  StartFrame(camera_);
  DrawProjectionGuide({0, -1, 0, 0}, origin);
  const int sphere_only = CountNonBlack();
  EXPECT_GT(sphere_only, 0);
  StartFrame(camera_);
  DrawProjectionGuide({0, 0, 0, 0}, origin);
  EXPECT_GT(CountNonBlack(), sphere_only);
}

}  // namespace
}  // namespace orvane::testing
