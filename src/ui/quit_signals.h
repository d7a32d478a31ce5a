#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in the terminal, a closed terminal) close a window the way the
// user does, on the main thread: the handler only writes the signal's number into a
// socket pair, whose reading end a socket notifier watches. One watcher at a time; the
// previous handlers come back when it goes.

#include <csignal>

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

namespace orvane {

class QuitSignals : public QObject {
  Q_OBJECT
 public:
  // Closes `window` on SIGTERM, SIGINT or SIGHUP. Without the socket pair the signals keep their
  // former handlers (Ok() is false).
  explicit QuitSignals(QWidget& window);
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  bool Ok() const { return notifier_ != nullptr; }

 signals:
  void Received(int signal);

 private:
  void Drain();

  QPointer<QWidget> window_;
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction oldTerm_ {};
  struct sigaction oldInt_ {};
  struct sigaction oldHup_ {};
};

}  // namespace orvane
