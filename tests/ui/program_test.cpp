// The desktop program through its real windows: the GL display over the viewer core and
// the main window, under Xvfb on the xcb platform.

#include "ui/program.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QOpenGLContext>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "assets/asset_files.h"
#include "model/about_text.h"
#include "qt_test_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "ui/devices_list_view.h"
#include "ui/open_gl_panel.h"
#include "ui/qt_font_service.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

using testing::ProcessEvents;
using testing::ScratchDir;
using testing::ScriptedDialogs;

struct Running {
  Running() {
    program = std::make_unique<Program>(ProgramFolders{Scratch.Folder(), Scratch.Folder()}, Dialogs,
                                        [this](const std::string& m) { Fatal = m; });
    program->Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&program->Display()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->Display().SceneReady() || !Fatal.empty(); }, 10000));
    ProcessEvents();
  }
  ~Running() {
    program.reset();
    ProcessEvents();
  }
  MainForm& Main() { return program->Main(); }
  DisplayForm& Display() { return program->Display(); }
  // Waits for a whole show: compile, buffering, playing, end.
  bool PlayToTheEnd(int preset) {
    QTest::mouseClick(Main().PresetBts[static_cast<size_t>(preset - 1)], Qt::LeftButton);
    QTest::mouseClick(Main().RenAndVisBt, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return Main().Execution().Playing(); }, 60000)) return false;
    return QTest::qWaitFor([&] { return !Main().Execution().Playing(); }, 120000);
  }

  ScratchDir Scratch;
  ScriptedDialogs Dialogs;
  std::string Fatal;
  std::unique_ptr<Program> program;
};

TEST(Program, StartsWithBothWindowsPlacedAndAValidContext) {
  Running r;
  ASSERT_TRUE(r.Fatal.empty()) << r.Fatal;
  DisplayForm& display = r.Display();
  const QOpenGLContext* context = display.Panel().context();
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(context->isValid());
  EXPECT_NE(context->format().profile(), QSurfaceFormat::CoreProfile);
  EXPECT_GT(context->format().depthBufferSize(), 0);
  EXPECT_TRUE(display.SceneReady());
  EXPECT_EQ(display.windowTitle(), "Effects visualization");
  EXPECT_EQ(display.size(), QSize(392, 324));
  EXPECT_TRUE(display.windowFlags() & Qt::Tool);
  EXPECT_FALSE(display.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(display.windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_TRUE(display.font().bold());
  EXPECT_GE(display.TimerResolution(), 10);
  EXPECT_EQ(r.Main().windowTitle(), "Orvane");

  const QRect area = display.screen()->availableGeometry();
  EXPECT_EQ(display.frameGeometry().topLeft(), area.topLeft());
  const QRect main = r.Main().frameGeometry();
  EXPECT_EQ(main.right(), area.right() - 20);
  EXPECT_EQ(main.bottom(), area.bottom() - 20);

  for (std::string_view file : AssetFiles) EXPECT_TRUE(std::filesystem::exists(r.Scratch.Path() / file)) << file;
  EXPECT_TRUE(r.Dialogs.Messages.empty());
}

TEST(Program, RenderAndVisualizePlaysPreset2ToItsEnd) {
  Running r;
  ASSERT_TRUE(r.Display().SceneReady());
  ASSERT_TRUE(r.PlayToTheEnd(2));
  ProcessEvents();
  MainForm& m = r.Main();
  EXPECT_TRUE(m.RenderBt->isEnabled());
  EXPECT_TRUE(m.VisualizarBt->isEnabled());
  EXPECT_TRUE(m.RenAndVisBt->isEnabled());
  EXPECT_FALSE(m.CompileLed->Lit());
  EXPECT_FALSE(m.VisualLed->Lit());
  EXPECT_EQ(m.Progress->value(), 0);
  bool number = false;
  EXPECT_GT(m.ParLabel->text().toLongLong(&number), 0);
  EXPECT_TRUE(number);
  EXPECT_TRUE(r.Dialogs.Messages.empty());
  // Enter in the display starts the same show again.
  QTest::keyClick(&r.Display(), Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return m.Execution().Playing(); }, 10000));
}

TEST(Program, CompilingTextAndAboutLinesAreOverlaysOfTheDisplay) {
  Running r;
  const DisplayModel& model = r.Display().Model();
  r.Display().ShowCompileText();
  ASSERT_NE(model.CompileText(), nullptr);
  EXPECT_EQ(model.CompileText()->Text, kCompilingText);
  EXPECT_EQ(model.CompileText()->Y, r.Display().Panel().PixelHeight() / 2);
  r.Display().HideCompileText();
  EXPECT_EQ(model.CompileText(), nullptr);

  QTest::mouseClick(r.Main().AboutBt, Qt::LeftButton);
  EXPECT_TRUE(model.AboutShown());
  for (int i = 0; i < kAboutLineCount; ++i) {
    const TTextAtt* line = model.AboutLine(i);
    ASSERT_NE(line, nullptr) << i;
    EXPECT_EQ(line->Text, DecodedAboutLine(i));
    EXPECT_EQ(line->Alpha, 0.0f);
    EXPECT_EQ(line->Step, kAboutLines[static_cast<size_t>(i)].Step);
  }
  EXPECT_EQ(model.AboutLine(0)->Text, "Orvane");
  // Resizing keeps them centred at their offsets.
  r.Display().resize(500, 300);
  ProcessEvents();
  EXPECT_TRUE(QTest::qWaitFor([&] { return r.Display().Panel().PixelHeight() == 300; }, 2000));
  const TTextAtt* top = model.AboutLine(0);
  EXPECT_EQ(top->Y, 300 / 2 + 45);
  EXPECT_EQ(top->X, (r.Display().Panel().PixelWidth() - model.TextExtent(top->Text).Width) / 2);

  QTest::mouseClick(r.Main().AboutBt, Qt::LeftButton);
  EXPECT_FALSE(model.AboutShown());
  EXPECT_EQ(model.AboutLine(0), nullptr);
  EXPECT_EQ(model.Overlays().Size(), 6u);  // fading out
  QTest::mouseClick(r.Main().AboutBt, Qt::LeftButton);
  EXPECT_EQ(model.Overlays().Size(), 12u);  // six new lines while the old ones fade
}

