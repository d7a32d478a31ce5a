#include "ui/qt_user_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "qt_test_helpers.h"

namespace orvane {
namespace {

using testing::WhenModalOpens;

TEST(QtUserDialogs, MessageBoxesCarryTheAskedButtons) {
  QtUserDialogs dialogs;
  QString caption;
  int buttonCount = 0;
  QString text;
  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    buttonCount = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(dialogs.Message(DialogKind::Information, DialogButtons::Yes, "Done."), DialogAnswer::Yes);
  EXPECT_EQ(caption, "Information");
  EXPECT_EQ(text, "Done.");
  EXPECT_EQ(buttonCount, 1);

  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    buttonCount = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo, "Sure?"), DialogAnswer::No);
  EXPECT_EQ(caption, "Confirm");
  EXPECT_EQ(buttonCount, 2);

  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(dialogs.Message(DialogKind::Warning, DialogButtons::Ok, "Careful.", "Own caption"), DialogAnswer::Ok);
  EXPECT_EQ(caption, "Own caption");
}

TEST(QtUserDialogs, InputBoxReturnsTheTextOrNothing) {
  QtUserDialogs dialogs;
  QString label;
  QString prefilled;
  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(box, nullptr);
    label = box->labelText();
    prefilled = box->textValue();
    box->setTextValue("42 %");
    box->accept();
  });
  EXPECT_EQ(dialogs.InputText("Title", "Enter it", "0"), "42 %");
  EXPECT_EQ(label, "Enter it");
  EXPECT_EQ(prefilled, "0");

  WhenModalOpens([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(dialogs.InputText("Title", "Enter it", ""), std::nullopt);
}

TEST(QtUserDialogs, ColourDialogStartsOnTheGivenColour) {
  QtUserDialogs dialogs;
  QColor start;
  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(box, nullptr);
    start = box->currentColor();
    box->setCurrentColor(QColor(1, 2, 3));
    box->accept();
  });
  EXPECT_EQ(dialogs.PickColor(0x00336699), 0x00030201u);
  EXPECT_EQ(start, QColor(0x99, 0x66, 0x33));

  WhenModalOpens([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(dialogs.PickColor(0), std::nullopt);
}

}  // namespace
}  // namespace orvane
