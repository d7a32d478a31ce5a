#include "show/cue_edit.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"
#include "model/color_segment.h"
#include "support/failure_text.h"
#include "support/form_device.h"

namespace orvane {
namespace {

using testing::FailureText;

Cue At(int64_t ms, int32_t code, std::string label = {}) {
  Cue cue;
  cue.TimeMs = ms;
  cue.Code = code;
  cue.Label = std::move(label);
  return cue;
}

std::vector<Cue> Sorted(std::vector<Cue> cues) {
  SortCuesByTime(cues);
  return cues;
}

DeviceRecords Devices() {
  DeviceRecords devices;
  for (int32_t code : {101, 102}) {
    auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
    d->ColorData = {NewColorSegment(0, 100, 0, code == 101 ? 0x0000FFu : 0x00FF00u, 0)};
    EXPECT_TRUE(PrepareCompiledPart(*d));
    devices.push_back(std::move(d));
  }
  return devices;
}

// Applies the change, checks that reverting gives the list back exactly, applies again.
std::vector<Cue> AppliedAndReversible(std::vector<Cue> cues, const CueListChange& change) {
  const std::vector<Cue> before = cues;
  ApplyChange(cues, change);
  std::vector<Cue> reverted = cues;
  RevertChange(reverted, change);
  EXPECT_EQ(reverted, before);
  return cues;
}

std::vector<int64_t> Times(const std::vector<Cue>& cues) {
  std::vector<int64_t> t;
  for (const Cue& c : cues) t.push_back(c.TimeMs);
  return t;
}

TEST(CueEdit, SortKeepsTheOrderOfEqualTimesAndNumbersLines) {
  std::vector<Cue> cues = Sorted({At(3000, 1, "c"), At(1000, 1, "a"), At(3000, 1, "d"), At(2000, 1, "b")});
  EXPECT_EQ(Times(cues), (std::vector<int64_t>{1000, 2000, 3000, 3000}));
  EXPECT_EQ(cues[2].Label, "c");
  EXPECT_EQ(cues[3].Label, "d");
  EXPECT_EQ(cues[0].Line, 2);
  EXPECT_EQ(cues[3].Line, 5);
}

TEST(CueEdit, AddPlacesTheCueAfterTheCuesOfItsTimeAndUndoes) {
  const std::vector<Cue> cues = Sorted({At(1000, 1, "a"), At(2000, 1, "b"), At(3000, 1, "c")});
  CueListChange change = AddCueChange(cues, At(2000, 2, "new"));
  ASSERT_EQ(change.Added.size(), 1u);
  EXPECT_EQ(change.Added[0].Index, 2u);
  std::vector<Cue> after = AppliedAndReversible(cues, change);
  EXPECT_EQ(after[2].Label, "new");
  EXPECT_EQ(after[2].Line, 4);
  // Times are clamped into the show's range.
  EXPECT_EQ(AddCueChange(cues, At(-5, 2)).Added[0].Value.TimeMs, 0);
}

TEST(CueEdit, DeleteAndDuplicateWorkOnAnySelection) {
  const std::vector<Cue> cues = Sorted({At(1000, 1, "a"), At(2000, 1, "b"), At(3000, 1, "c"), At(4000, 1, "d")});
  std::vector<Cue> after = AppliedAndReversible(cues, DeleteCuesChange(cues, {3, 1, 1, 99}));
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0].Label, "a");
  EXPECT_EQ(after[1].Label, "c");

  CueListChange dup = DuplicateCuesChange(cues, {2, 0});
  after = AppliedAndReversible(cues, dup);
  ASSERT_EQ(after.size(), 6u);
  EXPECT_EQ(after[1].Label, "a");
  EXPECT_EQ(after[4].Label, "c");
  ASSERT_EQ(dup.Added.size(), 2u);
  EXPECT_EQ(dup.Added[0].Index, 1u);
  EXPECT_EQ(dup.Added[1].Index, 4u);
  EXPECT_TRUE(DeleteCuesChange(cues, {}).Empty());
}

