#pragma once
// A show's cues as the compiler takes them: each cue's frame, code and start point (its
// site position's or its own coordinates, or its device's start position where it gives none).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "compiler/root_cue.h"
#include "model/device_lookup.h"
#include "show/cue.h"
#include "show/show_site.h"

namespace orvane {

struct ShowRoots {
  std::vector<RootCue> Cues;  // empty when a device or a position is missing
  // The first cue whose code names no device of the list (edits may have removed it).
  std::optional<size_t> MissingDevice;
  // The first cue whose position the site does not have.
  std::optional<size_t> MissingPosition;
};

ShowRoots ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices, const ShowSite& site);

// "cues.csv line 7: position "C" is not a position of the site.", as the reader says it.
std::string UnknownPositionMessage(const Cue& cue, int line);

// Where the cue starts in scene units; nothing when its position is not on the site.
std::optional<RootCue> CueStart(const Cue& cue, const TCompDevice& part, const ShowSite& site);

// The warning after a compile that culled records (CueExtent::Culled), naming the lines of
// the cues whose particles left the range a show file can store; nothing when none did.
std::optional<std::string> CulledCuesWarning(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents,
                                             const std::string& cueFile);

}  // namespace orvane
