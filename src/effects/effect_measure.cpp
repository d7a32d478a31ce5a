#include "effects/effect_measure.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <memory>

#include "compiler/compile_context.h"
#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/device_measure.h"
#include "compiler/show_record.h"
#include "model/device_lookup.h"
#include "show/cue.h"
#include "util/random.h"

namespace orvane {
namespace {

// The extent of the devices compiled as one cue at the root's own place.
Result<CueExtent> CompileAlone(std::vector<TBaseDevice> devices) {
  DeviceRecords records;
  for (TBaseDevice& d : devices) {
    auto record = std::make_unique<TBaseDevice>(std::move(d));
    if (!PrepareCompiledPart(*record)) return Fail("the effect's star tables could not be made");
    records.push_back(std::move(record));
  }
  const TBaseDevice& root = *records.front();
  const std::vector<RootCue> cues = {{0, root.Definition.Code, root.BestX, root.BestY, root.BestZ}};
  SetList sets;
  CTrail trail;
  CompileSnapshot snapshot;
  const DeviceLookup lookup = [&records](int32_t code) { return FindByCode(records, code); };
  if (TakeCueSnapshot(cues, lookup, snapshot) != SnapshotStatus::kReady)
    return Fail("the effect's devices do not chain into a compilable show");
  const std::atomic<float> scale{1.0f};
  CompileContext context{sets, trail, snapshot, scale};
  ShowCountingSink sink;
  const CompileOutcome outcome = CompileCuesToSink(context, cues, sink, nullptr);
  if (outcome.State != CompileOutcome::Status::kComplete)
    return Fail(outcome.Message.empty() ? "the effect did not compile to its end" : outcome.Message);
  assert(outcome.Extents.size() == 1);
  if (!outcome.Extents.front().Seen) return Fail("the effect shows no particles");
  return outcome.Extents.front();
}

bool BreaksFromLift(EffectType type) { return IsAerialShell(type) || type == EffectType::kCake; }

}  // namespace

Result<std::optional<int64_t>> MeasurePrefireMs(const EffectChain& chain) {
  assert(!chain.Devices.empty());
  DeviceRecords records;
  for (const TBaseDevice& d : chain.Devices) {
    auto record = std::make_unique<TBaseDevice>(d);
    if (!PrepareCompiledPart(*record)) return Fail("the effect's star tables could not be made");
    records.push_back(std::move(record));
  }
  const Result<DeviceMeasure> measured = MeasureDevice(chain.RootCode(), records, 1.0f);
  if (!measured) return measured.Error();
  const CueExtent& e = measured.Value().Extent;
  if (!e.Broke) return std::optional<int64_t>{};
  return std::optional<int64_t>{int64_t{e.BreakFrame} * kFrameMilliseconds};
}

Result<EffectMeasurement> MeasureEffect(const EffectChain& chain, uint32_t seed, double metresPerUnit) {
  assert(!chain.Devices.empty());
  const ThreadRandomScope seeded(seed);
  const Result<CueExtent> whole = CompileAlone(chain.Devices);
  if (!whole) return whole.Error();
  const CueExtent& e = whole.Value();
  const float groundY = chain.Devices.front().BestY;
  EffectMeasurement m;
  m.TopM = e.Height * metresPerUnit;
  m.SpreadM = e.Radius * metresPerUnit;
  m.LowestM = (e.Lowest - groundY) * metresPerUnit;
  m.DurationS = e.Frames() / static_cast<double>(kFramesPerSecond);
  m.BreakHeightM = m.TopM;
  if (BreaksFromLift(chain.Description.Type)) {
    // The lift alone rises to where its chain starts the burst.
    TBaseDevice lift = chain.Devices.front();
    lift.NextEffExists = lift.NextParExists = false;
    lift.NextEffCode = lift.NextParCode = 0;
    const ThreadRandomScope liftSeeded(seed);
    const Result<CueExtent> rise = CompileAlone({lift});
    if (!rise) return rise.Error();
    m.BreakHeightM = rise.Value().Height * metresPerUnit;
  }
  return m;
}

EffectMeasurement MedianMeasurement(std::vector<EffectMeasurement> all) {
  assert(!all.empty());
  auto median = [&all](double EffectMeasurement::*field) {
    std::vector<double> values;
    for (const EffectMeasurement& m : all) values.push_back(m.*field);
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  };
  EffectMeasurement m;
  m.BreakHeightM = median(&EffectMeasurement::BreakHeightM);
  m.SpreadM = median(&EffectMeasurement::SpreadM);
  m.TopM = median(&EffectMeasurement::TopM);
  m.LowestM = median(&EffectMeasurement::LowestM);
  m.DurationS = median(&EffectMeasurement::DurationS);
  return m;
}

Result<EffectMeasurement> MeasureEffectMedian(const EffectChain& chain, double metresPerUnit) {
  std::vector<EffectMeasurement> all;
  for (uint32_t seed : kMeasureSeeds) {
    Result<EffectMeasurement> m = MeasureEffect(chain, seed, metresPerUnit);
    if (!m) return m.Error();
    all.push_back(m.Value());
  }
  return MedianMeasurement(std::move(all));
}

}  // namespace orvane
