#pragma once
// A show's cues as the compiler takes them: each cue's frame, code and start point (its
// own coordinates, or its device's start position where it gives none).

#include <cstddef>
#include <optional>
#include <vector>

#include "compiler/root_cue.h"
#include "model/device_lookup.h"
#include "show/cue.h"

namespace orvane {

struct ShowRoots {
  std::vector<RootCue> Cues;  // empty when a device is missing
  // The first cue whose code names no device of the list (edits may have removed it).
  std::optional<size_t> MissingDevice;
};

ShowRoots ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices);

}  // namespace orvane
