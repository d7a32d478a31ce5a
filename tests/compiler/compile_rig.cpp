#include "compile_rig.h"

#include <gtest/gtest.h>

namespace orvane::testing {

std::shared_ptr<TCompDevice> HandPart(int32_t code, uint8_t starKind, uint32_t effectFrames,
                                      const std::vector<HandStar>& stars, float resistance, float gravity) {
  auto part = std::make_shared<TCompDevice>();
  part->Code = code;
  part->StarQuantity = static_cast<uint16_t>(stars.size());
  part->EffectFrames = effectFrames;
  part->Resistance = resistance;
  part->Gravity = gravity;
  part->Size = 0.1f;
  part->StarKind = StarKind{starKind};
  part->TrailFactor = 1.0f;
  for (const HandStar& s : stars) {
    TCompPartics star;
    star.VelX.fill(s.VelX);
    star.VelY.fill(s.VelY);
    star.VelZ.fill(s.VelZ);
    star.LifeFrames = s.Life;
    star.NextParFrame = s.NextParFrame;
    star.Colors.assign(static_cast<size_t>(s.Life), FrameColor{1, 1, 1, s.Alpha});
    part->Stars.push_back(std::move(star));
  }
  return part;
}

std::shared_ptr<const TCompDevice> Prepared(TBaseDevice device) {
  EXPECT_TRUE(PrepareCompiledPart(device));
  return device.Compiled;
}

void RecordingListener::CompileProgress(int position, int64_t records) {
  std::lock_guard<std::mutex> hold(Lock);
  Positions.push_back(position);
  Totals.push_back(records);
  Changed.notify_all();
}

void RecordingListener::WaitProgress(size_t count) {
  std::unique_lock<std::mutex> hold(Lock);
  Changed.wait(hold, [&] { return Positions.size() >= count; });
}

void RecordingListener::CompileFinished(const CompileOutcome& outcome) {
  std::unique_lock<std::mutex> hold(Lock);
  Outcomes.push_back(outcome);
  Changed.notify_all();
  Changed.wait(hold, [this] { return !HoldFinish; });
}

void RecordingListener::WaitFinished(size_t count) {
  std::unique_lock<std::mutex> hold(Lock);
  Changed.wait(hold, [&] { return Outcomes.size() >= count; });
}

void RecordingListener::Release() {
  std::lock_guard<std::mutex> hold(Lock);
  HoldFinish = false;
  Changed.notify_all();
}

void CompileRig::Add(std::shared_ptr<const TCompDevice> part) {
  const int32_t code = part->Code;
  Snapshot.Add(code, std::move(part));
}

CSet& CompileRig::Place(int32_t code, float x, float y, float z) {
  SnapshotDevice* device = Snapshot.Find(code);
  EXPECT_NE(device, nullptr);
  return Sets.Append(std::make_unique<CSet>(*device, x, y, z, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f));
}

std::vector<uint8_t> CompileRig::Compile(int32_t root, CompileOutcome* outcome) {
  Snapshot.SetRoot(root);
  ShowMemorySink sink;
  const CompileOutcome result = CompileRootToSink(Context, sink, &Listener);
  if (outcome != nullptr) *outcome = result;
  return sink.Bytes;
}

}  // namespace orvane::testing
