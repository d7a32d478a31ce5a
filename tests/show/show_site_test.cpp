// The site in show.json and the one conversion between metres and scene units.

#include "show/show_site.h"

#include <gtest/gtest.h>

#include <cmath>

#include "show/show_settings.h"
#include "show/site_units.h"
#include "support/failure_text.h"

namespace orvane {
namespace {

using testing::FailureText;

std::string WithSite(const std::string& site) { return R"({"format":"orvane-show","version":1,"site":)" + site + "}"; }

Result<ShowSettings> ReadSite(const std::string& site) { return ReadShowSettings(WithSite(site)); }

TEST(ShowSite, AFileWithoutASiteGetsTheDefaultsAndKeepsWithoutOne) {
  const Result<ShowSettings> read = ReadShowSettings(R"({"format":"orvane-show","version":1})");
  ASSERT_TRUE(read) << read.Message();
  const ShowSettings& s = read.Value();
  EXPECT_EQ(s.Site, ShowSite{});
  EXPECT_EQ(s.Site.MetresPerUnit, 20);
  EXPECT_EQ(s.Site.GroundY, -2.0f);
  EXPECT_EQ(s.Site.Viewpoint.EyeHeight, 1.7);
  EXPECT_EQ(ShowSettingsText(s).find("\"site\""), std::string::npos);
}

TEST(ShowSite, ReadsEveryFieldAndWritesThemBackKeepingUnknownOnes) {
  Result<ShowSettings> read = ReadSite(R"({"metres_per_unit": 25, "ground": "water", "ground_y": -1.5, "lights": 3,
      "safety_rule": "metric", "positions": [{"name": "A", "x": -60, "z": 0, "mortars": 12},
      {"name": "B", "x": 10.5, "z": -4, "y": 8}],
      "audience": [{"name": "Quay", "kind": "line", "points": [[-150, 120], [150, 120]]},
                   {"kind": "area", "points": [[0, 0], [1, 0], [0, 1]]}],
      "viewpoint": {"x": 5, "z": 150, "eye_height": 2, "fov": 40}})");
  ASSERT_TRUE(read) << read.Message();
  ShowSettings& s = read.Value();
  const ShowSite& site = s.Site;
  EXPECT_EQ(site.MetresPerUnit, 25);
  EXPECT_EQ(site.Ground, GroundKind::kWater);
  EXPECT_EQ(site.GroundY, -1.5f);
  EXPECT_EQ(site.SafetyRule, "metric");
  ASSERT_EQ(site.Positions.size(), 2u);
  EXPECT_EQ(site.Positions[0], (SitePosition{"A", -60, 0, std::nullopt}));
  EXPECT_EQ(site.Positions[1], (SitePosition{"B", 10.5, -4, 8.0}));
  ASSERT_EQ(site.Audience.size(), 2u);
  EXPECT_EQ(site.Audience[0].Name, "Quay");
  EXPECT_EQ(site.Audience[1].Kind, AudienceKind::kArea);
  EXPECT_EQ(site.Audience[0].Points[1], (SitePoint{150, 120}));
  EXPECT_EQ(site.Viewpoint, (SiteViewpoint{5, 150, 2}));
  EXPECT_EQ(FindSitePosition(site, "B"), &site.Positions[1]);
  EXPECT_EQ(FindSitePosition(site, "b"), nullptr);

