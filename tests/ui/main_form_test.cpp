#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "main_form_desk.h"
#include "model/decimal_text.h"
#include "model/presets.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

using testing::Desk;
using testing::ProcessEvents;

void ExpectTrack(const QSlider* track, int min, int max, int value, const char* hint, bool enabled = true) {
  ASSERT_NE(track, nullptr);
  SCOPED_TRACE(track->objectName().toStdString());
  EXPECT_EQ(track->minimum(), min);
  EXPECT_EQ(track->maximum(), max);
  EXPECT_EQ(track->value(), value);
  EXPECT_EQ(track->toolTip().toStdString(), hint);
  EXPECT_EQ(track->isEnabled(), enabled);
}

TEST(MainForm, OpensWithTheDesignedControls) {
  Desk d;
  MainForm& f = d.Form;
  EXPECT_EQ(f.size(), QSize(712, 526));
  EXPECT_EQ(f.minimumSize(), f.maximumSize());
  EXPECT_EQ(f.windowTitle(), "Orvane");
  EXPECT_EQ(f.DevCodeEdit->text(), "1");
  EXPECT_FALSE(f.SubDeviceCheck->isChecked());
  ExpectTrack(f.ProjXYTrack, 0, 360, 0, "0\u00B0");
  EXPECT_EQ(f.ProjXYTrack->tickInterval(), 10);
  ExpectTrack(f.OpenXYTrack, 1, 360, 360, "360\u00B0");
  ExpectTrack(f.ProjXZTrack, 0, 360, 0, "0\u00B0");
  ExpectTrack(f.OpenXZTrack, 1, 360, 180, "180\u00B0");
  ExpectTrack(f.TrailTrack, 0, 100, 100, "100%", false);
  ExpectTrack(f.PesoTrack, -100, 100, 10, "10%");
  ExpectTrack(f.VelocTrack, 0, 100, 20, "20%");
  ExpectTrack(f.ResistTrack, 1, 100, 10, "10%");
  ExpectTrack(f.SizeTrack, 5, 30, 10, "1.0");
  ExpectTrack(f.VidaMaxTrack, 0, 100, 100, "100%");
  ExpectTrack(f.VidaMinTrack, 0, 100, 50, "50%");
  ExpectTrack(f.NextEffPosTrack, 0, 100, 100, "100%", false);
  ExpectTrack(f.NextParPosTrack, 0, 100, 100, "100%", false);
  EXPECT_EQ(f.StarQuanEdit->text(), "500");
  EXPECT_TRUE(f.ExploRadio->isChecked());
  EXPECT_TRUE(f.VelHomogRadio->isChecked());
  EXPECT_EQ(f.EffectLengthEdit->text(), "2000");
  EXPECT_FALSE(f.NextEffCodeEdit->isEnabled());
  EXPECT_TRUE(f.NextEffCodeEdit->text().isEmpty());
  EXPECT_FALSE(f.NextParCodeEdit->isEnabled());
  for (QLineEdit* e : {f.PosXEdit, f.PosYEdit, f.PosZEdit}) EXPECT_EQ(e->text(), "0");
  EXPECT_EQ(f.ScaleEdit->text(), "1");
  EXPECT_TRUE(f.TresDCheck->isChecked());
  EXPECT_FALSE(f.RotateCheck->isChecked());
  EXPECT_TRUE(f.SceneryCheck->isChecked());
  EXPECT_FALSE(f.ShowProyCheck->isChecked());
  EXPECT_EQ(f.Progress->minimum(), 0);
  EXPECT_EQ(f.Progress->maximum(), 100);
  EXPECT_EQ(f.Progress->value(), 0);
  EXPECT_TRUE(f.ParLabel->text().isEmpty());
  EXPECT_EQ(f.DevicesList->headerItem()->text(0), "Code");

  // Buttons at start: Create, Delete all and Load usable, the rest not; both lamps dark.
  EXPECT_TRUE(f.CreateBt->isEnabled());
  EXPECT_TRUE(f.ClearBt->isEnabled());
  EXPECT_TRUE(f.LoadBt->isEnabled());
  for (QWidget* w :
       std::initializer_list<QWidget*>{f.ModifyBt, f.DeleteBt, f.SaveBt, f.RenderBt, f.VisualizarBt, f.RenAndVisBt})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_FALSE(f.CompileLed->Lit());
  EXPECT_FALSE(f.VisualLed->Lit());
  EXPECT_EQ(f.CompileLed->size(), QSize(4, 26));
  EXPECT_EQ(f.CompileLed->LitColor(), QColor(255, 255, 128));
  EXPECT_EQ(f.VisualLed->LitColor(), QColor(128, 255, 255));

  ASSERT_EQ(f.PresetBts.size(), 6u);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(f.PresetBts[k - 1]->text(), QString::number(k));
    EXPECT_EQ(f.PresetBts[k - 1]->toolTip(), QStringLiteral("Preconfiguration %1").arg(k));
  }
  EXPECT_EQ(f.AboutBt->toolTip(), "About...");
  EXPECT_EQ(f.RenAndVisBt->text(), "");
  EXPECT_FALSE(f.RenAndVisBt->icon().isNull());

  QStringList groups;
  for (const QGroupBox* g : f.findChildren<QGroupBox*>()) groups << g->title();
  for (const char* caption : {" Effects projection angles ", " Stars characteristics ", " Length ", " Next effect ",
                              " Device starting position ", " Execution control ", " Speed distribution "})
    EXPECT_TRUE(groups.contains(QString::fromLatin1(caption))) << caption;

  // The display got the initial guide origin.
  EXPECT_EQ(d.Display.Origin, (std::array<float, 3>{0, 0, 0}));
  EXPECT_TRUE(d.Display.Billboards);
}

