#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "compiler/compile_messages.h"
#include "qt_test_helpers.h"
#include "recording_display.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "ui/devices_list_view.h"
#include "ui/main_form.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

using testing::ProcessEvents;
using testing::RecordingDisplay;
using testing::ScratchDir;
using testing::ScriptedDialogs;

struct Buttons {
  bool Compile, Visualize, RenAndVis, CompileLed, VisualLed;
  bool operator==(const Buttons&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Buttons& b) {
  return out << "{compile " << b.Compile << ", visualize " << b.Visualize << ", ren&vis " << b.RenAndVis
             << ", compile lamp " << b.CompileLed << ", visual lamp " << b.VisualLed << "}";
}

struct Desk {
  explicit Desk(const std::string& temp = {})
      : Form({Scratch.Folder(), temp.empty() ? Scratch.Folder() : temp}, Dialogs) {
    Form.SetDisplay(&Display);
    Form.show();
    ProcessEvents();
  }
  Buttons Now() const {
    return {Form.RenderBt->isEnabled(), Form.VisualizarBt->isEnabled(), Form.RenAndVisBt->isEnabled(),
            Form.CompileLed->Lit(), Form.VisualLed->Lit()};
  }
  bool WaitIdle() {
    return QTest::qWaitFor([&] { return !Form.Execution().Compiling(); }, 60000);
  }
  ScratchDir Scratch;
  ScriptedDialogs Dialogs;
  RecordingDisplay Display;
  MainForm Form;
};

TEST(MainFormCompile, TheButtonTableHoldsThroughCompileAndPlayback) {
  Desk d;
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, false, false}));  // start
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  EXPECT_EQ(d.Now(), (Buttons{true, false, true, false, false}));  // item selected
  d.Form.DevicesList->clearSelection();
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, false, false}));  // item deselected
  d.Form.DevicesList->setCurrentItem(d.Form.DevicesList->topLevelItem(0));

  QTest::mouseClick(d.Form.RenderBt, Qt::LeftButton);
  // Only the posted compile start: the compile's own reports, posted meanwhile, wait.
  QCoreApplication::sendPostedEvents(&d.Form, QEvent::MetaCall);
  EXPECT_TRUE(d.Form.Execution().Compiling());
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, true, false}));  // compiling
  EXPECT_TRUE(d.Display.CompileTextShown);
  // Selecting during the compile enables nothing.
  d.Form.DevicesList->setCurrentItem(d.Form.DevicesList->topLevelItem(1));
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, true, false}));

  ASSERT_TRUE(d.WaitIdle());
  ProcessEvents();
  EXPECT_EQ(d.Now(), (Buttons{true, true, true, false, false}));  // compile done
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
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, false, true}));  // playing
  d.Form.PostStartVisualize();  // Enter in the display while playing: ignored
  ProcessEvents();
  EXPECT_EQ(d.Display.PlaybackStarts, 1);

  d.Form.DevicesList->clearSelection();
  d.Form.PlaybackFinished();
  EXPECT_EQ(d.Now(), (Buttons{false, true, false, false, false}));  // playback done, nothing selected
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainFormCompile, RenderAndVisualizeStartsPlaybackByItself) {
  Desk d;
  QTest::mouseClick(d.Form.PresetBts[1], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Display.PlaybackStarts == 1; }, 60000));
  EXPECT_EQ(d.Now(), (Buttons{false, false, false, false, true}));
  d.Form.PlaybackFinished();
  EXPECT_EQ(d.Now(), (Buttons{true, true, true, false, false}));
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainFormCompile, RefusalsBeforeAnyCompile) {
  Desk d;
  d.Form.Devices();  // empty list
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
  EXPECT_EQ(d.Now(), (Buttons{true, false, true, false, false}));
  EXPECT_FALSE(d.Form.Execution().RenderAndVisualizeMarked());
  EXPECT_FALSE(d.Display.CompileTextShown);
}

TEST(MainFormCompile, AFileErrorReturnsToIdleWithItsMessage) {
  ScratchDir elsewhere;
  Desk d(elsewhere.Folder() + "missing/");
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ProcessEvents();
  ASSERT_TRUE(d.WaitIdle());
  ProcessEvents();
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(d.Dialogs.Messages[0].Kind, DialogKind::Error);
  EXPECT_NE(d.Dialogs.Messages[0].Text.find("could not be written"), std::string::npos);
  EXPECT_EQ(d.Now(), (Buttons{true, false, true, false, false}));
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
  ASSERT_TRUE(d.WaitIdle());
  ProcessEvents();
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(d.Dialogs.Messages[0].Kind, DialogKind::Warning);
  EXPECT_NE(d.Dialogs.Messages[0].Text.find("too large"), std::string::npos);
  EXPECT_EQ(d.Now(), (Buttons{true, true, true, false, false}));
}

TEST(MainFormCompile, APlaybackThatCannotOpenLeavesVisualizeUsable) {
  Desk d;
  d.Display.PlaybackOpens = false;
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(d.Form.RenAndVisBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Display.PlaybackStarts == 1; }, 60000));
  ProcessEvents();
  EXPECT_EQ(d.Now(), (Buttons{true, true, true, false, false}));
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

}  // namespace
}  // namespace orvane
