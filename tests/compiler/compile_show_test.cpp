#include "compiler/compile_show.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "compile_rig.h"
#include "compiler/compile_messages.h"
#include "compiler/show_reader.h"
#include "compiler/show_summary.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::CompileRig;
using testing::HandPart;
using testing::HandStar;

// Every frame of a show, as record lists.
std::vector<std::vector<ParticleRecord>> Frames(const std::vector<uint8_t>& bytes) {
  std::vector<std::vector<ParticleRecord>> frames;
  ShowFileReader reader;
  reader.OpenBytes(bytes);
  ShowBlock block;
  ShowFileReader::Status s;
  while ((s = reader.ReadBlock(block)) == ShowFileReader::Status::kBlock) {
    FrameCursor cursor = block.Frames();
    ShowFrame f;
    while (cursor.Next(f)) {
      frames.emplace_back();
      for (size_t i = 0; i < f.RecordCount(); ++i) frames.back().push_back(f.Record(i));
    }
  }
  EXPECT_EQ(s, ShowFileReader::Status::kEnd) << reader.Fault().Describe();
  return frames;
}

class CompileShowTest : public ::testing::Test {
 protected:
  void SetUp() override { EnableSeededMode(21); }
  void TearDown() override { DisableSeededMode(); }
  CompileRig rig;
};

TEST_F(CompileShowTest, OneFrameStarsAreNeverWrittenButTrailAndChainsAre) {
  auto root = HandPart(1, 2, 1, {{0.1f, 0, 0, 1}, {0, 0.1f, 0, 1}});
  root->TrailExists = 1;
  root->NextParExists = 1;
  root->NextParCode = 2;
  auto child = HandPart(2, 2, 3, {{0, 0, 0, 3}});
  child->Size = 0.2f;
  rig.Add(root);
  rig.Add(child);
  CompileOutcome outcome;
  const auto frames = Frames(rig.Compile(1, &outcome));
  ASSERT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_TRUE(frames[0].empty());  // the root's stars are released by its first step
  // Each star leaves 4 trail particles with a trail life of 1 frame: written twice. A
  // star is written before each of its moves but the first: the children twice each.
  int trail = 0, children = 0;
  for (const auto& frame : frames)
    for (const ParticleRecord& r : frame) (r.SizeLevel() == 5 ? trail : children) += 1;
  EXPECT_EQ(trail, 2 * 4 * 2);
  EXPECT_EQ(children, 2 * 2);
  EXPECT_EQ(frames[1].size(), 8u + 2u);
  EXPECT_TRUE(rig.Sets.Empty());
  EXPECT_EQ(rig.Trail.Count(), 0u);
}

TEST_F(CompileShowTest, RecordsGoTrailFirstThenSetsInListOrder) {
  rig.Add(HandPart(1, 2, 5, {{0, 0, 0, 5}, {0, 0, 0, 5}}));
  CSet& a = rig.Place(1, 1.0f);
  CSet& b = rig.Place(1, 2.0f);
  for (CSet* set : {&a, &b}) {
    for (TBasePartics& s : set->Stars) s.Alive = true;
    set->Emitted = set->StarCount;
  }
  b.Stars[0].Alive = false;
  b.Dead = 1;
  rig.Trail.Particles.push_back({-1, 0, 0, {255, 255, 255, 0}, 1, -0.5f, 0.1f});
  rig.Trail.Particles.push_back({-2, 0, 0, {255, 255, 255, 0}, 1, -0.5f, 0.1f});
  ShowMemorySink sink;
  CompileShow(rig.Context, sink, nullptr);
  const auto frames = Frames(sink.Bytes);
  ASSERT_FALSE(frames.empty());
  std::vector<int> xs;
  for (const ParticleRecord& r : frames[0]) xs.push_back(r.X);
  EXPECT_EQ(xs, (std::vector<int>{-3000, -6000, 3000, 3000, 6000}));
}

TEST_F(CompileShowTest, TrailRecordsAtAThirdFollowTheRandomSequence) {
  rig.Trail.Particles.assign(5000, {0, 0, 0, {255, 255, 255, 0}, 0.9f, -0.9f, 0.1f});
  SetRandomSeed(1234);
  std::vector<bool> third;
  for (int i = 0; i < 5000; ++i) third.push_back(Random(100) > 50);
  SetRandomSeed(1234);
  ShowMemorySink sink;
  CompileShow(rig.Context, sink, nullptr);
  const auto frames = Frames(sink.Bytes);
  ASSERT_EQ(frames[0].size(), 5000u);
  int thirds = 0;
  for (int i = 0; i < 5000; ++i) {
    // 0.9 x 15 = 13.5 rounds to 14; 0.3 x 15 = 4.5 rounds to 4.
    EXPECT_EQ(frames[0][i].AlphaLevel(), third[i] ? 4 : 14) << i;
    thirds += third[i];
  }
  EXPECT_NEAR(thirds / 5000.0, 0.49, 0.03);
}

