// Running out of memory on the compile thread, made to happen: while armed, every
// allocation of this thread from a given size on fails as a real shortage would.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "compile_rig.h"
#include "compiler/compile_messages.h"
#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "model/device_file.h"
#include "model/device_file_writer.h"
#include "model/device_list.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace {

thread_local size_t failFrom = 0;  // 0: allocations succeed

void* Allocate(size_t size) {
  if (failFrom != 0 && size >= failFrom) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
// The library's temporary buffers (stable_sort) come from the nothrow forms: they must
// pair with the deletes above.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace orvane {
namespace {

using testing::HandPart;
using testing::HandStar;

struct FailLargeAllocations {
  explicit FailLargeAllocations(size_t bytes) { failFrom = bytes; }
  ~FailLargeAllocations() { failFrom = 0; }
};

class CompileMemoryTest : public ::testing::Test {
 protected:
  CompileOutcome Run(size_t failFromBytes) {
    job.Output = dir.Path() / "ovcompile.dat";
    job.Snapshot.Add(1, part);
    job.Snapshot.SetRoot(1);
    FailLargeAllocations fail(failFromBytes);
    return RunCompile(job, sets, trail, scale, listener);
  }

  // 20 000 stars: the root set's tables are far above the armed size.
  std::shared_ptr<TCompDevice> part = HandPart(1, 1, 100, std::vector<HandStar>(20'000, {0.01f, 0, 0, 50}));
  testing::ScratchDir dir;
  CompileJob job;
  SetList sets;
  CTrail trail;
  std::atomic<float> scale{1.0f};
  testing::RecordingListener listener;
};

TEST_F(CompileMemoryTest, NoMemoryForTheRootSetIsReportedAndLeavesNothing) {
  const CompileOutcome outcome = Run(64 << 10);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kOutOfMemory);
  EXPECT_EQ(outcome.Message, "There is not enough memory to compile the show.");
  ASSERT_EQ(listener.Outcomes.size(), 1u);
  EXPECT_EQ(listener.Outcomes[0].State, CompileOutcome::Status::kOutOfMemory);
  EXPECT_TRUE(sets.Empty());
  EXPECT_EQ(trail.Count(), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(CompileMemoryTest, NoMemoryInTheFrameLoopIsReportedToo) {
  // A one-star root fits; the 20 000-star child it spawns in the frame loop does not.
  auto root = HandPart(2, 2, 3, {{0.1f, 0, 0, 3}});
  root->NextParExists = 1;
  root->NextParCode = 1;
  job.Snapshot.Add(2, root);
  job.Output = dir.Path() / "ovcompile.dat";
  job.Snapshot.Add(1, part);
  job.Snapshot.SetRoot(2);
  CompileOutcome outcome;
  {
    FailLargeAllocations fail(64 << 10);
    outcome = RunCompile(job, sets, trail, scale, listener);
  }
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kOutOfMemory);
  EXPECT_EQ(outcome.Message, kCompileOutOfMemory);
  EXPECT_TRUE(sets.Empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  // With the memory back, the same job compiles.
  const CompileOutcome again = RunCompile(job, sets, trail, scale, listener);
  EXPECT_EQ(again.State, CompileOutcome::Status::kComplete);
  EXPECT_TRUE(std::filesystem::exists(job.Output));
}

// A device whose tables do not fit says so, wherever it is made: loaded from a file, or
// made from the form; the same device with the memory back is made as ever.
TEST(PrepareMemoryTest, NoMemoryForADevicesTablesIsSaid) {
  testing::ScratchDir dir;
  TBaseDevice big = testing::FormDevice(101);
  big.StarQuantity = 20'000;
  ASSERT_TRUE(SaveDeviceFile(big, dir.Path()));
  const auto prepare = [](TBaseDevice& d) { return PrepareCompiledPart(d); };
  DeviceRecords devices;
  DeviceFileResult loaded;
  {
    FailLargeAllocations fail(64 << 10);
    loaded = LoadDeviceFile(dir.Path() / "101.odev", devices, prepare);
  }
  EXPECT_EQ(loaded.Status, DeviceFileStatus::Skipped);
  EXPECT_EQ(loaded.Message, "the device could not be prepared: there is not enough memory for its tables");
  EXPECT_EQ(LoadDeviceFile(dir.Path() / "101.odev", devices, prepare).Status, DeviceFileStatus::Loaded);

  TBaseDevice nonsense = testing::FormDevice(7);
  nonsense.MaxStarLife = -40;
  nonsense.MinStarLife = 300;
  const PrepareResult refused = PrepareCompiledPart(nonsense);
  EXPECT_FALSE(refused);
  EXPECT_FALSE(refused.OutOfMemory) << "refused for its values, not for memory";

  DeviceList list(prepare);
  testing::ScriptedDialogs dialogs;
  list.Form().DevCode = "5";
  list.Form().StarQuantity = "20000";
  {
    FailLargeAllocations fail(64 << 10);
    list.Create(dialogs);
  }
  ASSERT_FALSE(dialogs.Messages.empty());
  EXPECT_EQ(dialogs.Messages.back().Text,
            "The device could not be created. There is not enough memory for its tables.");
  EXPECT_TRUE(list.Devices().empty());
}

}  // namespace
}  // namespace orvane
