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

std::optional<std::string> CulledCuesWarning(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents,
                                             const std::string& cueFile) {
  // Enough lines to find the trouble; a show with hundreds says how many more.
  constexpr size_t kLinesNamed = 10;
  std::string lines;
  size_t named = 0, more = 0;
  for (size_t i = 0; i < cues.size() && i < extents.size(); ++i) {
    if (extents[i].Culled == 0) continue;
    if (named == kLinesNamed) {
      ++more;
      continue;
    }
    lines += (named++ == 0 ? "" : ", ") + std::to_string(cues[i].Line);
  }
  if (named == 0) return std::nullopt;
  if (more > 0) lines += " and " + std::to_string(more) + " more";
  const bool one = named + more == 1;
  return std::string(one ? "Particles of the cue at " : "Particles of the cues at ") + cueFile +
         (one ? " line " : " lines ") + lines +
         " left the range a show file can store (-10.92 to 10.92 scene units from the origin) and are not shown "
         "there.";
}

}  // namespace orvane
