#include "model/color_editor_row.h"

#include <gtest/gtest.h>

#include "model/color_editor_percent.h"
#include "model/color_segment.h"
#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

using testing::ScriptedDialogs;

TEST(ColorRowTexts, ShowPositionsFlagsAndColourTexts) {
  const ColorRowTexts t = RowTexts({10, 60, kFadeOut | kBlink, 0x0000FF, 0x123456});
  EXPECT_EQ(t.Caption, "10");
  EXPECT_EQ(t.SubItems[0], "60");
  EXPECT_EQ(t.SubItems[1], "si");
  EXPECT_EQ(t.SubItems[2], "no");
  EXPECT_EQ(t.SubItems[3], "si");
  EXPECT_EQ(t.SubItems[4], "");
  EXPECT_EQ(t.SubItems[5], "");
  EXPECT_EQ(t.SubItems[kInitialColorSubItem], "Red");
  EXPECT_EQ(t.SubItems[kFinalColorSubItem], "$00123456");
}

TEST(ColorRowTexts, ColourTextsReadBack) {
  for (uint32_t c : {0x000000u, 0xFFFFFFu, 0xC0C0C0u, 0x808080u, 0x0080FFu, 0xA4A0A0u, 0x00ABCDEFu}) {
    EXPECT_EQ(ColorFromText(ColorText(c)), c) << ColorText(c);
  }
  EXPECT_EQ(ColorFromText("silver"), 0xC0C0C0u);
  EXPECT_EQ(ColorFromText("$ff"), 0xFFu);
  EXPECT_EQ(ColorFromText("Mauve"), std::nullopt);
  EXPECT_EQ(ColorFromText("$"), std::nullopt);
  EXPECT_EQ(ColorFromText("$12G4"), std::nullopt);
  EXPECT_EQ(ColorFromText("$123456789"), std::nullopt);
}

TEST(ColorRowTexts, ColourCellIsInsetInsideItsColumnAndRow) {
  // "Initial color" follows five columns of 90, 90, 70, 70 and 70 pixels.
  const CellRect r = ColorCellRect(390, 70, 17, 34);
  EXPECT_EQ(r.Left, 396);
  EXPECT_EQ(r.Right, 454);
  EXPECT_EQ(r.Top, 19);
  EXPECT_EQ(r.Bottom, 31);
}

TEST(CheckPercent, AcceptsWholeNumbersWithPercentAndBlanks) {
  ScriptedDialogs d;
  EXPECT_EQ(CheckPercent("50 %", d), 50);
  EXPECT_EQ(CheckPercent(" 7%", d), 7);
  EXPECT_EQ(CheckPercent("1 0 0", d), 100);
  EXPECT_EQ(CheckPercent("0", d), 0);
  EXPECT_EQ(CheckPercent("+25", d), 25);
  EXPECT_TRUE(d.Messages.empty());
}

TEST(CheckPercent, RefusesEverythingElseWithTheWarning) {
  for (const char* text : {"101", "-1", "abc", "", " % ", "5.5", "12a", "99999999999", "+-5", "--5"}) {
    ScriptedDialogs d;
    EXPECT_EQ(CheckPercent(text, d), std::nullopt) << text;
    const auto& m = d.OnlyMessage();
    EXPECT_EQ(m.Text, "Error, specify a valid number.");
    EXPECT_EQ(m.Kind, DialogKind::Warning);
    EXPECT_EQ(m.Buttons, DialogButtons::Ok);
  }
}

}  // namespace
}  // namespace orvane
