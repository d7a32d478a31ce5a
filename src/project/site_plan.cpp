#include "project/site_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "show/csv_text.h"
#include "show/site_units.h"

namespace orvane {
namespace {

double Cross(const SitePoint& o, const SitePoint& a, const SitePoint& b) {
  return (a.X - o.X) * (b.Z - o.Z) - (a.Z - o.Z) * (b.X - o.X);
}

double Distance(const SitePoint& a, const SitePoint& b) { return std::hypot(a.X - b.X, a.Z - b.Z); }

double DistanceToSegment(const SitePoint& p, const SitePoint& a, const SitePoint& b, SitePoint& nearest) {
  const double dx = b.X - a.X, dz = b.Z - a.Z;
  const double length2 = dx * dx + dz * dz;
  double t = length2 > 0 ? ((p.X - a.X) * dx + (p.Z - a.Z) * dz) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  nearest = {a.X + t * dx, a.Z + t * dz};
  return Distance(p, nearest);
}

bool OnSegment(const SitePoint& a, const SitePoint& b, const SitePoint& p) {
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Z, b.Z) <= p.Z &&
         p.Z <= std::max(a.Z, b.Z);
}

bool SegmentsMeet(const SitePoint& a, const SitePoint& b, const SitePoint& c, const SitePoint& d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  return (d1 == 0 && OnSegment(c, d, a)) || (d2 == 0 && OnSegment(c, d, b)) || (d3 == 0 && OnSegment(a, b, c)) ||
         (d4 == 0 && OnSegment(a, b, d));
}

// Even-odd rule; a point on an edge may go either way, which the edge tests cover.
bool InsidePolygon(const SitePoint& p, const std::vector<SitePoint>& polygon) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const SitePoint& a = polygon[i];
    const SitePoint& b = polygon[j];
    if ((a.Z > p.Z) != (b.Z > p.Z) && p.X < (b.X - a.X) * (p.Z - a.Z) / (b.Z - a.Z) + a.X) inside = !inside;
  }
  return polygon.size() >= 3 && inside;
}

// The audience's edges: a line's segments, an area's closed outline.
template <class Visit>
void ForEachEdge(const SiteAudience& audience, Visit visit) {
  const std::vector<SitePoint>& p = audience.Points;
  for (size_t i = 0; i + 1 < p.size(); ++i) visit(p[i], p[i + 1]);
  if (audience.Kind == AudienceKind::kArea && p.size() >= 3) visit(p.back(), p.front());
}

