#pragma once
// A show's cues as the compiler takes them: each cue's frame, code and start point (its
// own coordinates, or its device's start position where it gives none).

#include <string>
#include <vector>

#include "compiler/root_cue.h"
#include "model/device_lookup.h"
#include "show/cue.h"

namespace orvane {

// Every code must name a device of `devices` (the cue list reader checks that).
std::vector<RootCue> ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices);

// The extents as a CSV file: one line per cue, in list order.
std::string CueExtentsCsv(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents);

}  // namespace orvane
