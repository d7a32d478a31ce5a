#pragma once
// An asset reporter that records every report, for checking kind, text and caption.

#include <gtest/gtest.h>

#include <vector>

#include "assets/asset_report.h"

namespace orvane::testing {

class RecordingReports {
 public:
  std::vector<AssetReport> Messages;

  AssetReporter Reporter() {
    return [this](const AssetReport& report) { Messages.push_back(report); };
  }
  // The only report so far; fails the test when there is not exactly one.
  const AssetReport& OnlyMessage() const {
    EXPECT_EQ(Messages.size(), 1u);
    static const AssetReport kNone{};
    return Messages.empty() ? kNone : Messages.back();
  }
  void Clear() { Messages.clear(); }
};

}  // namespace orvane::testing
