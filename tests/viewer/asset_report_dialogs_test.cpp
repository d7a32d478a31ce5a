#include "viewer/asset_report_dialogs.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace orvane::testing {
namespace {

TEST(AssetReportDialogs, EachReportIsAnOkBoxOfItsKindWithItsTextAndCaption) {
  ScriptedDialogs dialogs;
  const AssetReporter reporter = ReportToDialogs(dialogs);
  SendReport(reporter, AssetReportKind::Warning, "Unsupported file version.", "Warning");
  SendReport(reporter, AssetReportKind::Error, "Error reading palette", "BMP Unit");
  ASSERT_EQ(dialogs.Messages.size(), 2u);
  EXPECT_EQ(dialogs.Messages[0].Kind, DialogKind::Warning);
  EXPECT_EQ(dialogs.Messages[0].Buttons, DialogButtons::Ok);
  EXPECT_EQ(dialogs.Messages[0].Text, "Unsupported file version.");
  EXPECT_EQ(dialogs.Messages[0].Caption, "Warning");
  EXPECT_EQ(dialogs.Messages[1].Kind, DialogKind::Error);
  EXPECT_EQ(dialogs.Messages[1].Buttons, DialogButtons::Ok);
  EXPECT_EQ(dialogs.Messages[1].Text, "Error reading palette");
  EXPECT_EQ(dialogs.Messages[1].Caption, "BMP Unit");
}

}  // namespace
}  // namespace orvane::testing
