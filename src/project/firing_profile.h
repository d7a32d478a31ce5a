#pragma once
// A firing-script profile: how one firing system wants its script written, read from a
// small JSON file so that users can describe their own system. Shipped profiles live in the
// data folder "profiles" as <name>.json.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace orvane {

inline constexpr const char* kProfileExtension = ".json";
// A profile is a page of JSON; a larger file is refused unread.
inline constexpr uintmax_t kMaxProfileBytes = uintmax_t{64} << 10;
inline constexpr size_t kMaxProfileColumns = 64;
inline constexpr size_t kMaxProfileHeaderLines = 64;

// What a script column holds for one cue.
enum class ScriptField {
  kIgnitionTime,
  kBreakTime,
  kModule,
  kPin,
  kPosition,
  kProductName,
  kPartNumber,
  kType,
  kCalibre,   // millimetres
  kPrefire,   // seconds
  kDuration,  // seconds
  kLabel,
  kCueLine,   // the cues.csv line
  kQuantity,  // items fired on the pin: always 1
  kCode,      // the device code
  kX,         // the cue's coordinates as cues.csv holds them
  kY,
  kZ,
};

// "ignition_time", "break_time", ...: as profiles name them.
const char* ScriptFieldName(ScriptField field);
std::optional<ScriptField> ScriptFieldFromName(std::string_view name);

enum class ScriptTimeFormat {
  kSeconds,        // "seconds": 12.34 with `TimeDecimals` decimals
  kMilliseconds,   // "milliseconds": 12340
  kHundredths,     // "hh:mm:ss.ff", ff in hundredths of a second
  kFrames,         // "hh:mm:ss:ff" at `FramesPerSecond`
  kSubtitleClock,  // "hh:mm:ss,mmm", as subtitles write it
};

enum class ScriptLayout {
  kTable,      // "table": delimited rows under an optional column header line
  kSubtitles,  // "subtitles": numbered SubRip entries, the columns joined as the text
};

enum class ScriptEncoding { kUtf8, kLatin1 };
enum class ScriptSort { kTime, kAddress };

struct ScriptColumn {
  std::string Header;  // table: the header line's text; subtitles: a word before the value
  ScriptField Field = ScriptField::kIgnitionTime;
  bool operator==(const ScriptColumn&) const = default;
};

struct FiringProfile {
  std::string Name;
  std::string Extension = "csv";  // without the dot
  ScriptLayout Layout = ScriptLayout::kTable;
  char Delimiter = ',';
  char DecimalSeparator = '.';
  ScriptEncoding Encoding = ScriptEncoding::kUtf8;
  bool Crlf = false;
  // Written first; placeholders {title}, {date}, {cue_count}, {profile}, {length}.
  std::vector<std::string> HeaderLines;
  bool ColumnHeaders = true;  // a line of the columns' headers before the rows
  std::vector<ScriptColumn> Columns;
  ScriptTimeFormat TimeFormat = ScriptTimeFormat::kMilliseconds;
  int TimeDecimals = 3;      // kSeconds
  int FramesPerSecond = 30;  // kFrames
  int64_t ResolutionMs = 1;  // the tick times round to (frame formats: the frame)
  int PinBase = 1;           // the first pin's number: 0 or 1
  int ModuleBase = 1;        // the first module's number: 0 or 1
  int PinsPerModule = 32;
  int Modules = 99;
  int64_t MinSpacingMs = 0;  // between two ignitions of one module; 0: no limit
  int64_t MaxShowLengthMs = int64_t{3600} * 1000;
  ScriptSort Sort = ScriptSort::kTime;
  int64_t SubtitleMs = 1000;  // how long a subtitle entry shows

  bool operator==(const FiringProfile&) const = default;
};

// Reads a profile's JSON; `source` starts the messages ("channel-cue.json: line 3, column 9:
// ..." for a syntax error, "... : \"columns\"[2].\"field\": unknown field \"colour\"" otherwise).
// Fields the format does not know are refused, so a misspelt one is not silently ignored.
Result<FiringProfile> ReadFiringProfile(std::string_view text, std::string_view source);

// A file (a name with a "/" or ending in .json) or the name of a shipped profile.
Result<FiringProfile> LoadFiringProfile(const std::string& nameOrFile);

// Names of the shipped profiles, sorted; empty when the data folder is missing.
std::vector<std::string> ShippedProfileNames();

// Profiles in `folder` (<name>.json), sorted by name.
std::vector<std::string> ProfileNamesIn(const std::filesystem::path& folder);

}  // namespace orvane
