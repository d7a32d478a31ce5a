#include "compiler/compile_snapshot.h"

#include <algorithm>

#include "compiler/fast_exp.h"

namespace orvane {
namespace {

std::vector<int32_t> Links(const TCompDevice& part) {
  std::vector<int32_t> links;
  if (part.NextEffExists) links.push_back(part.NextEffCode);
  if (part.NextParExists) links.push_back(part.NextParCode);
  return links;
}

}  // namespace

std::vector<std::shared_ptr<const TCompDevice>> CompileSnapshot::Parts() const {
  std::vector<std::pair<int32_t, std::shared_ptr<const TCompDevice>>> byCode;
  for (const auto& [code, device] : devices_) byCode.emplace_back(code, device->Part);
  std::sort(byCode.begin(), byCode.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::shared_ptr<const TCompDevice>> parts;
  for (auto& entry : byCode) parts.push_back(std::move(entry.second));
  return parts;
}

SnapshotDevice* CompileSnapshot::Find(int32_t code) const {
  const auto it = devices_.find(code);
  return it == devices_.end() ? nullptr : it->second.get();
}

SnapshotDevice& CompileSnapshot::Add(int32_t code, std::shared_ptr<const TCompDevice> part) {
  auto& slot = devices_[code];
  slot = std::make_unique<SnapshotDevice>();
  slot->Part = std::move(part);
  return *slot;
}

void CompileSnapshot::SetRoot(int32_t code) { root_ = Find(code); }

void PrepareSnapshotDevice(SnapshotDevice& device) {
  if (device.Prepared) return;
  const TCompDevice& part = *device.Part;
  uint32_t longest = 1;
  size_t entries = 0;
  for (const TCompPartics& star : part.Stars) {
    longest = std::max(longest, static_cast<uint32_t>(std::max(star.LifeFrames, 1)));
    entries += star.Colors.size();
  }
  device.DragFactor = static_cast<float>(FastExp(part.Resistance) - 1);
  device.AgeFactors.resize(longest);
  for (uint32_t age = 0; age < longest; ++age) {
    const float argument = -part.Resistance * static_cast<float>(age);
    device.AgeFactors[age] = static_cast<float>(FastExp(argument) * device.DragFactor);
  }
  device.Colors.clear();
  device.ColorStart.clear();
  const size_t stars = part.Stars.size();
  const bool byAge = stars * longest <= 2 * entries + 4096;
  device.ColorStride = byAge ? stars : 1;
  device.Colors.resize(byAge ? stars * longest : entries);
  device.Alphas.assign(part.TrailExists ? device.Colors.size() : 0, 0.0f);
  size_t next = 0;
  for (size_t i = 0; i < stars; ++i) {
    const std::vector<FrameColor>& table = part.Stars[i].Colors;
    const size_t start = byAge ? i : next;
    device.ColorStart.push_back(start);
    for (size_t age = 0; age < table.size(); ++age) {
      const FrameColor& c = table[age];
      device.Colors[start + age * device.ColorStride] = EncodeColor(c.Red, c.Green, c.Blue, c.Alpha);
      if (part.TrailExists) device.Alphas[start + age * device.ColorStride] = c.Alpha;
    }
    next += table.size();
  }
  device.Prepared = true;
}

namespace {

// Colours: absent = not seen, 1 = on the current path, 2 = finished.
using Colours = std::unordered_map<int32_t, int>;

// Files every device reachable from rootCode, depth first without recursion; false when
// a link leads back onto the current path.
bool Explore(int32_t rootCode, std::shared_ptr<const TCompDevice> root, const DeviceLookup& lookup,
             CompileSnapshot& snapshot, Colours& colour) {
  struct Visit {
    int32_t Code;
    std::vector<int32_t> Links;
    size_t Next = 0;
  };
  std::vector<Visit> path;
  snapshot.Add(rootCode, root);
  colour[rootCode] = 1;
  path.push_back({rootCode, Links(*root)});
  while (!path.empty()) {
    Visit& top = path.back();
    if (top.Next == top.Links.size()) {
      colour[top.Code] = 2;
      path.pop_back();
      continue;
    }
    const int32_t code = top.Links[top.Next++];
    const auto seen = colour.find(code);
    if (seen != colour.end()) {
      if (seen->second == 1) return false;
      continue;
    }
    std::shared_ptr<const TCompDevice> part = lookup(code);
    if (!part) {
      colour[code] = 2;
      continue;
    }
    snapshot.Add(code, part);
    colour[code] = 1;
    path.push_back({code, Links(*part)});
  }
  return true;
}

}  // namespace

SnapshotStatus TakeSnapshot(int32_t rootCode, const DeviceLookup& lookup, CompileSnapshot& snapshot) {
  snapshot = CompileSnapshot{};
  std::shared_ptr<const TCompDevice> root = lookup(rootCode);
  if (!root) return SnapshotStatus::kNoRoot;
  Colours colour;
  if (!Explore(rootCode, std::move(root), lookup, snapshot, colour)) return SnapshotStatus::kRecursive;
  snapshot.SetRoot(rootCode);
  return SnapshotStatus::kReady;
}

SnapshotStatus TakeCueSnapshot(const std::vector<RootCue>& cues, const DeviceLookup& lookup, CompileSnapshot& snapshot,
                               size_t* failedCue) {
  snapshot = CompileSnapshot{};
  Colours colour;
  for (size_t i = 0; i < cues.size(); ++i) {
    const int32_t code = cues[i].Code;
    if (snapshot.Find(code) != nullptr) continue;  // explored from an earlier cue
    std::shared_ptr<const TCompDevice> root = lookup(code);
    SnapshotStatus status = SnapshotStatus::kReady;
    if (!root) {
      status = SnapshotStatus::kNoRoot;
    } else if (!Explore(code, std::move(root), lookup, snapshot, colour)) {
      status = SnapshotStatus::kRecursive;
    }
    if (status != SnapshotStatus::kReady) {
      if (failedCue != nullptr) *failedCue = i;
      snapshot = CompileSnapshot{};
      return status;
    }
  }
  return SnapshotStatus::kReady;
}

}  // namespace orvane
