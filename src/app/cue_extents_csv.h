#pragma once
// The per-cue extents of a compiled show in metres, as the compile prints them and as a
// CSV file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/root_cue.h"
#include "show/cue.h"
#include "show/show_site.h"

namespace orvane {

struct ExtentMetres {
  double Height = 0;               // above the cue's start
  double Radius = 0;               // horizontal, from the cue's start
  double Lowest = 0;               // above ground
  std::optional<int64_t> BreakMs;  // show time of the break
  double BreakHeight = 0;          // above the cue's start
};

// Meaningful for an extent that saw particles.
ExtentMetres MetresOfExtent(const CueExtent& extent, const ShowSite& site);

// The extents as a CSV file: one line per cue, in list order.
std::string CueExtentsCsv(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents, const ShowSite& site);

}  // namespace orvane
