// The site plan's numbers: circles, fallout outlines, distances and violations.

#include "project/site_plan.h"

#include <gtest/gtest.h>

#include <cmath>

#include "show/site_units.h"

namespace orvane {
namespace {

SiteAudience Line(double z, double fromX = -150, double toX = 150) {
  return {"Quay", AudienceKind::kLine, {{fromX, z}, {toX, z}}};
}

// A show of cues at positions, each measured with the same reach in every sector.
struct Show {
  ShowSite Site;
  ProductTable Products;
  CompiledExtents Compiled;

  Show() {
    Site.Positions = {{"A", -50, 0, std::nullopt}, {"B", 50, 0, std::nullopt}};
    Site.Audience = {Line(120)};
  }
  // reachM: fallout reach in metres (0: nothing fell low); spreadM: the widest particle.
  void Add(const std::string& position, int32_t code, double reachM, double spreadM, double breakM = 100) {
    Cue cue;
    cue.Code = code;
    cue.Position = position;
    cue.Line = static_cast<int>(Compiled.Cues.size()) + 2;
    const SitePosition* p = FindSitePosition(Site, position);
    const UnitPoint start = UnitsFromMetres(Site, {p ? p->X : 0, p ? p->Z : 0, 0});
    CueExtent e;
    e.Seen = true;
    e.Radius = spreadM / Site.MetresPerUnit;
    e.Height = (breakM + 20) / Site.MetresPerUnit;
    e.Broke = true;
    e.BreakHeight = breakM / Site.MetresPerUnit;
    e.FellLow = reachM > 0;
    if (reachM > 0) e.FalloutReach.fill(reachM / Site.MetresPerUnit);
    Compiled.Cues.push_back(cue);
    Compiled.Roots.push_back({0, code, start.X, start.Y, start.Z});
    Compiled.Extents.push_back(e);
  }
  void Calibre(int32_t code, double mm) {
    Product p;
    p.Code = code;
    p.CalibreMm = mm;
    Products.Rows.push_back(p);
  }
  SitePlan Plan(const SafetyRule& rule = SafetyRule{"70ft-per-inch", "70 ft", "", 0.84, 0}) const {
    CompiledExtents c = Compiled;
    c.Site = Site;
    return MakeSitePlan(c, Site, Products, rule);
  }
};

TEST(SitePlan, RuleCircleFollowsTheLargestCalibreAndItsCuesAreNamed) {
  Show show;
  show.Calibre(601, 75);
  show.Calibre(602, 150);
  show.Add("A", 601, 0, 30);
  show.Add("A", 602, 0, 60);
  show.Add("B", 601, 0, 30);
  const SitePlan plan = show.Plan();
  ASSERT_EQ(plan.Positions.size(), 2u);
  const PlanPosition& a = plan.Positions[0];
  EXPECT_EQ(a.Name, "A");
  EXPECT_EQ(a.CalibreMm, 150);
  EXPECT_NEAR(*a.RuleDistance, 126, 1e-9);
  EXPECT_NEAR(a.Spread, 60, 1e-6);
  EXPECT_NEAR(*a.AudienceDistance, 120, 1e-9);
  EXPECT_NEAR(*a.Margin, -6, 1e-9);
  ASSERT_EQ(plan.Violations.size(), 1u);
  const PlanViolation& v = plan.Violations[0];
  EXPECT_EQ(v.Kind, ViolationKind::kRule);
  EXPECT_EQ(v.Position, 0u);
  EXPECT_EQ(v.Lines, std::vector<int>{3});  // the 75 mm cue's 63 m circle stays clear
  EXPECT_NEAR(v.Shortfall, 6, 1e-9);
  const std::string text = ViolationText(plan, v);
  EXPECT_NE(text.find("Position A"), std::string::npos) << text;
  EXPECT_NE(text.find("6.0 m short"), std::string::npos) << text;
  EXPECT_NE(text.find("line 3"), std::string::npos) << text;
  EXPECT_NEAR(*plan.Positions[1].Margin, 120 - 63, 1e-9);
}

TEST(SitePlan, FalloutReachingTheAudienceIsAViolationEvenWithinTheRule) {
  Show show;
  show.Calibre(601, 50);  // a 42 m circle
  show.Add("A", 601, 130, 140);
  show.Add("B", 601, 20, 40);
  const SitePlan plan = show.Plan();
  ASSERT_EQ(plan.Violations.size(), 1u);
  const PlanViolation& v = plan.Violations[0];
  EXPECT_EQ(v.Kind, ViolationKind::kFallout);
  EXPECT_EQ(plan.Positions[v.Position].Name, "A");
  // The outline takes each sector out to its corners: a little beyond the reach.
  EXPECT_GT(v.Shortfall, 10 - 1e-9);
  EXPECT_LT(v.Shortfall, 10 + 130 * 0.01);
  EXPECT_EQ(v.Lines, std::vector<int>{2});
  EXPECT_LT(*plan.Positions[0].Margin, 0);
  EXPECT_NEAR(*plan.Positions[1].Margin, 120 - 42, 1e-9);  // the rule's circle is the wider
  EXPECT_GT(plan.Positions[0].FalloutDistance, 130);
  EXPECT_TRUE(plan.Positions[1].Fallout.size() >= 16);
}

TEST(SitePlan, MovedPositionsCarryTheirCuesMeasures) {
  Show show;
  show.Add("A", 601, 30, 40);
  ShowSite moved = show.Site;
  moved.Positions[0].Z = 100;  // 20 m from the audience: the 30 m fallout reaches it
  CompiledExtents compiled = show.Compiled;
  compiled.Site = show.Site;
  const SitePlan plan = MakeSitePlan(compiled, moved, show.Products, SafetyRule{});
  EXPECT_NEAR(plan.Cues[0].Start.Z, 100, 1e-9);
  EXPECT_NEAR(*plan.Positions[0].AudienceDistance, 20, 1e-9);
  ASSERT_EQ(plan.Violations.size(), 1u);
  EXPECT_EQ(plan.Violations[0].Kind, ViolationKind::kFallout);
}

TEST(SitePlan, CuesWithCoordinatesGroupByWhereTheyFire) {
  Show show;
  show.Add("", 101, 0, 10);
  show.Add("", 101, 0, 10);
  const SitePlan plan = show.Plan();
  ASSERT_EQ(plan.Positions.size(), 3u);  // A, B and the cues' own place
  EXPECT_FALSE(plan.Positions[2].OfSite);
  EXPECT_EQ(plan.Positions[2].Name, "(0.0, 0.0)");
  EXPECT_EQ(plan.Positions[2].Cues.size(), 2u);
  EXPECT_FALSE(plan.Positions[2].RuleDistance);  // no calibre, no circle
}

TEST(SitePlan, DistancesToLinesAndAreas) {
  const SiteAudience line = Line(100, -10, 10);
  const SiteAudience area{"Lawn", AudienceKind::kArea, {{-10, 50}, {10, 50}, {10, 70}, {-10, 70}}};
  struct Case {
    SitePoint P;
    const SiteAudience* A;
    double Expected;
  };
  const Case cases[] = {
      {{0, 0}, &line, 100}, {{30, 100}, &line, 20}, {{13, 104}, &line, 5},
      {{0, 0}, &area, 50},  {{0, 60}, &area, 0},    {{20, 60}, &area, 10},
  };
  for (const Case& c : cases) EXPECT_NEAR(DistanceToAudience(c.P, *c.A), c.Expected, 1e-9) << c.P.X << "," << c.P.Z;
}

TEST(SitePlan, OutlinesTouchAudienceByCrossingOrContaining) {
  const std::vector<SitePoint> square = ConvexOutline({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}});
  EXPECT_EQ(square.size(), 4u);
  EXPECT_TRUE(OutlineTouchesAudience(square, Line(5)));
  EXPECT_FALSE(OutlineTouchesAudience(square, Line(11)));
  EXPECT_TRUE(OutlineTouchesAudience(square, Line(5, 2, 3)));  // inside the outline
  const SiteAudience around{"Park", AudienceKind::kArea, {{-50, -50}, {50, -50}, {50, 50}, {-50, 50}}};
  EXPECT_TRUE(OutlineTouchesAudience(square, around));
  const SiteAudience apart{"Park", AudienceKind::kArea, {{20, 20}, {30, 20}, {30, 30}}};
  EXPECT_FALSE(OutlineTouchesAudience(square, apart));
  EXPECT_FALSE(OutlineTouchesAudience({}, Line(0)));
}

TEST(SitePlan, LegendHasARowPerPositionAndTheCsvListsEveryLine) {
  Show show;
  show.Calibre(601, 100);
  show.Add("A", 601, 10, 20);
  show.Add("A", 601, 10, 20);
  const SitePlan plan = show.Plan();
  const auto rows = LegendRows(plan);
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(rows[0].size(), LegendHeader().size());
  EXPECT_EQ(rows[0][0], "A");
  EXPECT_EQ(rows[0][1], "2");
  EXPECT_EQ(rows[0][3], "84.0 m");
  EXPECT_EQ(rows[1][3], "-");
  const std::string csv = LegendCsv(plan);
  EXPECT_NE(csv.find("\nA,2,2 3,100.0,84.0,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nB,0,,"), std::string::npos) << csv;
}

TEST(SitePlan, BoundsHoldCirclesOutlinesAndTheAudience) {
  Show show;
  show.Calibre(601, 100);
  show.Add("A", 601, 10, 20);
  const PlanBounds b = SitePlanBounds(show.Plan());
  EXPECT_NEAR(b.MinX, -150, 1e-9);  // the audience line
  EXPECT_NEAR(b.MaxX, 150, 1e-9);
  EXPECT_NEAR(b.MinZ, -84, 1e-9);  // A's rule circle
  EXPECT_NEAR(b.MaxZ, 120, 1e-9);
  const PlanBounds empty = SitePlanBounds(SitePlan{});
  EXPECT_LT(empty.MinX, empty.MaxX);
}

}  // namespace
}  // namespace orvane
