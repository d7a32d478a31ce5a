#include "viewer/asset_report_dialogs.h"

namespace orvane {

AssetReporter ReportToDialogs(UserDialogs& dialogs) {
  return [&dialogs](const AssetReport& report) {
    const DialogKind kind = report.Kind == AssetReportKind::Warning ? DialogKind::Warning : DialogKind::Error;
    dialogs.Message(kind, DialogButtons::Ok, report.Text, report.Caption);
  };
}

}  // namespace orvane
