#pragma once
// The site plan in numbers: every firing position with the rule's safety circle for the
// largest calibre fired there, what the last compile measured of its cues (spread and the
// fallout's outline), its distance to the audience, and the violations. Metres on the
// ground plane, x to the right and z towards the audience; heights above ground.
//
// The measures come from the compile already done; the positions and the audience from the
// site as it stands, so that a moved position carries its cues' measures along.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/compiled_extents.h"
#include "project/safety_rule.h"
#include "show/product_list.h"
#include "show/show_site.h"

namespace orvane {

// Printed shortfalls are at least this, so that "short" never reads as 0.0 m.
inline constexpr double kLeastShortfallM = 0.1;

struct PlanCue {
  size_t Index = 0;  // into CompiledExtents::Cues
  int Line = 0;      // of cues.csv (as the table numbers it)
  int32_t Code = 0;
  size_t Position = 0;                     // into SitePlan::Positions
  SitePoint Start;                         // metres
  double StartHeight = 0;                  // metres above ground
  bool Seen = false;                       // it made particles; the measures below are meaningful then
  uint32_t FirstFrame = 0, LastFrame = 0;  // its particles' frames, from the show's start
  bool Broke = false;
  double BreakHeight = 0;           // metres above ground (the start's for a cue that never broke)
  double TopHeight = 0;             // metres above ground
  double Spread = 0;                // metres: the farthest any of its particles went sideways
  double FalloutReach = 0;          // metres from the start: the farthest fallout, 0 without
  std::vector<SitePoint> Fallout;   // convex outline, counterclockwise; empty without
  std::optional<double> CalibreMm;  // its product's
};

struct PlanPosition {
  std::string Name;
  SitePoint At;                            // metres
  bool OfSite = true;                      // a position of the site; otherwise where cues with coordinates fire
  std::vector<size_t> Cues;                // into SitePlan::Cues
  std::optional<double> CalibreMm;         // the largest fired there
  std::optional<double> RuleDistance;      // metres: the rule circle's radius (with a calibre)
  double Spread = 0;                       // metres: the largest of its cues
  double FalloutDistance = 0;              // metres: the outline's farthest point from At
  std::vector<SitePoint> Fallout;          // the outline of all its cues' fallout
  std::optional<double> AudienceDistance;  // to the nearest audience; nothing without one
  std::string NearestAudience;
  std::optional<double> Margin;  // metres left before the rule or the fallout reaches an audience
};

enum class ViolationKind { kRule, kFallout };

struct PlanViolation {
  ViolationKind Kind = ViolationKind::kRule;
  size_t Position = 0;  // into SitePlan::Positions
  std::string Audience;
  std::vector<int> Lines;  // the cues that reach it
  double Distance = 0;     // metres from the position to the audience
  double Reach = 0;        // metres: the rule's circle, or the fallout towards the audience
  double Shortfall = 0;    // metres the audience would have to move away
};

struct SitePlan {
  ShowSite Site;
  SafetyRule Rule;
  std::vector<PlanCue> Cues;
  std::vector<PlanPosition> Positions;
  std::vector<PlanViolation> Violations;
};

// A plan of the compiled show at the site as it stands; products give the calibres.
SitePlan MakeSitePlan(const CompiledExtents& compiled, const ShowSite& site, const ProductTable& products,
                      const SafetyRule& rule);

// What the plan must show, in metres: positions, circles, outlines and the audience.
struct PlanBounds {
  double MinX = 0, MinZ = 0, MaxX = 0, MaxZ = 0;
};
PlanBounds SitePlanBounds(const SitePlan& plan);

// "Position C: the rule circle of 42.0 m (50 mm) reaches audience \"Quay\" at 30.0 m,
// 12.0 m short (cues.csv lines 4, 7)."
std::string ViolationText(const SitePlan& plan, const PlanViolation& violation);

// The legend table, one row per position: its texts as the plan prints them.
inline constexpr int kLegendColumns = 8;
std::vector<std::string> LegendHeader();
std::vector<std::vector<std::string>> LegendRows(const SitePlan& plan);
// The same as CSV, with every cue line listed.
std::string LegendCsv(const SitePlan& plan);

// Geometry, metres.
double DistanceToAudience(const SitePoint& point, const SiteAudience& audience, SitePoint* nearest = nullptr);
bool OutlineTouchesAudience(const std::vector<SitePoint>& outline, const SiteAudience& audience);
std::vector<SitePoint> ConvexOutline(std::vector<SitePoint> points);

}  // namespace orvane
