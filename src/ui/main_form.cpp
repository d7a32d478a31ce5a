#include "ui/main_form.h"

#include <tuple>

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "compiler/compile_thread.h"
#include "compiler/compiled_device_prep.h"
#include "model/about_text.h"
#include "model/main_window_values.h"
#include "model/presets.h"
#include "ui/color_editor_opener.h"
#include "ui/color_form.h"
#include "ui/devices_list_view.h"
#include "ui/main_form_images.h"
#include "ui/queued_compile_listener.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

constexpr int kScreenMargin = 20;

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

void SetText(QLineEdit* edit, const std::string& text) {
  const QString q = QString::fromStdString(text);
  if (edit->text() != q) edit->setText(q);
}

void SetChecked(QAbstractButton* button, bool on) {
  if (button->isChecked() != on) button->setChecked(on);
}

}  // namespace

MainForm::MainForm(ProgramFolders folders, ShowProject& project, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      folders_(std::move(folders)),
      project_(project),
      dialogs_(dialogs),
      list_(project.Devices()) {
  setObjectName(QStringLiteral("MainForm"));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  setFont(font);
  list_.SetDeviceFolder(folders_.App);
  BuildControls();
  setFixedSize(kClientWidth, kClientHeight);
  colorOpener_ = std::make_unique<ColorEditorOpener>(this, list_.EditSegments(), dialogs_);
  ConnectControls();
  ConnectExecution();
  project_.AddObserver(*this);
  ShowAll();
}

MainForm::~MainForm() { project_.RemoveObserver(*this); }

std::filesystem::path MainForm::ShowFilePath() const { return folders_.Temp + kShowFileName; }

DisplaySwitches MainForm::Switches() const {
  return {RotateCheck->isChecked(), SceneryCheck->isChecked(), ShowProyCheck->isChecked(), ProjXYTrack->value(),
          OpenXYTrack->value(),     ProjXZTrack->value(),      OpenXZTrack->value()};
}

void MainForm::SetDisplay(DisplayPort* display) {
  display_ = display;
  if (!display_) return;
  for (int axis = 0; axis < 3; ++axis) PositionChange(axis);
  display_->SetBillboards3D(TresDCheck->isChecked());
}

void MainForm::ConnectControls() {
  for (QSlider* track : findChildren<QSlider*>()) {
    connect(track, &QSlider::valueChanged, this, [this, track] { UpdateTrackHint(track); });
  }
  connect(PosXEdit, &QLineEdit::textChanged, this, [this] { PositionChange(0); });
  connect(PosYEdit, &QLineEdit::textChanged, this, [this] { PositionChange(1); });
  connect(PosZEdit, &QLineEdit::textChanged, this, [this] { PositionChange(2); });
  connect(ScaleEdit, &QLineEdit::textChanged, this, &MainForm::ScaleEditChange);
  connect(TresDCheck, &QCheckBox::toggled, this, [this](bool on) {
    if (display_) display_->SetBillboards3D(on);
  });
  connect(RegeRadio, &QRadioButton::toggled, this, &MainForm::StarKindChange);
  connect(TrailCheck, &QCheckBox::toggled, TrailTrack, &QSlider::setEnabled);
  for (auto [box, edit, track] : {std::tuple{NextEffCheck, NextEffCodeEdit, NextEffPosTrack},
                                  std::tuple{NextParCheck, NextParCodeEdit, NextParPosTrack}}) {
    connect(box, &QCheckBox::toggled, edit, &QLineEdit::setEnabled);
    connect(box, &QCheckBox::toggled, track, &QSlider::setEnabled);
    connect(box, &QCheckBox::clicked, this, [this, box = box, edit = edit] { LinkCheckClick(box, edit); });
  }

  connect(CreateBt, &QPushButton::clicked, this, &MainForm::CreateBtClick);
  connect(ModifyBt, &QPushButton::clicked, this, &MainForm::ModifyBtClick);
  connect(DeleteBt, &QPushButton::clicked, this, &MainForm::DeleteBtClick);
  connect(ClearBt, &QPushButton::clicked, this, &MainForm::ClearBtClick);
  connect(LoadBt, &QPushButton::clicked, this, &MainForm::LoadBtClick);
  connect(SaveBt, &QPushButton::clicked, this, &MainForm::SaveBtClick);
  connect(DevicesList, &QTreeWidget::itemSelectionChanged, this, &MainForm::DevicesListSelectionChanged);
  // After the drop has finished, as the file-drop message would come.
  connect(DevicesList, &DevicesListView::FilesDropped, this, &MainForm::DevicesListFilesDropped, Qt::QueuedConnection);
  connect(EditarColorBt, &QPushButton::clicked, colorOpener_.get(), &ColorEditorOpener::Open);

  for (size_t i = 0; i < PresetBts.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    connect(PresetBts[i], &QToolButton::clicked, this, [this, k] { PresetClick(k); });
  }
  connect(AboutBt, &QToolButton::clicked, this, &MainForm::AboutBtClick);
  connect(ShowBt, &QPushButton::clicked, this, &MainForm::ShowWindowRequested);
  // Device edits undo as show edits do; an edit box keeps these keys for its own text.
  connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this, [this] { project_.Undo(); });
  connect(new QShortcut(QKeySequence::Redo, this), &QShortcut::activated, this, [this] { project_.Redo(); });
  connect(Label23, &QLabel::linkActivated, this, &MainForm::HelpClick);
}

