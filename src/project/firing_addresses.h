#pragma once
// Module and pin of every cue: the ones cues.csv gives, and for the others an automatic
// assignment per firing position (the site's positions in order, then cues at typed or
// device coordinates), each position starting on the next free module and filling its
// pins in firing-time order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/firing_profile.h"
#include "show/cue.h"
#include "show/cue_edit.h"
#include "show/show_site.h"

namespace orvane {

struct CueAddress {
  int32_t Module = 0;
  int32_t Pin = 0;
  bool Assigned = false;  // given here, not by cues.csv
  bool operator==(const CueAddress&) const = default;
};

struct AddressPlan {
  std::vector<CueAddress> Addresses;  // one per cue, in list order; complete only without Error
  size_t AssignedCount = 0;
  std::optional<std::string> Error;  // the profile's modules ran out
};

AddressPlan AssignAddresses(const std::vector<Cue>& cues, const ShowSite& site, const FiringProfile& profile);

// The cues given their assigned addresses, as one change of the list (order kept); empty
// when every cue had its address already.
CueListChange WriteAddressesChange(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses);

// The cues.csv line of the cue at `index`: the one it was read from, or where a save puts it.
inline int CueLineNumber(const Cue& cue, size_t index) { return cue.Line > 0 ? cue.Line : CueFileLine(index); }
// "cues.csv line 7".
std::string CueLineName(const Cue& cue, size_t index);

}  // namespace orvane
