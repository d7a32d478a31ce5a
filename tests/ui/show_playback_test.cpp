// The show window through the whole program: compile on the compile thread, play in the
// GL display, the play head following, and playing from the play head.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include "qt_test_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "ui/devices_list_view.h"
#include "ui/program.h"
#include "ui/show_music.h"
#include "ui/show_window.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ProcessEvents;

struct ShowProgram {
  ShowProgram() {
    program = std::make_unique<Program>(ProgramFolders{Scratch.Folder(), Scratch.Folder()}, Dialogs,
                                        [this](const std::string& m) { Fatal = m; });
    program->Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&program->Display()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->Display().SceneReady() || !Fatal.empty(); }, 10000));
    const fs::path folder = Scratch.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, folder, fs::copy_options::recursive);
    Window = &program->OpenShowWindow();
    EXPECT_TRUE(Window->OpenFolder(folder));
    // A short show: three cues in the first second and a half.
    Scratch.Write("short.csv", "time,code\n0,104\n0.5,204\n1.5,104\n");
    EXPECT_TRUE(Window->ImportCues(Scratch.Path() / "short.csv"));
    ProcessEvents();
  }
  ~ShowProgram() {
    program->Project().Close();
    program.reset();
    ProcessEvents();
  }
  MainForm& Main() { return program->Main(); }

  testing::ScratchDir Scratch;
  testing::ScriptedDialogs Dialogs;
  std::string Fatal;
  std::unique_ptr<Program> program;
  ShowWindow* Window = nullptr;
};

TEST(ShowPlayback, CompilesWithTheMainWindowsLampAndPlaysToTheEndWithThePlayHeadMoving) {
  ShowProgram p;
  ASSERT_TRUE(p.Fatal.empty()) << p.Fatal;
  p.Window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(p.Window));
  p.Window->CompileAct->trigger();
  EXPECT_TRUE(p.Main().Execution().Compiling());
  EXPECT_TRUE(p.Main().CompileLed->Lit());
  EXPECT_EQ(p.Window->StatusText(), "Compiling the show...");
  std::vector<int64_t> heads;
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.Main().Execution().Playing(); }, 60000));
  EXPECT_NE(p.Window->StatusText(), "Compiling the show...") << "the compile's message gives way to the show";
  // The keys of the show window (Stop, Space, Enter, F5) keep working while it plays.
  ProcessEvents();
  EXPECT_EQ(QApplication::activeWindow(), p.Window);
  EXPECT_TRUE(p.program->Display().isVisible());
  QImage panel;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (heads.empty() || heads.back() != p.Window->PlayHeadMs()) heads.push_back(p.Window->PlayHeadMs());
        // A look at the show a second and a half in, in both windows.
        if (panel.isNull() && p.program->Display().PlaybackFrame() >= 38) {
          panel = p.program->Display().GrabPanel();
          testing::SaveShot(panel, "show_playing_display");
          testing::SaveShot(p.Window->grab().toImage(), "show_playing_window");
        }
        return !p.Main().Execution().Playing();
      },
      120000));
  ASSERT_FALSE(panel.isNull());
  // The sky between the arches is black but for the particles of the first cues.
  int black = 0, lit = 0;
  for (int y = panel.height() / 5; y < panel.height() * 3 / 5; ++y)
    for (int x = panel.width() / 3; x < 2 * panel.width() / 3; ++x) {
      const int gray = qGray(panel.pixel(x, y));
      if (gray < 10) ++black;
      if (gray > 60) ++lit;
    }
  EXPECT_GT(black, 1000);
  EXPECT_GT(lit, 0) << "the particles of the first cues are in the sky";
  EXPECT_TRUE(p.Dialogs.Messages.empty()) << p.Dialogs.Messages.front().Text;
  // The head moved forward through the show, frame by frame.
  ASSERT_GT(heads.size(), 10u);
  EXPECT_TRUE(std::is_sorted(heads.begin(), heads.end()));
  EXPECT_GT(heads.back(), 1500);
  EXPECT_EQ(heads.back() % 40, 0);
}

// Mean of qGray over a band of the panel's rows, as shares of its height.
double MeanGray(const QImage& panel, double from, double to) {
  double sum = 0;
  int n = 0;
  for (int y = static_cast<int>(panel.height() * from); y < static_cast<int>(panel.height() * to); ++y) {
    for (int x = 0; x < panel.width(); ++x, ++n) sum += qGray(panel.pixel(x, y));
  }
  return n > 0 ? sum / n : 0;
}

