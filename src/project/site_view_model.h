#pragma once
// What the show window's "Site" view shows and does, without the toolkit: the plan of the
// show as it stands (the last compile's measures, the site and products as they are now),
// the cues burning at the play head, and a position dragged to a new place, which moves its
// cues as one edit when let go.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/show_project.h"
#include "project/site_plan.h"

namespace orvane {

class SiteViewModel {
 public:
  // The project must outlive the model.
  explicit SiteViewModel(ShowProject& project);

  // Plans again from the project (after an edit or a compile); a drag in progress is dropped.
  void Refresh();
  const SitePlan& Plan() const { return plan_; }
  // What the view says beside the plan: a rule that did not load, a show not yet compiled.
  const std::string& Note() const { return note_; }

  void SetPlayHead(int64_t ms);
  // Into Plan().Cues: the cues whose particles are in the air at the play head.
  const std::vector<size_t>& ActiveCues() const { return active_; }

  // The site position nearest `at` within `toleranceM` metres; cues' own places do not move.
  std::optional<size_t> PositionAt(const SitePoint& at, double toleranceM) const;
  void BeginDrag(size_t position);
  bool Dragging() const { return held_.has_value(); }
  std::optional<size_t> Held() const { return held_; }
  // Plans with the held position at `at` (to the decimetre); nothing is edited yet.
  void DragTo(const SitePoint& at);
  // The move as one edit; a refusal leaves the site as it was.
  Result<> EndDrag();
  void CancelDrag();

 private:
  void Replan(const ShowSite& site);
  void FindActive();

  ShowProject& project_;
  SitePlan plan_;
  std::string note_;
  SafetyRule rule_;
  int64_t playHeadMs_ = 0;
  std::vector<size_t> active_;
  std::optional<size_t> held_;
  ShowSite dragged_;
};

}  // namespace orvane
