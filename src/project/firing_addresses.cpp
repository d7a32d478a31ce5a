#include "project/firing_addresses.h"

#include <algorithm>
#include <set>

namespace orvane {
namespace {

// Cue indices without an address, grouped by position: the site's order first, then names
// the site lacks as they come, then cues without a position.
std::vector<std::vector<size_t>> GroupsByPosition(const std::vector<Cue>& cues, const ShowSite& site) {
  std::vector<std::string> order;
  for (const SitePosition& p : site.Positions) order.push_back(p.Name);
  for (const Cue& cue : cues)
    if (!cue.Position.empty() && std::find(order.begin(), order.end(), cue.Position) == order.end())
      order.push_back(cue.Position);
  order.emplace_back();
  std::vector<std::vector<size_t>> groups(order.size());
  for (size_t i = 0; i < cues.size(); ++i) {
    if (cues[i].Module && cues[i].Pin) continue;
    const size_t g = static_cast<size_t>(std::find(order.begin(), order.end(), cues[i].Position) - order.begin());
    groups[g].push_back(i);
  }
  for (auto& group : groups)
    std::stable_sort(group.begin(), group.end(), [&](size_t a, size_t b) { return cues[a].TimeMs < cues[b].TimeMs; });
  return groups;
}

}  // namespace

std::string CueLineName(const Cue& cue, size_t index) {
  return "cues.csv line " + std::to_string(CueLineNumber(cue, index));
}

AddressPlan AssignAddresses(const std::vector<Cue>& cues, const ShowSite& site, const FiringProfile& profile) {
  AddressPlan plan;
  plan.Addresses.resize(cues.size());
  std::set<int32_t> givenModules;
  for (size_t i = 0; i < cues.size(); ++i)
    if (cues[i].Module && cues[i].Pin) {
      plan.Addresses[i] = {*cues[i].Module, *cues[i].Pin, false};
      givenModules.insert(*cues[i].Module);
    }
  const int64_t lastModule = int64_t{profile.ModuleBase} + profile.Modules - 1;
  int64_t module = profile.ModuleBase;
  auto nextFreeModule = [&] {
    while (givenModules.count(static_cast<int32_t>(module)) != 0) ++module;
  };
  for (const std::vector<size_t>& group : GroupsByPosition(cues, site)) {
    if (group.empty()) continue;
    nextFreeModule();
    int pin = 0;
    for (const size_t i : group) {
      if (pin == profile.PinsPerModule) {
        ++module;
        nextFreeModule();
        pin = 0;
      }
      if (module > lastModule) {
        const std::string where =
            cues[i].Position.empty() ? "cues without a position" : "position \"" + cues[i].Position + "\"";
        plan.Error = "The profile's " + std::to_string(profile.Modules) + " modules of " +
                     std::to_string(profile.PinsPerModule) + " pins are all used before " + where +
                     " gets its addresses (from " + CueLineName(cues[i], i) + ").";
        return plan;
      }
      plan.Addresses[i] = {static_cast<int32_t>(module), profile.PinBase + pin, true};
      ++plan.AssignedCount;
      ++pin;
    }
    // The next position starts on a module of its own.
    ++module;
  }
  return plan;
}

CueListChange WriteAddressesChange(const std::vector<Cue>& cues, const std::vector<CueAddress>& addresses) {
  CueListChange change;
  for (size_t i = 0; i < cues.size() && i < addresses.size(); ++i) {
    if (!addresses[i].Assigned) continue;
    Cue addressed = cues[i];
    addressed.Module = addresses[i].Module;
    addressed.Pin = addresses[i].Pin;
    change.Removed.push_back({i, cues[i]});
    change.Added.push_back({i, std::move(addressed)});
  }
  return change;
}

}  // namespace orvane
