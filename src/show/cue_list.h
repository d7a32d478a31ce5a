#pragma once
// The cue list file: CSV with a header line naming the columns (compared without case).
// "time" and "code" are required; "x", "y", "z", "label", "position", "module" and "pin" are
// optional; other columns are ignored. A bad line refuses the whole list with a message naming line and field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_lookup.h"
#include "show/cue.h"
#include "show/show_site.h"
#include "util/result.h"
#include "util/show_length.h"

namespace orvane {

inline constexpr const char* kCueFileName = "cues.csv";

// Cue lists are text of at most a few megabytes; a larger file is refused unread.
inline constexpr uintmax_t kMaxCueFileBytes = uintmax_t{8} << 20;
// Far more than any show fires; keeps the memory a list takes in bounds.
inline constexpr size_t kMaxCues = 100'000;

// The latest firing time a cue may have: just before the end of the longest show. A cue
// at or after it would never fire.
inline constexpr int64_t kMaxCueTimeMs = kMaxShowSeconds * 1000 - 1;

// The show file stores positions as round(v * 3000) in 16 bits.
inline constexpr double kMaxCuePosition = 32767.0 / 3000.0;

// Module and pin numbers: far beyond any firing system's.
inline constexpr int32_t kMaxCueAddress = 65'535;

// Seconds with "." as decimal separator ("12.5") or minutes and seconds ("1:05.250"),
// as whole milliseconds: round half to even of seconds * 1000 in double. Nothing for a
// text that does not read; a negative time reads (the list refuses it).
std::optional<int64_t> ParseCueTime(std::string_view text);

// "12.340": the time as cues.csv writes it.
std::string CueTimeText(int64_t timeMs);

// Reads the list (cues in file order); every code must name a device of `devices` and every
// position one of `site` (with null, they are only read). `fileName` starts the messages
// ("cues.csv line 7: no device has code 512.").
Result<std::vector<Cue>> ReadCueList(std::string_view text, std::string_view fileName, const DeviceRecords* devices,
                                     const ShowSite* site = nullptr);

// The list as cues.csv: header "time,code,x,y,z,label", one line per cue in list order, and
// a "position" column when a cue names one, then "module" and "pin" when a cue has them.
std::string CueListText(const std::vector<Cue>& cues);

}  // namespace orvane
