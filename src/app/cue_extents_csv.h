#pragma once
// The per-cue extents of a compiled show as a CSV file.

#include <string>
#include <vector>

#include "compiler/root_cue.h"
#include "show/cue.h"

namespace orvane {

// The extents as a CSV file: one line per cue, in list order.
std::string CueExtentsCsv(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents);

}  // namespace orvane
