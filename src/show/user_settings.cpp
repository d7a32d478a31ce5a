#include "show/user_settings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/timeline_view.h"

namespace orvane {
namespace {

constexpr std::string_view kGeometryKey = "ShowWindow/Geometry";
constexpr std::string_view kStateKey = "ShowWindow/State";
constexpr std::string_view kSplitterKey = "ShowWindow/Splitter";
constexpr std::string_view kZoomKey = "ShowWindow/TimelineZoom";
constexpr std::string_view kRecentKey = "ShowWindow/RecentShows";
constexpr std::string_view kExportSizeKey = "VideoExport/Size";
constexpr std::string_view kExportFolderKey = "VideoExport/Folder";

std::string Layout(const SettingsStore& store, std::string_view key) {
  std::optional<std::string> value = store.Read(key);
  if (!value || value->size() > kMaxLayoutBytes) return {};
  return *value;
}

std::optional<double> ReadZoom(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double zoom = std::strtod(text->c_str(), &end);
  if (errno != 0 || end != text->c_str() + text->size() || !std::isfinite(zoom)) return std::nullopt;
  if (zoom < kTimelineMinZoom || zoom > kTimelineMaxZoom) return std::nullopt;
  return zoom;
}

// "/a/b/../c/" and "/a/c" are one folder.
std::filesystem::path SameFolder(const std::filesystem::path& folder) {
  std::filesystem::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  return normal;
}

// A folder the settings may name: absolute, and nothing a line-based value cannot hold.
std::optional<std::filesystem::path> StorableFolder(std::string_view text) {
  if (text.empty() || text.size() > 4096 || text.front() != '/') return std::nullopt;
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
  return SameFolder(std::string(text));
}

std::vector<std::filesystem::path> ReadRecent(const std::optional<std::string>& text) {
  std::vector<std::filesystem::path> recent;
  if (!text) return recent;
  size_t start = 0;
  while (start <= text->size() && recent.size() < kMaxRecentShows) {
    const size_t end = std::min(text->find('\n', start), text->size());
    if (const auto folder = StorableFolder(std::string_view(*text).substr(start, end - start))) {
      if (std::find(recent.begin(), recent.end(), *folder) == recent.end()) recent.push_back(*folder);
    }
    start = end + 1;
  }
  return recent;
}

}  // namespace

std::string VideoSizeText(const VideoSize& size) {
  return std::to_string(size.Width) + "x" + std::to_string(size.Height);
}

std::optional<VideoSize> ReadVideoSize(std::string_view text) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos || x == 0 || x + 1 >= text.size() || text.size() > 9) return std::nullopt;
  VideoSize size;
  for (const auto& [part, side] : {std::pair{text.substr(0, x), &size.Width}, {text.substr(x + 1), &size.Height}}) {
    int32_t value = 0;
    for (const char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    *side = value;
  }
  if (!IsVideoSize(size)) return std::nullopt;
  return size;
}

std::optional<std::string> MemorySettingsStore::Read(std::string_view key) const {
  const auto at = Values.find(key);
  if (at == Values.end()) return std::nullopt;
  return at->second;
}

void MemorySettingsStore::Write(std::string_view key, const std::string& value) { Values[std::string(key)] = value; }

UserSettings LoadUserSettings(const SettingsStore& store) {
  UserSettings s;
  s.WindowGeometry = Layout(store, kGeometryKey);
  s.WindowState = Layout(store, kStateKey);
  s.SplitterState = Layout(store, kSplitterKey);
  s.TimelineZoom = ReadZoom(store.Read(kZoomKey));
  s.RecentShows = ReadRecent(store.Read(kRecentKey));
  if (const auto size = store.Read(kExportSizeKey)) s.ExportSize = ReadVideoSize(*size);
  if (const auto folder = store.Read(kExportFolderKey)) {
    if (const auto f = StorableFolder(*folder)) s.ExportFolder = *f;
  }
  return s;
}

void SaveUserSettings(const UserSettings& settings, SettingsStore& store) {
  store.Write(kGeometryKey, settings.WindowGeometry);
  store.Write(kStateKey, settings.WindowState);
  store.Write(kSplitterKey, settings.SplitterState);
  char zoom[64] = "";
  if (settings.TimelineZoom) std::snprintf(zoom, sizeof zoom, "%.17g", *settings.TimelineZoom);
  store.Write(kZoomKey, zoom);
  std::string recent;
  for (const std::filesystem::path& folder : settings.RecentShows) {
    if (!StorableFolder(folder.string())) continue;
    if (!recent.empty()) recent += '\n';
    recent += folder.string();
  }
  store.Write(kRecentKey, recent);
  store.Write(kExportSizeKey, settings.ExportSize ? VideoSizeText(*settings.ExportSize) : std::string());
  store.Write(kExportFolderKey, settings.ExportFolder.string());
}

void AddRecentShow(std::vector<std::filesystem::path>& recent, const std::filesystem::path& folder) {
  const std::filesystem::path normal = SameFolder(folder);
  RemoveRecentShow(recent, normal);
  recent.insert(recent.begin(), normal);
  if (recent.size() > kMaxRecentShows) recent.resize(kMaxRecentShows);
}

void RemoveRecentShow(std::vector<std::filesystem::path>& recent, const std::filesystem::path& folder) {
  const std::filesystem::path normal = SameFolder(folder);
  std::erase_if(recent, [&](const std::filesystem::path& p) { return SameFolder(p) == normal; });
}

std::vector<VideoSize> VideoSizesToOffer(std::vector<VideoSize> offered, std::optional<VideoSize> showsLast,
                                         std::optional<VideoSize> usersLast) {
  if (showsLast && !IsVideoSize(*showsLast)) showsLast.reset();
  if (const std::optional<VideoSize> first = showsLast ? showsLast : usersLast) {
    std::erase(offered, *first);
    offered.insert(offered.begin(), *first);
  }
  return offered;
}

}  // namespace orvane
