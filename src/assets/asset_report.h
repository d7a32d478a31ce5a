#pragma once
// How the asset readers tell the user about a file they cannot use. This layer has the
// words (text and caption exactly as the user sees them); whoever loads the assets decides
// how to show them: the viewer forwards each to a message box (viewer/asset_report_dialogs.h),
// tests record them, fuzzers drop them.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace orvane {

enum class AssetReportKind : uint8_t { Warning, Error };

struct AssetReport {
  AssetReportKind Kind = AssetReportKind::Error;
  std::string Text;
  std::string Caption;
};

// An empty reporter shows nothing.
using AssetReporter = std::function<void(const AssetReport&)>;

inline void SendReport(const AssetReporter& reporter, AssetReportKind kind, std::string text, std::string caption) {
  if (reporter) reporter(AssetReport{kind, std::move(text), std::move(caption)});
}

}  // namespace orvane
