#include "compiler/device_measure.h"

#include <atomic>
#include <new>

#include "compiler/compile_context.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_show.h"
#include "compiler/show_sink.h"
#include "compiler/trail_pool.h"
#include "util/random.h"

namespace orvane {
namespace {

Result<RootCue> MeasuredCue(int32_t code, const DeviceLookup& lookup, CompileSnapshot& snapshot) {
  const std::shared_ptr<const TCompDevice> part = lookup(code);
  if (!part) return Fail(NoDeviceMessage(code));
  const RootCue cue{0, code, part->BestX, part->BestY, part->BestZ};
  switch (TakeCueSnapshot({cue}, lookup, snapshot)) {
    case SnapshotStatus::kReady: return cue;
    case SnapshotStatus::kNoRoot: return Fail(NoDeviceMessage(code));
    case SnapshotStatus::kRecursive: return Fail(kRecursivityRefusal);
  }
  return Fail(kRecursivityRefusal);
}

Result<DeviceMeasure> Compile(const CompileSnapshot& snapshot, const RootCue& cue, float scale, uint32_t seed) {
  const ScopedSeededMode seeded(seed);
  SetList sets;
  CTrail trail;
  const std::atomic<float> ownScale{scale};
  CompileLimits limits;
  limits.MaxFrames = kMeasureMaxFrames;
  limits.MaxParticles = kMeasureMaxParticles;
  CompileContext context{sets, trail, snapshot, ownScale, limits};
  ShowCountingSink sink;
  try {
    CompileOutcome outcome = CompileCuesToSink(context, {cue}, sink, nullptr);
    if (outcome.State == CompileOutcome::Status::kOutOfMemory) return Fail(kCompileOutOfMemory);
    DeviceMeasure measure;
    measure.Cut = outcome.State != CompileOutcome::Status::kComplete;
    if (!outcome.Extents.empty()) measure.Extent = outcome.Extents.front();
    return measure;
  } catch (const std::bad_alloc&) {
    return Fail(kCompileOutOfMemory);
  }
}

}  // namespace

Result<DeviceMeasure> MeasureDevice(int32_t code, const DeviceLookup& lookup, float scale, uint32_t seed) {
  CompileSnapshot snapshot;
  Result<RootCue> cue = MeasuredCue(code, lookup, snapshot);
  if (!cue) return cue.Error();
  return Compile(snapshot, cue.Value(), scale, seed);
}

Result<DeviceMeasure> DeviceMeasureCache::Measure(int32_t code, const DeviceLookup& lookup, float scale,
                                                  uint32_t seed) {
  CompileSnapshot snapshot;
  Result<RootCue> cue = MeasuredCue(code, lookup, snapshot);
  if (!cue) {
    entries_.erase(code);
    return cue.Error();
  }
  std::vector<std::shared_ptr<const TCompDevice>> chain = snapshot.Parts();
  const auto found = entries_.find(code);
  if (found != entries_.end() && found->second.Scale == scale && found->second.Seed == seed &&
      found->second.Chain == chain)
    return found->second.Measure;
  ++compiles_;
  Result<DeviceMeasure> measured = Compile(snapshot, cue.Value(), scale, seed);
  if (!measured) return measured;
  entries_[code] = Entry{scale, seed, std::move(chain), measured.Value()};
  return measured;
}

}  // namespace orvane
