// Shows: cue lists compiled into one show file.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <string>

#include "compile_rig.h"
#include "compiler/compile_thread.h"
#include "compiler/show_reader.h"
#include "compiler/show_summary.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::CompileRig;
using testing::HandPart;
using testing::HandStar;

// Every frame's records, in file order.
std::vector<std::vector<ParticleRecord>> FramesOf(const std::vector<uint8_t>& bytes) {
  ShowFileReader reader;
  reader.OpenBytes(bytes);
  std::vector<std::vector<ParticleRecord>> frames;
  ShowBlock block;
  while (reader.ReadBlock(block) == ShowFileReader::Status::kBlock) {
    FrameCursor cursor = block.Frames();
    ShowFrame frame;
    while (cursor.Next(frame)) {
      frames.emplace_back();
      for (size_t i = 0; i < frame.RecordCount(); ++i) frames.back().push_back(frame.Record(i));
    }
  }
  EXPECT_TRUE(reader.AtEnd());
  return frames;
}

std::vector<uint8_t> CompileCues(CompileRig& rig, const std::vector<RootCue>& cues, CompileOutcome* outcome = nullptr) {
  ShowMemorySink sink;
  const CompileOutcome result = CompileCuesToSink(rig.Context, cues, sink, &rig.Listener);
  EXPECT_TRUE(rig.Sets.Empty());
  EXPECT_EQ(rig.Trail.Count(), 0u);
  if (outcome != nullptr) *outcome = result;
  return sink.Bytes;
}

// A preset's devices, prepared after the seed is set, as `orvane-cli compile --seed` does.
struct SeededPreset {
  explicit SeededPreset(int k, uint32_t seed = 7) {
    EnableSeededMode(seed);
    EXPECT_TRUE(ApplyPreset(k, List, Dialogs));
  }
  ~SeededPreset() { DisableSeededMode(); }
  DeviceLookup Lookup() const {
    return [this](int32_t c) { return List.FindByCode(c); };
  }
  RootCue OwnPlace(int32_t code, uint32_t frame = 0) const {
    const auto part = List.FindByCode(code);
    return {frame, code, part->BestX, part->BestY, part->BestZ};
  }
  DeviceList List{[](TBaseDevice& d) { return PrepareCompiledPart(d); }};
  testing::ScriptedDialogs Dialogs;
};

