#include "model/presets.h"

#include <gtest/gtest.h>

#include "device_test_helpers.h"
#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

using testing::ExpectSameRecord;
using testing::RealPrepare;
using testing::ScriptedDialogs;

std::vector<int32_t> Codes(const DeviceList& list) {
  std::vector<int32_t> codes;
  for (const auto& d : list.Devices()) codes.push_back(d->Definition.Code);
  return codes;
}

TEST(Presets, EveryPresetBuildsWithoutAWarning) {
  const std::vector<std::vector<int32_t>> expected = {{101, 102, 103, 104}, {201, 202, 203, 204}, {301, 302, 303},
                                                      {401, 402, 403, 404}, {501, 502, 503},      {601, 602, 603, 604}};
  for (int k = 1; k <= kPresetCount; ++k) {
    SCOPED_TRACE("preset " + std::to_string(k));
    ScriptedDialogs dialogs;
    DeviceList list(RealPrepare());
    ASSERT_TRUE(ApplyPreset(k, list, dialogs));
    EXPECT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front().Text;
    EXPECT_EQ(Codes(list), expected[k - 1]);
    EXPECT_FALSE(list.RedFont());
    EXPECT_EQ(list.Selection(), 0u);
    EXPECT_EQ(list.Form().DevCode, std::to_string(expected[k - 1][0]));
    EXPECT_EQ(list.Focus(), FormFocus::RenderBt);
    EXPECT_EQ(list.EditSegments(), list.Devices()[0]->ColorData);
    for (size_t i = 0; i < list.Devices().size(); ++i) {
      EXPECT_EQ(list.Items()[i].Image, i == 0 ? 0 : 1);
      EXPECT_NE(list.Devices()[i]->Compiled, nullptr);
    }
  }
}

TEST(Presets, RecordsHoldTheTableValues) {
  ScriptedDialogs dialogs;
  DeviceList list(RealPrepare());
  ApplyPreset(1, list, dialogs);
  const TBaseDevice& d = *list.Devices()[0];
  EXPECT_EQ(d.BestY, -2.0f);
  EXPECT_EQ(d.ProjectionXY, 90);
  EXPECT_EQ(d.OpeningXY, 20);
  EXPECT_EQ(d.OpeningXZ, 180);
  EXPECT_EQ(d.StarQuantity, 80);
  EXPECT_EQ(d.StarKind, StarKind::Progressive);
  EXPECT_TRUE(d.TrailExists);
  EXPECT_EQ(d.TrailLife, 8);
  EXPECT_EQ(d.StarWeight, 30);
  EXPECT_EQ(d.StarSpeed, 35);
  EXPECT_EQ(d.StarResistance, 15);
  EXPECT_EQ(d.StarSize, 8);
  EXPECT_EQ(d.SpeedKind, SpeedKind::Random);
  EXPECT_EQ(d.EffectLength, 8000);
  EXPECT_EQ(d.MinStarLife, 25);
  EXPECT_EQ(d.MaxStarLife, 75);
  EXPECT_FALSE(d.NextEffExists);
  EXPECT_EQ(d.NextEffCode, 0);
  EXPECT_TRUE(d.NextParExists);
  EXPECT_EQ(d.NextParCode, 102);
  EXPECT_EQ(d.NextParStart, 100);
  EXPECT_EQ(d.ColorData, (SegmentList{NewColorSegment(0, 50, kMixColor, 0x80FF80, 0x80FFFF),
                                      NewColorSegment(50, 100, kBlink, 0x80FFFF, 0x80FFFF)}));
  // Trail off still stores the trail length; the next device starts at the origin again.
  EXPECT_FALSE(list.Devices()[1]->TrailExists);
  EXPECT_EQ(list.Devices()[1]->TrailLife, 100);
  EXPECT_EQ(list.Devices()[1]->BestY, 0.0f);
  EXPECT_EQ(list.Devices()[2]->NextEffStart, 13);

  ApplyPreset(6, list, dialogs);
  const TBaseDevice& last = *list.Devices()[3];
  EXPECT_EQ(last.Definition.Code, 604);
  EXPECT_TRUE(last.ColorData.empty());
  EXPECT_EQ(last.StarSpeed, 0);
  EXPECT_EQ(list.Devices()[2]->MaxStarLife, 14);
}

TEST(Presets, PressingTwiceGivesTheSameList) {
  ScriptedDialogs dialogs;
  DeviceList once(RealPrepare()), twice(RealPrepare());
  ApplyPreset(4, once, dialogs);
  ApplyPreset(2, twice, dialogs);
  ApplyPreset(4, twice, dialogs);
  ApplyPreset(4, twice, dialogs);
  EXPECT_TRUE(dialogs.Messages.empty());
  ASSERT_EQ(once.Devices().size(), twice.Devices().size());
  for (size_t i = 0; i < once.Devices().size(); ++i) {
    TBaseDevice expected = *once.Devices()[i];
    expected.Definition.Credits.Date = twice.Devices()[i]->Definition.Credits.Date;
    ExpectSameRecord(expected, *twice.Devices()[i]);
  }
  EXPECT_EQ(once.Form(), twice.Form());
}

TEST(Presets, UnknownPresetChangesNothing) {
  ScriptedDialogs dialogs;
  DeviceList list(RealPrepare());
  ApplyPreset(3, list, dialogs);
  EXPECT_FALSE(ApplyPreset(0, list, dialogs));
  EXPECT_FALSE(ApplyPreset(7, list, dialogs));
  EXPECT_EQ(list.Devices().size(), 3u);
  EXPECT_TRUE(PresetDevices(7).empty());
}

}  // namespace
}  // namespace orvane
