#include "qt_test_helpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QStyledItemDelegate>
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

namespace {

class FocusMarkSpy : public QStyledItemDelegate {
 public:
  void paint(QPainter*, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (option.state & QStyle::State_HasFocus) rows.insert(index.row());
  }
  mutable std::set<int> rows;
};

}  // namespace

std::set<int> RowsMarkedWithFocus(QAbstractItemView& view) {
  QAbstractItemDelegate* own = view.itemDelegate();
  FocusMarkSpy spy;
  view.setItemDelegate(&spy);
  view.viewport()->repaint();
  view.setItemDelegate(own);
  return spy.rows;
}

QString SaveShot(const QImage& image, const QString& name) {
  const QString path = QStringLiteral(ORVANE_UI_SHOT_DIR "/") + name + ".png";
  EXPECT_TRUE(image.save(path)) << path.toStdString();
  return path;
}

}  // namespace orvane::testing
