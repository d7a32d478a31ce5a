#include "model/color_editor.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

using testing::ScriptedDialogs;

constexpr const char* kCreate = "Creation of color and effect segment";
constexpr const char* kEdit = "Editing of color and effect segment";
constexpr const char* kInitialPrompt = "Enter initial position in star's life percentage (%)";
constexpr const char* kFinalPrompt = "Enter final position in star's life percentage (%)";

struct Answers {
  std::optional<std::string> Initial = "0";
  std::optional<std::string> Final = "100";
  bool FadeOut = false;
  bool MixColor = false;
  bool Blink = false;
  std::vector<std::optional<uint32_t>> Colors{0x0000FFu};
};

DialogAnswer YesNo(bool yes) { return yes ? DialogAnswer::Yes : DialogAnswer::No; }

void Script(ScriptedDialogs& d, const Answers& a) {
  d.Texts.push_back(a.Initial);
  d.Texts.push_back(a.Final);
  d.Answers.insert(d.Answers.end(), {YesNo(a.FadeOut), YesNo(a.MixColor), YesNo(a.Blink)});
  d.Colors.insert(d.Colors.end(), a.Colors.begin(), a.Colors.end());
}

SegmentList ThreeSegments() {
  return {NewColorSegment(0, 30, kFadeOut, 0x0000FF, 0x0000FF), NewColorSegment(30, 60, kMixColor, 0x00FF00, 0xFF0000),
          NewColorSegment(60, 100, kBlink, 0xFFFFFF, 0xFFFFFF)};
}

TEST(ColorEditorOpen, FillsOneRowPerSegmentInOrder) {
  ScriptedDialogs d;
  const ColorEditor e(d, ThreeSegments());
  ASSERT_EQ(e.Rows().size(), 3u);
  EXPECT_EQ(e.Rows()[1], (ColorRow{30, 60, kMixColor, 0x00FF00, 0xFF0000}));
  EXPECT_EQ(e.Texts(2).Caption, "60");
  EXPECT_EQ(e.Texts(2).SubItems[3], "si");
  EXPECT_EQ(e.Selected(), std::nullopt);
  EXPECT_EQ(e.AntsPhase(), 128);
}

TEST(ColorEditorAdd, FirstAddProposesWholeLifeAndAsksInOrder) {
  ScriptedDialogs d;
  ColorEditor e(d);
  Script(d, {.Initial = "0", .Final = "100 %", .FadeOut = true, .Blink = true, .Colors = {0x00FF8000u}});
  ASSERT_TRUE(e.Add());

  ASSERT_EQ(d.Inputs.size(), 2u);
  EXPECT_EQ(d.Inputs[0].Title, kCreate);
  EXPECT_EQ(d.Inputs[0].Prompt, kInitialPrompt);
  EXPECT_EQ(d.Inputs[0].Initial, "0");
  EXPECT_EQ(d.Inputs[1].Title, kCreate);
  EXPECT_EQ(d.Inputs[1].Prompt, kFinalPrompt);
  EXPECT_EQ(d.Inputs[1].Initial, "100");
  ASSERT_EQ(d.Messages.size(), 3u);
  EXPECT_EQ(d.Messages[0].Text, "Does the star in this segment feature a FadeOut effect?");
  EXPECT_EQ(d.Messages[1].Text, "Does the star in this segment feature a color transition (MixColor) effect?");
  EXPECT_EQ(d.Messages[2].Text, "Does the star in this segment feature a Blink effect?");
  for (const auto& m : d.Messages) {
    EXPECT_EQ(m.Kind, DialogKind::Confirmation);
    EXPECT_EQ(m.Buttons, DialogButtons::YesNo);
  }
  EXPECT_EQ(d.ColorStarts, std::vector<uint32_t>{0u});  // one dialog: no transition

  ASSERT_EQ(e.Rows().size(), 1u);
  EXPECT_EQ(e.Rows()[0], (ColorRow{0, 100, kFadeOut | kBlink, 0x00FF8000, 0x00FF8000}));
  const ColorRowTexts t = e.Texts(0);
  EXPECT_EQ(t.SubItems[1], "si");
  EXPECT_EQ(t.SubItems[2], "no");
  EXPECT_EQ(t.SubItems[3], "si");
}

