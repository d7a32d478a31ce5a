#include "project/show_compile_plan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "compiler/compile_messages.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/set_list.h"
#include "compiler/trail_pool.h"
#include "model/device_file_writer.h"
#include "model/presets.h"
#include "show/show_root_cues.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::ScriptedDialogs;

class Quiet : public CompileListener {
 public:
  void CompileProgress(int, int64_t) override {}
  void CompileFinished(const CompileOutcome&) override {}
};

std::string CompiledBytes(const CompileJob& job, float scale = 1.0f) {
  SetList sets;
  CTrail trail;
  const std::atomic<float> liveScale{scale};
  Quiet quiet;
  const CompileOutcome outcome = RunCompile(job, sets, trail, liveScale, quiet);
  EXPECT_TRUE(outcome.Written()) << outcome.Message;
  return ReadFileBytes(job.Output);
}

DeviceList Preset(int k) {
  DeviceList list(PrepareCompiledPart);
  ScriptedDialogs dialogs;
  EXPECT_TRUE(ApplyPreset(k, list, dialogs));
  return list;
}

Cue At(int64_t ms, int32_t code, int line) {
  Cue c;
  c.TimeMs = ms;
  c.Code = code;
  c.Line = line;
  return c;
}

ShowCompileInput Input(const std::vector<Cue>& cues, const DeviceRecords& devices, const fs::path& out) {
  ShowCompileInput input;
  input.Cues = &cues;
  input.Devices = &devices;
  input.Seed = 7;
  input.Output = out;
  return input;
}

TEST(ShowCompilePlan, PreparesDevicesInTheOrderASavedFolderLoadsThem) {
  DeviceRecords devices;
  for (auto [code, sub] : {std::pair{5, true}, {12, false}, {101, false}, {3, true}, {2, false}}) {
    auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
    d->Definition.Kind = sub;
    devices.push_back(std::move(d));
  }
  // File names: 101.odev, 12.odev, 2.odev, then 3.osub, 5.osub.
  EXPECT_EQ(PreparationOrder(devices), (std::vector<size_t>{2, 1, 4, 3, 0}));
}

TEST(ShowCompilePlan, NamesCuesByLineAndByRowAndLine) {
  const std::vector<Cue> cues = {At(0, 1, 2), At(500, 2, 0), At(900, 3, 7)};
  const CuePlaceStyle file{false, "cues.csv"};
  const CuePlaceStyle table{true, "cues.csv"};
  const struct {
    size_t Index;
    const CuePlaceStyle& Style;
    const char* Expected;
  } cases[] = {
      {0, file, "cues.csv line 2"},         {2, file, "cues.csv line 7"}, {1, file, "cue 2"},
      {0, table, "Row 1, cues.csv line 2"}, {1, table, "Row 2"},          {2, table, "Row 3, cues.csv line 7"},
  };
  for (const auto& c : cases) EXPECT_EQ(CuePlace(cues, c.Index, c.Style), c.Expected);
  EXPECT_EQ(CueMessage(cues, 2, table, "no device has code 3."), "Row 3, cues.csv line 7: no device has code 3.");
}

TEST(ShowCompilePlan, RefusesWithOneWordingAndNamesTheCue) {
  ScratchDir dir;
  DeviceList list = Preset(2);
  std::vector<Cue> cues;
  ShowCompileAnswer a = PlanShowCompile(Input(cues, list.Devices(), dir.Path() / "x.dat"));
  ASSERT_FALSE(a.Ok());
  EXPECT_EQ(a.Refusal.Kind, CompileRefusalKind::kNoCues);
  EXPECT_EQ(a.Refusal.Message, kNoCuesToCompile);

  cues = {At(0, 201, 2), At(1000, 512, 3)};
  ShowCompileInput in = Input(cues, list.Devices(), dir.Path() / "x.dat");
  a = PlanShowCompile(in);
  ASSERT_FALSE(a.Ok());
  EXPECT_EQ(a.Refusal.Kind, CompileRefusalKind::kMissingDevice);
  EXPECT_EQ(a.Refusal.Cue, 1u);
  EXPECT_EQ(a.Refusal.Message, "cues.csv line 3: no device has code 512.");
  in.Places.WithRow = true;
  EXPECT_EQ(PlanShowCompile(in).Refusal.Message, "Row 2, cues.csv line 3: no device has code 512.");

  // 1 -> 2 -> 1.
  TBaseDevice one = testing::FormDevice(1), two = testing::FormDevice(2);
  one.NextEffExists = true;
  one.NextEffCode = 2;
  two.NextParExists = true;
  two.NextParCode = 1;
  ASSERT_TRUE(PrepareCompiledPart(one));
  ASSERT_TRUE(PrepareCompiledPart(two));
  DeviceRecords cyclic;
  cyclic.push_back(std::make_unique<TBaseDevice>(one));
  cyclic.push_back(std::make_unique<TBaseDevice>(two));
  cues = {At(0, 2, 2), At(40, 1, 3)};
  in = Input(cues, cyclic, dir.Path() / "x.dat");
  a = PlanShowCompile(in);
  ASSERT_FALSE(a.Ok());
  EXPECT_EQ(a.Refusal.Kind, CompileRefusalKind::kRecursive);
  EXPECT_EQ(a.Refusal.Cue, 0u);
  EXPECT_EQ(a.Refusal.Message, std::string(kRecursivityRefusal) + " (cues.csv line 2)");
  in.Places.WithRow = true;
  EXPECT_EQ(PlanShowCompile(in).Refusal.Message, std::string(kRecursivityRefusal) + " (row 1, cues.csv line 2)");
  EXPECT_FALSE(fs::exists(dir.Path() / "x.dat"));
}