// ---- model <-> controls

// The controls that map one to one onto the form's values.
struct MainForm::FormBindings {
  std::vector<std::pair<QLineEdit*, std::string DeviceForm::*>> Edits;
  std::vector<std::pair<QAbstractButton*, bool DeviceForm::*>> Checks;
  std::vector<std::pair<QSlider*, int DeviceForm::*>> Tracks;
};

MainForm::FormBindings MainForm::Bindings() const {
  return {{{DevCodeEdit, &DeviceForm::DevCode},
           {StarQuanEdit, &DeviceForm::StarQuantity},
           {EffectLengthEdit, &DeviceForm::EffectLength},
           {NextEffCodeEdit, &DeviceForm::NextEffCode},
           {NextParCodeEdit, &DeviceForm::NextParCode},
           {PosXEdit, &DeviceForm::PosX},
           {PosYEdit, &DeviceForm::PosY},
           {PosZEdit, &DeviceForm::PosZ}},
          {{SubDeviceCheck, &DeviceForm::SubDevice},
           {TrailCheck, &DeviceForm::Trail},
           {NextEffCheck, &DeviceForm::NextEff},
           {NextParCheck, &DeviceForm::NextPar}},
          {{ProjXYTrack, &DeviceForm::ProjXY},
           {OpenXYTrack, &DeviceForm::OpenXY},
           {ProjXZTrack, &DeviceForm::ProjXZ},
           {OpenXZTrack, &DeviceForm::OpenXZ},
           {TrailTrack, &DeviceForm::TrailLength},
           {PesoTrack, &DeviceForm::Weight},
           {VelocTrack, &DeviceForm::Speed},
           {ResistTrack, &DeviceForm::Resistance},
           {SizeTrack, &DeviceForm::Size},
           {VidaMaxTrack, &DeviceForm::MaxLife},
           {VidaMinTrack, &DeviceForm::MinLife},
           {NextEffPosTrack, &DeviceForm::NextEffPos},
           {NextParPosTrack, &DeviceForm::NextParPos}}};
}

void MainForm::ReadForm() {
  DeviceForm& f = list_.Form();
  const FormBindings b = Bindings();
  for (const auto& [edit, value] : b.Edits) f.*value = Text(edit);
  for (const auto& [box, value] : b.Checks) f.*value = box->isChecked();
  for (const auto& [track, value] : b.Tracks) f.*value = track->value();
  f.Progressive = RegeRadio->isChecked();
  f.Explosive = ExploRadio->isChecked();
  f.RandomSpeed = VelAleatRadio->isChecked();
  f.HomogeneousSpeed = VelHomogRadio->isChecked();
}

