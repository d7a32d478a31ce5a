#pragma once
// One cue of a show: a device fired at a time and a place. The place is a named position of
// the show's site or typed coordinates; a missing coordinate takes the device's own start
// position when the show is compiled.

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// A frame lasts 40 ms (25 frames per second).
inline constexpr int64_t kFrameMilliseconds = 40;

struct Cue {
  int64_t TimeMs = 0;            // firing time from the show's start, whole milliseconds
  int32_t Code = 0;              // device code of the show's device list
  std::optional<float> X, Y, Z;  // scene units
  std::string Label;
  // The line of cues.csv it was read from (0 for a cue made otherwise), for messages.
  int Line = 0;
  // A position of the site; X and Z are then empty, and Y, when given, overrides its height.
  std::string Position;
  // The firing system's module and pin, as the system counts them; both or neither. Cues
  // without them are given addresses when a firing script is made.
  std::optional<int32_t> Module, Pin;

  bool operator==(const Cue&) const = default;
};

// The frame at whose start the cue fires.
inline uint32_t CueFrame(int64_t timeMs) { return static_cast<uint32_t>(timeMs / kFrameMilliseconds); }

}  // namespace orvane