std::string Metres(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string LinesText(const std::vector<int>& lines, size_t most) {
  std::string text;
  for (size_t i = 0; i < lines.size() && i < most; ++i) text += (i ? ", " : "") + std::to_string(lines[i]);
  if (lines.size() > most) text += " and " + std::to_string(lines.size() - most) + " more";
  return text;
}

// The fallout's outline of one cue: every sector's reach taken out to its corners, so that
// the outline holds every particle that fell in the sector, and the start point.
std::vector<SitePoint> CueFalloutOutline(const SitePoint& start, const CueExtent& extent, const ShowSite& measured) {
  if (!extent.FellLow) return {};
  std::vector<SitePoint> points{start};
  for (int i = 0; i < kFalloutSectors; ++i) {
    const double reach = extent.FalloutReach[static_cast<size_t>(i)];
    if (reach <= 0) continue;
    const double from = FalloutSectorStart(i), to = FalloutSectorStart(i + 1);
    const double r = MetresFromUnitLength(measured, reach) / std::cos((to - from) / 2);
    for (const double angle : {from, to})
      points.push_back({start.X + r * std::cos(angle), start.Z + r * std::sin(angle)});
  }
  return ConvexOutline(std::move(points));
}

double FarthestFrom(const SitePoint& p, const std::vector<SitePoint>& outline) {
  double farthest = 0;
  for (const SitePoint& v : outline) farthest = std::max(farthest, Distance(p, v));
  return farthest;
}

// How far the outline reaches from `from` in the direction of `towards`.
double ReachTowards(const SitePoint& from, const SitePoint& towards, const std::vector<SitePoint>& outline) {
  const double d = Distance(from, towards);
  if (d <= 0) return FarthestFrom(from, outline);
  const double ux = (towards.X - from.X) / d, uz = (towards.Z - from.Z) / d;
  double reach = 0;
  for (const SitePoint& v : outline) reach = std::max(reach, (v.X - from.X) * ux + (v.Z - from.Z) * uz);
  return reach;
}

std::string CoordinatesName(const SitePoint& p) { return "(" + Metres(p.X) + ", " + Metres(p.Z) + ")"; }

size_t PositionOf(SitePlan& plan, std::map<std::string, size_t>& byName, const Cue& cue, const SitePoint& start) {
  const bool ofSite = !cue.Position.empty() && FindSitePosition(plan.Site, cue.Position) != nullptr;
  const std::string name = ofSite ? cue.Position : CoordinatesName(start);
  const auto [it, added] = byName.try_emplace((ofSite ? "s:" : "c:") + name, plan.Positions.size());
  if (added) {
    PlanPosition p;
    p.Name = name;
    p.At = start;
    p.OfSite = ofSite;
    plan.Positions.push_back(std::move(p));
  }
  return it->second;
}

PlanCue MeasuredCue(const CompiledExtents& compiled, size_t i, const ShowSite& site, const ProductTable& products) {
  const Cue& cue = compiled.Cues[i];
  const RootCue& root = compiled.Roots[i];
  const CueExtent& e = compiled.Extents[i];
  const ShowSite& measured = compiled.Site;
  PlanCue c;
  c.Index = i;
  c.Line = cue.Line;
  c.Code = cue.Code;
  const MetrePoint start = MetresFromUnits(measured, {root.X, root.Y, root.Z});
  c.Start = {start.X, start.Z};
  // A position moved since the compile carries its cues along.
  if (const SitePosition* p = cue.Position.empty() ? nullptr : FindSitePosition(site, cue.Position))
    c.Start = {p->X, p->Z};
  c.StartHeight = start.Y;
  c.Seen = e.Seen;
  c.FirstFrame = e.FirstFrame;
  c.LastFrame = e.LastFrame;
  c.Broke = e.Broke;
  c.BreakHeight = start.Y + (e.Broke ? MetresFromUnitLength(measured, e.BreakHeight) : 0);
  c.TopHeight = start.Y + std::max(0.0, MetresFromUnitLength(measured, e.Height));
  c.Spread = e.Seen ? MetresFromUnitLength(measured, e.Radius) : 0;
  c.Fallout = CueFalloutOutline(c.Start, e, measured);
  c.FalloutReach = FarthestFrom(c.Start, c.Fallout);
  if (const Product* product = FindProduct(products, cue.Code)) c.CalibreMm = product->CalibreMm;
  return c;
}

void Summarise(SitePlan& plan, PlanPosition& p) {
  std::vector<SitePoint> outline;
  for (const size_t ci : p.Cues) {
    const PlanCue& c = plan.Cues[ci];
    if (c.CalibreMm && (!p.CalibreMm || *c.CalibreMm > *p.CalibreMm)) p.CalibreMm = c.CalibreMm;
    p.Spread = std::max(p.Spread, c.Spread);
    outline.insert(outline.end(), c.Fallout.begin(), c.Fallout.end());
  }
  p.Fallout = ConvexOutline(std::move(outline));
  p.FalloutDistance = FarthestFrom(p.At, p.Fallout);
  if (p.CalibreMm) p.RuleDistance = RuleDistance(plan.Rule, *p.CalibreMm);
}

void Check(SitePlan& plan, size_t index) {
  PlanPosition& p = plan.Positions[index];
  for (const SiteAudience& audience : plan.Site.Audience) {
    if (audience.Points.empty()) continue;
    SitePoint nearest;
    const double d = DistanceToAudience(p.At, audience, &nearest);
    if (!p.AudienceDistance || d < *p.AudienceDistance) {
      p.AudienceDistance = d;
      p.NearestAudience = audience.Name;
    }
    double margin = p.RuleDistance ? d - *p.RuleDistance : d;
    if (p.RuleDistance && d < *p.RuleDistance) {
      PlanViolation v{ViolationKind::kRule, index, audience.Name, {}, d, *p.RuleDistance, 0};
      v.Shortfall = std::max(kLeastShortfallM, *p.RuleDistance - d);
      for (const size_t ci : p.Cues) {
        const PlanCue& c = plan.Cues[ci];
        if (c.CalibreMm && RuleDistance(plan.Rule, *c.CalibreMm) > d) v.Lines.push_back(c.Line);
      }
      plan.Violations.push_back(std::move(v));
    }
    if (!p.Fallout.empty()) {
      const double reach = ReachTowards(p.At, nearest, p.Fallout);
      if (OutlineTouchesAudience(p.Fallout, audience)) {
        PlanViolation v{ViolationKind::kFallout, index, audience.Name, {}, d, reach, 0};
        v.Shortfall = std::max(kLeastShortfallM, reach - d);
        for (const size_t ci : p.Cues)
          if (OutlineTouchesAudience(plan.Cues[ci].Fallout, audience)) v.Lines.push_back(plan.Cues[ci].Line);
        margin = std::min(margin, -v.Shortfall);
        plan.Violations.push_back(std::move(v));
      } else {
        margin = std::min(margin, std::max(0.0, d - reach));
      }
    }
    p.Margin = p.Margin ? std::min(*p.Margin, margin) : margin;
  }
}

}  // namespace