// The star kind goes before the speed distribution, so the rule of Progressive (Random
// forced) applies first and the device's own distribution is shown after it.
void MainForm::ShowForm() {
  const DeviceForm& f = list_.Form();
  const FormBindings b = Bindings();
  for (const auto& [box, value] : b.Checks) SetChecked(box, f.*value);
  for (const auto& [edit, value] : b.Edits) SetText(edit, f.*value);
  for (const auto& [track, value] : b.Tracks) track->setValue(f.*value);
  if (f.Progressive) SetChecked(RegeRadio, true);
  if (f.Explosive) SetChecked(ExploRadio, true);
  if (f.RandomSpeed) SetChecked(VelAleatRadio, true);
  if (f.HomogeneousSpeed) SetChecked(VelHomogRadio, true);
}

void MainForm::ShowList() {
  const auto& items = list_.Items();
  DevicesList->clear();
  for (const DeviceListItem& item : items) {
    auto* row = new QTreeWidgetItem(DevicesList, {QString::fromStdString(item.Caption)});
    row->setIcon(0, QIcon(DeviceListImage(item.Image)));
  }
  DevicesList->SetRedFont(list_.RedFont());
  if (const auto selected = list_.Selection(); selected && *selected < items.size()) {
    QTreeWidgetItem* row = DevicesList->topLevelItem(static_cast<int>(*selected));
    DevicesList->setCurrentItem(row);
    row->setSelected(true);
    DevicesList->scrollToItem(row);
  }
}

void MainForm::ShowButtons() {
  const ListButtons list = list_.EnabledButtons();
  const ExecutionButtons& run = execution_.Buttons();
  KeepFocusOffDisabledButtons({{CreateBt, list.Create},
                               {ModifyBt, list.Assign},
                               {DeleteBt, list.Delete},
                               {SaveBt, list.Save},
                               {RenderBt, run.Compile},
                               {VisualizarBt, run.Visualize},
                               {RenAndVisBt, run.RenderAndVisualize}});
  CreateBt->setEnabled(list.Create);
  ModifyBt->setEnabled(list.Assign);
  DeleteBt->setEnabled(list.Delete);
  SaveBt->setEnabled(list.Save);
  RenderBt->setEnabled(run.Compile);
  VisualizarBt->setEnabled(run.Visualize);
  RenAndVisBt->setEnabled(run.RenderAndVisualize);
  CompileLed->SetLit(run.CompileLed);
  VisualLed->SetLit(run.VisualLed);
}

