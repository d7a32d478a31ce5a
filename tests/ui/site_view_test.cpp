// The "Site" view: the live top view of the example show, a position dragged with the
// mouse as one edit, violations in red, and Escape cancelling a drag.

#include "ui/site_view.h"

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "qt_test_helpers.h"
#include "support/project_compile.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

struct SiteDesk {
  SiteDesk() {
    Folder = Dir.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    EXPECT_TRUE(Project.Open(Folder, Dialogs).Opened);
    testing::CompileProjectHere(Project, Dir.Path() / "show.dat");
    View.resize(640, 480);
    View.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&View));
    View.Refresh();
    View.repaint();
  }
  // Pixels of the violation red.
  int RedPixels() {
    const QImage image = View.grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        red += c.red() > 180 && c.green() < 60 && c.blue() < 70;
      }
    return red;
  }
  QPoint At(double x, double z) const { return View.ViewPoint({x, z}).toPoint(); }
  testing::ScratchDir Dir;
  fs::path Folder;
  testing::ScriptedDialogs Dialogs;
  ShowProject Project{PrepareCompiledPart};
  SiteView View{Project};
};

TEST(SiteView, DraggingAPositionMovesItWithItsCuesAsOneEditAndShowsViolationsInRed) {
  SiteDesk d;
  EXPECT_TRUE(d.View.ViolationLines().isEmpty());
  EXPECT_EQ(d.RedPixels(), 0);
  const QPoint from = d.At(-50, 0);
  const QPoint to = d.At(-50, 100);
  QTest::mousePress(&d.View, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&d.View, (from + to) / 2);
  QTest::mouseMove(&d.View, to);
  EXPECT_FALSE(d.Project.Modified());  // nothing edited before the release
  QTest::mouseRelease(&d.View, Qt::LeftButton, Qt::NoModifier, to);
  const SitePosition* a = FindSitePosition(d.Project.Site(), "A");
  ASSERT_NE(a, nullptr);
  const double metresPerPixel = 1 / (d.View.ViewPoint({1, 0}).x() - d.View.ViewPoint({0, 0}).x());
  EXPECT_NEAR(a->Z, 100, 2 * metresPerPixel);
  EXPECT_NEAR(a->X, -50, 2 * metresPerPixel);
  EXPECT_EQ(d.Project.History().UndoText(), "Move position A");
  d.View.Refresh();
  d.View.repaint();
  EXPECT_TRUE(d.View.ViolationLines().startsWith("Position A: the rule circle"))
      << d.View.ViolationLines().toStdString();
  EXPECT_GT(d.RedPixels(), 50);
  testing::SaveShot(d.View.grab().toImage(), "site_view_violation");

  d.Project.Undo();
  d.View.Refresh();
  EXPECT_NEAR(FindSitePosition(d.Project.Site(), "A")->Z, 0, 1e-9);
  EXPECT_TRUE(d.View.ViolationLines().isEmpty());
}

TEST(SiteView, EscapeCancelsADragAndAClickBesidePositionsMovesNothing) {
  SiteDesk d;
  const QPoint from = d.At(-30, 0);
  QTest::mousePress(&d.View, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&d.View, d.At(-30, 80));
  QTest::keyClick(&d.View, Qt::Key_Escape);
  QTest::mouseRelease(&d.View, Qt::LeftButton, Qt::NoModifier, d.At(-30, 80));
  EXPECT_FALSE(d.Project.Modified());
  QTest::mousePress(&d.View, Qt::LeftButton, Qt::NoModifier, d.At(0, 60));
  QTest::mouseMove(&d.View, d.At(0, 90));
  QTest::mouseRelease(&d.View, Qt::LeftButton, Qt::NoModifier, d.At(0, 90));
  EXPECT_FALSE(d.Project.Modified());
}

TEST(SiteView, CuesInTheAirAtThePlayHeadAreMarked) {
  SiteDesk d;
  d.View.SetPlayHead(500);
  EXPECT_FALSE(d.View.Model().ActiveCues().empty());
  d.View.SetPlayHead(3'600'000);
  EXPECT_TRUE(d.View.Model().ActiveCues().empty());
}

}  // namespace
}  // namespace orvane
