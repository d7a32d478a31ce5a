#pragma once
// Times as a firing script writes them: rounded to the profile's tick (the resolution, or
// the frame of a frame timecode), half away from zero, then written in its format.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "project/firing_profile.h"

namespace orvane {

// A tick lasts Numerator / Denominator milliseconds (1000 / 30 for 30 frames a second).
struct ScriptTick {
  int64_t Numerator = 1;
  int64_t Denominator = 1;
};

ScriptTick ProfileTick(const FiringProfile& profile);

// The nearest whole tick, a half rounded away from zero.
int64_t RoundToTicks(int64_t ms, ScriptTick tick);
// The tick's time in milliseconds (a fraction for frames).
double TicksToMs(int64_t ticks, ScriptTick tick);

// "12.340", "12340", "00:00:12.34", "00:00:12:10", "00:00:12,340".
std::string ScriptTimeText(int64_t ticks, const FiringProfile& profile);

// A time written in the profile's format, in whole milliseconds (a frame's time rounded
// half away from zero); nothing for text that is not such a time.
std::optional<int64_t> ParseScriptTime(std::string_view text, const FiringProfile& profile);

}  // namespace orvane
