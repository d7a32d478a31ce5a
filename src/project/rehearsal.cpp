#include "project/rehearsal.h"

#include <algorithm>
#include <cstdio>

#include "project/firing_script.h"

namespace orvane {

std::vector<RehearsalIgnition> NextIgnitions(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses,
                                             const CueTableContext& context, int64_t nowMs, size_t count) {
  std::vector<size_t> coming;
  for (size_t i = 0; i < cues.size() && i < addresses.size(); ++i)
    if (cues[i].TimeMs >= nowMs) coming.push_back(i);
  const auto soonest = [&](size_t a, size_t b) {
    return cues[a].TimeMs != cues[b].TimeMs ? cues[a].TimeMs < cues[b].TimeMs : a < b;
  };
  const size_t shown = std::min(count, coming.size());
  std::partial_sort(coming.begin(), coming.begin() + static_cast<std::ptrdiff_t>(shown), coming.end(), soonest);
  std::vector<RehearsalIgnition> next;
  for (size_t k = 0; k < shown; ++k) {
    const size_t i = coming[k];
    next.push_back({cues[i].TimeMs - nowMs, addresses[i].Module, addresses[i].Pin, CueProductName(cues[i], context),
                    cues[i].Position});
  }
  return next;
}

std::string RehearsalText(const std::vector<RehearsalIgnition>& ignitions) {
  std::string text;
  for (const RehearsalIgnition& n : ignitions) {
    char head[96];
    std::snprintf(head, sizeof head, "%6.1f s   module %d pin %d   ", static_cast<double>(n.ToGoMs) / 1000.0, n.Module,
                  n.Pin);
    text += head + n.Product + (n.Position.empty() ? "" : " (" + n.Position + ")") + "\n";
  }
  return text;
}

}  // namespace orvane
