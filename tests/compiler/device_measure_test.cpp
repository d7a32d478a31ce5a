// Devices measured alone: the figures a product row shows.

#include "compiler/device_measure.h"

#include <gtest/gtest.h>

#include "compile_rig.h"
#include "compiler/compile_messages.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "support/scripted_dialogs.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::HandPart;
using testing::HandStar;

struct Preset {
  explicit Preset(int k) { EXPECT_TRUE(ApplyPreset(k, List, Dialogs)); }
  DeviceLookup Lookup() const {
    return [this](int32_t c) { return List.FindByCode(c); };
  }
  DeviceList List{[](TBaseDevice& d) { return PrepareCompiledPart(d); }};
  testing::ScriptedDialogs Dialogs;
};

TEST(MeasureDevice, AShellBreaksAboveItsStartAfterItsLift) {
  const Preset preset(6);
  const Result<DeviceMeasure> m = MeasureDevice(601, preset.Lookup(), 1.0f);
  ASSERT_TRUE(m) << m.Message();
  const CueExtent& e = m.Value().Extent;
  EXPECT_FALSE(m.Value().Cut);
  ASSERT_TRUE(e.Seen && e.Broke);
  EXPECT_GT(e.BreakFrame, 10u);
  EXPECT_GT(e.BreakHeight, 1.0);
  EXPECT_LE(e.BreakHeight, e.Height);
  EXPECT_GT(e.LastFrame, e.BreakFrame);
}

TEST(MeasureDevice, RepeatsForASeedAndLeavesTheGeneratorAsItWas) {
  const Preset preset(1);
  SetRandomSeed(12345);
  const Result<DeviceMeasure> a = MeasureDevice(101, preset.Lookup(), 1.0f);
  EXPECT_EQ(RandomSeed(), 12345u);
  EXPECT_FALSE(SeededModeEnabled());
  const Result<DeviceMeasure> b = MeasureDevice(101, preset.Lookup(), 1.0f);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a.Value().Extent.LastFrame, b.Value().Extent.LastFrame);
  EXPECT_EQ(a.Value().Extent.Radius, b.Value().Extent.Radius);
  EXPECT_EQ(a.Value().Extent.BreakFrame, b.Value().Extent.BreakFrame);
  EnableSeededMode(9);
  ASSERT_TRUE(MeasureDevice(101, preset.Lookup(), 1.0f));
  EXPECT_TRUE(SeededModeEnabled());
  EXPECT_EQ(RandomSeed(), 9u);
  DisableSeededMode();
}

TEST(MeasureDevice, ADeviceWithoutAChainHasNoBreak) {
  auto plain = HandPart(5, 2, 10, {HandStar{0.01f, 0.02f, 0, 10}});
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> { return c == 5 ? plain : nullptr; };
  const Result<DeviceMeasure> m = MeasureDevice(5, lookup, 1.0f);
  ASSERT_TRUE(m) << m.Message();
  EXPECT_TRUE(m.Value().Extent.Seen);
  EXPECT_FALSE(m.Value().Extent.Broke);
}

TEST(MeasureDevice, MissingDevicesAndCyclesAreRefused) {
  auto a = HandPart(1, 2, 2, {HandStar{0, 0, 0, 2}});
  auto b = HandPart(2, 2, 2, {HandStar{0, 0, 0, 2}});
  a->NextEffExists = 1;
  a->NextEffCode = 2;
  b->NextEffExists = 1;
  b->NextEffCode = 1;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 1 ? a : c == 2 ? b : nullptr;
  };
  const Result<DeviceMeasure> missing = MeasureDevice(3, lookup, 1.0f);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.Message(), NoDeviceMessage(3));
  const Result<DeviceMeasure> cycle = MeasureDevice(1, lookup, 1.0f);
  ASSERT_FALSE(cycle);
  EXPECT_EQ(cycle.Message(), kRecursivityRefusal);
}

TEST(MeasureDevice, AnEndlessDeviceIsMeasuredUpToTheBound) {
  // A star that never dies, relaunched forever by its own chain at its end.
  auto endless = HandPart(1, 2, 50, {HandStar{0, 0, 0, 50, 49}});
  endless->NextParExists = 1;
  endless->NextParCode = 1;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 1 ? endless : nullptr;
  };
  // A chain to itself is a cycle: refused, not run forever.
  EXPECT_FALSE(MeasureDevice(1, lookup, 1.0f));
  auto slow = HandPart(2, 2, 40'000, {HandStar{0, 0, 0, 40'000}});
  const DeviceLookup slowLookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 2 ? slow : nullptr;
  };
  const Result<DeviceMeasure> m = MeasureDevice(2, slowLookup, 1.0f);
  ASSERT_TRUE(m) << m.Message();
  EXPECT_TRUE(m.Value().Cut);
  EXPECT_LT(m.Value().Extent.LastFrame, kMeasureMaxFrames);
}

TEST(DeviceMeasureCache, MeasuresAgainOnlyWhenTheChainTheScaleOrTheSeedChanges) {
  auto root = HandPart(1, 2, 20, {HandStar{0, 0.05f, 0, 20, 5}});
  auto child = HandPart(2, 2, 4, {HandStar{0, 0, 0, 4}});
  root->NextParExists = 1;
  root->NextParCode = 2;
  std::shared_ptr<const TCompDevice> childNow = child;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 1 ? root : c == 2 ? childNow : nullptr;
  };
  DeviceMeasureCache cache;
  ASSERT_TRUE(cache.Measure(1, lookup, 1.0f));
  ASSERT_TRUE(cache.Measure(1, lookup, 1.0f));
  EXPECT_EQ(cache.Compiles(), 1u);
  // An edit of a device down the chain makes a new compiled part.
  childNow = HandPart(2, 2, 8, {HandStar{0, 0, 0, 8}});
  const Result<DeviceMeasure> edited = cache.Measure(1, lookup, 1.0f);
  ASSERT_TRUE(edited);
  EXPECT_EQ(cache.Compiles(), 2u);
  ASSERT_TRUE(cache.Measure(1, lookup, 0.5f));
  EXPECT_EQ(cache.Compiles(), 3u);
  ASSERT_TRUE(cache.Measure(1, lookup, 0.5f, 99));
  EXPECT_EQ(cache.Compiles(), 4u);
  EXPECT_FALSE(cache.Measure(7, lookup, 1.0f));
  EXPECT_EQ(cache.Compiles(), 4u);
}

}  // namespace
}  // namespace orvane