TEST_F(CompileShowTest, ProgressCyclesWithinEveryBlock) {
  rig.Add(HandPart(1, 2, 60, {{0, 0, 0, 1}}));
  CompileOutcome outcome;
  rig.Compile(1, &outcome);
  ASSERT_EQ(outcome.Frames, 60u);
  EXPECT_EQ(outcome.Blocks, 3u);
  ASSERT_EQ(rig.Listener.Positions.size(), 60u);
  for (size_t i = 0; i < 60; ++i) EXPECT_EQ(rig.Listener.Positions[i], static_cast<int>((i + 1) % 25) * 4) << i;
  EXPECT_EQ(rig.Listener.Positions[23], 96);
  EXPECT_EQ(rig.Listener.Positions[24], 0);
  EXPECT_EQ(rig.Listener.Totals.back(), static_cast<int64_t>(outcome.Records));
  EXPECT_TRUE(rig.Listener.Outcomes.empty());  // completion is the caller's to report
}

TEST_F(CompileShowTest, ScaleEntersSizesAndMoves) {
  rig.Add(HandPart(1, 2, 3, {{0.1f, 0, 0, 3}}, 0.002f, 0.0f));
  rig.Scale = 4.0f;
  const auto frames = Frames(rig.Compile(1));
  ASSERT_EQ(frames.size(), 3u);
  ASSERT_EQ(frames[1].size(), 1u);
  EXPECT_EQ(frames[1][0].SizeLevel(), 4);  // 20 and 0x0F
  EXPECT_NEAR(frames[1][0].X, 4 * 0.1001 * 3000, 2);
}

// A position that is not finite rounds to -2^31: far outside what a record holds, so the
// star is culled rather than drawn at the origin (where its low 16 bits would put it).
TEST_F(CompileShowTest, NonFinitePositionsAreCulled) {
  rig.Add(HandPart(1, 2, 4, {{0.05f, 0.05f, 0.05f, 4}}, 0.0f, -0.0002f));
  CompileOutcome outcome;
  const auto frames = Frames(rig.Compile(1, &outcome));
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  ASSERT_EQ(frames.size(), 4u);
  for (size_t f = 1; f < frames.size(); ++f) EXPECT_TRUE(frames[f].empty()) << f;
  EXPECT_EQ(outcome.Culled, 3u);
  EXPECT_EQ(outcome.Records, 0u);
}

// Device 1 fires 30 stars with trails, each chaining 30 stars, each chaining 30 more.
void AddMultiplyingChain(CompileRig& rig) {
  std::vector<HandStar> stars(30, {0.01f, 0.02f, 0, 8, 2});
  for (int code = 1; code <= 3; ++code) {
    auto part = HandPart(code, 2, 10, stars);
    part->TrailExists = code == 1;
    part->NextParExists = code < 3;
    part->NextParCode = code + 1;
    rig.Add(part);
  }
}

TEST_F(CompileShowTest, SizeBoundCutsTheShowAsAValidPrefix) {
  CompileRig full;
  AddMultiplyingChain(full);
  EnableSeededMode(5);
  const auto whole = full.Compile(1);

  CompileRig bounded;
  AddMultiplyingChain(bounded);
  bounded.Context.Limits.MaxParticles = 5'000;
  EnableSeededMode(5);
  CompileOutcome outcome;
  const auto cut = bounded.Compile(1, &outcome);
  ASSERT_EQ(outcome.State, CompileOutcome::Status::kCut);
  EXPECT_EQ(outcome.Message, ShowCutMessage(outcome.Frames));
  EXPECT_EQ(outcome.Message.rfind("The show is too large to compile completely; it was cut at frame ", 0), 0u);
  EXPECT_TRUE(bounded.Sets.Empty());
  EXPECT_EQ(bounded.Trail.Count(), 0u);

  const auto a = Frames(whole);
  const auto b = Frames(cut);
  ASSERT_EQ(b.size(), outcome.Frames);
  ASSERT_LT(b.size(), a.size());
  for (size_t f = 0; f < b.size(); ++f) {
    ASSERT_EQ(a[f].size(), b[f].size()) << "frame " << f;
    for (size_t i = 0; i < b[f].size(); ++i) ASSERT_EQ(a[f][i].X, b[f][i].X);
  }
}

