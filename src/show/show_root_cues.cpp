#include "show/show_root_cues.h"

#include "show/cue.h"
#include "show/cue_list.h"
#include "show/site_units.h"

namespace orvane {

std::string UnknownPositionMessage(const Cue& cue, int line) {
  return std::string(kCueFileName) + " line " + std::to_string(line) + ": position \"" + cue.Position +
         "\" is not a position of the site.";
}

std::optional<RootCue> CueStart(const Cue& cue, const TCompDevice& part, const ShowSite& site) {
  const float ownY = cue.Y.value_or(part.BestY);
  if (!cue.Position.empty()) {
    const SitePosition* position = FindSitePosition(site, cue.Position);
    if (position == nullptr) return std::nullopt;
    const UnitPoint start = PositionStart(site, *position, ownY);
    return RootCue{CueFrame(cue.TimeMs), cue.Code, start.X, cue.Y ? ownY : start.Y, start.Z};
  }
  return RootCue{CueFrame(cue.TimeMs), cue.Code, cue.X.value_or(part.BestX), ownY, cue.Z.value_or(part.BestZ)};
}

ShowRoots ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices, const ShowSite& site) {
  ShowRoots roots;
  roots.Cues.reserve(cues.size());
  for (size_t i = 0; i < cues.size(); ++i) {
    const Cue& cue = cues[i];
    const std::shared_ptr<const TCompDevice> part = FindByCode(devices, cue.Code);
    if (!part) {
      roots.Cues.clear();
      roots.MissingDevice = i;
      return roots;
    }
    const std::optional<RootCue> root = CueStart(cue, *part, site);
    if (!root) {
      roots.Cues.clear();
      roots.MissingPosition = i;
      return roots;
    }
    roots.Cues.push_back(*root);
  }
  return roots;
}

}  // namespace orvane