TEST(ShowPlayback, NightViewPlaysTheShowOverAnOpenSiteAndEndsInTheClassicDrawing) {
  ShowProgram p;
  ASSERT_TRUE(p.Fatal.empty()) << p.Fatal;
  p.Window->NightAct->trigger();
  ASSERT_TRUE(p.Window->NightAct->isChecked());
  p.Window->CompileAct->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.Main().Execution().Playing(); }, 60000));
  EXPECT_TRUE(p.program->Display().Model().Night().On);
  // The example show's site is a harbour: the night look draws water.
  EXPECT_EQ(p.program->Display().Model().Night().Site.Ground, NightGround::kWater);
  QImage panel;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (panel.isNull() && p.program->Display().PlaybackFrame() >= 20) {
          panel = p.program->Display().GrabPanel();
          testing::SaveShot(panel, "show_playing_night");
        }
        return !p.Main().Execution().Playing();
      },
      120000));
  ASSERT_FALSE(panel.isNull());
  // A night sky over the whole top, blue rather than the classic black between the arches.
  const QColor sky = panel.pixelColor(panel.width() / 2, 4);
  EXPECT_GT(sky.blue(), sky.red());
  EXPECT_GT(sky.blue(), 3);
  // Dark ground at the foot, not the classic floor's light stone.
  EXPECT_LT(MeanGray(panel, 0.9, 1.0), 40);
  EXPECT_TRUE(p.Dialogs.Messages.empty()) << p.Dialogs.Messages.front().Text;
  // When the show is over, the display draws effects the classic way again.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !p.program->Display().Model().Night().On; }, 10000));
  EXPECT_TRUE(p.Window->NightAct->isChecked()) << "the switch stays for the next show";
  QImage classic;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        classic = p.program->Display().GrabPanel();
        return MeanGray(classic, 0.9, 1.0) > 60;
      },
      10000));
}

TEST(ShowPlayback, PlaysFromThePlayHeadAtThatFrame) {
  ShowProgram p;
  ASSERT_TRUE(p.Fatal.empty()) << p.Fatal;
  p.Window->CompileAct->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.Main().Execution().Playing(); }, 60000));
  p.Window->StopAct->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !p.Main().Execution().Playing(); }, 10000));

  p.Window->SetPlayHead(1480);  // frame 37, inside the second block
  p.Window->PlayFromHeadAct->trigger();
  ASSERT_TRUE(p.Main().Execution().Playing()) << "the compiled show plays without a new compile";
  int64_t first = -1;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        first = p.program->Display().PlaybackFrame();
        return first >= 37;
      },
      30000));
  EXPECT_EQ(first, 37);
  EXPECT_GE(p.Window->PlayHeadMs(), 1480);

  // Space pauses, Enter starts again from where the play began, unpaused.
  p.Window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(p.Window));
  QTest::keyClick(p.Window, Qt::Key_Space);
  EXPECT_TRUE(p.program->Display().PlaybackPaused());
  QTest::keyClick(p.Window, Qt::Key_Return);
  EXPECT_TRUE(p.Main().Execution().Playing());
  EXPECT_FALSE(p.program->Display().PlaybackPaused());
  EXPECT_GE(p.program->Display().PlaybackFrame(), 0);
  EXPECT_LE(p.program->Display().PlaybackFrame(), 37);
  // Without a sound device the show plays silently and says so once; with one, it plays.
  if (!p.Window->Music().HasOutput()) {
    EXPECT_EQ(p.Window->Music().SilentReason(), "No audio output: the show plays without sound.");
  }
  EXPECT_TRUE(p.Dialogs.Messages.empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !p.Main().Execution().Playing(); }, 60000));
}

// The show file is shared with the main window, and a show compiled from other devices is
// not this show: an edited device or a device's compile makes Play compile the show again.
TEST(ShowPlayback, AnEditedDeviceOrAnotherCompileMakesPlayCompileTheShowAgain) {
  ShowProgram p;
  ASSERT_TRUE(p.Fatal.empty()) << p.Fatal;
  const auto playToTheEnd = [&] {
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.Main().Execution().Playing(); }, 60000));
    p.Window->StopAct->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !p.Main().Execution().Playing(); }, 10000));
  };
  p.Window->CompileAct->trigger();
  playToTheEnd();
  p.Window->PlayFromHeadAct->trigger();
  EXPECT_FALSE(p.Main().Execution().Compiling()) << "unchanged: the compiled show plays";
  playToTheEnd();

  MainForm& main = p.Main();
  main.DevicesList->setCurrentItem(main.DevicesList->topLevelItem(0));
  QTest::mouseClick(main.ModifyBt, Qt::LeftButton);
  p.Window->PlayFromHeadAct->trigger();
  EXPECT_TRUE(main.Execution().Compiling()) << "an edited device";
  playToTheEnd();

  QTest::mouseClick(main.RenderBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.Execution().Compiling(); }, 10000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !main.Execution().Compiling(); }, 60000));
  ProcessEvents();
  p.Window->PlayFromHeadAct->trigger();
  EXPECT_TRUE(main.Execution().Compiling()) << "the file holds a device's compile";
  playToTheEnd();
  EXPECT_TRUE(p.Dialogs.Messages.empty());
}

}  // namespace
}  // namespace orvane
