#include "compiler/device_measure.h"

#include <atomic>
#include <new>

#include "compiler/compile_context.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
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
    case SnapshotStatus::kRecursive: break;
  }
  return Fail(kRecursivityRefusal);
}

// On the calling thread's own generator, as it stands.
Result<DeviceMeasure> Compile(const CompileSnapshot& snapshot, const RootCue& cue, float scale) {
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

// The chain's parts prepared again, in the order of their codes, on the thread's generator.
Result<CompiledParts> PreparedAgain(const std::vector<std::shared_ptr<const TCompDevice>>& chain,
                                    const DeviceRecords& devices) {
  CompiledParts parts;
  for (const auto& part : chain) {
    const TBaseDevice* record = nullptr;
    for (const auto& d : devices)
      if (d->Compiled == part) record = d.get();
    if (record == nullptr) return Fail(NoDeviceMessage(part->Code));
    TBaseDevice copy = *record;
    copy.Compiled.reset();
    if (!PrepareCompiledPart(copy)) return Fail(kCompileOutOfMemory);
    parts.push_back(copy.Compiled);
  }
  return parts;
}

Result<DeviceMeasure> MeasureChain(int32_t code, const std::vector<std::shared_ptr<const TCompDevice>>& chain,
                                   const DeviceRecords& devices, float scale, uint32_t seed) {
  const ThreadRandomScope random(seed);
  Result<CompiledParts> parts = PreparedAgain(chain, devices);
  if (!parts) return parts.Error();
  const CompiledParts& prepared = parts.Value();
  const DeviceLookup lookup = [&prepared](int32_t c) { return FindByCode(prepared, c); };
  CompileSnapshot snapshot;
  Result<RootCue> cue = MeasuredCue(code, lookup, snapshot);
  if (!cue) return cue.Error();
  return Compile(snapshot, cue.Value(), scale);
}

// The compiled parts the device's chain reaches, by ascending code.
Result<std::vector<std::shared_ptr<const TCompDevice>>> ChainParts(int32_t code, const DeviceRecords& devices) {
  const DeviceLookup lookup = [&devices](int32_t c) { return FindByCode(devices, c); };
  CompileSnapshot snapshot;
  Result<RootCue> cue = MeasuredCue(code, lookup, snapshot);
  if (!cue) return cue.Error();
  return snapshot.Parts();
}

}  // namespace

Result<DeviceMeasure> MeasureParts(int32_t code, const DeviceLookup& lookup, float scale, uint32_t seed) {
  CompileSnapshot snapshot;
  Result<RootCue> cue = MeasuredCue(code, lookup, snapshot);
  if (!cue) return cue.Error();
  const ThreadRandomScope random(seed);
  return Compile(snapshot, cue.Value(), scale);
}

Result<DeviceMeasure> MeasureDevice(int32_t code, const DeviceRecords& devices, float scale, uint32_t seed) {
  Result<std::vector<std::shared_ptr<const TCompDevice>>> chain = ChainParts(code, devices);
  if (!chain) return chain.Error();
  return MeasureChain(code, chain.Value(), devices, scale, seed);
}

Result<DeviceMeasure> DeviceMeasureCache::Measure(int32_t code, const DeviceRecords& devices, float scale,
                                                  uint32_t seed) {
  Result<std::vector<std::shared_ptr<const TCompDevice>>> chain = ChainParts(code, devices);
  if (!chain) {
    entries_.erase(code);
    return chain.Error();
  }
  const auto found = entries_.find(code);
  if (found != entries_.end() && found->second.Scale == scale && found->second.Seed == seed &&
      found->second.Chain == chain.Value())
    return found->second.Measure;
  ++compiles_;
  Result<DeviceMeasure> measured = MeasureChain(code, chain.Value(), devices, scale, seed);
  if (!measured) return measured;
  entries_[code] = Entry{scale, seed, std::move(chain.Value()), measured.Value()};
  return measured;
}

}  // namespace orvane