TEST(MainForm, ControlRulesAndWhatTheDisplayGets) {
  Desk d;
  MainForm& f = d.Form;
  f.OpenXYTrack->setValue(1);
  f.ProjXYTrack->setValue(90);
  EXPECT_EQ(f.ProjXYTrack->toolTip().toStdString(), "90\u00B0");
  f.OpenXZTrack->setValue(20);
  f.ProjXZTrack->setValue(91);
  const DisplaySwitches view = f.Switches();
  EXPECT_EQ(view.ProjXY, 90);
  EXPECT_EQ(view.OpenXY, 1);
  EXPECT_EQ(view.ProjXZ, 91);
  EXPECT_EQ(view.OpenXZ, 20);
  f.SizeTrack->setValue(5);
  EXPECT_EQ(f.SizeTrack->toolTip(), "0.5");
  f.SizeTrack->setValue(30);
  EXPECT_EQ(f.SizeTrack->toolTip(), "3.0");
  f.PesoTrack->setValue(-40);
  EXPECT_EQ(f.PesoTrack->toolTip(), "-40%");

  f.PosYEdit->setText("-2,5");
  EXPECT_EQ(d.Display.Origin[1], -2.5f);
  f.PosXEdit->setText("nonsense");
  EXPECT_EQ(d.Display.Origin[0], 0.0f);

  f.ScaleEdit->setText("0,5");
  EXPECT_EQ(f.Scale().load(), 0.5f);
  f.ScaleEdit->setText("abc");
  EXPECT_EQ(f.Scale().load(), 0.0f);
  f.ScaleEdit->setText("");
  EXPECT_EQ(f.Scale().load(), 0.0f);
  f.ScaleEdit->setText("2");
  EXPECT_EQ(f.Scale().load(), 2.0f);

  d.Click(f.TresDCheck);
  EXPECT_FALSE(d.Display.Billboards);

  d.Click(f.RegeRadio);
  EXPECT_TRUE(f.VelAleatRadio->isChecked());
  EXPECT_FALSE(f.VelHomogRadio->isChecked());
  EXPECT_FALSE(f.VelHomogRadio->isEnabled());
  d.Click(f.ExploRadio);
  EXPECT_TRUE(f.VelHomogRadio->isEnabled());
  EXPECT_TRUE(f.VelAleatRadio->isChecked());

  d.Click(f.TrailCheck);
  EXPECT_TRUE(f.TrailTrack->isEnabled());

  d.Click(f.NextEffCheck);
  EXPECT_TRUE(f.NextEffCodeEdit->isEnabled());
  EXPECT_TRUE(f.NextEffPosTrack->isEnabled());
  EXPECT_TRUE(f.NextEffCodeEdit->hasFocus());
  QTest::keyClicks(f.NextEffCodeEdit, "12");
  d.Click(f.NextEffCheck);
  EXPECT_FALSE(f.NextEffCodeEdit->isEnabled());
  EXPECT_TRUE(f.NextEffCodeEdit->text().isEmpty());

  const auto s = f.Switches();
  EXPECT_FALSE(s.RotateCamera);
  EXPECT_TRUE(s.ShowScenery);
  d.Click(f.RotateCheck);
  EXPECT_TRUE(f.Switches().RotateCamera);
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainForm, EveryPresetSelectsItsFirstDeviceWithoutAWarning) {
  Desk d;
  for (int k = 1; k <= kPresetCount; ++k) {
    SCOPED_TRACE(k);
    d.Form.ShowProyCheck->setChecked(true);
    d.Click(d.Form.PresetBts[static_cast<size_t>(k - 1)]);
    std::vector<std::string> expected;
    for (const PresetDevice& device : PresetDevices(k)) expected.push_back(std::to_string(device.Code));
    EXPECT_EQ(d.Captions(), expected);
    EXPECT_EQ(d.SelectedRow(), 0);
    EXPECT_EQ(d.Form.DevCodeEdit->text().toStdString(), expected.front());
    EXPECT_FALSE(d.Form.ShowProyCheck->isChecked());
    EXPECT_FALSE(d.Form.DevicesList->RedFont());
    EXPECT_TRUE(d.Form.RenderBt->isEnabled());
    EXPECT_TRUE(d.Form.RenAndVisBt->isEnabled());
    EXPECT_FALSE(d.Form.VisualizarBt->isEnabled());
    EXPECT_FALSE(d.Form.CreateBt->isEnabled());
    EXPECT_TRUE(d.Form.ModifyBt->isEnabled());
    EXPECT_TRUE(d.Form.SaveBt->isEnabled());
    EXPECT_TRUE(d.Dialogs.Messages.empty()) << d.Dialogs.Messages.front().Text;
  }
  // The first device of preset 6 is in the form, with its guide values in the display.
  EXPECT_EQ(d.Form.ProjXYTrack->value(), 92);
  EXPECT_EQ(d.Form.OpenXYTrack->value(), 26);
  EXPECT_EQ(d.Form.PosYEdit->text().toStdString(), FormatPosition(-2.0f, LocaleDecimalSeparator()));
  EXPECT_EQ(d.Display.Origin[1], -2.0f);
  EXPECT_TRUE(d.Form.TrailCheck->isChecked());
  EXPECT_EQ(d.Form.TrailTrack->value(), 16);
  EXPECT_TRUE(d.Form.NextParCheck->isChecked());
  EXPECT_EQ(d.Form.NextParCodeEdit->text(), "602");
  EXPECT_TRUE(d.Form.RenderBt->hasFocus());
}

