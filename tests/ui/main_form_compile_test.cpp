#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "compiler/compile_messages.h"
#include "main_form_desk.h"
#include "model/execution_state.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

using testing::Desk;
using testing::ProcessEvents;
using testing::ScratchDir;

struct Buttons {
  bool Compile, Visualize, RenAndVis, CompileLed, VisualLed;
  bool operator==(const Buttons&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Buttons& b) {
  return out << "{compile " << b.Compile << ", visualize " << b.Visualize << ", ren&vis " << b.RenAndVis
             << ", compile lamp " << b.CompileLed << ", visual lamp " << b.VisualLed << "}";
}

Buttons Now(const testing::Desk& d) {
  const MainForm& f = d.Form;
  return {f.RenderBt->isEnabled(), f.VisualizarBt->isEnabled(), f.RenAndVisBt->isEnabled(), f.CompileLed->Lit(),
          f.VisualLed->Lit()};
}

bool WaitIdle(const testing::Desk& d) {
  return QTest::qWaitFor([&] { return !d.Form.Execution().Compiling(); }, 60000);
}

TEST(MainFormCompile, TheButtonTableHoldsThroughCompileAndPlayback) {
  Desk d;
  EXPECT_EQ(Now(d), (Buttons{false, false, false, false, false}));  // start
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  EXPECT_EQ(Now(d), (Buttons{true, false, true, false, false}));  // item selected
  d.Form.DevicesList->clearSelection();
  EXPECT_EQ(Now(d), (Buttons{false, false, false, false, false}));  // item deselected
  d.Form.DevicesList->setCurrentItem(d.Form.DevicesList->topLevelItem(0));

  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  // Only the posted compile start: the compile's own reports, posted meanwhile, wait.
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  EXPECT_TRUE(d.Form.Execution().Compiling());
  EXPECT_EQ(Now(d), (Buttons{false, false, false, true, false}));  // compiling
  EXPECT_TRUE(d.Display.CompileTextShown);
  // Selecting during the compile enables nothing.
  d.Form.DevicesList->setCurrentItem(d.Form.DevicesList->topLevelItem(1));
  EXPECT_EQ(Now(d), (Buttons{false, false, false, true, false}));

  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  EXPECT_EQ(Now(d), (Buttons{true, true, true, false, false}));  // compile done
  EXPECT_FALSE(d.Display.CompileTextShown);
  EXPECT_EQ(d.Display.PlaybackStarts, 0);
  EXPECT_EQ(d.Form.Progress->value(), 0);
  bool counted = false;
  EXPECT_GT(d.Form.ParLabel->text().toLongLong(&counted), 0);
  EXPECT_TRUE(counted);
  EXPECT_TRUE(std::filesystem::exists(d.Form.ShowFilePath()));

  QTest::mouseClick(d.Form.VisualizarBt, Qt::LeftButton);
  ProcessEvents();
  EXPECT_EQ(d.Display.PlaybackStarts, 1);
  EXPECT_GE(d.Display.Raised, 1);
  EXPECT_EQ(Now(d), (Buttons{false, false, false, false, true}));  // playing
  d.Form.PostStartVisualize();                                     // Enter in the display while playing: ignored
  ProcessEvents();
  EXPECT_EQ(d.Display.PlaybackStarts, 1);

  d.Form.DevicesList->clearSelection();
  d.Form.PlaybackFinished();
  EXPECT_EQ(Now(d), (Buttons{false, true, false, false, false}));  // playback done, nothing selected
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainFormCompile, RenderAndVisualizeStartsPlaybackByItself) {
  Desk d;
  QTest::mouseClick(d.Form.PresetBts[1], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Display.PlaybackStarts == 1; }, 60000));
  EXPECT_EQ(Now(d), (Buttons{false, false, false, false, true}));
  d.Form.PlaybackFinished();
  EXPECT_EQ(Now(d), (Buttons{true, true, true, false, false}));
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainFormCompile, RefusalsBeforeAnyCompile) {
  Desk d;
  d.Form.Devices();                                    // empty list
  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);  // disabled: nothing
  ProcessEvents();
  EXPECT_TRUE(d.Dialogs.Messages.empty());

  // A device that starts itself from every star: the list turns red and the compile refuses.
  d.Form.NextParCheck->click();
  d.Form.NextParCodeEdit->setText("1");
  QTest::mouseClick(d.Form.CreateBt, Qt::LeftButton);
  EXPECT_EQ(d.Dialogs.OnlyMessage().Text, "The created effect generates recursivity, please verify.");
  EXPECT_TRUE(d.Form.DevicesList->RedFont());
  d.Dialogs.Clear();
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ProcessEvents();
  EXPECT_EQ(d.Dialogs.OnlyMessage().Text, kRecursivityRefusal);
  EXPECT_EQ(Now(d), (Buttons{true, false, true, false, false}));
  EXPECT_FALSE(d.Form.Execution().RenderAndVisualizeMarked());
  EXPECT_FALSE(d.Display.CompileTextShown);
}

