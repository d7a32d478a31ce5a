#include "export/night_site.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(NightSite, AFolderWithoutASiteGivesTheNightLooksDefaults) {
  const ShowSite none;
  EXPECT_EQ(NightSiteOf(none), NightSite{});
  EXPECT_EQ(ViewpointEye(none), NightCamera{}.Eye);
}

TEST(NightSite, TheSitesScaleGroundAndViewpointCarryOver) {
  struct Case {
    const char* Name;
    double MetresPerUnit;
    GroundKind Ground;
    float GroundY;
    SiteViewpoint Viewpoint;
    NightGround Expected;
  } cases[] = {
      {"water", 25, GroundKind::kWater, -1.5f, {-40, 210, 3.5}, NightGround::kWater},
      {"field", 12.5, GroundKind::kField, 0.25f, {15, 90, 1.2}, NightGround::kField},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ShowSite site;
    site.MetresPerUnit = c.MetresPerUnit;
    site.Ground = c.Ground;
    site.GroundY = c.GroundY;
    site.Viewpoint = c.Viewpoint;
    const NightSite night = NightSiteOf(site);
    EXPECT_FLOAT_EQ(night.MetresPerUnit, static_cast<float>(c.MetresPerUnit));
    EXPECT_EQ(night.Ground, c.Expected);
    EXPECT_EQ(night.GroundY, c.GroundY);
    // The eye's height is above the ground, as the night look's metres are.
    const Vec3 eye = ViewpointEye(site);
    EXPECT_FLOAT_EQ(eye[0], static_cast<float>(c.Viewpoint.X));
    EXPECT_FLOAT_EQ(eye[1], static_cast<float>(c.Viewpoint.EyeHeight));
    EXPECT_FLOAT_EQ(eye[2], static_cast<float>(c.Viewpoint.Z));
  }
}

}  // namespace
}  // namespace orvane