  s.Site.Positions[0].X = -70;
  const std::string text = ShowSettingsText(s);
  for (const char* kept : {"\"lights\"", "\"mortars\"", "\"fov\""})
    EXPECT_NE(text.find(kept), std::string::npos) << kept;
  const Result<ShowSettings> back = ReadShowSettings(text);
  ASSERT_TRUE(back) << back.Message();
  EXPECT_EQ(back.Value(), s);
  EXPECT_EQ(back.Value().Site.Positions[0].X, -70);
}

TEST(ShowSite, AnEditedDefaultSiteIsWritten) {
  ShowSettings s;
  s.Site.Positions.push_back({"C", 0, 0, std::nullopt});
  s.Site.GroundY = -1.1f;
  const std::string text = ShowSettingsText(s);
  EXPECT_NE(text.find("\"ground_y\": -1.1,"), std::string::npos) << text;
  const Result<ShowSettings> back = ReadShowSettings(text);
  ASSERT_TRUE(back) << back.Message();
  EXPECT_EQ(back.Value().Site, s.Site);
}

TEST(ShowSite, RefusalsNameTheField) {
  const struct {
    const char* site;
    const char* message;
  } cases[] = {
      {R"([])", "\"site\" must be an object"},
      {R"({"metres_per_unit": 0})", "\"site.metres_per_unit\" must be a number above 0"},
      {R"({"metres_per_unit": -5})", "\"site.metres_per_unit\" must be a number above 0"},
      {R"({"metres_per_unit": "20"})", "\"site.metres_per_unit\" must be a number above 0"},
      {R"({"metres_per_unit": 1e999})", "not valid JSON"},
      {R"({"ground": "sand"})", "\"site.ground\" must be \"field\" or \"water\""},
      {R"({"ground_y": 11})", "\"site.ground_y\" must be a number of scene units from -10.922 to 10.922"},
      {R"({"safety_rule": ""})", "\"site.safety_rule\" must be the name of a safety rule"},
      {R"({"positions": {}})", "\"site.positions\" must be a list of positions"},
      {R"({"positions": [{"x": 1, "z": 2}]})",
       "\"site.positions\" entry 1: \"name\" must be a text that is not empty and neither starts nor ends with a blank"},
      {R"({"positions": [{"name": " A", "x": 1, "z": 2}]})",
       "\"site.positions\" entry 1: \"name\" must be a text that is not empty and neither starts nor ends with a blank"},
      {R"({"positions": [{"name": "A", "x": 1}]})",
       "\"site.positions\" entry 1 (\"A\"): \"z\" must be a number of metres"},
      {R"({"positions": [{"name": "A", "x": "1", "z": 0}]})",
       "\"site.positions\" entry 1 (\"A\"): \"x\" must be a number of metres"},
      {R"({"positions": [{"name": "A", "x": 1, "z": 0, "y": true}]})",
       "\"site.positions\" entry 1 (\"A\"): \"y\" must be a number of metres above ground"},
      {R"({"positions": [{"name": "A", "x": 1, "z": 0}, {"name": "A", "x": 2, "z": 0}]})",
       "\"site.positions\" entry 2: the name \"A\" is given to an earlier position too"},
      {R"({"positions": [{"name": "A", "x": 250, "z": 0}]})",
       "\"site.positions\" entry 1 (\"A\") lies outside the show's range at 20 m per unit (218.4 m each way)"},
      {R"({"metres_per_unit": 1, "positions": [{"name": "A", "x": 0, "z": 0, "y": 13}]})",
       "\"site.positions\" entry 1 (\"A\") lies outside the show's range at 1 m per unit (10.9 m each way)"},
      {R"({"audience": [{"kind": "ring", "points": []}]})",
       "\"site.audience\" entry 1: \"kind\" must be \"line\" or \"area\""},
      {R"({"audience": [{"points": [[0, 0]]}]})",
       "\"site.audience\" entry 1: an audience line needs at least 2 points"},
      {R"({"audience": [{"kind": "area", "points": [[0, 0], [1, 1]]}]})",
       "\"site.audience\" entry 1: an audience area needs at least 3 points"},
      {R"({"audience": [{"points": [[0, 0], [1]]}]})",
       "\"site.audience\" entry 1: every point of \"points\" must be [x, z] in metres"},
      {R"({"audience": [{"name": 4, "points": [[0, 0], [1, 1]]}]})",
       "\"site.audience\" entry 1: \"name\" must be a text"},
      {R"({"viewpoint": {"eye_height": -1}})", "\"site.viewpoint.eye_height\" must be a number of metres from 0"},
      {R"({"viewpoint": {"x": null, "z": "far"}})", "\"site.viewpoint.z\" must be a number of metres"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureText(ReadSite(c.site)), "show.json: " + std::string(c.message) + ".") << c.site;
  }
}

TEST(SiteUnits, MetresAndUnitsGoThroughFloat32BothWays) {
  ShowSite site;
  const struct {
    MetrePoint metres;
    UnitPoint units;
  } cases[] = {
      {{-60, 0, 0}, {-3.0f, -2.0f, 0.0f}},
      {{0, 160, 40}, {0.0f, 0.0f, 8.0f}},
      {{10.1, -7.3, 1.7},
       {static_cast<float>(10.1 / 20), -2.0f + static_cast<float>(1.7 / 20), static_cast<float>(-7.3 / 20)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnitsFromMetres(site, c.metres), c.units) << c.metres.X;
    const MetrePoint back = MetresFromUnits(site, c.units);
    EXPECT_NEAR(back.X, c.metres.X, 1e-5);
    EXPECT_NEAR(back.Y, c.metres.Y, 1e-5);
    EXPECT_NEAR(back.Z, c.metres.Z, 1e-5);
  }
  // A typed "0.505" and 10.1 m at 20 m per unit are the same float.
  EXPECT_EQ(UnitsFromMetres(site, {10.1, 0, 0}).X, 0.505f);
  site.MetresPerUnit = 12.5;
  site.GroundY = -1.0f;
  EXPECT_EQ(MetresFromUnits(site, {1.0f, 0.0f, -2.0f}), (MetrePoint{12.5, -25, 12.5}));
  EXPECT_EQ(MetresFromUnitLength(site, 2.0), 25.0);
  EXPECT_TRUE(InShowRange({10.9f, -10.9f, 0}));
  EXPECT_FALSE(InShowRange({0, 0, 11.0f}));
  EXPECT_FALSE(InShowRange({NAN, 0, 0}));
}

TEST(SiteUnits, APositionGivesItsPlaceAndItsHeightOnlyWhenItHasOne) {
  ShowSite site;
  const SitePosition low{"A", -60, 20, std::nullopt};
  const SitePosition high{"B", 40, 0, 10.0};
  EXPECT_EQ(PositionStart(site, low, 1.5f), (UnitPoint{-3.0f, 1.5f, 1.0f}));
  EXPECT_EQ(PositionStart(site, high, 1.5f), (UnitPoint{2.0f, -1.5f, 0.0f}));
}

}  // namespace
}  // namespace orvane