TEST(MainForm, CreateWithANegativeCodeShowsTheOutOfRangeMessage) {
  Desk d;
  d.Form.DevCodeEdit->setText("-1");
  d.Click(d.Form.CreateBt);
  const auto& m = d.Dialogs.OnlyMessage();
  EXPECT_EQ(m.Text, "Value entered in device code is out of range, please verify.");
  EXPECT_EQ(m.Kind, DialogKind::Information);
  EXPECT_EQ(m.Buttons, DialogButtons::Yes);
  EXPECT_EQ(d.Form.DevicesList->topLevelItemCount(), 0);
  EXPECT_TRUE(d.Form.DevCodeEdit->hasFocus());
}

TEST(MainForm, CreateSelectingAndDeselectingFollowTheButtonTable) {
  Desk d;
  MainForm& f = d.Form;
  d.Click(f.CreateBt);  // device 1 with the design values
  f.DevCodeEdit->setText("2");
  // Selecting an item filled the form with device 1; change the code and make another.
  f.DevicesList->clearSelection();
  ProcessEvents();
  EXPECT_TRUE(f.CreateBt->isEnabled());
  EXPECT_FALSE(f.ModifyBt->isEnabled());
  EXPECT_FALSE(f.RenderBt->isEnabled());
  EXPECT_FALSE(f.RenAndVisBt->isEnabled());
  f.DevCodeEdit->setText("2");
  d.Click(f.CreateBt);
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(d.SelectedRow(), 1);
  EXPECT_TRUE(f.RenderBt->isEnabled());
  EXPECT_TRUE(f.RenAndVisBt->isEnabled());
  EXPECT_FALSE(f.VisualizarBt->isEnabled());
  EXPECT_FALSE(f.CreateBt->isEnabled());

  // Clicking the first row shows device 1.
  const QRect row0 = f.DevicesList->visualItemRect(f.DevicesList->topLevelItem(0));
  QTest::mouseClick(f.DevicesList->viewport(), Qt::LeftButton, {}, row0.center());
  EXPECT_EQ(d.SelectedRow(), 0);
  EXPECT_EQ(f.DevCodeEdit->text(), "1");
  EXPECT_TRUE(d.Dialogs.Messages.empty());
}