TEST_F(CompileShowTest, BlockBytesBoundCutsToo) {
  rig.Add(HandPart(1, 2, 200, std::vector<HandStar>(50, {0.01f, 0, 0, 150})));
  rig.Context.Limits.MaxBlockBytes = 2000;
  CompileOutcome outcome;
  const auto bytes = rig.Compile(1, &outcome);
  ASSERT_EQ(outcome.State, CompileOutcome::Status::kCut);
  // Frame 0 is empty (8 bytes), every later one 8 + 500; 51 star slots could make the
  // fifth 8 + 510 and pass 2000, so the block closes after four.
  EXPECT_EQ(outcome.Frames, 4u);
  ShowSummary s;
  ShowFileReader reader;
  reader.OpenBytes(bytes);
  ASSERT_FALSE(SummarizeShow(reader, s).has_value());
  EXPECT_EQ(s.Frames, 4u);
  EXPECT_LE(bytes.size() - kBlockHeaderSize, 2000u);
}

struct FailingSink : ShowSink {
  bool Write(std::span<const uint8_t>) override { return ++writes < 2; }
  std::string ErrorText() const override { return "disk full"; }
  int writes = 0;
};

TEST_F(CompileShowTest, WriteFailureEndsTheCompileCleanly) {
  rig.Add(HandPart(1, 1, 200, std::vector<HandStar>(30, {0.01f, 0, 0, 20})));
  rig.Snapshot.SetRoot(1);
  FailingSink sink;
  const CompileOutcome outcome = CompileRootToSink(rig.Context, sink, nullptr);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kWriteFailed);
  EXPECT_EQ(outcome.Frames, 50u);  // stopped at the second block
  EXPECT_TRUE(rig.Sets.Empty());
}

TEST_F(CompileShowTest, UnwritablePathIsReportedAndLeavesNoFile) {
  testing::ScratchDir dir;
  rig.Add(HandPart(1, 2, 5, {{0, 0, 0, 3}}));
  rig.Snapshot.SetRoot(1);
  const auto path = dir.Path() / "missing" / "ovcompile.dat";
  CompileOutcome outcome = CompileRootToFile(rig.Context, path, nullptr);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kWriteFailed);
  EXPECT_NE(outcome.Message.find(path.string()), std::string::npos);
  EXPECT_TRUE(rig.Sets.Empty());

  // A folder where the file should be: cannot be opened, and is left alone.
  std::filesystem::create_directories(dir.Path() / "taken");
  outcome = CompileRootToFile(rig.Context, dir.Path() / "taken", nullptr);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "taken"));
}

TEST_F(CompileShowTest, FileAndMemoryHoldTheSameShow) {
  testing::ScratchDir dir;
  auto part = testing::Prepared(testing::FormDevice(1));
  rig.Add(part);
  EnableSeededMode(77);
  const auto memory = rig.Compile(1);
  EnableSeededMode(77);
  const auto path = dir.Path() / "ovcompile.dat";
  const CompileOutcome outcome = CompileRootToFile(rig.Context, path, nullptr);
  ASSERT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  const std::string file = testing::ReadFileBytes(path);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.end()), memory);
}

// Seeded mode set before the devices are prepared: the whole compile repeats.
std::vector<uint8_t> SeededCompile(uint32_t seed) {
  EnableSeededMode(seed);
  CompileRig rig;
  TBaseDevice root = testing::FormDevice(1);
  root.StarKind = StarKind::Progressive;
  root.TrailExists = true;
  root.TrailLife = 30;
  root.NextParExists = true;
  root.NextParCode = 2;
  root.NextParStart = 50;
  root.StarQuantity = 60;
  TBaseDevice child = testing::FormDevice(2);
  child.StarQuantity = 20;
  child.ColorData.push_back(NewColorSegment(0, 100, kBlink | kFadeOut, 0x0000FF, 0x00FF00));
  child.SpeedKind = SpeedKind::Random;
  rig.Add(testing::Prepared(root));
  rig.Add(testing::Prepared(child));
  return rig.Compile(1);
}

