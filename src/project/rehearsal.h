#pragma once
// Rehearsal: the next ignitions from a moment of the show, counting down, so that an operator
// can rehearse a manual or stepped show along with the playback.

#include <cstdint>
#include <string>
#include <vector>

#include "project/firing_addresses.h"
#include "show/cue_table.h"

namespace orvane {

struct RehearsalIgnition {
  int64_t ToGoMs = 0;  // from the moment to the ignition
  int32_t Module = 0;
  int32_t Pin = 0;
  std::string Product;
  std::string Position;
};

// The next `count` ignitions at or after `nowMs`, soonest first (equal times in list order).
// `addresses` holds one address per cue (AssignAddresses).
std::vector<RehearsalIgnition> NextIgnitions(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses,
                                             const CueTableContext& context, int64_t nowMs, size_t count);

// One line per ignition: "  2.4 s   module 3 pin 1   Yellow burst, aerial (C)".
std::string RehearsalText(const std::vector<RehearsalIgnition>& ignitions);

}  // namespace orvane