TEST(MainForm, DeselectingADeviceTakesItsFocusMarkAway) {
  Desk d;
  MainForm& f = d.Form;
  QTest::mouseClick(f.PresetBts[2], Qt::LeftButton);
  ASSERT_GE(f.DevicesList->topLevelItemCount(), 2);
  f.DevicesList->setFocus(Qt::OtherFocusReason);
  const QRect row1 = f.DevicesList->visualItemRect(f.DevicesList->topLevelItem(1));
  QTest::mouseClick(f.DevicesList->viewport(), Qt::LeftButton, {}, row1.center());
  ASSERT_EQ(d.SelectedRow(), 1);
  EXPECT_EQ(testing::RowsMarkedWithFocus(*f.DevicesList), std::set<int>{1});
  QTest::mouseClick(f.DevicesList->viewport(), Qt::LeftButton, Qt::ControlModifier, row1.center());
  ASSERT_EQ(d.SelectedRow(), -1);
  EXPECT_EQ(testing::RowsMarkedWithFocus(*f.DevicesList), std::set<int>{});
  EXPECT_FALSE(f.RenderBt->isEnabled());
  // Selecting again marks the row again.
  QTest::mouseClick(f.DevicesList->viewport(), Qt::LeftButton, {}, row1.center());
  EXPECT_EQ(d.SelectedRow(), 1);
  EXPECT_EQ(testing::RowsMarkedWithFocus(*f.DevicesList), std::set<int>{1});
}

TEST(MainForm, DeletingTheLastItemSelectsTheNewLastItem) {
  Desk d;
  d.Click(d.Form.PresetBts[0]);
  QTreeWidget* view = d.Form.DevicesList;
  view->setCurrentItem(view->topLevelItem(3));
  ProcessEvents();
  EXPECT_EQ(d.SelectedRow(), 3);
  d.Dialogs.Answers = {DialogAnswer::Yes};
  d.Click(d.Form.DeleteBt);
  EXPECT_EQ(d.Dialogs.OnlyMessage().Text, "Are you sure you wish to delete the device code 104?");
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"101", "102", "103"}));
  EXPECT_EQ(d.SelectedRow(), 2);
  EXPECT_EQ(d.Form.DevCodeEdit->text(), "103");
  EXPECT_TRUE(d.Form.DeleteBt->isEnabled());

  // Answering No keeps the device.
  d.Dialogs.Clear();
  d.Dialogs.Answers = {DialogAnswer::No};
  d.Click(d.Form.DeleteBt);
  EXPECT_EQ(d.Captions().size(), 3u);

  d.Dialogs.Answers = {DialogAnswer::Yes};
  d.Click(d.Form.ClearBt);
  EXPECT_TRUE(d.Captions().empty());
  EXPECT_FALSE(d.Form.SaveBt->isEnabled());
  EXPECT_FALSE(d.Form.RenderBt->isEnabled());
  EXPECT_TRUE(d.Form.CreateBt->isEnabled());
}

