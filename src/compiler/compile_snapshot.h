#pragma once
// What a compile takes from the device list at its start: the compiled parts reachable
// from the root through the chaining links. Compiled parts are immutable and shared, so
// the user may edit or delete devices while the compile runs without touching it.

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "compiler/root_cue.h"
#include "compiler/show_record.h"
#include "model/compiled_device.h"

namespace orvane {

// The device list's lookup of a compiled part by code, first match in list order, or null.
using DeviceLookup = std::function<std::shared_ptr<const TCompDevice>(int32_t code)>;

// One device as the compile uses it. The derived tables are the same for every set of
// the device; they are filled by PrepareSnapshotDevice on the compile thread, when the
// first set of the device is made.
struct SnapshotDevice {
  std::shared_ptr<const TCompDevice> Part;
  bool Prepared = false;
  // f32(FastExp(Resistance) - 1), and for every age a star of this device can reach,
  // f32(FastExp(f32(-Resistance * age)) * that).
  float DragFactor = 0;
  std::vector<float> AgeFactors;
  // Every star's colour table, encoded: star i's colour at age a is
  // Colors[ColorStart[i] + a * ColorStride]. Age by age (stride = star count) when that
  // costs little padding, so the stars of a set read neighbouring entries; else star by star.
  std::vector<EncodedColor> Colors;
  std::vector<size_t> ColorStart;
  size_t ColorStride = 1;
  // The colours' float alpha at the same places, for trail emission (devices with trails
  // only): the stars of a set read neighbouring entries, not one table each.
  std::vector<float> Alphas;
};

class CompileSnapshot {
 public:
  // The device with this code as the lookup gave it at the start, or null. The device
  // is handed out for its derived tables, which only the compile thread fills.
  SnapshotDevice* Find(int32_t code) const;
  SnapshotDevice* Root() const { return root_; }
  size_t DeviceCount() const { return devices_.size(); }
  // Every part taken, by ascending code.
  std::vector<std::shared_ptr<const TCompDevice>> Parts() const;

  // Files a device under a code (replacing any earlier one).
  SnapshotDevice& Add(int32_t code, std::shared_ptr<const TCompDevice> part);
  void SetRoot(int32_t code);

 private:
  std::unordered_map<int32_t, std::unique_ptr<SnapshotDevice>> devices_;
  SnapshotDevice* root_ = nullptr;
};

enum class SnapshotStatus {
  kReady,
  kNoRoot,     // the lookup has no device with the root's code
  kRecursive,  // the chain from the root runs into a cycle: the compile would never end
};

// Follows NextEffCode and NextParCode from rootCode through the lookup (depth first, no
// recursion) and files every device reached in snapshot. A link whose code the lookup
// does not know ends that branch, as it starts nothing during the compile. Cheap: it
// only takes references to the compiled parts.
SnapshotStatus TakeSnapshot(int32_t rootCode, const DeviceLookup& lookup, CompileSnapshot& snapshot);

// The same for a show: every device reachable from any cue's code. kNoRoot or kRecursive
// name the first cue (in the given order) whose code is unknown or whose chain runs into
// a cycle, in failedCue. The snapshot has no root.
SnapshotStatus TakeCueSnapshot(const std::vector<RootCue>& cues, const DeviceLookup& lookup, CompileSnapshot& snapshot,
                               size_t* failedCue = nullptr);

// Fills the derived tables once.
void PrepareSnapshotDevice(SnapshotDevice& device);

}  // namespace orvane
