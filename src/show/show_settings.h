#pragma once
// show.json: the show's title, its music, its Scale and its site, with a format name and a
// version so that later versions can read it. Fields this version does not know are kept on save.

#include <optional>
#include <string>
#include <string_view>

#include "show/show_site.h"

namespace orvane {

inline constexpr const char* kShowSettingsFileName = "show.json";
inline constexpr const char* kShowFormat = "orvane-show";
inline constexpr int kShowVersion = 1;

// show.json is a few hundred bytes; a larger file is refused unread.
inline constexpr uintmax_t kMaxShowSettingsBytes = uintmax_t{1} << 20;

struct ShowSettings {
  std::string Title;              // empty: the show folder's name
  std::string MusicFile;          // relative to the show folder, or absolute; empty: no music
  double MusicOffsetSeconds = 0;  // the music's time at show time 0
  std::optional<float> Scale;     // nothing: the display's own
  ShowSite Site;                  // the defaults when the file has no "site"
  // The whole object as read, so that unknown fields survive a save.
  std::string ReadJson;

  bool operator==(const ShowSettings& other) const {
    return Title == other.Title && MusicFile == other.MusicFile && MusicOffsetSeconds == other.MusicOffsetSeconds &&
           Scale == other.Scale && Site == other.Site;
  }
};

// Reads show.json's text; the message for the user when it is refused.
std::optional<std::string> ReadShowSettings(std::string_view text, ShowSettings& settings);

// The file's text: the fields as read, with the known ones set from `settings`.
std::string ShowSettingsText(const ShowSettings& settings);

}  // namespace orvane