TEST(CueEdit, MoveResortsAndSelectsTheMovedCue) {
  const std::vector<Cue> cues = Sorted({At(1000, 1, "a"), At(2000, 1, "b"), At(3000, 1, "c")});
  CueListChange change = MoveCueChange(cues, 0, 2500);
  std::vector<Cue> after = AppliedAndReversible(cues, change);
  EXPECT_EQ(Times(after), (std::vector<int64_t>{2000, 2500, 3000}));
  EXPECT_EQ(after[1].Label, "a");
  EXPECT_EQ(change.Added[0].Index, 1u);
  EXPECT_TRUE(MoveCueChange(cues, 1, 2000).Empty());
  EXPECT_TRUE(MoveCueChange(cues, 7, 2000).Empty());
}

TEST(CueEdit, FieldEditsReadLikeTheCueFileAndRefuseWithItsMessage) {
  const DeviceRecords devices = Devices();
  std::vector<Cue> cues = Sorted({At(1000, 101, "a"), At(2000, 102, "b"), At(3000, 101, "c")});

  Result<CueListChange> time = SetCueFieldChange(cues, 2, CueField::Time, "0:01.5", &devices);
  ASSERT_TRUE(time.Ok()) << time.Message();
  std::vector<Cue> after = AppliedAndReversible(cues, time.Value());
  EXPECT_EQ(Times(after), (std::vector<int64_t>{1000, 1500, 2000}));
  EXPECT_EQ(after[1].Label, "c");

  Result<CueListChange> x = SetCueFieldChange(cues, 0, CueField::X, "0,25", &devices);
  ASSERT_TRUE(x.Ok()) << x.Message();
  after = AppliedAndReversible(cues, x.Value());
  EXPECT_EQ(after[0].X, 0.25f);
  EXPECT_EQ(after[0].Label, "a");
  // Clearing a coordinate gives the device's own back.
  Result<CueListChange> clear = SetCueFieldChange(after, 0, CueField::X, "", &devices);
  ASSERT_TRUE(clear.Ok());
  ApplyChange(after, clear.Value());
  EXPECT_FALSE(after[0].X.has_value());

  Result<CueListChange> label = SetCueFieldChange(cues, 1, CueField::Label, " comma, \"quote\"", &devices);
  after = AppliedAndReversible(cues, label.Value());
  EXPECT_EQ(after[1].Label, " comma, \"quote\"");

  EXPECT_EQ(FailureText(SetCueFieldChange(cues, 1, CueField::Time, "soon", &devices)),
            "cues.csv line 3: time \"soon\" is not a time in seconds.");
  EXPECT_EQ(FailureText(SetCueFieldChange(cues, 2, CueField::Code, "512", &devices)),
            "cues.csv line 4: no device has code 512.");
  EXPECT_EQ(FailureText(SetCueFieldChange(cues, 0, CueField::Z, "11", &devices)),
            "cues.csv line 2: z 11 is outside the show's range (-10.922 to 10.922).");
  EXPECT_FALSE(SetCueFieldChange(cues, 0, CueField::Time, "-1", &devices).Ok());
  // An edit to the same value is no change at all.
  const Result<CueListChange> same = SetCueFieldChange(cues, 0, CueField::Time, "1.000", &devices);
  ASSERT_TRUE(same.Ok());
  EXPECT_TRUE(same.Value().Empty());
}

TEST(CueEdit, TableTextShowsTwoDecimalsAndEditTextKeepsAll) {
  Cue cue = At(12345, 101, "x");
  EXPECT_EQ(CueFieldText(cue, CueField::Time), "12.35");
  EXPECT_EQ(CueFieldEditText(cue, CueField::Time), "12.345");
  EXPECT_EQ(CueFieldText(cue, CueField::Y), "");
  cue.Y = -1.5f;
  EXPECT_EQ(CueFieldText(cue, CueField::Y), "-1.5");
}

TEST(CueEdit, MissingDevicesAndMarkerColours) {
  const DeviceRecords devices = Devices();
  EXPECT_FALSE(CueDeviceMissing(At(0, 101), devices));
  EXPECT_TRUE(CueDeviceMissing(At(0, 103), devices));
  EXPECT_EQ(CueMarkerColor(At(0, 101), devices), 0x0000FFu);
  EXPECT_EQ(CueMarkerColor(At(0, 102), devices), 0x00FF00u);
  EXPECT_FALSE(CueMarkerColor(At(0, 103), devices).has_value());
}

}  // namespace
}  // namespace orvane
