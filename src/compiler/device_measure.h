#pragma once
// A device measured by compiling it alone: one cue at frame 0 at the device's start
// position, into a sink that keeps nothing, on a generator of the calling thread that
// starts at a fixed seed. What a product's figures come from.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "compiler/compile_snapshot.h"
#include "compiler/root_cue.h"
#include "model/device_lookup.h"
#include "util/result.h"

namespace orvane {

inline constexpr uint32_t kMeasureSeed = 1;
// Far longer than any product burns; a device that runs on is measured up to here.
inline constexpr uint64_t kMeasureMaxFrames = 25 * 60 * 10;
inline constexpr uint64_t kMeasureMaxParticles = 1'000'000;

struct DeviceMeasure {
  CueExtent Extent;  // scene units; frames count from the firing
  bool Cut = false;  // a bound ended the compile: the figures cover what ran
};

// Compiles the parts as the lookup gives them. Fails for a code the lookup lacks, a chain
// that runs into a cycle, or want of memory.
Result<DeviceMeasure> MeasureParts(int32_t code, const DeviceLookup& lookup, float scale, uint32_t seed = kMeasureSeed);

// The device and its chain prepared again from `seed` (by ascending code) and compiled: the
// same figures however and whenever the devices were loaded.
Result<DeviceMeasure> MeasureDevice(int32_t code, const DeviceRecords& devices, float scale,
                                    uint32_t seed = kMeasureSeed);

// Measures again only when a compiled part of the device's chain, the scale or the seed
// changed: an edited device gets a new compiled part.
class DeviceMeasureCache {
 public:
  Result<DeviceMeasure> Measure(int32_t code, const DeviceRecords& devices, float scale, uint32_t seed = kMeasureSeed);
  size_t Compiles() const { return compiles_; }  // measurements made, for tests

 private:
  struct Entry {
    float Scale = 0;
    uint32_t Seed = 0;
    // Held, so that no new part can take an old one's address.
    std::vector<std::shared_ptr<const TCompDevice>> Chain;
    DeviceMeasure Measure;
  };
  std::unordered_map<int32_t, Entry> entries_;
  size_t compiles_ = 0;
};

}  // namespace orvane