TEST(MainForm, DeviceEditsUndoAndRedoWithoutAShowAndAnEditBoxKeepsItsOwnUndo) {
  Desk d;
  d.Click(d.Form.PresetBts[0]);
  const std::vector<std::string> preset = d.Captions();
  d.Form.DevicesList->setCurrentItem(d.Form.DevicesList->topLevelItem(1));
  ProcessEvents();
  d.Dialogs.Answers = {DialogAnswer::Yes};
  d.Click(d.Form.DeleteBt);
  ASSERT_EQ(d.Captions(), (std::vector<std::string>{"101", "103", "104"}));
  EXPECT_FALSE(d.Project.ShowOpen());
  EXPECT_TRUE(d.Dialogs.Messages.size() == 1) << "no show: nothing more is asked";

  d.Form.DevicesList->setFocus();
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(d.Captions(), preset);
  EXPECT_EQ(d.SelectedRow(), 1) << "the selection comes back with the device";
  EXPECT_EQ(d.Form.DevCodeEdit->text(), "102");
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"101", "103", "104"}));
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(d.Captions().empty()) << "the preset was one edit";

  // In an edit box Ctrl+Z undoes the typing, not a device edit.
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(d.Captions(), preset);
  d.Form.ScaleEdit->setFocus();
  d.Form.ScaleEdit->selectAll();
  QTest::keyClicks(d.Form.ScaleEdit, "2");
  QTest::keyClick(d.Form.ScaleEdit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(d.Form.ScaleEdit->text(), "1");
  EXPECT_EQ(d.Captions(), preset);
}

void Drop(QWidget* target, const std::vector<std::filesystem::path>& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const auto& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f.string()));
  data.setUrls(urls);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ProcessEvents();
}

