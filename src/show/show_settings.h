#pragma once
// show.json: the show's title, its music, its Scale and its site, with a format name and a
// version so that later versions can read it. Fields this version does not know are kept on save.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "show/show_site.h"
#include "util/result.h"

namespace orvane {

inline constexpr const char* kShowSettingsFileName = "show.json";
inline constexpr const char* kShowFormat = "orvane-show";
inline constexpr int kShowVersion = 1;

// show.json is a few hundred bytes; a larger file is refused unread.
inline constexpr uintmax_t kMaxShowSettingsBytes = uintmax_t{1} << 20;

// More beats than an hour of music at 300 bpm has; a longer list is not kept.
inline constexpr size_t kMaxShowBeats = 20'000;

// The beats found in the show's music, kept with the show so a reopened show has them at once.
struct ShowBeats {
  std::string MusicFile;        // the music they were found in, as the show names it
  double TempoBpm = 0;          // beats per minute
  std::vector<double> Seconds;  // music time, ascending
  bool operator==(const ShowBeats&) const = default;
};

struct ShowSettings {
  std::string Title;              // empty: the show folder's name
  std::string MusicFile;          // relative to the show folder, or absolute; empty: no music
  double MusicOffsetSeconds = 0;  // the music's time at show time 0
  std::optional<float> Scale;     // nothing: the display's own
  // The random generator's seed the show compiles from; nothing: derived from the cues.
  std::optional<uint32_t> Seed;
  // Kept results rather than choices: they take no part in comparing settings.
  std::optional<ShowBeats> Beats;
  int32_t VideoWidth = 0, VideoHeight = 0;  // pixels, the last video export's; 0: none yet
  ShowSite Site;                            // the defaults when the file has no "site"
  // The whole object as read, so that unknown fields survive a save.
  std::string ReadJson;

  bool operator==(const ShowSettings& other) const {
    return Title == other.Title && MusicFile == other.MusicFile && MusicOffsetSeconds == other.MusicOffsetSeconds &&
           Scale == other.Scale && Seed == other.Seed && Site == other.Site;
  }
};

// Reads show.json's text; the message for the user when it is refused.
Result<ShowSettings> ReadShowSettings(std::string_view text);

// The file's text: the fields as read, with the known ones set from `settings`.
std::string ShowSettingsText(const ShowSettings& settings);

}  // namespace orvane
