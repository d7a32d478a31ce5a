#pragma once
// Small helpers for driving Qt windows from GoogleTest.

#include <functional>

#include <QImage>

class QWidget;

namespace orvane::testing {

// Runs pending events, deferred deletes included (windows closed with WA_DeleteOnClose).
void ProcessEvents();

// Calls `act` with the modal dialog once it is open, from inside its event loop.
void WhenModalOpens(std::function<void(QWidget*)> act);

// Saves `image` as ORVANE_UI_SHOT_DIR/<name>.png and returns the path.
QString SaveShot(const QImage& image, const QString& name);

}  // namespace orvane::testing
