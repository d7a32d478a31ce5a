#include "ui/quit_signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "main_form_desk.h"
#include "ui/sdl_joystick.h"

namespace orvane {
namespace {

using testing::Desk;

using Handler = void (*)(int);

Handler CurrentHandler(int signal) {
  struct sigaction now {};
  sigaction(signal, nullptr, &now);
  return now.sa_handler;
}

TEST(QuitSignals, TermIntOrHupClosesTheMainWindowAsTheUserWould) {
  const Handler term = CurrentHandler(SIGTERM);
  const Handler interrupt = CurrentHandler(SIGINT);
  const Handler hangUp = CurrentHandler(SIGHUP);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    Desk d;
    // A long compile running, its show file being written.
    d.CreateLongDevice();
    QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
    ASSERT_TRUE(d.Form.Execution().Compiling());
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(d.Form.ShowFilePath()); }, 60000));

    QuitSignals quit(d.Form);
    ASSERT_TRUE(quit.Ok());
    QSignalSpy closed(&d.Form, &MainForm::Closed);
    ASSERT_EQ(::raise(signal), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 60000)) << signal;
    EXPECT_FALSE(d.Form.isVisible());
    EXPECT_FALSE(std::filesystem::exists(d.Form.ShowFilePath()));
    EXPECT_TRUE(d.Dialogs.Messages.empty());
  }
  // Gone with the watcher: the former handlers are back.
  EXPECT_EQ(CurrentHandler(SIGTERM), term);
  EXPECT_EQ(CurrentHandler(SIGINT), interrupt);
  EXPECT_EQ(CurrentHandler(SIGHUP), hangUp);
}

// The joystick library would put handlers of its own on both signals that swallow them.
TEST(QuitSignals, TheJoystickLeavesTheSignalsAlone) {
  const Handler term = CurrentHandler(SIGTERM);
  const Handler interrupt = CurrentHandler(SIGINT);
  ASSERT_EQ(term, SIG_DFL);  // the library only takes signals nobody handles
  SdlJoystick joystick;
  EXPECT_EQ(CurrentHandler(SIGTERM), term);
  EXPECT_EQ(CurrentHandler(SIGINT), interrupt);
}

}  // namespace
}  // namespace orvane
