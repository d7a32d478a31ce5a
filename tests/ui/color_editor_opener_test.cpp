#include "ui/color_editor_opener.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "qt_test_helpers.h"
#include "support/scripted_dialogs.h"
#include "ui/color_form.h"
#include "ui/color_list_view.h"

namespace orvane {
namespace {

using testing::ProcessEvents;
using testing::ScriptedDialogs;

// A stand-in for the main window: its working list and the editor button.
struct Owner {
  Owner() : Opener(&Window, EditSegments, Dialogs) {
    Button.setParent(&Window);
    QObject::connect(&Button, &QPushButton::clicked, &Opener, &ColorEditorOpener::Open);
    Window.show();
  }
  ~Owner() {
    if (Opener.Editor()) Opener.Editor()->close();
    ProcessEvents();
  }
  template <class T>
  T* EditorChild(const char* name) const {
    EXPECT_NE(Opener.Editor(), nullptr);
    return Opener.Editor() ? Opener.Editor()->findChild<T*>(name) : nullptr;
  }

  ScriptedDialogs Dialogs;
  SegmentList EditSegments{NewColorSegment(0, 50, kFadeOut, 0x0000FF, 0x0000FF),
                           NewColorSegment(50, 100, kBlink, 0x00FF00, 0x00FF00)};
  QWidget Window;
  QPushButton Button{"Color and effect editor"};
  ColorEditorOpener Opener;
};

TEST(ColorEditorOpener, OneEditorAtATimeBroughtToTheFront) {
  Owner o;
  EXPECT_EQ(o.Opener.Tag(), 0);
  QTest::mouseClick(&o.Button, Qt::LeftButton);
  ColorForm* first = o.Opener.Editor();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(o.Opener.Tag(), 1);
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->isModal());
  EXPECT_EQ(first->parentWidget(), &o.Window);
  EXPECT_EQ(first->Editor().Rows().size(), 2u);

  QTest::mouseClick(&o.Button, Qt::LeftButton);
  EXPECT_EQ(o.Opener.Editor(), first);
  EXPECT_EQ(o.Window.findChildren<ColorForm*>().size(), 1);

  QTest::mouseClick(o.EditorChild<QPushButton>("CancelBt"), Qt::LeftButton);
  ProcessEvents();
  EXPECT_EQ(o.Opener.Tag(), 0);
  EXPECT_EQ(o.Opener.Editor(), nullptr);
  o.Button.click();
  EXPECT_EQ(o.Opener.Tag(), 1);
  EXPECT_NE(o.Opener.Editor(), nullptr);
}

TEST(ColorEditorOpener, CancelAfterChangesLeavesTheListAsItWas) {
  Owner o;
  const SegmentList before = o.EditSegments;
  o.Opener.Open();
  o.Dialogs.Texts = {"60", "80"};
  o.Dialogs.Answers = {DialogAnswer::No, DialogAnswer::No, DialogAnswer::No};
  o.Dialogs.Colors = {0x00123456u};
  QTest::mouseClick(o.EditorChild<QToolButton>("AddBt"), Qt::LeftButton);
  ColorListView* view = o.EditorChild<ColorListView>("ColorView");
  view->setCurrentItem(view->topLevelItem(0));
  o.Dialogs.Answers = {DialogAnswer::Yes};
  QTest::mouseClick(o.EditorChild<QToolButton>("DeleteBt"), Qt::LeftButton);
  EXPECT_EQ(view->topLevelItemCount(), 2);

  o.Opener.Editor()->close();  // the window's own close counts as Cancel
  ProcessEvents();
  EXPECT_EQ(o.Opener.Tag(), 0);
  EXPECT_EQ(o.EditSegments, before);
}

TEST(ColorEditorOpener, AcceptReplacesTheListWithNewSegments) {
  Owner o;
  int notified = 0;
  QObject::connect(&o.Opener, &ColorEditorOpener::SegmentsAccepted, [&] { ++notified; });
  o.Opener.Open();
  o.Dialogs.Texts = {"20", "40"};
  o.Dialogs.Answers = {DialogAnswer::Yes, DialogAnswer::Yes, DialogAnswer::No};
  o.Dialogs.Colors = {0x00000080u, 0x00008000u};
  QTest::mouseClick(o.EditorChild<QToolButton>("AddBt"), Qt::LeftButton);
  QTest::mouseClick(o.EditorChild<QPushButton>("AcceptBt"), Qt::LeftButton);
  ProcessEvents();
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(o.Opener.Tag(), 0);
  ASSERT_EQ(o.EditSegments.size(), 3u);
  EXPECT_EQ(o.EditSegments[2], NewColorSegment(20, 40, kFadeOut | kMixColor, 0x000080, 0x008000));
  EXPECT_FLOAT_EQ(o.EditSegments[2].ColorRate[0], -640.0f);
}

}  // namespace
}  // namespace orvane