std::vector<SitePoint> ConvexOutline(std::vector<SitePoint> points) {
  std::sort(points.begin(), points.end(),
            [](const SitePoint& a, const SitePoint& b) { return a.X < b.X || (a.X == b.X && a.Z < b.Z); });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return points;
  // Andrew's monotone chain.
  std::vector<SitePoint> hull(2 * points.size());
  size_t k = 0;
  for (const SitePoint& p : points) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

double DistanceToAudience(const SitePoint& point, const SiteAudience& audience, SitePoint* nearest) {
  double best = INFINITY;
  SitePoint at = audience.Points.empty() ? point : audience.Points.front();
  if (audience.Points.size() == 1) best = Distance(point, at);
  ForEachEdge(audience, [&](const SitePoint& a, const SitePoint& b) {
    SitePoint n;
    const double d = DistanceToSegment(point, a, b, n);
    if (d < best) {
      best = d;
      at = n;
    }
  });
  if (audience.Kind == AudienceKind::kArea && InsidePolygon(point, audience.Points)) {
    best = 0;
    at = point;
  }
  if (nearest) *nearest = at;
  return std::isfinite(best) ? best : 0;
}

bool OutlineTouchesAudience(const std::vector<SitePoint>& outline, const SiteAudience& audience) {
  if (outline.empty() || audience.Points.empty()) return false;
  if (outline.size() == 1) return DistanceToAudience(outline.front(), audience) == 0;
  bool touches = false;
  const size_t n = outline.size();
  ForEachEdge(audience, [&](const SitePoint& a, const SitePoint& b) {
    for (size_t i = 0; i < n && !touches; ++i) touches = SegmentsMeet(a, b, outline[i], outline[(i + 1) % n]);
  });
  if (touches) return true;
  if (InsidePolygon(audience.Points.front(), outline)) return true;
  return audience.Kind == AudienceKind::kArea && InsidePolygon(outline.front(), audience.Points);
}

SitePlan MakeSitePlan(const CompiledExtents& compiled, const ShowSite& site, const ProductTable& products,
                      const SafetyRule& rule) {
  SitePlan plan;
  plan.Site = site;
  plan.Rule = rule;
  // Site positions first, in the site's order, even when nothing fires there.
  std::map<std::string, size_t> byName;
  for (const SitePosition& s : site.Positions) {
    byName.emplace("s:" + s.Name, plan.Positions.size());
    plan.Positions.push_back(PlanPosition{s.Name, {s.X, s.Z}, true});
  }
  const size_t count = std::min({compiled.Cues.size(), compiled.Roots.size(), compiled.Extents.size()});
  plan.Cues.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    PlanCue c = MeasuredCue(compiled, i, site, products);
    c.Position = PositionOf(plan, byName, compiled.Cues[i], c.Start);
    plan.Positions[c.Position].Cues.push_back(plan.Cues.size());
    plan.Cues.push_back(std::move(c));
  }
  for (PlanPosition& p : plan.Positions) Summarise(plan, p);
  for (size_t i = 0; i < plan.Positions.size(); ++i) Check(plan, i);
  return plan;
}