TEST(ColorEditorAdd, LaterAddsProposeNothingAndStartOnTheLastColour) {
  ScriptedDialogs d;
  ColorEditor e(d);
  Script(d, {.Colors = {0x00112233u}});
  ASSERT_TRUE(e.Add());
  d.Clear();
  Script(d, {.Initial = "20", .Final = "40", .Colors = {0x00445566u}});
  ASSERT_TRUE(e.Add());
  EXPECT_EQ(d.Inputs[0].Initial, "");
  EXPECT_EQ(d.Inputs[1].Initial, "");
  EXPECT_EQ(d.ColorStarts, std::vector<uint32_t>{0x00112233u});
  EXPECT_EQ(e.Rows()[1], (ColorRow{20, 40, 0, 0x00445566, 0x00445566}));
}

TEST(ColorEditorAdd, RefusedOrCancelledAnswersAddNothing) {
  {
    ScriptedDialogs d;
    ColorEditor e(d);
    d.Texts.push_back("101");
    EXPECT_FALSE(e.Add());
    EXPECT_EQ(d.OnlyMessage().Text, "Error, specify a valid number.");
    EXPECT_EQ(d.Inputs.size(), 1u);
    EXPECT_TRUE(e.Rows().empty());
  }
  {
    ScriptedDialogs d;
    ColorEditor e(d);
    d.Texts.insert(d.Texts.end(), {"10", "abc"});
    EXPECT_FALSE(e.Add());
    EXPECT_EQ(d.OnlyMessage().Text, "Error, specify a valid number.");
    EXPECT_TRUE(e.Rows().empty());
  }
  {
    ScriptedDialogs d;
    ColorEditor e(d);
    d.Texts.push_back(std::nullopt);
    EXPECT_FALSE(e.Add());
    EXPECT_TRUE(d.Messages.empty());
    EXPECT_EQ(d.Inputs.size(), 1u);
  }
  {
    ScriptedDialogs d;
    ColorEditor e(d);
    Script(d, {.Colors = {std::nullopt}});
    EXPECT_FALSE(e.Add());
    EXPECT_TRUE(e.Rows().empty());
    EXPECT_EQ(e.DialogColor(), 0u);
  }
}

TEST(ColorEditorAdd, SixthSegmentIsRefusedButModifyAndDeleteStillWork) {
  ScriptedDialogs d;
  ColorEditor e(d);
  for (int i = 0; i < 5; ++i) {
    Script(d, {.Initial = std::to_string(i * 20), .Final = std::to_string(i * 20 + 20)});
    ASSERT_TRUE(e.Add());
  }
  d.Clear();
  EXPECT_FALSE(e.Add());
  const auto& m = d.OnlyMessage();
  EXPECT_EQ(m.Text, "It's not possible to create more than 5 color and effect segments.");
  EXPECT_EQ(m.Kind, DialogKind::Information);
  EXPECT_EQ(m.Buttons, DialogButtons::Ok);
  EXPECT_TRUE(d.Inputs.empty());

  e.Select(4);
  Script(d, {.Initial = "85", .Final = "95"});
  EXPECT_TRUE(e.Modify());
  EXPECT_EQ(e.Rows()[4].InitialPos, 85);
  d.Answers.push_back(DialogAnswer::Yes);
  EXPECT_TRUE(e.Delete());
  EXPECT_EQ(e.Rows().size(), 4u);
}

TEST(ColorEditorAdd, TransitionToTheSameColourIsNoTransition) {
  ScriptedDialogs d;
  ColorEditor e(d);
  Script(d, {.MixColor = true, .Colors = {0x00336699u, 0x00336699u}});
  ASSERT_TRUE(e.Add());
  EXPECT_EQ(d.ColorStarts, (std::vector<uint32_t>{0u, 0x00336699u}));
  EXPECT_EQ(e.Rows()[0].Flags, 0);
  EXPECT_EQ(e.Texts(0).SubItems[2], "no");
}

