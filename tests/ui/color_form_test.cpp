#include "ui/color_form.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "qt_test_helpers.h"
#include "support/scripted_dialogs.h"
#include "ui/color_list_view.h"
#include "ui/qt_rgb_image.h"

namespace orvane {
namespace {

using testing::ProcessEvents;
using testing::ScriptedDialogs;

SegmentList ThreeSegments() {
  return {NewColorSegment(0, 30, kFadeOut, 0x0000FF, 0x0000FF),
          NewColorSegment(30, 70, kMixColor | kBlink, 0x00FFFF, 0xFF0000),
          NewColorSegment(70, 100, kFadeOut | kBlink, 0x00FF00, 0x00FF00)};
}

// The window with its children, shown and freed even when a check fails.
struct OpenForm {
  explicit OpenForm(const SegmentList& segments) : Form(new ColorForm(segments, Dialogs)) {
    Form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Form));
  }
  ~OpenForm() {
    if (Form) Form->close();
    ProcessEvents();
  }
  template <class T>
  T* Child(const char* name) const {
    T* child = Form->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  ColorListView* View() const { return Child<ColorListView>("ColorView"); }

  ScriptedDialogs Dialogs;
  QPointer<ColorForm> Form;
};

// Whether the view is inside its own drag (item views keep their state protected).
struct ViewStatePeek : QAbstractItemView {
  static bool Dragging(const QAbstractItemView& view) { return (view.*&ViewStatePeek::state)() == DraggingState; }
};

bool Dragging(const QAbstractItemView& view) { return ViewStatePeek::Dragging(view); }

void DropOnView(ColorListView* view, QPoint at) {
  std::unique_ptr<QMimeData> mime(view->mimeData(view->selectedItems()));
  QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &enter);
  QDragMoveEvent move(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &move);
  QDropEvent drop(QPointF(at), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &drop);
}

TEST(ColorForm, WindowAndControlsAsDesigned) {
  OpenForm f(ThreeSegments());
  EXPECT_EQ(f.Form->windowTitle(), "Color and effect editor");
  EXPECT_EQ(f.Form->size(), QSize(552, 246));
  const Qt::WindowFlags flags = f.Form->windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  const QRect screen = f.Form->screen()->geometry();
  EXPECT_LE(std::abs(f.Form->geometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(f.Form->geometry().center().y() - screen.center().y()), 1);

  EXPECT_EQ(f.Child<QToolButton>("AddBt")->text(), "Add");
  EXPECT_EQ(f.Child<QToolButton>("ModifyBt")->text(), "Modify");
  EXPECT_EQ(f.Child<QToolButton>("DeleteBt")->text(), "Delete");
  EXPECT_EQ(f.Child<QPushButton>("AcceptBt")->text(), "Accept");
  EXPECT_EQ(f.Child<QPushButton>("CancelBt")->text(), "Cancel");
  EXPECT_EQ(f.Child<QFrame>("GraphPanel")->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(f.Child<QWidget>("PaintBox")->size(), QSize(531, 48));
  QTimer* timer = f.Child<QTimer>("Timer");
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_TRUE(timer->isActive());

  ColorListView* view = f.View();
  const QStringList captions{"InitialPos. [%]", "FinalPos. [%]", "FadeOut",    "MixColor",
                             "Blink",           "Initial color", "Final color"};
  const std::vector<int> widths{90, 90, 70, 70, 70, 70, 70};
  ASSERT_EQ(view->columnCount(), 7);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(view->headerItem()->text(c), captions[c]);
    EXPECT_EQ(view->header()->sectionSize(c), widths[static_cast<size_t>(c)]);
    view->header()->resizeSection(c, 20);
    EXPECT_EQ(view->header()->sectionSize(c), widths[static_cast<size_t>(c)]) << "column " << c << " shrank";
  }
  view->header()->resizeSection(0, 120);
  EXPECT_EQ(view->header()->sectionSize(0), 120);
  EXPECT_FALSE(view->header()->sectionsClickable());
  EXPECT_EQ(view->viewport()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));

  ASSERT_EQ(view->topLevelItemCount(), 3);
  const QTreeWidgetItem* row = view->topLevelItem(1);
  EXPECT_EQ(row->text(0), "30");
  EXPECT_EQ(row->text(1), "70");
  EXPECT_EQ(row->text(2), "no");
  EXPECT_EQ(row->text(3), "si");
  EXPECT_EQ(row->text(4), "si");
  EXPECT_EQ(row->text(5), "");
  EXPECT_EQ(row->text(6), "");
  EXPECT_EQ(row->textAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_EQ(row->textAlignment(3) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_FALSE(row->flags() & Qt::ItemIsEditable);
}

TEST(ColorForm, SelectingARowFramesItAndTheTimerMovesTheDashes) {
  OpenForm f(ThreeSegments());
  ColorListView* view = f.View();
  view->setCurrentItem(view->topLevelItem(1));
  EXPECT_EQ(f.Form->Editor().Selected(), 1u);
  EXPECT_EQ(f.Form->Editor().Selection(), (SelectionRect{159, 0, 371, 47}));
  const uint8_t before = f.Form->Editor().AntsPhase();
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.Form->Editor().AntsPhase() != before; }, 60000));
  view->clearSelection();
  EXPECT_EQ(f.Form->Editor().Selected(), std::nullopt);
  EXPECT_EQ(f.Form->Editor().Selection(), SelectionRect{});
}

