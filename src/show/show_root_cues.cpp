#include "show/show_root_cues.h"

#include "show/cue.h"

namespace orvane {

ShowRoots ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices) {
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
    roots.Cues.push_back({CueFrame(cue.TimeMs), cue.Code, cue.X.value_or(part->BestX), cue.Y.value_or(part->BestY),
                          cue.Z.value_or(part->BestZ)});
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
