#include "compiler/compile_snapshot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "compile_rig.h"

namespace orvane {
namespace {

using testing::HandPart;

// A device list as the lookup sees it: code -> part, links set by the test.
struct Links {
  std::map<int32_t, std::shared_ptr<TCompDevice>> Parts;

  TCompDevice& Device(int32_t code) {
    auto& p = Parts[code];
    if (!p) p = HandPart(code, 2, 5, {{0, 0, 0, 2}});
    return *p;
  }
  void Effect(int32_t from, int32_t to) {
    Device(to);
    Device(from).NextEffExists = 1;
    Device(from).NextEffCode = to;
  }
  void PerStar(int32_t from, int32_t to) {
    Device(to);
    Device(from).NextParExists = 1;
    Device(from).NextParCode = to;
  }
  DeviceLookup Lookup() const {
    return [this](int32_t code) -> std::shared_ptr<const TCompDevice> {
      const auto it = Parts.find(code);
      return it == Parts.end() ? nullptr : it->second;
    };
  }
  SnapshotStatus Take(int32_t root, CompileSnapshot& snapshot) const { return TakeSnapshot(root, Lookup(), snapshot); }
};

TEST(CompileSnapshotTest, CyclesReachedFromTheRootAreRefused) {
  CompileSnapshot s;
  Links mixed;  // 1 -> 2 for the effect, 2 -> 1 from each star
  mixed.Effect(1, 2);
  mixed.PerStar(2, 1);
  EXPECT_EQ(mixed.Take(1, s), SnapshotStatus::kRecursive);
  EXPECT_EQ(mixed.Take(2, s), SnapshotStatus::kRecursive);

  Links self;
  self.PerStar(4, 4);
  EXPECT_EQ(self.Take(4, s), SnapshotStatus::kRecursive);

  Links deep;  // 1 -> 2 -> 3 -> 4 -> 2
  deep.Effect(1, 2);
  deep.Effect(2, 3);
  deep.PerStar(3, 4);
  deep.Effect(4, 2);
  EXPECT_EQ(deep.Take(1, s), SnapshotStatus::kRecursive);
}

TEST(CompileSnapshotTest, SharedBranchesAndForeignCyclesAreFine) {
  CompileSnapshot s;
  Links diamond;  // 1 -> 2 and 3, both -> 4: 4 is reached twice, no cycle
  diamond.Effect(1, 2);
  diamond.PerStar(1, 3);
  diamond.PerStar(2, 4);
  diamond.Effect(3, 4);
  ASSERT_EQ(diamond.Take(1, s), SnapshotStatus::kReady);
  EXPECT_EQ(s.DeviceCount(), 4u);

  Links apart;  // the root's chain ends; 7 <-> 8 elsewhere in the list
  apart.Effect(5, 6);
  apart.Effect(7, 8);
  apart.PerStar(8, 7);
  ASSERT_EQ(apart.Take(5, s), SnapshotStatus::kReady);
  EXPECT_EQ(s.DeviceCount(), 2u);
  EXPECT_EQ(s.Find(7), nullptr);

  Links missing;  // a link to a code no device has starts nothing
  missing.Device(1).NextEffExists = 1;
  missing.Device(1).NextEffCode = 42;
  ASSERT_EQ(missing.Take(1, s), SnapshotStatus::kReady);
  EXPECT_EQ(s.Find(42), nullptr);
  EXPECT_EQ(s.Root(), s.Find(1));

  // A link that is switched off is no link, whatever code it names.
  Links off;
  off.Device(1).NextEffCode = 1;
  EXPECT_EQ(off.Take(1, s), SnapshotStatus::kReady);

  EXPECT_EQ(missing.Take(9, s), SnapshotStatus::kNoRoot);
}

TEST(CompileSnapshotTest, LongChainsNeedNoDeepStack) {
  Links chain;
  for (int32_t code = 0; code < 100'000; ++code) chain.Effect(code, code + 1);
  CompileSnapshot s;
  ASSERT_EQ(chain.Take(0, s), SnapshotStatus::kReady);
  EXPECT_EQ(s.DeviceCount(), 100'001u);
  chain.Effect(100'000, 0);
  EXPECT_EQ(chain.Take(0, s), SnapshotStatus::kRecursive);
}

TEST(CompileSnapshotTest, KeepsThePartsAfterTheListDropsThem) {
  Links list;
  list.Effect(1, 2);
  CompileSnapshot s;
  ASSERT_EQ(list.Take(1, s), SnapshotStatus::kReady);
  list.Parts.clear();
  ASSERT_NE(s.Find(2), nullptr);
  EXPECT_EQ(s.Find(2)->Part->Code, 2);
  EXPECT_EQ(s.Find(2)->Part.use_count(), 1);
}

TEST(CompileSnapshotTest, AgeFactorsCoverEveryAge) {
  auto part = HandPart(1, 2, 50, {{0, 0, 0, 7}, {0, 0, 0, 30}}, 0.002f);
  CompileSnapshot s;
  SnapshotDevice& d = s.Add(1, part);
  EXPECT_TRUE(d.AgeFactors.empty());  // filled on the compile thread, by the first set
  PrepareSnapshotDevice(d);
  ASSERT_EQ(d.AgeFactors.size(), 30u);
  // e^(k(1-n)) - e^(-kn), falling with age.
  EXPECT_NEAR(d.AgeFactors[0], std::exp(0.002) - 1, 1e-9);
  EXPECT_NEAR(d.AgeFactors[29], (std::exp(0.002) - 1) * std::exp(-0.002 * 29), 1e-9);
}

}  // namespace
}  // namespace orvane
