// Feeds any bytes to the settings reader as the values of its keys (split at 0x1f, one per
// key in the order it asks for them) and checks that what it keeps is in range and saves
// and loads back unchanged.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/timeline_view.h"
#include "show/user_settings.h"

namespace {

class ChunkStore : public orvane::SettingsStore {
 public:
  explicit ChunkStore(std::string_view bytes) {
    size_t start = 0;
    while (start <= bytes.size()) {
      const size_t end = std::min(bytes.find('\x1f', start), bytes.size());
      chunks_.emplace_back(bytes.substr(start, end - start));
      start = end + 1;
    }
  }
  std::optional<std::string> Read(std::string_view key) const override {
    auto [at, added] = order_.try_emplace(std::string(key), order_.size());
    if (at->second >= chunks_.size()) return std::nullopt;
    return chunks_[at->second];
  }
  void Write(std::string_view, const std::string&) override {}

 private:
  std::vector<std::string> chunks_;
  mutable std::map<std::string, size_t> order_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ChunkStore store(std::string_view(reinterpret_cast<const char*>(data), size));
  const orvane::UserSettings s = orvane::LoadUserSettings(store);
  if (s.TimelineZoom && (!std::isfinite(*s.TimelineZoom) || *s.TimelineZoom < orvane::kTimelineMinZoom ||
                         *s.TimelineZoom > orvane::kTimelineMaxZoom))
    std::abort();
  if (s.RecentShows.size() > orvane::kMaxRecentShows) std::abort();
  for (const auto& folder : s.RecentShows)
    if (!folder.is_absolute()) std::abort();
  if (s.ExportSize && !orvane::IsVideoSize(*s.ExportSize)) std::abort();
  if (s.WindowGeometry.size() > orvane::kMaxLayoutBytes) std::abort();
  orvane::MemorySettingsStore again;
  orvane::SaveUserSettings(s, again);
  if (!(orvane::LoadUserSettings(again) == s)) std::abort();
  return 0;
}