TEST(ColorForm, DeselectingARowTakesItsFocusMarkAway) {
  OpenForm f(ThreeSegments());
  f.Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.Form));
  ColorListView* view = f.View();
  view->setFocus(Qt::OtherFocusReason);
  view->setCurrentItem(view->topLevelItem(1));
  EXPECT_EQ(testing::RowsMarkedWithFocus(*view), std::set<int>{1});
  view->clearSelection();
  EXPECT_EQ(testing::RowsMarkedWithFocus(*view), std::set<int>{});
  // The user's way: Ctrl+click on the selected row.
  view->setCurrentItem(view->topLevelItem(2));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    view->visualItemRect(view->topLevelItem(2)).center());
  EXPECT_TRUE(view->selectedItems().isEmpty());
  EXPECT_EQ(testing::RowsMarkedWithFocus(*view), std::set<int>{});
  EXPECT_EQ(f.Form->Editor().Selected(), std::nullopt);
}

TEST(ColorForm, AddButtonRunsTheScriptedDialogsAndRefreshesTheList) {
  OpenForm f({});
  f.Dialogs.Texts = {"10", "60 %"};
  f.Dialogs.Answers = {DialogAnswer::No, DialogAnswer::Yes, DialogAnswer::Yes};
  f.Dialogs.Colors = {0x000080FFu, 0x00FF8000u};
  QTest::mouseClick(f.Child<QToolButton>("AddBt"), Qt::LeftButton);
  ColorListView* view = f.View();
  ASSERT_EQ(view->topLevelItemCount(), 1);
  EXPECT_EQ(view->topLevelItem(0)->text(0), "10");
  EXPECT_EQ(view->topLevelItem(0)->text(1), "60");
  EXPECT_EQ(view->topLevelItem(0)->text(3), "si");
  EXPECT_EQ(f.Dialogs.Inputs.at(0).Initial, "0");

  SegmentList accepted;
  bool acceptedOnce = false;
  QObject::connect(f.Form, &ColorForm::Accepted, [&](const SegmentList& s) {
    accepted = s;
    acceptedOnce = true;
  });
  QTest::mouseClick(f.Child<QPushButton>("AcceptBt"), Qt::LeftButton);
  ProcessEvents();
  EXPECT_TRUE(acceptedOnce);
  EXPECT_EQ(accepted, SegmentList{NewColorSegment(10, 60, kMixColor | kBlink, 0x000080FF, 0x00FF8000)});
  EXPECT_TRUE(f.Form.isNull()) << "Accept closes and frees the window";
}

TEST(ColorForm, DropBelowTheRowsMovesTheRowToTheEnd) {
  OpenForm f(ThreeSegments());
  ColorListView* view = f.View();
  view->setCurrentItem(view->topLevelItem(0));
  DropOnView(view, QPoint(10, view->viewport()->height() - 3));
  ASSERT_EQ(view->topLevelItemCount(), 3);
  EXPECT_EQ(view->topLevelItem(0)->text(0), "30");
  EXPECT_EQ(view->topLevelItem(2)->text(0), "0");
  EXPECT_EQ(f.Form->Editor().Accept().back(), ThreeSegments()[0]);
  EXPECT_TRUE(view->selectedItems().isEmpty());
}