// Qt hands the focus of a button being disabled to the next control in the chain, the
// "Scale" box, with its text selected: the next keystroke would replace the scale.
void MainForm::KeepFocusOffDisabledButtons(std::initializer_list<std::pair<QWidget*, bool>> buttons) {
  for (const auto& [button, enabled] : buttons) {
    if (!enabled && focusWidget() == button) {
      DevicesList->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void MainForm::ApplyFocus() {
  QWidget* target = nullptr;
  switch (list_.Focus()) {
    case FormFocus::None: break;
    case FormFocus::DevCodeEdit: target = DevCodeEdit; break;
    case FormFocus::StarQuanEdit: target = StarQuanEdit; break;
    case FormFocus::EffectLengthEdit: target = EffectLengthEdit; break;
    case FormFocus::NextEffCodeEdit: target = NextEffCodeEdit; break;
    case FormFocus::NextParCodeEdit: target = NextParCodeEdit; break;
    case FormFocus::PosXEdit: target = PosXEdit; break;
    case FormFocus::PosYEdit: target = PosYEdit; break;
    case FormFocus::PosZEdit: target = PosZEdit; break;
    case FormFocus::DevicesList: target = DevicesList; break;
    case FormFocus::RenderBt: target = RenderBt; break;
  }
  if (target) target->setFocus(Qt::OtherFocusReason);
  list_.RequestFocus(FormFocus::None);
}

// The execution buttons follow the list's selection.
void MainForm::ShowExecution() {
  if (list_.Selection()) {
    execution_.ItemSelected();
  } else {
    execution_.ItemDeselected();
  }
  ShowButtons();
}

// After every list operation: the model is the truth, the controls follow it.
void MainForm::ShowAll() {
  showing_ = true;
  ShowForm();
  ShowList();
  showing_ = false;
  ShowExecution();
  ApplyFocus();
}

void MainForm::ProjectChanged(const ProjectChange& change) {
  if (change.Has(ProjectPart::kDevices) || change.Has(ProjectPart::kDocument)) ShowAll();
}

// ---- list operations

void MainForm::EditDevices(const char* text, const std::function<void(DeviceList&)>& operation) {
  project_.EditDevices(text, operation);
}

void MainForm::CreateBtClick() {
  ReadForm();
  EditDevices("Create device", [this](DeviceList& l) { l.Create(dialogs_); });
}

void MainForm::ModifyBtClick() {
  ReadForm();
  EditDevices("Assign device", [this](DeviceList& l) { l.Assign(dialogs_); });
}

void MainForm::DeleteBtClick() {
  EditDevices("Delete device", [this](DeviceList& l) { l.Delete(dialogs_); });
}

void MainForm::ClearBtClick() {
  EditDevices("Delete all devices", [this](DeviceList& l) { l.DeleteAll(dialogs_); });
}

void MainForm::LoadBtClick() {
  if (!project_.ConfirmReplacingDevices("Load", dialogs_)) return;
  EditDevices("Load devices", [this](DeviceList& l) { l.LoadChosenFolder(dialogs_); });
}

void MainForm::SaveBtClick() { list_.SaveChosenFolder(dialogs_); }

void MainForm::DevicesListFilesDropped(const std::vector<std::filesystem::path>& files) {
  EditDevices("Add device files", [&](DeviceList& l) { l.LoadDroppedFiles(files, dialogs_); });
}

void MainForm::DevicesListSelectionChanged() {
  if (showing_) return;
  const auto rows = DevicesList->selectedItems();
  if (rows.isEmpty()) {
    list_.Deselect();
  } else {
    ReadForm();
    list_.Select(static_cast<size_t>(DevicesList->indexOfTopLevelItem(rows.front())));
  }
  showing_ = true;
  ShowForm();
  showing_ = false;
  ShowExecution();
}

void MainForm::PresetClick(int k) {
  const std::string name = "Preset " + std::to_string(k);
  if (!project_.ConfirmReplacingDevices(name, dialogs_)) return;
  ShowProyCheck->setChecked(false);
  EditDevices(name.c_str(), [this, k](DeviceList& l) { ApplyPreset(k, l, dialogs_); });
}

// ---- control rules

void MainForm::PositionChange(int axis) {
  const QLineEdit* edits[] = {PosXEdit, PosYEdit, PosZEdit};
  if (display_) display_->SetGuideOrigin(axis, BoxValue(Text(edits[axis])));
}

void MainForm::ScaleEditChange() { scale_.store(BoxValue(Text(ScaleEdit)), std::memory_order_relaxed); }

void MainForm::StarKindChange() {
  if (RegeRadio->isChecked()) {
    VelAleatRadio->setChecked(true);
    VelHomogRadio->setEnabled(false);
  } else {
    VelHomogRadio->setEnabled(true);
  }
}

// A chaining box clicked by the user: its code edit takes the focus, or loses its text.
void MainForm::LinkCheckClick(const QCheckBox* box, QLineEdit* codeEdit) {
  if (box->isChecked()) {
    codeEdit->setFocus(Qt::OtherFocusReason);
  } else {
    codeEdit->clear();
  }
}

// ---- About and help

void MainForm::AboutBtClick() {
  if (!display_) return;
  display_->BringToFront();
  if (aboutTag_ != 0) {
    aboutTag_ = 0;
    display_->HideAboutLines();
  } else {
    aboutTag_ = 1;
    display_->ShowAboutLines();
  }
}

void MainForm::HelpClick() { dialogs_.Message(DialogKind::Information, DialogButtons::Ok, HelpText()); }

// ---- window

void MainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  setWindowTitle(QString::fromStdString(DecodedTitle()));
  if (placed_) return;
  placed_ = true;
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    move(area.right() + 1 - frame.width() - kScreenMargin, area.bottom() + 1 - frame.height() - kScreenMargin);
  }
}

void MainForm::closeEvent(QCloseEvent* event) {
  if (project_.AskToSave(dialogs_) == ShowProject::LosingEdits::kCancel) {
    event->ignore();
    return;
  }
  StopCompile();
  std::error_code ignored;
  std::filesystem::remove(ShowFilePath(), ignored);
  event->accept();
  emit Closed();
}

}  // namespace orvane
