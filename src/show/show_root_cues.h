#pragma once
// A show's cues as the compiler takes them: each cue's frame, code and start point (its
// own coordinates, or its device's start position where it gives none).

#include <cstddef>
#include <optional>
#include <string>
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

// The warning after a compile that culled records (CueExtent::Culled), naming the lines of
// the cues whose particles left the range a show file can store; nothing when none did.
std::optional<std::string> CulledCuesWarning(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents,
                                             const std::string& cueFile);

}  // namespace orvane
