#pragma once
// A main window on its own, with its project, a recording display and scripted dialogs, shown
// and active.

#include <string>
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "compiler/compiled_device_prep.h"
#include "qt_test_helpers.h"
#include "recording_display.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "ui/color_editor_opener.h"
#include "ui/color_form.h"
#include "ui/devices_list_view.h"
#include "ui/main_form.h"

namespace orvane::testing {

struct Desk {
  // The temporary folder (show file) is the scratch folder unless given.
  explicit Desk(const std::string& temp = {})
      : Form({Scratch.Folder(), temp.empty() ? Scratch.Folder() : temp}, Project, Dialogs) {
    Form.SetDisplay(&Display);
    Form.show();
    Form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Form));
    ProcessEvents();
  }
  ~Desk() {
    if (Form.ColorEditor().Editor()) Form.ColorEditor().Editor()->close();
    ProcessEvents();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < Form.DevicesList->topLevelItemCount(); ++i)
      out.push_back(Form.DevicesList->topLevelItem(i)->text(0).toStdString());
    return out;
  }
  int SelectedRow() const {
    const auto rows = Form.DevicesList->selectedItems();
    return rows.isEmpty() ? -1 : Form.DevicesList->indexOfTopLevelItem(rows.front());
  }
  // One device of an hour, selected: ten long-lived stars whose trails grow every frame,
  // so its compile runs far longer than any test waits.
  void CreateLongDevice() {
    Form.EffectLengthEdit->setText("3600000");
    Form.StarQuanEdit->setText("10");
    Form.TrailCheck->setChecked(true);
    Form.TrailTrack->setValue(100);
    QTest::mouseClick(Form.CreateBt, Qt::LeftButton);
    ASSERT_EQ(Form.DevicesList->topLevelItemCount(), 1);
    Form.DevicesList->setCurrentItem(Form.DevicesList->topLevelItem(0));
  }
  // Check and radio boxes take the click on their indicator or text, not their middle.
  void Click(QAbstractButton* button) {
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
      button->click();
    } else {
      QTest::mouseClick(button, Qt::LeftButton);
    }
  }

  ScratchDir Scratch;
  ScriptedDialogs Dialogs;
  RecordingDisplay Display;
  ShowProject Project{PrepareCompiledPart};
  MainForm Form;
};

}  // namespace orvane::testing