TEST(MainForm, DroppedDeviceFilesAreAdded) {
  Desk source;
  source.Click(source.Form.PresetBts[2]);
  const auto saved = source.Form.Devices().SaveToFolder(source.Scratch.Path(), source.Dialogs);
  ASSERT_FALSE(saved.Error);

  Desk d;
  d.Click(d.Form.PresetBts[0]);
  Drop(d.Form.DevicesList->viewport(), {source.Scratch.Path() / "302.osub"});
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"101", "102", "103", "104", "302"}));
  EXPECT_EQ(d.Form.Devices().Items().back().Image, 1);
  EXPECT_TRUE(d.Dialogs.Messages.empty());
  EXPECT_TRUE(d.Form.SaveBt->isEnabled());

  // Text is not a file drop.
  QMimeData text;
  text.setText("301");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(d.Form.DevicesList->viewport(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST(MainForm, LoadAsksForTheDeviceFolderStartingAtTheLastOne) {
  Desk source;
  source.Click(source.Form.PresetBts[1]);
  ASSERT_FALSE(source.Form.Devices().SaveToFolder(source.Scratch.Path(), source.Dialogs).Error);

  Desk d;
  d.Dialogs.Folders = {source.Scratch.Path().string()};
  d.Click(d.Form.LoadBt);
  ASSERT_EQ(d.Dialogs.Inputs.size(), 1u);
  EXPECT_EQ(d.Dialogs.Inputs[0].Title, "Select Device data folder");
  EXPECT_EQ(d.Dialogs.Inputs[0].Initial, d.Scratch.Folder());
  EXPECT_EQ(d.Captions().size(), 4u);
  EXPECT_EQ(d.SelectedRow(), 0);
  EXPECT_EQ(d.Form.Devices().DeviceFolder(), source.Scratch.Folder());
  EXPECT_TRUE(d.Form.RenderBt->isEnabled());

  d.Dialogs.Folders = {std::nullopt};
  d.Click(d.Form.LoadBt);
  EXPECT_EQ(d.Captions().size(), 4u);
}

TEST(MainForm, AboutTogglesTheLinesAndHelpShowsTheControls) {
  Desk d;
  d.Click(d.Form.AboutBt);
  EXPECT_EQ(d.Form.AboutTag(), 1);
  EXPECT_TRUE(d.Display.AboutShown);
  EXPECT_EQ(d.Display.Raised, 1);
  d.Click(d.Form.AboutBt);
  EXPECT_EQ(d.Form.AboutTag(), 0);
  EXPECT_FALSE(d.Display.AboutShown);

  emit d.Form.Label23->linkActivated(QStringLiteral("help"));
  const auto& m = d.Dialogs.OnlyMessage();
  EXPECT_EQ(m.Kind, DialogKind::Information);
  EXPECT_EQ(m.Buttons, DialogButtons::Ok);
  EXPECT_EQ(m.Text.rfind("Visualization control: Keyboard, Mouse & Joystick\r\n\r\n", 0), 0u);
  EXPECT_EQ(d.Form.Label23->cursor().shape(), Qt::PointingHandCursor);
}

TEST(MainForm, ClosingDeletesTheCompiledShowFile) {
  Desk d;
  const auto show = d.Scratch.Write("ovcompile.dat", "x");
  int closed = 0;
  QObject::connect(&d.Form, &MainForm::Closed, [&] { ++closed; });
  d.Form.close();
  EXPECT_FALSE(std::filesystem::exists(show));
  EXPECT_EQ(closed, 1);
  // Nothing to delete is no error.
  d.Form.show();
  d.Form.close();
  EXPECT_EQ(closed, 2);
}

TEST(MainForm, ColorEditorSegmentsGoIntoTheCreatedDevice) {
  Desk d;
  d.Click(d.Form.EditarColorBt);
  ColorForm* editor = d.Form.ColorEditor().Editor();
  ASSERT_NE(editor, nullptr);
  d.Dialogs.Texts = {"0", "100"};
  d.Dialogs.Answers = {DialogAnswer::No, DialogAnswer::Yes, DialogAnswer::Yes};
  d.Dialogs.Colors = {0x000080FFu, 0x00FF8000u};
  QTest::mouseClick(editor->findChild<QToolButton*>("AddBt"), Qt::LeftButton);
  QTest::mouseClick(editor->findChild<QPushButton*>("AcceptBt"), Qt::LeftButton);
  ProcessEvents();
  EXPECT_EQ(d.Form.ColorEditor().Tag(), 0);

  d.Form.DevCodeEdit->setText("7");
  d.Click(d.Form.CreateBt);
  ASSERT_EQ(d.Form.Devices().Devices().size(), 1u);
  const TBaseDevice& device = *d.Form.Devices().Devices().front();
  EXPECT_EQ(device.Definition.Code, 7);
  ASSERT_EQ(device.ColorData.size(), 1u);
  EXPECT_EQ(device.ColorData[0], NewColorSegment(0, 100, kMixColor | kBlink, 0x000080FF, 0x00FF8000));
  for (const auto& m : d.Dialogs.Messages) EXPECT_EQ(m.Kind, DialogKind::Confirmation) << m.Text;
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

using testing::Desk;
using testing::ProcessEvents;

TEST(MainForm, ShotAfterAPreset) {
  Desk d;
  d.Click(d.Form.PresetBts[1]);
  d.Form.CompileLed->SetLit(true);
  ProcessEvents();
  testing::SaveShot(d.Form.grab().toImage(), "main_form_preset2");
}

}  // namespace
}  // namespace orvane
