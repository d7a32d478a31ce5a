#pragma once
// The longest show: one hour. The compile cuts a show there, a cue list refuses cues at or
// after it (they would never fire), and no music may be longer.

#include <cstdint>

namespace orvane {

inline constexpr int64_t kMaxShowSeconds = 3600;

}  // namespace orvane