PlanBounds SitePlanBounds(const SitePlan& plan) {
  bool any = false;
  PlanBounds b;
  const auto take = [&](double x, double z, double r) {
    if (!std::isfinite(x) || !std::isfinite(z) || !std::isfinite(r)) return;
    if (!any) b = {x - r, z - r, x + r, z + r};
    b = {std::min(b.MinX, x - r), std::min(b.MinZ, z - r), std::max(b.MaxX, x + r), std::max(b.MaxZ, z + r)};
    any = true;
  };
  for (const PlanPosition& p : plan.Positions) {
    take(p.At.X, p.At.Z, std::max(p.RuleDistance.value_or(0), p.Spread));
    for (const SitePoint& v : p.Fallout) take(v.X, v.Z, 0);
  }
  for (const PlanCue& c : plan.Cues) take(c.Start.X, c.Start.Z, c.Spread);
  for (const SiteAudience& a : plan.Site.Audience)
    for (const SitePoint& v : a.Points) take(v.X, v.Z, 0);
  if (!any) return {-50, -50, 50, 50};
  return b;
}

std::string ViolationText(const SitePlan& plan, const PlanViolation& v) {
  const PlanPosition& p = plan.Positions[v.Position];
  std::string text = "Position " + p.Name + ": ";
  if (v.Kind == ViolationKind::kRule)
    text += "the rule circle of " + Metres(v.Reach) + " m (" + Metres(p.CalibreMm.value_or(0)) + " mm, " +
            plan.Rule.Title + ")";
  else text += "the measured fallout, reaching " + Metres(v.Reach) + " m towards it,";
  text +=
      " reaches audience \"" + v.Audience + "\" at " + Metres(v.Distance) + " m: " + Metres(v.Shortfall) + " m short";
  if (!v.Lines.empty())
    text += " (cues.csv line" + std::string(v.Lines.size() > 1 ? "s " : " ") + LinesText(v.Lines, 12) + ")";
  return text + ".";
}

std::vector<std::string> LegendHeader() {
  return {"Position",         "Cues",           "Largest calibre",  "Rule distance",
          "Measured fallout", "Largest spread", "Nearest audience", "Margin"};
}

std::vector<std::vector<std::string>> LegendRows(const SitePlan& plan) {
  std::vector<std::vector<std::string>> rows;
  for (const PlanPosition& p : plan.Positions) {
    const auto metres = [](const std::optional<double>& v) { return v ? Metres(*v) + " m" : std::string("-"); };
    rows.push_back({p.Name, std::to_string(p.Cues.size()), p.CalibreMm ? Metres(*p.CalibreMm) + " mm" : "-",
                    metres(p.RuleDistance), p.Fallout.empty() ? "-" : Metres(p.FalloutDistance) + " m",
                    p.Cues.empty() ? "-" : Metres(p.Spread) + " m",
                    p.AudienceDistance ? Metres(*p.AudienceDistance) + " m (" + p.NearestAudience + ")" : "-",
                    metres(p.Margin)});
  }
  return rows;
}

std::string LegendCsv(const SitePlan& plan) {
  std::string csv =
      "position,cues,cue_lines,largest_calibre_mm,rule_distance_m,fallout_distance_m,largest_spread_m,"
      "nearest_audience,audience_distance_m,margin_m\n";
  const auto number = [](const std::optional<double>& v) { return v ? Metres(*v) : std::string(); };
  for (const PlanPosition& p : plan.Positions) {
    std::string lines;
    for (const size_t ci : p.Cues) lines += (lines.empty() ? "" : " ") + std::to_string(plan.Cues[ci].Line);
    csv += SpreadsheetField(p.Name) + "," + std::to_string(p.Cues.size()) + "," + CsvField(lines) + "," +
           number(p.CalibreMm) + "," + number(p.RuleDistance) + "," +
           (p.Fallout.empty() ? "" : Metres(p.FalloutDistance)) + "," + (p.Cues.empty() ? "" : Metres(p.Spread)) + "," +
           SpreadsheetField(p.NearestAudience) + "," + number(p.AudienceDistance) + "," + number(p.Margin) + "\n";
  }
  return csv;
}

}  // namespace orvane
