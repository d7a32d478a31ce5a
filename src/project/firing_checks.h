#pragma once
// What a firing system would refuse or misfire, found before a script is written: a pin
// used twice, an address outside the profile's range, two ignitions on one module closer
// than the profile allows, and times before the show or past its longest length. Every
// message names the cues.csv lines.

#include <cstdint>
#include <string>
#include <vector>

#include "project/firing_addresses.h"
#include "project/firing_profile.h"
#include "show/cue.h"

namespace orvane {

// More is noise: the rest is counted in a last message.
inline constexpr size_t kMaxScriptProblems = 50;

// `ignitionMs`: each cue's ignition as the script writes it (rounded), in list order.
std::vector<std::string> CheckFiring(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses,
                                     const std::vector<double>& ignitionMs, const FiringProfile& profile);

}  // namespace orvane