TEST(ShowCompilePlan, SameShowSameBytesWhateverTheListOrderTheOldPreparationAndOtherThreadsDraws) {
  ScratchDir dir;
  const std::vector<Cue> cues = {At(0, 204, 2), At(480, 203, 3), At(480, 204, 4)};
  DeviceList list = Preset(2);
  ShowCompileAnswer a = PlanShowCompile(Input(cues, list.Devices(), dir.Path() / "a.dat"));
  ASSERT_TRUE(a.Ok()) << a.Refusal.Message;
  EXPECT_EQ(a.Plan->Seed, 7u);
  EXPECT_EQ(a.Plan->Job.Cues->size(), 3u);

  // The same devices listed the other way round, prepared from the clock meanwhile.
  DeviceRecords reversed;
  for (auto it = list.Devices().rbegin(); it != list.Devices().rend(); ++it)
    reversed.push_back(std::make_unique<TBaseDevice>(**it));
  ReseedFromClock();
  for (auto& d : reversed) ASSERT_TRUE(PrepareCompiledPart(*d));
  ShowCompileAnswer b = PlanShowCompile(Input(cues, reversed, dir.Path() / "b.dat"));
  ASSERT_TRUE(b.Ok());
  EXPECT_EQ(b.Plan->Job.Seed, a.Plan->Job.Seed);

  std::string bytesA = CompiledBytes(a.Plan->Job);
  // Draws of another thread while the second compiles change nothing.
  std::atomic<bool> done{false};
  std::thread drawer([&] {
    while (!done) Random(100);
  });
  const std::string bytesB = CompiledBytes(b.Plan->Job);
  done = true;
  drawer.join();
  EXPECT_FALSE(bytesA.empty());
  EXPECT_EQ(bytesA, bytesB);

  // What `compile --show --seed 7` always did: the seed, the folder load, then the compile.
  fs::create_directories(dir.Path() / "devices");
  ASSERT_EQ(SaveDeviceFolder(list.Devices(), dir.Path() / "devices").Written, list.Devices().size());
  EnableSeededMode(7);
  DeviceRecords loaded;
  LoadDeviceFolder(dir.Path() / "devices", loaded, PrepareCompiledPart);
  CompileJob old;
  old.Output = dir.Path() / "old.dat";
  old.Scale = 1.0f;
  ShowRoots roots = ShowRootCues(cues, loaded, ShowSite{});
  ASSERT_EQ(TakeCueSnapshot(
                roots.Cues, [&](int32_t c) { return FindByCode(loaded, c); }, old.Snapshot),
            SnapshotStatus::kReady);
  old.Cues = roots.Cues;
  const std::string bytesOld = CompiledBytes(old);
  DisableSeededMode();
  EXPECT_EQ(bytesOld, bytesA);

  // Another seed, another show.
  ShowCompileInput other = Input(cues, list.Devices(), dir.Path() / "c.dat");
  other.Seed = 8;
  EXPECT_NE(CompiledBytes(PlanShowCompile(other).Plan->Job), bytesA);
}

TEST(ShowCompilePlan, AShowWithoutAnOutputIsMeasuredAlikeAndWritesNothing) {
  ScratchDir dir;
  const std::vector<Cue> cues = {At(0, 204, 2), At(480, 203, 3)};
  DeviceList list = Preset(2);
  auto compile = [&](const fs::path& out) {
    ShowCompileAnswer a = PlanShowCompile(Input(cues, list.Devices(), out));
    EXPECT_TRUE(a.Ok()) << a.Refusal.Message;
    SetList sets;
    CTrail trail;
    const std::atomic<float> scale{1.0f};
    Quiet quiet;
    return RunCompile(a.Plan->Job, sets, trail, scale, quiet);
  };
  const CompileOutcome written = compile(dir.Path() / "a.dat");
  const CompileOutcome measured = compile({});
  ASSERT_TRUE(measured.Written()) << measured.Message;
  EXPECT_EQ(measured.Frames, written.Frames);
  EXPECT_EQ(measured.Records, written.Records);
  ASSERT_EQ(measured.Extents.size(), 2u);
  EXPECT_TRUE(measured.Extents[1].Broke);
  EXPECT_EQ(measured.Extents, written.Extents);
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace orvane
