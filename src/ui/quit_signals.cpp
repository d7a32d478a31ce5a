#include "ui/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cassert>
#include <cerrno>

#include <QSocketNotifier>

namespace orvane {
namespace {

// The socket pair: [0] read on the main thread, [1] written by the handler.
int g_pair[2] = {-1, -1};

void OnQuitSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_pair[1], &number, 1);  // a full pipe loses nothing: one is enough
  errno = saved;
}

bool MakePair() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
    g_pair[0] = g_pair[1] = -1;
    return false;
  }
  return true;
}

void ClosePair() {
  for (int& fd : g_pair) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

}  // namespace

QuitSignals::QuitSignals(QWidget& window) : window_(&window) {
  assert(g_pair[0] < 0 && "one quit-signal watcher at a time");
  if (!MakePair()) return;
  notifier_ = new QSocketNotifier(g_pair[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::Drain);
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &oldTerm_);
  sigaction(SIGINT, &action, &oldInt_);
  sigaction(SIGHUP, &action, &oldHup_);
}

QuitSignals::~QuitSignals() {
  if (!notifier_) return;
  sigaction(SIGTERM, &oldTerm_, nullptr);
  sigaction(SIGINT, &oldInt_, nullptr);
  sigaction(SIGHUP, &oldHup_, nullptr);
  notifier_->setEnabled(false);
  ClosePair();
}

void QuitSignals::Drain() {
  unsigned char number = 0;
  int last = 0;
  while (::read(g_pair[0], &number, 1) == 1) last = number;
  if (last == 0) return;
  emit Received(last);
  if (window_) window_->close();
}

}  // namespace orvane
