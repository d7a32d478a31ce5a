// Feeds any bytes to the cue list reader and the show.json reader, and checks that what
// they read is written back to a text that reads to the same cues and settings.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "show/cue_list.h"
#include "show/show_settings.h"

namespace {

void CheckCues(std::string_view bytes) {
  const auto read = orvane::ReadCueList(bytes, "cues.csv", nullptr);
  if (!read) return;
  const auto again = orvane::ReadCueList(orvane::CueListText(read.Value()), "cues.csv", nullptr);
  if (!again || again.Value().size() != read.Value().size()) std::abort();
  for (size_t i = 0; i < read.Value().size(); ++i) {
    orvane::Cue a = read.Value()[i], b = again.Value()[i];
    a.Line = b.Line = 0;
    if (!(a == b)) std::abort();
  }
}

void CheckSettings(std::string_view bytes) {
  const auto read = orvane::ReadShowSettings(bytes);
  if (!read) return;
  const orvane::ShowSettings& settings = read.Value();
  const auto readAgain = orvane::ReadShowSettings(orvane::ShowSettingsText(settings));
  if (!readAgain || !(readAgain.Value() == settings)) std::abort();
  const orvane::ShowSettings& again = readAgain.Value();
  // The kept results (beats, the export's size) take no part in ==; they must read back too.
  if (again.Beats != settings.Beats || again.VideoWidth != settings.VideoWidth ||
      again.VideoHeight != settings.VideoHeight)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckCues(bytes);
  CheckSettings(bytes);
  return 0;
}
