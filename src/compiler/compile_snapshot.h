#pragma once
// What a compile takes from the device list at its start: the compiled parts reachable
// from the root through the chaining links. Compiled parts are immutable and shared, so
// the user may edit or delete devices while the compile runs without touching it.

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/compiled_device.h"

namespace orvane {

// The device list's lookup of a compiled part by code, first match in list order, or null.
using DeviceLookup = std::function<std::shared_ptr<const TCompDevice>(int32_t code)>;

// One device as the compile uses it, with the per-age motion factors its sets share.
struct SnapshotDevice {
  std::shared_ptr<const TCompDevice> Part;
  // f32(FastExp(Resistance) - 1), and for every age a star of this device can reach,
  // f32(FastExp(f32(-Resistance * age)) * that): the same for every set of the device.
  float DragFactor = 0;
  std::vector<float> AgeFactors;
};

class CompileSnapshot {
 public:
  // The device with this code as the lookup gave it at the start, or null.
  const SnapshotDevice* Find(int32_t code) const;
  const SnapshotDevice* Root() const { return root_; }
  size_t DeviceCount() const { return devices_.size(); }

  // Files a device under a code (replacing any earlier one) and fills its factors.
  SnapshotDevice& Add(int32_t code, std::shared_ptr<const TCompDevice> part);
  void SetRoot(int32_t code);

 private:
  std::unordered_map<int32_t, std::unique_ptr<SnapshotDevice>> devices_;
  const SnapshotDevice* root_ = nullptr;
};

enum class SnapshotStatus {
  kReady,
  kNoRoot,     // the lookup has no device with the root's code
  kRecursive,  // the chain from the root runs into a cycle: the compile would never end
};

// Follows NextEffCode and NextParCode from rootCode through the lookup (depth first, no
// recursion) and copies every device reached into snapshot. A link whose code the lookup
// does not know ends that branch, as it starts nothing during the compile.
SnapshotStatus TakeSnapshot(int32_t rootCode, const DeviceLookup& lookup, CompileSnapshot& snapshot);

// The factors of SnapshotDevice for one compiled part.
void PrepareSnapshotDevice(SnapshotDevice& device);

}  // namespace orvane