TEST(ColorEditorAdd, CancelledSecondColourKeepsTransitionWithInitialColour) {
  ScriptedDialogs d;
  ColorEditor e(d);
  Script(d, {.MixColor = true, .Colors = {0x00336699u, std::nullopt}});
  ASSERT_TRUE(e.Add());
  EXPECT_EQ(e.Rows()[0], (ColorRow{0, 100, kMixColor, 0x00336699, 0x00336699}));
  const ColorRowTexts t = e.Texts(0);
  EXPECT_EQ(t.SubItems[2], "si");
  EXPECT_EQ(t.SubItems[kInitialColorSubItem], t.SubItems[kFinalColorSubItem]);
}

TEST(ColorEditorAdd, TransitionTakesTheSecondColour) {
  ScriptedDialogs d;
  ColorEditor e(d);
  Script(d, {.MixColor = true, .Colors = {0x000000FFu, 0x00FF0000u}});
  ASSERT_TRUE(e.Add());
  EXPECT_EQ(e.Rows()[0], (ColorRow{0, 100, kMixColor, 0x000000FF, 0x00FF0000}));
  EXPECT_EQ(e.DialogColor(), 0x00FF0000u);
}

TEST(ColorEditorModifyAndDelete, NeedASelection) {
  for (const bool modify : {true, false}) {
    ScriptedDialogs d;
    ColorEditor e(d, ThreeSegments());
    EXPECT_FALSE(modify ? e.Modify() : e.Delete());
    const auto& m = d.OnlyMessage();
    EXPECT_EQ(m.Text,
              modify ? "Select from the list the item to be edited." : "Select from the list the item to be deleted.");
    EXPECT_EQ(m.Kind, DialogKind::Information);
    EXPECT_EQ(m.Buttons, DialogButtons::Ok);
    EXPECT_EQ(e.Rows().size(), 3u);
  }
}

TEST(ColorEditorModify, PrefillsTheRowAndStartsDialogsOnItsColours) {
  ScriptedDialogs d;
  ColorEditor e(d, ThreeSegments());
  e.Select(1);
  Script(d, {.Initial = "35", .Final = "65", .FadeOut = true, .MixColor = true, .Colors = {0x00000080u, 0x00008000u}});
  ASSERT_TRUE(e.Modify());
  ASSERT_EQ(d.Inputs.size(), 2u);
  EXPECT_EQ(d.Inputs[0].Title, kEdit);
  EXPECT_EQ(d.Inputs[0].Initial, "30");
  EXPECT_EQ(d.Inputs[1].Title, kEdit);
  EXPECT_EQ(d.Inputs[1].Initial, "60");
  EXPECT_EQ(d.ColorStarts, (std::vector<uint32_t>{0x00FF00u, 0xFF0000u}));
  EXPECT_EQ(e.Rows()[1], (ColorRow{35, 65, kFadeOut | kMixColor, 0x000080, 0x008000}));
  EXPECT_EQ(e.Texts(1).Caption, "35");
  EXPECT_EQ(e.Texts(1).SubItems[kFinalColorSubItem], "Green");
  // The frame follows the row's new span: 185.5 and 344.5 round to even.
  EXPECT_EQ(e.Selection(), (SelectionRect{186, 0, 344, 47}));
}

TEST(ColorEditorModify, OldFlagsAreNotDefaultsAndCancelChangesNothing) {
  ScriptedDialogs d;
  ColorEditor e(d, ThreeSegments());
  e.Select(1);
  Script(d, {.Initial = "30", .Final = "60", .Colors = {std::nullopt}});
  EXPECT_FALSE(e.Modify());
  EXPECT_EQ(e.Rows()[1], (ColorRow{30, 60, kMixColor, 0x00FF00, 0xFF0000}));

  d.Clear();
  Script(d, {.Initial = "30", .Final = "60", .Colors = {0x00FF00u}});
  ASSERT_TRUE(e.Modify());
  EXPECT_EQ(e.Rows()[1], (ColorRow{30, 60, 0, 0x00FF00, 0x00FF00}));
  // Without a transition the second dialog stays shut but is set to the old final colour.
  EXPECT_EQ(d.ColorStarts.size(), 1u);
  EXPECT_EQ(e.DialogColor(), 0xFF0000u);
}

