#pragma once
// What a written compile of a show measured, with what it was compiled from.

#include <vector>

#include "compiler/root_cue.h"
#include "show/cue.h"
#include "show/show_site.h"

namespace orvane {

struct CompiledExtents {
  std::vector<Cue> Cues;  // as compiled, Line numbered as the cue table shows them
  std::vector<RootCue> Roots;
  std::vector<CueExtent> Extents;  // one per cue, in step with Cues and Roots
  ShowSite Site;                   // the site the compile used (its scale and ground)
};

}  // namespace orvane
