#include "compiler/compile_thread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "compile_rig.h"
#include "compiler/show_summary.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::HandPart;
using testing::HandStar;
using testing::RecordingListener;

class CompileThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnableSeededMode(31);
    auto root = HandPart(1, 1, 80, std::vector<HandStar>(40, {0.01f, 0.03f, 0, 30, 10}));
    root->NextParExists = 1;
    root->NextParCode = 2;
    root->TrailExists = 1;
    devices[1] = root;
    devices[2] = HandPart(2, 2, 20, std::vector<HandStar>(8, {0.02f, 0, 0.01f, 15}));
  }
  void TearDown() override { DisableSeededMode(); }

  DeviceLookup Lookup() {
    return [this](int32_t code) -> std::shared_ptr<const TCompDevice> {
      const auto it = devices.find(code);
      return it == devices.end() ? nullptr : it->second;
    };
  }
  std::string Output(const char* name) const { return (dir.Path() / name).string(); }

  std::map<int32_t, std::shared_ptr<TCompDevice>> devices;
  std::atomic<float> scale{1.0f};
  testing::ScratchDir dir;
  RecordingListener listener;
};

TEST_F(CompileThreadTest, CompilesOnItsThreadAndReportsOnce) {
  CompileController control(scale);
  ASSERT_EQ(control.Start(1, Lookup(), Output("ovcompile.dat"), listener), CompileController::StartResult::kStarted);
  listener.WaitFinished();
  control.Finished();
  EXPECT_FALSE(control.Busy());
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  const CompileOutcome& outcome = listener.Outcomes[0];
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  EXPECT_EQ(listener.Positions.size(), outcome.Frames);
  ShowSummary s;
  ASSERT_FALSE(SummarizeShowFile(Output("ovcompile.dat"), s).has_value());
  EXPECT_EQ(s.Frames, outcome.Frames);
  EXPECT_EQ(s.Records, outcome.Records);
}

TEST_F(CompileThreadTest, OneCompileAtATime) {
  CompileController control(scale);
  listener.HoldFinish = true;
  ASSERT_EQ(control.Start(1, Lookup(), Output("a.dat"), listener), CompileController::StartResult::kStarted);
  listener.WaitFinished();
  // The thread sits in CompileFinished: it has not been joined, so no second compile.
  RecordingListener other;
  EXPECT_EQ(control.Start(1, Lookup(), Output("b.dat"), other), CompileController::StartResult::kBusy);
  listener.Release();
  control.Finished();
  EXPECT_EQ(control.Start(1, Lookup(), Output("b.dat"), other), CompileController::StartResult::kStarted);
  other.WaitFinished();
  control.Finished();
  EXPECT_EQ(other.Outcomes.size(), 1u);
}

TEST_F(CompileThreadTest, RefusalsStartNothing) {
  CompileController control(scale);
  devices[2]->NextEffExists = 1;
  devices[2]->NextEffCode = 1;
  EXPECT_EQ(control.Start(1, Lookup(), Output("c.dat"), listener), CompileController::StartResult::kRecursive);
  EXPECT_EQ(control.Start(5, Lookup(), Output("c.dat"), listener), CompileController::StartResult::kNoDevice);
  EXPECT_FALSE(control.Busy());
  EXPECT_TRUE(listener.Outcomes.empty());
  EXPECT_FALSE(std::filesystem::exists(Output("c.dat")));
}

TEST_F(CompileThreadTest, EditsDuringTheCompileDoNotReachIt) {
  CompileJob job;
  ASSERT_EQ(TakeSnapshot(1, Lookup(), job.Snapshot), SnapshotStatus::kReady);
  job.Output = Output("reference.dat");
  SetList sets;
  CTrail trail;
  RecordingListener quiet;
  EnableSeededMode(99);
  RunCompile(job, sets, trail, scale, quiet);

  CompileController control(scale);
  EnableSeededMode(99);
  ASSERT_EQ(control.Start(1, Lookup(), Output("edited.dat"), listener), CompileController::StartResult::kStarted);
  // The user deletes one device and replaces the other while the compile runs.
  devices.erase(2);
  devices[1] = HandPart(1, 2, 3, {{0, 0, 0, 1}});
  listener.WaitFinished();
  control.Finished();
  EXPECT_EQ(testing::ReadFileBytes(Output("edited.dat")), testing::ReadFileBytes(Output("reference.dat")));
}

TEST_F(CompileThreadTest, FileErrorsStillReportCompletion) {
  CompileController control(scale);
  const std::string path = Output("no-folder/ovcompile.dat");
  ASSERT_EQ(control.Start(1, Lookup(), path, listener), CompileController::StartResult::kStarted);
  listener.WaitFinished();
  control.Finished();
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  EXPECT_EQ(listener.Outcomes[0].State, CompileOutcome::Status::kWriteFailed);
  EXPECT_NE(listener.Outcomes[0].Message.find(path), std::string::npos);
  EXPECT_FALSE(control.Busy());
}

TEST_F(CompileThreadTest, ANearlyFullDiskEndsTheCompileWithItsMessage) {
  CompileController control(scale);
  CompileLimits limits;
  limits.Disk.Probe = [](const std::filesystem::path&) -> std::optional<uint64_t> { return uint64_t{100} << 20; };
  ASSERT_EQ(control.Start(1, Lookup(), Output("ovcompile.dat"), listener, limits),
            CompileController::StartResult::kStarted);
  listener.WaitFinished();
  control.Finished();
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  EXPECT_EQ(listener.Outcomes[0].State, CompileOutcome::Status::kWriteFailed);
  EXPECT_EQ(listener.Outcomes[0].Message, "Not enough free disk space to go on compiling: 100 MiB left.");
  EXPECT_FALSE(control.Busy());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(CompileThreadTest, OwnerGoingAwayStopsALongCompile) {
  devices[1] = HandPart(1, 1, 50'000'000, std::vector<HandStar>(10, {0.01f, 0, 0, 3}));
  {
    CompileController control(scale);
    ASSERT_EQ(control.Start(1, Lookup(), Output("long.dat"), listener), CompileController::StartResult::kStarted);
    listener.WaitProgress(100);
  }
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  EXPECT_EQ(listener.Outcomes[0].State, CompileOutcome::Status::kStopped);
  EXPECT_FALSE(std::filesystem::exists(Output("long.dat")));
}

TEST_F(CompileThreadTest, AStopAskedRightAfterTheStartStillReportsOnce) {
  devices[1] = HandPart(1, 1, 50'000'000, std::vector<HandStar>(10, {0.01f, 0, 0, 3}));
  CompileController control(scale);
  ASSERT_EQ(control.Start(1, Lookup(), Output("stopped.dat"), listener), CompileController::StartResult::kStarted);
  control.RequestStop();  // most likely before the thread has begun
  listener.WaitFinished();
  control.Finished();
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  EXPECT_EQ(listener.Outcomes[0].State, CompileOutcome::Status::kStopped);
  EXPECT_FALSE(std::filesystem::exists(Output("stopped.dat")));
  EXPECT_FALSE(control.Busy());
  // The controller takes the next compile as usual.
  ASSERT_EQ(control.Start(1, Lookup(), Output("next.dat"), listener), CompileController::StartResult::kStarted);
  listener.WaitProgress(1);
  control.RequestStop();
  listener.WaitFinished(2);
  control.Finished();
  EXPECT_EQ(listener.Outcomes.at(1).State, CompileOutcome::Status::kStopped);
}

}  // namespace
}  // namespace orvane