TEST(ColorEditorDelete, AsksWithThePositionsAndDeletesOnYes) {
  ScriptedDialogs d;
  ColorEditor e(d, ThreeSegments());
  e.Select(1);
  d.Answers.push_back(DialogAnswer::No);
  EXPECT_FALSE(e.Delete());
  const auto& m = d.OnlyMessage();
  EXPECT_EQ(m.Text, "Are you sure you wish to delete the color and effect segment in position (30%,60%)?");
  EXPECT_EQ(m.Kind, DialogKind::Confirmation);
  EXPECT_EQ(m.Buttons, DialogButtons::YesNo);
  EXPECT_EQ(e.Rows().size(), 3u);

  d.Answers.push_back(DialogAnswer::Yes);
  EXPECT_TRUE(e.Delete());
  ASSERT_EQ(e.Rows().size(), 2u);
  EXPECT_EQ(e.Rows()[1].InitialPos, 60);
  EXPECT_EQ(e.Selected(), std::nullopt);
  EXPECT_EQ(e.Selection(), SelectionRect{});
}

TEST(ColorEditorMove, LastRowDroppedOnTheFirstGoesFirstAndAcceptWritesItFirst) {
  ScriptedDialogs d;
  ColorEditor e(d, ThreeSegments());
  e.Select(2);
  e.MoveRows({2}, 0);
  ASSERT_EQ(e.Rows().size(), 3u);
  EXPECT_EQ(e.Rows()[0].InitialPos, 60);
  EXPECT_EQ(e.Rows()[1].InitialPos, 0);
  EXPECT_EQ(e.Rows()[2].InitialPos, 30);
  EXPECT_EQ(e.Selected(), std::nullopt);
  const SegmentList out = e.Accept();
  EXPECT_EQ(out[0], NewColorSegment(60, 100, kBlink, 0xFFFFFF, 0xFFFFFF));
}

TEST(ColorEditorMove, DropOutsideTheRowsAppendsAndOnItselfKeepsTheOrder) {
  ScriptedDialogs d;
  ColorEditor e(d, ThreeSegments());
  e.MoveRows({0}, std::nullopt);
  EXPECT_EQ(e.Rows()[0].InitialPos, 30);
  EXPECT_EQ(e.Rows()[2].InitialPos, 0);
  e.MoveRows({1}, 1);
  EXPECT_EQ(e.Rows()[1].InitialPos, 60);
  e.MoveRows({0, 2}, 1);  // both before the middle row, in their order
  EXPECT_EQ(e.Rows()[0].InitialPos, 30);
  EXPECT_EQ(e.Rows()[1].InitialPos, 0);
  EXPECT_EQ(e.Rows()[2].InitialPos, 60);
  e.MoveRows({7}, 0);  // a stale index moves nothing
  EXPECT_EQ(e.Rows()[0].InitialPos, 30);
}

TEST(ColorEditorAccept, MakesSegmentsWithDerivedFieldsAndCancelLeavesTheListAlone) {
  const SegmentList original = ThreeSegments();
  SegmentList editSegments = original;
  ScriptedDialogs d;
  {
    ColorEditor e(d, editSegments);
    Script(d, {.Initial = "10", .Final = "20", .MixColor = true, .Colors = {0x000000FFu, 0x00000080u}});
    ASSERT_TRUE(e.Add());
    e.Select(0);
    d.Answers.push_back(DialogAnswer::Yes);
    ASSERT_TRUE(e.Delete());
    e.MoveRows({2}, 0);

    const SegmentList accepted = e.Accept();
    ASSERT_EQ(accepted.size(), 3u);
    EXPECT_EQ(accepted[0], NewColorSegment(10, 20, kMixColor, 0x0000FF, 0x000080));
    EXPECT_FLOAT_EQ(accepted[0].ColorRate[0], -1270.0f);
    EXPECT_EQ(accepted[1], original[1]);
    EXPECT_EQ(accepted[2], original[2]);
  }
  // The editor was closed without Accept being applied: cancel.
  EXPECT_EQ(editSegments, original);
}

}  // namespace
}  // namespace orvane
