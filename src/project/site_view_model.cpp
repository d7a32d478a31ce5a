#include "project/site_view_model.h"

#include <cmath>

#include "show/cue.h"
#include "show/site_units.h"

namespace orvane {
namespace {

// Before the first compile: the cues where they fire, with nothing measured, so that the
// rule's circles show already.
CompiledExtents Unmeasured(const ShowProject& project) {
  CompiledExtents c;
  c.Site = project.Site();
  c.Cues = project.Cues();
  for (size_t i = 0; i < c.Cues.size(); ++i) {
    const Cue& cue = c.Cues[i];
    RootCue root{CueFrame(cue.TimeMs), cue.Code, cue.X.value_or(0), cue.Y.value_or(0), cue.Z.value_or(0)};
    if (const SitePosition* p = FindSitePosition(c.Site, cue.Position)) {
      const UnitPoint start = PositionStart(c.Site, *p, root.Y);
      root.X = start.X;
      root.Z = start.Z;
    }
    c.Roots.push_back(root);
  }
  c.Extents.resize(c.Cues.size());
  return c;
}

double Rounded(double metres) { return std::round(metres * 10) / 10; }

}  // namespace

SiteViewModel::SiteViewModel(ShowProject& project) : project_(project) { Refresh(); }

void SiteViewModel::Refresh() {
  held_.reset();
  note_.clear();
  const Result<SafetyRule> rule = LoadSafetyRule(project_.Site().SafetyRule, project_.Folder());
  if (rule) {
    rule_ = rule.Value();
  } else {
    rule_ = SafetyRule{};
    rule_.Title = "0.84 m per mm (the rule did not load)";
    note_ = rule.Message();
  }
  if (!project_.LastCompiled())
    note_ += std::string(note_.empty() ? "" : " ") + "Compile the show to see its measured spreads and fallout.";
  Replan(project_.Site());
}

void SiteViewModel::Replan(const ShowSite& site) {
  plan_ = project_.LastCompiled() ? MakeSitePlan(*project_.LastCompiled(), site, project_.Products(), rule_)
                                  : MakeSitePlan(Unmeasured(project_), site, project_.Products(), rule_);
  FindActive();
}

void SiteViewModel::SetPlayHead(int64_t ms) {
  playHeadMs_ = ms;
  FindActive();
}

void SiteViewModel::FindActive() {
  active_.clear();
  for (size_t i = 0; i < plan_.Cues.size(); ++i) {
    const PlanCue& c = plan_.Cues[i];
    if (c.Seen && int64_t{c.FirstFrame} * kFrameMilliseconds <= playHeadMs_ &&
        playHeadMs_ < (int64_t{c.LastFrame} + 1) * kFrameMilliseconds)
      active_.push_back(i);
  }
}

std::optional<size_t> SiteViewModel::PositionAt(const SitePoint& at, double toleranceM) const {
  std::optional<size_t> best;
  double bestDistance = toleranceM;
  for (size_t i = 0; i < plan_.Positions.size(); ++i) {
    const PlanPosition& p = plan_.Positions[i];
    const double d = std::hypot(p.At.X - at.X, p.At.Z - at.Z);
    if (p.OfSite && d <= bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

void SiteViewModel::BeginDrag(size_t position) {
  if (position >= plan_.Positions.size() || !plan_.Positions[position].OfSite) return;
  held_ = position;
  dragged_ = project_.Site();
}

void SiteViewModel::DragTo(const SitePoint& at) {
  if (!held_) return;
  for (SitePosition& p : dragged_.Positions) {
    if (p.Name != plan_.Positions[*held_].Name) continue;
    p.X = Rounded(at.X);
    p.Z = Rounded(at.Z);
  }
  const size_t held = *held_;
  Replan(dragged_);
  held_ = held;  // the site's positions come first in the plan, in the same order
}

Result<> SiteViewModel::EndDrag() {
  if (!held_) return {};
  const std::string name = plan_.Positions[*held_].Name;
  const SitePosition* to = FindSitePosition(dragged_, name);
  held_.reset();
  Result<> moved = to ? project_.MoveSitePosition(name, to->X, to->Z) : Result<>{};
  Refresh();  // also after a refusal: back to the site as it is
  return moved;
}

void SiteViewModel::CancelDrag() {
  if (!held_) return;
  Refresh();
}

}  // namespace orvane
