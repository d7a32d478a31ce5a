#pragma once
// What the show window remembers between runs: its layout, the timeline zoom, the shows
// opened last and the last video export's size and folder. The device editor remembers
// nothing. A stored value that is missing, damaged or out of range is replaced by its
// default without a word: settings are a convenience, never a reason to stop.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/video_export_run.h"

namespace orvane {

inline constexpr size_t kMaxRecentShows = 10;
// The toolkit's own layout records are a few hundred bytes; anything far larger is not one.
inline constexpr size_t kMaxLayoutBytes = 16384;

struct UserSettings {
  std::string WindowGeometry;          // the toolkit's record of the window's place and size; empty: default
  std::string WindowState;             // the toolkit's record of the tool bars; empty: default
  std::string SplitterState;           // the toolkit's record of the timeline/table split; empty: default
  std::optional<double> TimelineZoom;  // pixels per second; none: each show is fitted
  std::vector<std::filesystem::path> RecentShows;  // show folders, most recent first
  std::optional<VideoSize> ExportSize;             // the size chosen last
  std::filesystem::path ExportFolder;              // where the last video went; empty: none

  bool operator==(const UserSettings&) const = default;
};

// Keys and their values (bytes), as a settings file holds them. The toolkit implements it
// on its settings file; tests on a map.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view key) const = 0;
  virtual void Write(std::string_view key, const std::string& value) = 0;
  // Puts what was written on disk now rather than later.
  virtual void Flush() {}
};

// Settings kept in memory only, for a run that must not touch the user's file.
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view key) const override;
  void Write(std::string_view key, const std::string& value) override;
  std::map<std::string, std::string, std::less<>> Values;
};

UserSettings LoadUserSettings(const SettingsStore& store);
void SaveUserSettings(const UserSettings& settings, SettingsStore& store);

// Puts `folder` first, once, and keeps at most kMaxRecentShows.
void AddRecentShow(std::vector<std::filesystem::path>& recent, const std::filesystem::path& folder);
void RemoveRecentShow(std::vector<std::filesystem::path>& recent, const std::filesystem::path& folder);

// The sizes to offer for a video export, the one to preselect first: the size the show was
// exported at last, else the size the user chose last, else the offered order.
std::vector<VideoSize> VideoSizesToOffer(std::vector<VideoSize> offered, std::optional<VideoSize> showsLast,
                                         std::optional<VideoSize> usersLast);

// "1280x720" and back; nothing for a size a video cannot have.
std::string VideoSizeText(const VideoSize& size);
std::optional<VideoSize> ReadVideoSize(std::string_view text);

}  // namespace orvane