TEST(MainFormCompile, AFileErrorReturnsToIdleWithItsMessage) {
  ScratchDir elsewhere;
  Desk d(elsewhere.Folder() + "missing/");
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ProcessEvents();
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(d.Dialogs.Messages[0].Kind, DialogKind::Error);
  EXPECT_NE(d.Dialogs.Messages[0].Text.find("could not be written"), std::string::npos);
  EXPECT_EQ(Now(d), (Buttons{true, false, true, false, false}));
  EXPECT_EQ(d.Display.PlaybackStarts, 0);
  EXPECT_FALSE(d.Display.CompileTextShown);
}

TEST(MainFormCompile, TheSizeBoundKeepsTheShowAndWarns) {
  Desk d;
  CompileLimits limits;
  limits.MaxParticles = 300;
  d.Form.SetCompileLimits(limits);
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  ProcessEvents();
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(d.Dialogs.Messages[0].Kind, DialogKind::Warning);
  EXPECT_NE(d.Dialogs.Messages[0].Text.find("too large"), std::string::npos);
  EXPECT_EQ(Now(d), (Buttons{true, true, true, false, false}));
}

TEST(MainFormCompile, APlaybackThatCannotOpenLeavesVisualizeUsable) {
  Desk d;
  d.Display.PlaybackOpens = false;
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Display.PlaybackStarts == 1; }, 60000));
  ProcessEvents();
  EXPECT_EQ(Now(d), (Buttons{true, true, true, false, false}));
}

TEST(MainFormCompile, ClosingMidCompileStopsItAndLeavesNoShowFile) {
  Desk d;
  QTest::mouseClick(d.Form.PresetBts[3], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  ASSERT_TRUE(d.Form.Execution().Compiling());
  d.Form.close();
  EXPECT_FALSE(std::filesystem::exists(d.Form.ShowFilePath()));
  ProcessEvents();
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

void StartCompileNow(Desk& d) {
  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
}

TEST(MainFormCompile, EscapeOrTheLampStopsACompileAfterAsking) {
  Desk d;
  d.CreateLongDevice();
  ASSERT_TRUE(d.Dialogs.Messages.empty());
  QTest::keyClick(&d.Form, Qt::Key_Escape);  // idle: nothing to stop, nothing asked
  EXPECT_TRUE(d.Dialogs.Messages.empty());

  StartCompileNow(d);
  ASSERT_TRUE(d.Form.Execution().Compiling());
  d.Dialogs.Answers = {DialogAnswer::No};
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Escape);
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(d.Dialogs.Messages[0].Text, kStopCompileQuestion);
  EXPECT_EQ(d.Dialogs.Messages[0].Buttons, DialogButtons::YesNo);
  // Declined: the compile goes on and keeps reporting.
  d.Form.ParLabel->setText("-");
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Form.ParLabel->text() != "-"; }, 60000));
  EXPECT_TRUE(d.Form.Execution().Compiling());

  d.Dialogs.Answers = {DialogAnswer::Yes};
  QTest::keyClick(d.Form.ScaleEdit, Qt::Key_Escape);
  ASSERT_EQ(d.Dialogs.Messages.size(), 2u);
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  EXPECT_EQ(Now(d), (Buttons{true, false, true, false, false}));
  EXPECT_FALSE(std::filesystem::exists(d.Form.ShowFilePath()));
  EXPECT_FALSE(d.Display.CompileTextShown);
  EXPECT_EQ(d.Form.Progress->value(), 0);
  EXPECT_EQ(d.Dialogs.Messages.size(), 2u);  // a stop is no failure: no further box
  EXPECT_TRUE(d.Form.isVisible());

  // Render-and-visualize stopped by a click on the lamp: no playback follows.
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  ASSERT_TRUE(d.Form.Execution().Compiling());
  d.Dialogs.Answers = {DialogAnswer::Yes};
  QTest::mouseClick(d.Form.CompileLed, Qt::LeftButton);
  ASSERT_EQ(d.Dialogs.Messages.size(), 3u);
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  EXPECT_EQ(d.Display.PlaybackStarts, 0);
  EXPECT_EQ(Now(d), (Buttons{true, false, true, false, false}));
  EXPECT_FALSE(std::filesystem::exists(d.Form.ShowFilePath()));
}

TEST(MainFormCompile, StartingACompileHandsTheFocusToTheDeviceList) {
  Desk d;
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), d.Form.RenderBt);  // the preset leaves it there
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  ASSERT_TRUE(d.Form.Execution().Compiling());
  EXPECT_EQ(QApplication::focusWidget(), d.Form.DevicesList);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
  EXPECT_EQ(d.Form.ScaleEdit->text(), "1");
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();

  // A mouse click on Compile focuses the button, which is disabled at once.
  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  EXPECT_EQ(QApplication::focusWidget(), d.Form.DevicesList);
  ASSERT_TRUE(WaitIdle(d));
  ProcessEvents();
  EXPECT_EQ(d.Form.ScaleEdit->text(), "1");
}

}  // namespace
}  // namespace orvane