TEST(ColorForm, DropFromAnotherEditorIsRefused) {
  OpenForm a(ThreeSegments());
  OpenForm b(ThreeSegments());
  ColorListView* from = b.View();
  from->setCurrentItem(from->topLevelItem(2));
  std::unique_ptr<QMimeData> mime(from->mimeData(from->selectedItems()));
  ColorListView* to = a.View();
  to->setCurrentItem(to->topLevelItem(2));
  const QPoint at = to->visualItemRect(to->topLevelItem(0)).center();
  QDropEvent drop(QPointF(at), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(to->viewport(), &drop);
  EXPECT_FALSE(drop.isAccepted());
  EXPECT_EQ(to->topLevelItem(0)->text(0), "0");
}

TEST(ColorForm, ScreenshotWithThreeSegments) {
  OpenForm f(ThreeSegments());
  ColorListView* view = f.View();
  view->setCurrentItem(view->topLevelItem(1));
  // The dashes have moved on at least once.
  const uint8_t phase = f.Form->Editor().AntsPhase();
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Form->Editor().AntsPhase() != phase; }, 60000));
  const QImage shot = f.Form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QString path = testing::SaveShot(shot, "color_editor_three_segments");
  ASSERT_EQ(shot.size(), QSize(552, 246)) << path.toStdString();

  // The paint box shows the graph bitmap unchanged.
  const QWidget* box = f.Child<QWidget>("PaintBox");
  const QPoint origin = box->mapTo(f.Form, QPoint(0, 0));
  const QImage graph = ToQImage(f.Form->Editor().Graph());
  int differing = 0;
  for (int y = 0; y < graph.height(); ++y) {
    for (int x = 0; x < graph.width(); ++x) differing += shot.pixel(origin + QPoint(x, y)) != graph.pixel(x, y);
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(QColor(graph.pixel(10, 5)), QColor(255, 0, 0));        // first segment, red, top band
  EXPECT_EQ(QColor(graph.pixel(500, 20)), QColor(0, 255, 0));      // third segment
  EXPECT_EQ(QColor(graph.pixel(372, 44)), QColor(128, 128, 128));  // blink mark at x mod 4 = 0

  // Row 0's initial-colour cell: black outline, red inside, inset from the cell.
  const QRect rowRect = view->visualItemRect(view->topLevelItem(0));
  const int columnLeft = view->header()->sectionViewportPosition(5);
  const CellRect cell = ColorCellRect(columnLeft, 70, rowRect.top(), rowRect.top() + rowRect.height());
  const QPoint viewOrigin = view->viewport()->mapTo(f.Form, QPoint(0, 0));
  const auto at = [&](int x, int y) { return QColor(shot.pixel(viewOrigin + QPoint(x, y))); };
  const int midY = (cell.Top + cell.Bottom) / 2;
  EXPECT_EQ(at(cell.Left, midY), QColor(Qt::black));
  EXPECT_EQ(at(cell.Right - 1, midY), QColor(Qt::black));
  EXPECT_EQ(at((cell.Left + cell.Right) / 2, cell.Top), QColor(Qt::black));
  EXPECT_EQ(at((cell.Left + cell.Right) / 2, cell.Bottom - 1), QColor(Qt::black));
  EXPECT_EQ(at(cell.Left + 1, midY), QColor(255, 0, 0));
  EXPECT_EQ(at(cell.Right - 2, midY), QColor(255, 0, 0));
  EXPECT_NE(at(cell.Left - 1, midY), QColor(Qt::black));
  EXPECT_NE(at(cell.Right, midY), QColor(Qt::black));
  // Row 1's final colour: blue.
  const QRect row1 = view->visualItemRect(view->topLevelItem(1));
  const int finalLeft = view->header()->sectionViewportPosition(6);
  EXPECT_EQ(at(finalLeft + 35, row1.center().y()), QColor(0, 0, 255));
}

TEST(ColorForm, MouseDragOfTheLastRowOntoTheFirst) {
  OpenForm f(ThreeSegments());
  ColorListView* view = f.View();
  QWidget* viewport = view->viewport();
  int dragsEnded = 0;
  QObject::connect(view, &ColorListView::DragEnded, [&] { ++dragsEnded; });
  const QPoint from = view->visualItemRect(view->topLevelItem(2)).center();
  const QPoint to = view->visualItemRect(view->topLevelItem(0)).center();
  // The drag runs its own event loop: the drop is played from inside it, once it runs.
  QTimer drop;
  drop.setInterval(5);
  QObject::connect(&drop, &QTimer::timeout, viewport, [&drop, view, viewport, to] {
    if (!Dragging(*view)) return;
    drop.stop();
    QTest::mouseMove(viewport, to);
    QTest::mouseMove(viewport, to + QPoint(1, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
  });
  drop.start();
  // Should the drop never be played, Escape ends the drag so the suite cannot hang.
  QTimer::singleShot(60000, viewport, [viewport] { QTest::keyClick(viewport, Qt::Key_Escape); });
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
  for (int i = 1; i <= 20; ++i) QTest::mouseMove(viewport, from + QPoint(0, -i));
  EXPECT_TRUE(QTest::qWaitFor([&] { return dragsEnded == 1; }, 60000));
  ProcessEvents();
  EXPECT_EQ(dragsEnded, 1);
  ASSERT_EQ(view->topLevelItemCount(), 3);
  EXPECT_EQ(view->topLevelItem(0)->text(0), "70");
  EXPECT_EQ(view->topLevelItem(1)->text(0), "0");
  EXPECT_EQ(f.Form->Editor().Rows()[0].InitialPos, 70);
}

}  // namespace
}  // namespace orvane