std::vector<uint8_t> CompileAlone(int k, int32_t code) {
  SeededPreset preset(k);
  CompileRig rig;
  EXPECT_EQ(TakeSnapshot(code, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
  return rig.Compile(code);
}

std::vector<uint8_t> CompileShowOf(int k, const std::vector<int32_t>& codes, CompileOutcome* outcome = nullptr,
                                   uint32_t seed = 7) {
  SeededPreset preset(k, seed);
  std::vector<RootCue> cues;
  for (size_t i = 0; i < codes.size(); ++i) {
    cues.push_back(preset.OwnPlace(codes[i], static_cast<uint32_t>(i * 20)));
    cues.back().X += static_cast<float>(i);
  }
  CompileRig rig;
  EXPECT_EQ(TakeCueSnapshot(cues, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
  return CompileCues(rig, cues, outcome);
}

TEST(CompileCues, OneCueAtZeroAtItsOwnPlaceGivesTheSingleDeviceBytes) {
  for (int k : {1, 3, 6}) {
    const int32_t code = PresetDevices(k).front().Code;
    SeededPreset preset(k);
    CompileRig rig;
    ASSERT_EQ(TakeCueSnapshot({preset.OwnPlace(code)}, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
    const std::vector<uint8_t> show = CompileCues(rig, {preset.OwnPlace(code)});
    EXPECT_EQ(show, CompileAlone(k, code)) << "preset " << k;
  }
  // A sub-device fires on its own just the same.
  SeededPreset preset(1);
  CompileRig rig;
  const RootCue sub = preset.OwnPlace(103);
  ASSERT_EQ(TakeCueSnapshot({sub}, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
  CompileOutcome outcome;
  const std::vector<uint8_t> show = CompileCues(rig, {sub}, &outcome);
  EXPECT_EQ(show, CompileAlone(1, 103));
  ASSERT_EQ(outcome.Extents.size(), 1u);
  EXPECT_TRUE(outcome.Extents[0].Seen);
}

TEST(CompileCues, SeededShowsRepeatByteForByte) {
  CompileOutcome first;
  const auto a = CompileShowOf(2, {201, 203, 201, 204}, &first);
  const auto b = CompileShowOf(2, {201, 203, 201, 204});
  EXPECT_EQ(a, b);
  EXPECT_NE(a, CompileShowOf(2, {201, 203, 201, 204}, nullptr, 8));
  EXPECT_EQ(first.State, CompileOutcome::Status::kComplete);
  EXPECT_EQ(first.Extents.size(), 4u);
}

TEST(CompileCues, CuesOfOneFrameFireInListOrderAfterEarlierFrames) {
  CompileRig rig;
  // One still star each, living 6 frames: its records show where and when each cue fired.
  std::shared_ptr<const TCompDevice> part = HandPart(1, 2, 6, {HandStar{0, 0, 0, 6}}, 0.002f, 0.0f);
  const std::vector<RootCue> cues = {{2, 1, 3.0f, 0, 0}, {0, 1, 1.0f, 0, 0}, {0, 1, 2.0f, 0, 0}};
  ASSERT_EQ(TakeCueSnapshot(
                cues, [&](int32_t c) { return c == 1 ? part : nullptr; }, rig.Snapshot),
            SnapshotStatus::kReady);
  const auto frames = FramesOf(CompileCues(rig, cues));
  ASSERT_GE(frames.size(), 4u);
  EXPECT_TRUE(frames[0].empty());
  ASSERT_EQ(frames[1].size(), 2u);
  EXPECT_EQ(frames[1][0].X, 3000);  // x = 1: the first cue of frame 0 in the list
  EXPECT_EQ(frames[1][1].X, 6000);
  ASSERT_EQ(frames[3].size(), 3u);  // the cue of frame 2 comes after the earlier sets
  EXPECT_EQ(frames[3][2].X, 9000);
}

TEST(CompileCues, FramesBetweenCuesWithNothingAliveAreWrittenEmpty) {
  CompileRig rig;
  std::shared_ptr<const TCompDevice> part = HandPart(1, 2, 2, {HandStar{0, 0, 0, 2}}, 0.002f, 0.0f);
  const std::vector<RootCue> cues = {{0, 1, 0, 0, 0}, {60, 1, 0, 1.0f, 0}};
  ASSERT_EQ(TakeCueSnapshot(
                cues, [&](int32_t c) { return c == 1 ? part : nullptr; }, rig.Snapshot),
            SnapshotStatus::kReady);
  CompileOutcome outcome;
  const auto frames = FramesOf(CompileCues(rig, cues, &outcome));
  ASSERT_EQ(outcome.Extents.size(), 2u);
  const CueExtent& late = outcome.Extents[1];
  ASSERT_TRUE(late.Seen);
  EXPECT_EQ(late.FirstFrame, 61u);
  EXPECT_EQ(outcome.Frames, late.LastFrame + 1);
  ASSERT_EQ(frames.size(), outcome.Frames);
  for (size_t f = outcome.Extents[0].LastFrame + 1; f < 61; ++f) EXPECT_TRUE(frames[f].empty()) << f;
  EXPECT_EQ(frames[61].size(), 1u);
  EXPECT_EQ(frames[61][0].Y, 3000);
}

TEST(CompileCues, AChainCycleFromAnyCueIsRefused) {
  CompileRig rig;
  auto plain = HandPart(5, 2, 2, {HandStar{0, 0, 0, 2}});
  auto a = HandPart(1, 2, 2, {HandStar{0, 0, 0, 2}});
  auto b = HandPart(2, 2, 2, {HandStar{0, 0, 0, 2}});
  a->NextEffExists = 1;
  a->NextEffCode = 2;
  b->NextParExists = 1;
  b->NextParCode = 1;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 5 ? plain : c == 1 ? a : c == 2 ? b : nullptr;
  };
  size_t failed = 99;
  EXPECT_EQ(TakeCueSnapshot({{0, 5}, {3, 5}, {9, 2}}, lookup, rig.Snapshot, &failed), SnapshotStatus::kRecursive);
  EXPECT_EQ(failed, 2u);
  EXPECT_EQ(TakeCueSnapshot({{0, 5}, {1, 7}}, lookup, rig.Snapshot, &failed), SnapshotStatus::kNoRoot);
  EXPECT_EQ(failed, 1u);
  EXPECT_EQ(rig.Snapshot.DeviceCount(), 0u);
  EXPECT_EQ(TakeCueSnapshot({{0, 5}, {3, 5}}, lookup, rig.Snapshot), SnapshotStatus::kReady);
  EXPECT_EQ(rig.Snapshot.DeviceCount(), 1u);

  SetList sets;
  CTrail trail;
  std::atomic<float> scale{1.0f};
  CompileController controller(scale);
  testing::RecordingListener listener;
  EXPECT_EQ(controller.StartShow({{0, 5}, {0, 1}}, lookup, "unused.dat", listener, {}, &failed),
            CompileController::StartResult::kRecursive);
  EXPECT_EQ(failed, 1u);
}

TEST(CompileCues, TheCompileThreadRunsAShowIntoItsFile) {
  testing::ScratchDir dir;
  SeededPreset preset(3);
  std::atomic<float> scale{1.0f};
  CompileController controller(scale);
  testing::RecordingListener listener;
  const fs::path output = dir.Path() / "show.dat";
  ASSERT_EQ(
      controller.StartShow({preset.OwnPlace(301, 0), preset.OwnPlace(303, 30)}, preset.Lookup(), output, listener),
      CompileController::StartResult::kStarted);
  listener.WaitFinished();
  controller.Finished();
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  const CompileOutcome& outcome = listener.Outcomes[0];
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  ASSERT_EQ(outcome.Extents.size(), 2u);
  EXPECT_GT(outcome.Extents[1].FirstFrame, 30u);
  ShowSummary summary;
  ASSERT_FALSE(SummarizeShowFile(output, summary));
  EXPECT_EQ(summary.Frames, outcome.Frames);
}

// The "Scale" box stays at 1 while a show saved with its own scale compiles.
TEST(CompileCues, AShowWithItsOwnScaleCompilesAtItWhateverTheLiveScale) {
  testing::ScratchDir dir;
  SeededPreset preset(3);
  const std::vector<RootCue> cues = {preset.OwnPlace(301, 0), preset.OwnPlace(303, 30)};
  auto compile = [&](float live, std::optional<float> own, const std::string& name) {
    EnableSeededMode(7);  // each compile from the same seed
    std::atomic<float> scale{live};
    CompileController controller(scale);
    testing::RecordingListener listener;
    const fs::path output = dir.Path() / name;
    EXPECT_EQ(controller.StartShow(cues, preset.Lookup(), output, listener, {}, nullptr, own),
              CompileController::StartResult::kStarted);
    listener.WaitFinished();
    controller.Finished();
    std::ifstream in(output, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string atOwnScale = compile(1.0f, 2.5f, "own.dat");
  const std::string atLiveScale = compile(2.5f, std::nullopt, "live.dat");
  ASSERT_FALSE(atOwnScale.empty());
  EXPECT_TRUE(atOwnScale == atLiveScale);
  EXPECT_FALSE(atOwnScale == compile(1.0f, std::nullopt, "plain.dat"));
}

TEST(CompileCues, ExtentsOfAPresetCueAgreeWithTheShowsOwnFigures) {
  testing::ScratchDir dir;
  SeededPreset preset(1);
  CompileRig rig;
  RootCue cue = preset.OwnPlace(101, 5);
  const std::vector<RootCue> cues = {cue};
  ASSERT_EQ(TakeCueSnapshot(cues, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
  CompileOutcome outcome;
  const std::vector<uint8_t> bytes = CompileCues(rig, cues, &outcome);
  const auto path = dir.Write("show.dat", std::string(bytes.begin(), bytes.end()));
  ShowSummary summary;
  ASSERT_FALSE(SummarizeShowFile(path, summary));
  ASSERT_EQ(outcome.Extents.size(), 1u);
  const CueExtent& e = outcome.Extents[0];
  ASSERT_TRUE(e.Seen);
  const auto frames = FramesOf(bytes);
  size_t first = 0;
  while (first < frames.size() && frames[first].empty()) ++first;
  EXPECT_GT(first, 5u);  // nothing before the cue's frame
  EXPECT_EQ(e.FirstFrame, first);
  EXPECT_EQ(e.LastFrame + 1, summary.Frames);
  const double step = 1.0 / 3000;  // the file keeps positions to this
  EXPECT_NEAR(e.Height, summary.Max[1] - cue.Y, step);
  EXPECT_NEAR(e.Lowest, summary.Min[1], step);
  const double widest = std::max(
      {std::fabs(summary.Min[0]), std::fabs(summary.Max[0]), std::fabs(summary.Min[2]), std::fabs(summary.Max[2])});
  EXPECT_GE(e.Radius, widest - step);
  EXPECT_LE(e.Radius, std::hypot(widest, widest) + step);
}

// A cue near the edge of what a record can hold: the particles that leave the range are
// left out instead of wrapping round to the far side, and nothing else changes.
TEST(CompileCues, RecordsBeyondTheFileRangeAreCulledNotWrapped) {
  auto compile = [](float x, CompileOutcome& outcome) {
    SeededPreset preset(1);
    CompileRig rig;
    RootCue cue = preset.OwnPlace(101, 3);
    cue.X = x;
    const std::vector<RootCue> cues = {cue, preset.OwnPlace(101, 3)};
    EXPECT_EQ(TakeCueSnapshot(cues, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
    return FramesOf(CompileCues(rig, cues, &outcome));
  };
  CompileOutcome inside, edge;
  const auto inRange = compile(0.0f, inside);
  const auto culled = compile(10.9f, edge);
  EXPECT_EQ(inside.Culled, 0u);
  ASSERT_GT(edge.Culled, 1000u);
  EXPECT_EQ(edge.Records + edge.Culled, inside.Records) << "the same simulation, fewer records kept";
  ASSERT_EQ(edge.Extents.size(), 2u);
  EXPECT_EQ(edge.Extents[0].Culled, edge.Culled) << "all from the cue at the edge";
  EXPECT_EQ(edge.Extents[1].Culled, 0u);
  ASSERT_EQ(culled.size(), inRange.size());
  // The cue at the origin spreads its stars within a few units: anything written at x < -5
  // would be a wrapped record of the cue at the edge.
  size_t nearEdge = 0;
  for (const auto& frame : culled) {
    for (const ParticleRecord& r : frame) {
      EXPECT_GE(r.X, -5 * 3000);
      nearEdge += r.X > 9 * 3000 ? 1 : 0;
    }
  }
  EXPECT_GT(nearEdge, 1000u) << "what fits is kept";
}

// A rising star whose per-star chain opens at age 10: the break is the frame its child set
// is made, the frame before the child's first records, at the child's start height.
TEST(CompileCues, TheBreakIsWhereAndWhenTheFirstDescendantSetIsMade) {
  EnableSeededMode(3);
  CompileRig rig;
  auto root = HandPart(1, 2, 30, {HandStar{0, 0.05f, 0, 30, 10}}, 0.002f, 0.0f);
  root->NextParExists = 1;
  root->NextParCode = 2;
  auto child = HandPart(2, 2, 4, {HandStar{0, 0, 0, 4}}, 0.002f, 0.0f);
  child->Size = 0.2f;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 1 ? root : c == 2 ? child : nullptr;
  };
  // The child fired on its own far to the right breaks never: it chains to nothing.
  const std::vector<RootCue> cues = {{2, 1, 0.0f, 1.0f, 0.0f}, {0, 2, 5.0f, 0.0f, 0.0f}, {7, 1, -5.0f, 0.5f, 0.0f}};
  ASSERT_EQ(TakeCueSnapshot(cues, lookup, rig.Snapshot), SnapshotStatus::kReady);
  CompileOutcome outcome;
  const auto frames = FramesOf(CompileCues(rig, cues, &outcome));
  DisableSeededMode();
  ASSERT_EQ(outcome.Extents.size(), 3u);
  EXPECT_FALSE(outcome.Extents[1].Broke);
  for (size_t i : {size_t{0}, size_t{2}}) {
    const CueExtent& e = outcome.Extents[i];
    ASSERT_TRUE(e.Broke) << i;
    const int16_t x = static_cast<int16_t>(std::lround(cues[i].X * 3000));
    std::optional<size_t> first;
    double childY = 0;
    for (size_t f = 0; f < frames.size() && !first; ++f)
      for (const ParticleRecord& r : frames[f])
        if (r.SizeLevel() == 10 && std::abs(r.X - x) < 300) {
          first = f;
          childY = r.Y / 3000.0;
        }
    ASSERT_TRUE(first.has_value()) << i;
    EXPECT_EQ(e.BreakFrame + 1, *first) << i;
    EXPECT_GE(e.BreakFrame, cues[i].Frame + 10) << i;
    EXPECT_GT(e.BreakHeight, 0.4) << i;
    // The child's stars move on with their parent star's velocity before they are written.
    EXPECT_NEAR(e.BreakHeight, childY - cues[i].Y, 0.06) << i;
  }
  // Both cues of the same device break the same time after firing, at the same height.
  EXPECT_EQ(outcome.Extents[0].BreakFrame - cues[0].Frame, outcome.Extents[2].BreakFrame - cues[2].Frame);
  EXPECT_NEAR(outcome.Extents[0].BreakHeight, outcome.Extents[2].BreakHeight, 1e-6);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// The fallout is observed only: the same bytes with or without it, and every record written
// below the ceiling lies within its sector's reach.
TEST(CompileCues, FalloutOutlineHoldsEveryLowRecordAndChangesNoByte) {
  SeededPreset preset(1);
  const RootCue cue = preset.OwnPlace(101, 2);
  const std::vector<RootCue> cues = {cue};
  std::vector<uint8_t> plain;
  {
    const ThreadRandomScope random(11);
    CompileRig rig;
    ASSERT_EQ(TakeCueSnapshot(cues, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
    plain = CompileCues(rig, cues);
  }
  const ThreadRandomScope random(11);
  CompileRig rig;
  ASSERT_EQ(TakeCueSnapshot(cues, preset.Lookup(), rig.Snapshot), SnapshotStatus::kReady);
  const double ceiling = cue.Y + 0.5;
  rig.Context.FalloutCeilingY = ceiling;
  CompileOutcome outcome;
  EXPECT_EQ(CompileCues(rig, cues, &outcome), plain);
  ASSERT_EQ(outcome.Extents.size(), 1u);
  const CueExtent& e = outcome.Extents[0];
  ASSERT_TRUE(e.FellLow);
  const double step = 1.0 / 3000;
  size_t low = 0;
  for (const auto& frame : FramesOf(plain)) {
    for (const ParticleRecord& r : frame) {
      if (r.Y * step >= ceiling - step) continue;
      ++low;
      const double dx = r.X * step - cue.X, dz = r.Z * step - cue.Z;
      const size_t s = static_cast<size_t>(FalloutSector(dx, dz));
      // A record rounded across a sector's edge may belong to a neighbour.
      const double reach = std::max({e.FalloutReach[s], e.FalloutReach[(s + 1) % kFalloutSectors],
                                     e.FalloutReach[(s + kFalloutSectors - 1) % kFalloutSectors]});
      EXPECT_LE(std::hypot(dx, dz), reach + 2 * step);
    }
  }
  EXPECT_GT(low, 0u);
  for (const double reach : e.FalloutReach) EXPECT_LE(reach, e.Radius);
}

TEST(CompileCues, SectorsCountCounterclockwiseFromPlusX) {
  EXPECT_EQ(FalloutSector(1, 0), 0);
  EXPECT_EQ(FalloutSector(1, 1e-9), 0);
  EXPECT_EQ(FalloutSector(0, 1), kFalloutSectors / 4);
  EXPECT_EQ(FalloutSector(-1, 0), kFalloutSectors / 2);
  EXPECT_EQ(FalloutSector(0, -1), 3 * kFalloutSectors / 4);
  EXPECT_EQ(FalloutSector(1, -1e-12), kFalloutSectors - 1);
  EXPECT_EQ(FalloutSector(0, 0), 0);
  EXPECT_EQ(FalloutSectorStart(0), 0);
  EXPECT_NEAR(FalloutSectorStart(kFalloutSectors), 2 * std::numbers::pi, 1e-12);
  // Every direction falls in the sector whose angles hold it.
  for (int k = 0; k < 3600; ++k) {
    const double angle = (k + 0.5) * 2 * std::numbers::pi / 3600;
    const int s = FalloutSector(7 * std::cos(angle), 7 * std::sin(angle));
    EXPECT_LE(FalloutSectorStart(s), angle + 1e-12) << k;
    EXPECT_LT(angle, FalloutSectorStart(s + 1) + 1e-12) << k;
    EXPECT_LT(FalloutSectorStart(s + 1) - FalloutSectorStart(s), 0.25) << s;  // under 15 degrees
  }
}

}  // namespace
}  // namespace orvane