TEST(Program, KeysAndMouseReachTheCamera) {
  Running r;
  const DisplayModel& model = r.Display().Model();
  QTest::keyPress(&r.Display(), Qt::Key_Up);
  EXPECT_TRUE(model.Camera().KeyUp);
  QTest::keyRelease(&r.Display(), Qt::Key_Up);
  EXPECT_FALSE(model.Camera().KeyUp);
  QTest::keyClick(&r.Display(), Qt::Key_F1);
  EXPECT_TRUE(model.Modes().Overview);
  QTest::keyClick(&r.Display(), Qt::Key_Space);
  EXPECT_NE(model.PauseText(), nullptr);
  QTest::keyClick(&r.Display(), Qt::Key_Space);
  EXPECT_EQ(model.PauseText(), nullptr);

  QWidget* panel = &r.Display().Panel();
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(100, 100));
  QMouseEvent drag(QEvent::MouseMove, QPointF(140, 100), panel->mapToGlobal(QPointF(140, 100)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(panel, &drag);
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(140, 100));
  EXPECT_FLOAT_EQ(model.Camera().Yaw, 176.0f);
  QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_FLOAT_EQ(model.Camera().Yaw, 180.0f);
}

TEST(Program, EscapeInTheDisplayClosesTheProgram) {
  Running r;
  int closed = 0;
  QObject::connect(&r.Main(), &MainForm::Closed, [&] { ++closed; });
  QTest::keyClick(&r.Display(), Qt::Key_Escape);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(r.Main().isVisible());
}

TEST(Program, ClosingDeletesTheShowFileAndTeardownTheAssets) {
  Running r;
  ASSERT_TRUE(r.PlayToTheEnd(3));
  const auto show = r.Main().ShowFilePath();
  EXPECT_TRUE(std::filesystem::exists(show));
  r.Main().close();
  EXPECT_FALSE(std::filesystem::exists(show));
  std::filesystem::remove(r.Scratch.Path() / "floor.3ds");  // gone already: skipped quietly
  r.program.reset();
  for (std::string_view file : AssetFiles) EXPECT_FALSE(std::filesystem::exists(r.Scratch.Path() / file)) << file;
  EXPECT_TRUE(r.Dialogs.Messages.empty());
}

TEST(Program, ShotOfBothWindowsWhilePreset3Plays) {
  Running r;
  QTest::mouseClick(r.Main().PresetBts[2], Qt::LeftButton);
  QTest::mouseClick(r.Main().RenAndVisBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.Main().Execution().Playing(); }, 60000));
  // Into the show: the first burst has opened and the second has started (1.2 s).
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.Display().Model().Clock().Frame >= 30; }, 60000));
  // The sky between the arches is black but for the coloured stars of the bursts; how many
  // have opened by the frame drawn depends on the machine's pace, so wait for them.
  QImage panel;
  int black = 0, coloured = 0;
  const bool opened = QTest::qWaitFor(
      [&] {
        panel = r.Display().GrabPanel();
        black = coloured = 0;
        for (int y = 0; y < panel.height() / 3; ++y) {
          for (int x = panel.width() / 3; x < 2 * panel.width() / 3; ++x) {
            const QColor c = panel.pixelColor(x, y);
            if (qGray(c.rgb()) < 10) ++black;
            if (c.saturation() > 80 && c.value() > 80) ++coloured;
          }
        }
        return coloured > 10;
      },
      60000);
  testing::SaveShot(panel, "display_preset3");
  testing::SaveShot(r.Main().grab().toImage(), "main_preset3");
  EXPECT_TRUE(opened) << coloured << " coloured pixels";
  EXPECT_GT(black, 100);
  EXPECT_TRUE(r.Main().VisualLed->Lit());

  // The About lines over the scene once they have faded in (the last one takes 84 frames).
  QTest::mouseClick(r.Main().AboutBt, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return r.Display().Model().AboutLine(5) && r.Display().Model().AboutLine(5)->Alpha == 1.0f; }, 60000));
  const QImage about = r.Display().GrabPanel();
  testing::SaveShot(about, "display_about");
  EXPECT_EQ(r.Display().Model().AboutLine(5)->Alpha, 1.0f);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(QtFontService, GlyphsAreOneBitWithTheirAdvance) {
  QtFontService font;
  const auto space = font.Glyph(' ');
  ASSERT_TRUE(space);
  EXPECT_GT(space->Advance, 0);
  const auto a = font.Glyph('A');
  ASSERT_TRUE(a);
  EXPECT_GT(a->Width, 0);
  EXPECT_GT(a->Top, 5);
  EXPECT_EQ(a->Bits.size(), static_cast<size_t>(a->Width * a->Height));
  for (uint8_t bit : a->Bits) EXPECT_LE(bit, 1);
  EXPECT_GT(font.Extent("a b").Width, font.Extent("ab").Width);
  // Blanks carry one unset pixel, so their list keeps its advance.
  EXPECT_EQ(space->Bits, std::vector<uint8_t>{0});
}

}  // namespace
}  // namespace orvane
