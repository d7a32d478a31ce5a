// Devices measured alone: the figures a product row shows.

#include "compiler/device_measure.h"

#include <gtest/gtest.h>

#include "compile_rig.h"
#include "compiler/compile_messages.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::HandPart;
using testing::HandStar;

struct Preset {
  explicit Preset(int k) { EXPECT_TRUE(ApplyPreset(k, List, Dialogs)); }
  const DeviceRecords& Devices() const { return List.Devices(); }
  DeviceList List{[](TBaseDevice& d) { return PrepareCompiledPart(d); }};
  testing::ScriptedDialogs Dialogs;
};

TEST(MeasureDevice, AShellBreaksAboveItsStartAfterItsLift) {
  const Preset preset(6);
  const Result<DeviceMeasure> m = MeasureDevice(601, preset.Devices(), 1.0f);
  ASSERT_TRUE(m) << m.Message();
  const CueExtent& e = m.Value().Extent;
  EXPECT_FALSE(m.Value().Cut);
  ASSERT_TRUE(e.Seen && e.Broke);
  EXPECT_GT(e.BreakFrame, 10u);
  EXPECT_GT(e.BreakHeight, 1.0);
  EXPECT_LE(e.BreakHeight, e.Height);
  EXPECT_GT(e.LastFrame, e.BreakFrame);
}

// Devices loaded at different moments are prepared from the clock, each differently; the
// measurement prepares them again from its seed and leaves the process's generator alone.
TEST(MeasureDevice, RepeatsWhateverTheLoadAndLeavesTheProcessGeneratorAlone) {
  const Preset first(1);
  SetRandomSeed(12345);
  const Result<DeviceMeasure> a = MeasureDevice(101, first.Devices(), 1.0f);
  EXPECT_EQ(RandomSeed(), 12345u);
  EXPECT_FALSE(SeededModeEnabled());
  const Preset second(1);
  ASSERT_NE(first.Devices()[0]->Compiled, second.Devices()[0]->Compiled);
  const Result<DeviceMeasure> b = MeasureDevice(101, second.Devices(), 1.0f);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a.Value().Extent.LastFrame, b.Value().Extent.LastFrame);
  EXPECT_EQ(a.Value().Extent.Radius, b.Value().Extent.Radius);
  EXPECT_EQ(a.Value().Extent.Height, b.Value().Extent.Height);
  EXPECT_EQ(a.Value().Extent.BreakFrame, b.Value().Extent.BreakFrame);
  EXPECT_EQ(a.Value().Extent.BreakHeight, b.Value().Extent.BreakHeight);
  // Another seed draws other stars.
  const Result<DeviceMeasure> c = MeasureDevice(101, second.Devices(), 1.0f, 77);
  ASSERT_TRUE(c);
  EXPECT_NE(a.Value().Extent.Radius, c.Value().Extent.Radius);
}

TEST(MeasureParts, ADeviceWithoutAChainHasNoBreak) {
  auto plain = HandPart(5, 2, 10, {HandStar{0.01f, 0.02f, 0, 10}});
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> { return c == 5 ? plain : nullptr; };
  const Result<DeviceMeasure> m = MeasureParts(5, lookup, 1.0f);
  ASSERT_TRUE(m) << m.Message();
  EXPECT_TRUE(m.Value().Extent.Seen);
  EXPECT_FALSE(m.Value().Extent.Broke);
}

TEST(MeasureParts, MissingDevicesAndCyclesAreRefused) {
  auto a = HandPart(1, 2, 2, {HandStar{0, 0, 0, 2}});
  auto b = HandPart(2, 2, 2, {HandStar{0, 0, 0, 2}});
  a->NextEffExists = 1;
  a->NextEffCode = 2;
  b->NextEffExists = 1;
  b->NextEffCode = 1;
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> {
    return c == 1 ? a : c == 2 ? b : nullptr;
  };
  const Result<DeviceMeasure> missing = MeasureParts(3, lookup, 1.0f);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.Message(), NoDeviceMessage(3));
  const Result<DeviceMeasure> cycle = MeasureParts(1, lookup, 1.0f);
  ASSERT_FALSE(cycle);
  EXPECT_EQ(cycle.Message(), kRecursivityRefusal);
}

TEST(MeasureParts, ADeviceThatRunsOnIsMeasuredUpToTheBound) {
  auto slow = HandPart(2, 2, 40'000, {HandStar{0, 0, 0, 40'000}});
  const DeviceLookup lookup = [&](int32_t c) -> std::shared_ptr<const TCompDevice> { return c == 2 ? slow : nullptr; };
  const Result<DeviceMeasure> m = MeasureParts(2, lookup, 1.0f);
  ASSERT_TRUE(m) << m.Message();
  EXPECT_TRUE(m.Value().Cut);
  EXPECT_LT(m.Value().Extent.LastFrame, kMeasureMaxFrames);
}

DeviceRecords Chain() {
  DeviceRecords devices;
  for (int32_t code : {1, 2, 3}) devices.push_back(std::make_unique<TBaseDevice>(testing::FormDevice(code)));
  devices[0]->NextParExists = true;
  devices[0]->NextParCode = 2;
  devices[0]->NextParStart = 50;
  for (auto& d : devices) EXPECT_TRUE(PrepareCompiledPart(*d));
  return devices;
}

TEST(DeviceMeasureCache, MeasuresAgainOnlyWhenTheChainTheScaleOrTheSeedChanges) {
  DeviceRecords devices = Chain();
  DeviceMeasureCache cache;
  ASSERT_TRUE(cache.Measure(1, devices, 1.0f));
  ASSERT_TRUE(cache.Measure(1, devices, 1.0f));
  EXPECT_EQ(cache.Compiles(), 1u);
  // A device outside the chain changes nothing.
  ASSERT_TRUE(PrepareCompiledPart(*devices[2]));
  ASSERT_TRUE(cache.Measure(1, devices, 1.0f));
  EXPECT_EQ(cache.Compiles(), 1u);
  // An edit of a device down the chain makes a new compiled part.
  devices[1]->StarQuantity = 7;
  ASSERT_TRUE(PrepareCompiledPart(*devices[1]));
  ASSERT_TRUE(cache.Measure(1, devices, 1.0f));
  EXPECT_EQ(cache.Compiles(), 2u);
  ASSERT_TRUE(cache.Measure(1, devices, 0.5f));
  EXPECT_EQ(cache.Compiles(), 3u);
  ASSERT_TRUE(cache.Measure(1, devices, 0.5f, 99));
  EXPECT_EQ(cache.Compiles(), 4u);
  EXPECT_FALSE(cache.Measure(7, devices, 1.0f));
  EXPECT_EQ(cache.Compiles(), 4u);
}

}  // namespace
}  // namespace orvane