TEST_F(CompileShowTest, SeededCompilesRepeatByteForByte) {
  const auto a = SeededCompile(7);
  const auto b = SeededCompile(7);
  const auto c = SeededCompile(8);
  EXPECT_GT(a.size(), 10'000u);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

// Shows that never end by themselves: trails too faint (or too slow) to fade in
// float32, and an effect that lasts for ever.
std::vector<TBaseDevice> EndlessDevices() {
  std::vector<TBaseDevice> devices;
  for (int32_t trailLife : {-100, 100'000'000}) {
    TBaseDevice d = testing::FormDevice(1);
    d.StarQuantity = 20;
    d.TrailExists = true;
    d.TrailLife = trailLife;
    devices.push_back(d);
  }
  TBaseDevice forever = testing::FormDevice(1);
  forever.StarQuantity = 20;
  forever.StarKind = StarKind::Progressive;  // relaunched until the effect ends
  forever.MaxStarLife = 0;
  forever.EffectLength = 2147483647;
  devices.push_back(forever);
  return devices;
}

TEST_F(CompileShowTest, LengthBoundCutsEndlessShowsIntoValidFiles) {
  for (const TBaseDevice& device : EndlessDevices()) {
    SCOPED_TRACE("TrailLife " + std::to_string(device.TrailLife) + ", EffectLength " +
                 std::to_string(device.EffectLength));
    testing::ScratchDir dir;
    CompileRig bounded;
    bounded.Add(testing::Prepared(device));
    bounded.Snapshot.SetRoot(1);
    bounded.Context.Limits.MaxFrames = 60;
    const auto path = dir.Path() / "ovcompile.dat";
    const CompileOutcome outcome = CompileRootToFile(bounded.Context, path, nullptr);
    ASSERT_EQ(outcome.State, CompileOutcome::Status::kCut);
    EXPECT_EQ(outcome.Frames, 60u);
    EXPECT_EQ(outcome.Message, ShowTooLongMessage(60));
    EXPECT_NE(outcome.Message.find("cut at frame 60."), std::string::npos);
    EXPECT_TRUE(bounded.Sets.Empty());
    EXPECT_EQ(bounded.Trail.Count(), 0u);
    ShowSummary s;
    const auto fault = SummarizeShowFile(path, s);
    ASSERT_FALSE(fault.has_value()) << fault->Describe();
    EXPECT_EQ(s.Frames, 60u);
    EXPECT_GT(s.Records, 0u);
  }
}

TEST_F(CompileShowTest, TheDefaultLengthBoundIsOneHour) {
  EXPECT_EQ(CompileLimits{}.MaxFrames, 90'000u);
  // A show that ends by itself is not touched by the bound, even right at it.
  rig.Add(HandPart(1, 2, 5, {{0, 0, 0, 3}}));
  CompileOutcome whole;
  rig.Compile(1, &whole);
  ASSERT_EQ(whole.State, CompileOutcome::Status::kComplete);
  CompileRig exact;
  exact.Add(HandPart(1, 2, 5, {{0, 0, 0, 3}}));
  exact.Context.Limits.MaxFrames = whole.Frames;
  CompileOutcome same;
  exact.Compile(1, &same);
  EXPECT_EQ(same.State, CompileOutcome::Status::kComplete);
  EXPECT_EQ(same.Frames, whole.Frames);
}

TEST_F(CompileShowTest, ANearlyFullDiskStopsTheCompileAndLeavesNoFile) {
  testing::ScratchDir dir;
  rig.Add(HandPart(1, 1, 200, std::vector<HandStar>(30, {0.01f, 0, 0, 20})));
  rig.Snapshot.SetRoot(1);
  std::vector<uint64_t> asked;
  // Plenty of room for the first block, then the disk is nearly full.
  rig.Context.Limits.Disk.Probe = [&asked](const std::filesystem::path& folder) -> std::optional<uint64_t> {
    asked.push_back(0);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    return asked.size() == 1 ? (uint64_t{2} << 30) : (uint64_t{300} << 20);
  };
  const CompileOutcome outcome = CompileRootToFile(rig.Context, dir.Path() / "ovcompile.dat", nullptr);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kWriteFailed);
  EXPECT_EQ(outcome.Message, "Not enough free disk space to go on compiling: 300 MiB left.");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_TRUE(rig.Sets.Empty());
  EXPECT_EQ(CompileLimits{}.Disk.MinFreeBytes, uint64_t{512} << 20);
}

// A show compiled only to be drawn needs room for itself and a small margin, so a small
// disk with a few hundred megabytes free still exports a small show; it stops all the same
// once its margin is reached.
TEST_F(CompileShowTest, AShowForAnExportNeedsOnlyItsOwnSizeAndASmallMargin) {
  testing::ScratchDir dir;
  rig.Add(HandPart(1, 1, 200, std::vector<HandStar>(30, {0.01f, 0, 0, 20})));
  rig.Snapshot.SetRoot(1);
  uint64_t free = uint64_t{300} << 20;
  rig.Context.Limits.Disk = DiskSpaceGuard{
      kTemporaryShowMinFreeBytes, [&free](const std::filesystem::path&) -> std::optional<uint64_t> { return free; }};
  const CompileOutcome small = CompileRootToFile(rig.Context, dir.Path() / "export.dat", nullptr);
  EXPECT_EQ(small.State, CompileOutcome::Status::kComplete) << small.Message;
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "export.dat"));

  free = kTemporaryShowMinFreeBytes + 1000;
  const CompileOutcome full = CompileRootToFile(rig.Context, dir.Path() / "full.dat", nullptr);
  EXPECT_EQ(full.State, CompileOutcome::Status::kWriteFailed);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "full.dat"));
}

}  // namespace
}  // namespace orvane
