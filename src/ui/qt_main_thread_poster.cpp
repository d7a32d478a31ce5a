#include "ui/qt_main_thread_poster.h"

#include <QMetaObject>

namespace orvane {

void QtMainThreadPoster::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

}  // namespace orvane
