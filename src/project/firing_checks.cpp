#include "project/firing_checks.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace orvane {
namespace {

std::string Seconds(double ms) {
  char text[48];
  std::snprintf(text, sizeof text, "%.3f s", ms / 1000.0);
  return text;
}

std::string Address(const CueAddress& a) {
  return "module " + std::to_string(a.Module) + " pin " + std::to_string(a.Pin);
}

class Problems {
 public:
  void Add(std::string message) {
    if (messages_.size() < kMaxScriptProblems) messages_.push_back(std::move(message));
    else ++more_;
  }
  std::vector<std::string> Take() {
    if (more_ > 0) messages_.push_back("... and " + std::to_string(more_) + " more.");
    return std::move(messages_);
  }

 private:
  std::vector<std::string> messages_;
  size_t more_ = 0;
};

std::string Lines(const std::vector<Cue>& cues, size_t a, size_t b) {
  return "cues.csv lines " + std::to_string(CueLineNumber(cues[a], a)) + " and " +
         std::to_string(CueLineNumber(cues[b], b));
}

}  // namespace

std::vector<std::string> CheckFiring(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses,
                                     const std::vector<double>& ignitionMs, const FiringProfile& profile) {
  Problems problems;
  const int64_t lastModule = int64_t{profile.ModuleBase} + profile.Modules - 1;
  const int64_t lastPin = int64_t{profile.PinBase} + profile.PinsPerModule - 1;
  std::map<std::pair<int32_t, int32_t>, size_t> firstOnPin;
  std::map<int32_t, std::vector<size_t>> byModule;
  for (size_t i = 0; i < cues.size(); ++i) {
    const CueAddress& a = addresses[i];
    const std::string line = CueLineName(cues[i], i);
    if (a.Module < profile.ModuleBase || a.Module > lastModule)
      problems.Add(line + ": module " + std::to_string(a.Module) + " is outside the profile's modules " +
                   std::to_string(profile.ModuleBase) + " to " + std::to_string(lastModule) + ".");
    if (a.Pin < profile.PinBase || a.Pin > lastPin)
      problems.Add(line + ": pin " + std::to_string(a.Pin) + " is outside the profile's pins " +
                   std::to_string(profile.PinBase) + " to " + std::to_string(lastPin) + ".");
    const auto [first, fresh] = firstOnPin.emplace(std::pair{a.Module, a.Pin}, i);
    if (!fresh) problems.Add(Lines(cues, first->second, i) + ": both fire " + Address(a) + ".");
    byModule[a.Module].push_back(i);
    if (ignitionMs[i] < 0) problems.Add(line + ": fires at " + Seconds(ignitionMs[i]) + ", before the show starts.");
    else if (ignitionMs[i] > static_cast<double>(profile.MaxShowLengthMs))
      problems.Add(line + ": fires at " + Seconds(ignitionMs[i]) + ", past the profile's longest show of " +
                   std::to_string(profile.MaxShowLengthMs / 1000) + " s.");
  }
  if (profile.MinSpacingMs > 0) {
    for (auto& [module, indices] : byModule) {
      std::stable_sort(indices.begin(), indices.end(),
                       [&](size_t a, size_t b) { return ignitionMs[a] < ignitionMs[b]; });
      for (size_t k = 1; k < indices.size(); ++k) {
        const size_t a = indices[k - 1], b = indices[k];
        const double gap = ignitionMs[b] - ignitionMs[a];
        if (gap < static_cast<double>(profile.MinSpacingMs))
          problems.Add(Lines(cues, a, b) + ": module " + std::to_string(module) + " fires at " +
                       Seconds(ignitionMs[a]) + " and " + Seconds(ignitionMs[b]) + ", less than the profile's " +
                       std::to_string(profile.MinSpacingMs) + " ms apart.");
      }
    }
  }
  return problems.Take();
}

}  // namespace orvane
