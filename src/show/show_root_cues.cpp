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

}  // namespace orvane
