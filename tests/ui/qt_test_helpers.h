#pragma once
// Small helpers for driving Qt windows from GoogleTest.

#include <functional>
#include <set>

#include <QImage>

class QAbstractItemView;
class QWidget;

namespace orvane::testing {

// Runs pending events, deferred deletes included (windows closed with WA_DeleteOnClose).
void ProcessEvents();

// Calls `act` with the modal dialog once it is open, from inside its event loop.
void WhenModalOpens(std::function<void(QWidget*)> act);

// Paints `view` now and returns the rows it hands to its delegate with the focus mark.
std::set<int> RowsMarkedWithFocus(QAbstractItemView& view);

// Saves `image` as ORVANE_UI_SHOT_DIR/<name>.png and returns the path.
QString SaveShot(const QImage& image, const QString& name);

}  // namespace orvane::testing
