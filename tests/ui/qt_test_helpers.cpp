#include "qt_test_helpers.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace orvane::testing {

void ProcessEvents() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

void WhenModalOpens(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(qApp);
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->deleteLater();
      poll->stop();
      act(modal);
    } else if (++*tries > 200) {
      poll->deleteLater();
      poll->stop();
      ADD_FAILURE() << "no modal dialog opened";
    }
  });
  poll->start(10);
}

QString SaveShot(const QImage& image, const QString& name) {
  const QString path = QStringLiteral(ORVANE_UI_SHOT_DIR "/") + name + ".png";
  EXPECT_TRUE(image.save(path)) << path.toStdString();
  return path;
}

}  // namespace orvane::testing
