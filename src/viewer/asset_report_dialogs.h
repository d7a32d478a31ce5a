#pragma once
// The asset readers' reports shown as message boxes with a single OK button.

#include "assets/asset_report.h"
#include "model/user_dialogs.h"

namespace orvane {

// A reporter that shows each report through `dialogs`, which must outlive it.
AssetReporter ReportToDialogs(UserDialogs& dialogs);

}  // namespace orvane
