#pragma once
// A firing script read back into cues: time, device code, coordinates, position, label,
// module and pin from the columns the profile names. Scripts of the "orvane" profile hold
// every one of them, so such a script gives back the cues it was written from.

#include <string_view>
#include <vector>

#include "project/firing_profile.h"
#include "show/cue.h"
#include "util/result.h"

namespace orvane {

// A script is at most this large; bigger files are refused unread.
inline constexpr uintmax_t kMaxScriptFileBytes = uintmax_t{16} << 20;

// The cues sorted by time. Refused, naming the line, when the profile cannot be read
// back (not a comma table, no time or code column) or a row does not read.
Result<std::vector<Cue>> ReadFiringScript(std::string_view text, std::string_view fileName,
                                          const FiringProfile& profile);

}  // namespace orvane
