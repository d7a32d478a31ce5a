// The main window's controls and their arrangement.

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/form_ranges.h"
#include "model/main_window_values.h"
#include "ui/devices_list_view.h"
#include "ui/main_form.h"
#include "ui/main_form_images.h"
#include "ui/status_lamp.h"

namespace orvane {
namespace {

constexpr uint32_t kCompileLampColor = 0x0080FFFF;  // light yellow
constexpr uint32_t kVisualLampColor = 0x00FFFF80;   // light cyan
constexpr const char* kHintUnitProperty = "orvaneHintUnit";

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QGroupBox* Group(const char* caption, const char* name) {
  auto* group = Named(new QGroupBox(QString::fromLatin1(caption)), name);
  return group;
}

QVBoxLayout* Column(QWidget* owner, int spacing = 1) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(spacing);
  return layout;
}

QSlider* Track(const char* name, int min, int max, int value, HintUnit unit, int tickEvery = 0) {
  auto* track = Named(new QSlider(Qt::Horizontal), name);
  track->setRange(min, max);
  track->setValue(value);
  track->setProperty(kHintUnitProperty, static_cast<int>(unit));
  track->setFixedHeight(18);
  if (tickEvery > 0) {
    track->setTickPosition(QSlider::TicksBelow);
    track->setTickInterval(tickEvery);
    track->setFixedHeight(22);
  }
  track->setToolTip(QString::fromStdString(TrackHint(value, unit)));
  return track;
}

// A caption above its track bar.
void AddTrack(QVBoxLayout* layout, const char* caption, QSlider* track) {
  auto* label = new QLabel(QString::fromUtf8(caption));
  label->setWordWrap(true);
  label->setBuddy(track);
  layout->addWidget(label);
  layout->addWidget(track);
}

QLineEdit* Edit(const char* name, const char* text, int width) {
  auto* edit = Named(new QLineEdit(QString::fromLatin1(text)), name);
  edit->setFixedWidth(width);
  return edit;
}

QHBoxLayout* Row(int spacing = 4) {
  auto* row = new QHBoxLayout;
  row->setSpacing(spacing);
  row->setContentsMargins(0, 0, 0, 0);
  return row;
}

QPushButton* Button(const char* name, const char* caption) {
  auto* button = Named(new QPushButton(QString::fromLatin1(caption)), name);
  button->setFixedHeight(24);
  button->setAutoDefault(false);
  return button;
}

// The lamp at the left edge of its button.
QHBoxLayout* WithLamp(StatusLamp* lamp, QPushButton* button) {
  auto* row = Row(2);
  row->addWidget(lamp);
  row->addWidget(button, 1);
  return row;
}

}  // namespace

void MainForm::UpdateTrackHint(QSlider* track) {
  const auto unit = static_cast<HintUnit>(track->property(kHintUnitProperty).toInt());
  track->setToolTip(QString::fromStdString(TrackHint(track->value(), unit)));
}

void MainForm::BuildControls() {
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->setSpacing(6);

  auto* first = new QVBoxLayout;
  first->setSpacing(4);
  auto* codeRow = Row();
  codeRow->addWidget(new QLabel(QStringLiteral("Device code")));
  DevCodeEdit = Edit("DevCodeEdit", "1", 60);
  codeRow->addWidget(DevCodeEdit);
  SubDeviceCheck = Named(new QCheckBox(QStringLiteral("Sub-device")), "SubDeviceCheck");
  codeRow->addWidget(SubDeviceCheck);
  codeRow->addStretch(1);
  first->addLayout(codeRow);
  first->addWidget(BuildAnglesGroup());
  first->addWidget(BuildPositionGroup());
  first->addWidget(BuildListArea(), 1);

  auto* second = new QVBoxLayout;
  second->setSpacing(4);
  second->addWidget(BuildStarsGroup());
  second->addWidget(BuildLengthGroup());
  second->addStretch(1);

  auto* third = new QVBoxLayout;
  third->setSpacing(4);
  third->addWidget(BuildNextEffectGroup());
  third->addWidget(BuildExecutionGroup(), 1);

  columns->addLayout(first, 1);
  columns->addLayout(second, 1);
  columns->addLayout(third, 1);
}

QWidget* MainForm::BuildAnglesGroup() {
  auto* group = Group(" Effects projection angles ", "AnglesGroup");
  auto* layout = Column(group);
  ProjXYTrack = Track("ProjXYTrack", kProjectionRange.Min, kProjectionRange.Max, 0, HintUnit::Degrees, 10);
  OpenXYTrack = Track("OpenXYTrack", kOpeningRange.Min, kOpeningRange.Max, 360, HintUnit::Degrees);
  ProjXZTrack = Track("ProjXZTrack", kProjectionRange.Min, kProjectionRange.Max, 0, HintUnit::Degrees);
  OpenXZTrack = Track("OpenXZTrack", kOpeningRange.Min, kOpeningRange.Max, 180, HintUnit::Degrees);
  AddTrack(layout, "Projection XY", ProjXYTrack);
  AddTrack(layout, "Opening XY", OpenXYTrack);
  AddTrack(layout, "Projection XZ", ProjXZTrack);
  AddTrack(layout, "Opening XZ", OpenXZTrack);
  ShowProyCheck = Named(new QCheckBox(QStringLiteral("Show projection")), "ShowProyCheck");
  layout->addWidget(ShowProyCheck);
  return group;
}

QWidget* MainForm::BuildPositionGroup() {
  auto* group = Group(" Device starting position ", "PositionGroup");
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(6, 4, 6, 4);
  PosXEdit = Edit("PosXEdit", "0", 50);
  PosYEdit = Edit("PosYEdit", "0", 50);
  PosZEdit = Edit("PosZEdit", "0", 50);
  const std::pair<const char*, QLineEdit*> axes[] = {{"X", PosXEdit}, {"Y", PosYEdit}, {"Z", PosZEdit}};
  for (const auto& [caption, edit] : axes) {
    row->addWidget(new QLabel(QString::fromLatin1(caption)));
    row->addWidget(edit);
  }
  row->addStretch(1);
  return group;
}

QWidget* MainForm::BuildListArea() {
  auto* area = new QWidget;
  auto* row = new QHBoxLayout(area);
  row->setContentsMargins(0, 0, 0, 0);
  DevicesList = Named(new DevicesListView, "DevicesList");
  row->addWidget(DevicesList, 1);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(3);
  CreateBt = Button("CreateBt", "Create");
  ModifyBt = Button("ModifyBt", "Assign");
  DeleteBt = Button("DeleteBt", "Delete");
  ClearBt = Button("ClearBt", "Delete all");
  SaveBt = Button("SaveBt", "Save");
  LoadBt = Button("LoadBt", "Load");
  for (QPushButton* b : {CreateBt, ModifyBt, DeleteBt, ClearBt}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(SaveBt);
  buttons->addWidget(LoadBt);
  row->addLayout(buttons);
  return area;
}

QWidget* MainForm::BuildStarsGroup() {
  auto* group = Group(" Stars characteristics ", "StarsGroup");
  auto* layout = Column(group);
  auto* quantity = Row();
  quantity->addWidget(new QLabel(QStringLiteral("Star quantity")));
  StarQuanEdit = Edit("StarQuanEdit", "500", 60);
  quantity->addWidget(StarQuanEdit);
  quantity->addStretch(1);
  layout->addLayout(quantity);

  auto* kind = Row();
  RegeRadio = Named(new QRadioButton(QStringLiteral("Progressive")), "RegeRadio");
  ExploRadio = Named(new QRadioButton(QStringLiteral("Explosive")), "ExploRadio");
  ExploRadio->setChecked(true);
  auto* kindGroup = new QButtonGroup(group);
  kindGroup->addButton(RegeRadio);
  kindGroup->addButton(ExploRadio);
  kind->addWidget(RegeRadio);
  kind->addWidget(ExploRadio);
  layout->addLayout(kind);

  TrailCheck = Named(new QCheckBox(QStringLiteral("Generate particle trail")), "TrailCheck");
  layout->addWidget(TrailCheck);
  TrailTrack = Track("TrailTrack", kTrailRange.Min, kTrailRange.Max, 100, HintUnit::Percent);
  TrailTrack->setEnabled(false);
  AddTrack(layout, "Trail length in relation to the star's life", TrailTrack);
  PesoTrack = Track("PesoTrack", kWeightRange.Min, kWeightRange.Max, 10, HintUnit::Percent);
  VelocTrack = Track("VelocTrack", kSpeedRange.Min, kSpeedRange.Max, 20, HintUnit::Percent);
  ResistTrack = Track("ResistTrack", kResistanceRange.Min, kResistanceRange.Max, 10, HintUnit::Percent);
  SizeTrack = Track("SizeTrack", kSizeRange.Min, kSizeRange.Max, 10, HintUnit::Tenths);
  AddTrack(layout, "Weight", PesoTrack);
  AddTrack(layout, "Speed", VelocTrack);
  AddTrack(layout, "Resistance", ResistTrack);
  AddTrack(layout, "Size", SizeTrack);

  auto* speeds = Group(" Speed distribution ", "SpeedGroup");
  auto* speedRow = new QHBoxLayout(speeds);
  speedRow->setContentsMargins(6, 2, 6, 2);
  VelAleatRadio = Named(new QRadioButton(QStringLiteral("Random")), "VelAleatRadio");
  VelHomogRadio = Named(new QRadioButton(QStringLiteral("Homogeneous")), "VelHomogRadio");
  VelHomogRadio->setChecked(true);
  speedRow->addWidget(VelAleatRadio);
  speedRow->addWidget(VelHomogRadio);
  layout->addWidget(speeds);

  EditarColorBt = Button("EditarColorBt", "Color and effect editor");
  layout->addWidget(EditarColorBt);
  return group;
}

QWidget* MainForm::BuildLengthGroup() {
  auto* group = Group(" Length ", "LengthGroup");
  auto* layout = Column(group);
  auto* length = Row();
  length->addWidget(new QLabel(QStringLiteral("Effect's length")));
  EffectLengthEdit = Edit("EffectLengthEdit", "2000", 60);
  length->addWidget(EffectLengthEdit);
  length->addWidget(new QLabel(QStringLiteral("ms")));
  length->addStretch(1);
  layout->addLayout(length);
  VidaMaxTrack = Track("VidaMaxTrack", kLifeRange.Min, kLifeRange.Max, 100, HintUnit::Percent);
  VidaMinTrack = Track("VidaMinTrack", kLifeRange.Min, kLifeRange.Max, 50, HintUnit::Percent);
  AddTrack(layout, "Star's maximum life in relation to the effect", VidaMaxTrack);
  AddTrack(layout, "Star's minimum life in relation to its maximum", VidaMinTrack);
  return group;
}

QWidget* MainForm::BuildNextEffectGroup() {
  auto* group = Group(" Next effect ", "NextEffectGroup");
  auto* layout = Column(group);
  auto addLink = [&](const char* check, const char* checkName, QCheckBox*& box, const char* editName, QLineEdit*& edit,
                     const char* trackName, QSlider*& track) {
    box = Named(new QCheckBox(QString::fromLatin1(check)), checkName);
    layout->addWidget(box);
    auto* code = Row();
    code->addWidget(new QLabel(QStringLiteral("Code of the device to be used")));
    edit = Edit(editName, "", 50);
    edit->setEnabled(false);
    code->addWidget(edit);
    code->addStretch(1);
    layout->addLayout(code);
    track = Track(trackName, kChainStartRange.Min, kChainStartRange.Max, 100, HintUnit::Percent);
    track->setEnabled(false);
    AddTrack(layout, "Next effect's initiation time", track);
  };
  addLink("Apply to the effect", "NextEffCheck", NextEffCheck, "NextEffCodeEdit", NextEffCodeEdit, "NextEffPosTrack",
          NextEffPosTrack);
  layout->addSpacing(4);
  addLink("Apply to each star", "NextParCheck", NextParCheck, "NextParCodeEdit", NextParCodeEdit, "NextParPosTrack",
          NextParPosTrack);
  return group;
}

QWidget* MainForm::BuildExecutionGroup() {
  auto* group = Group(" Execution control ", "ExecutionGroup");
  auto* layout = Column(group, 3);

  CompileLed = Named(new StatusLamp(kCompileLampColor), "CompileLed");
  VisualLed = Named(new StatusLamp(kVisualLampColor), "VisualLed");
  RenderBt = Button("RenderBt", "Compile");
  VisualizarBt = Button("VisualizarBt", "Visualize");
  RenderBt->setFixedHeight(26);
  VisualizarBt->setFixedHeight(26);
  RenAndVisBt = Named(new QToolButton, "RenAndVisBt");
  RenAndVisBt->setIcon(RenderAndVisualizeGlyph());
  RenAndVisBt->setFixedSize(26, 26);
  auto* run = Row(6);
  run->addLayout(WithLamp(CompileLed, RenderBt), 1);
  run->addLayout(WithLamp(VisualLed, VisualizarBt), 1);
  run->addWidget(RenAndVisBt);
  layout->addLayout(run);

  Progress = Named(new QProgressBar, "Progress");
  Progress->setRange(0, 100);
  Progress->setValue(0);
  Progress->setTextVisible(false);
  Progress->setFixedHeight(14);
  layout->addWidget(Progress);

  auto* counts = Row();
  counts->addWidget(new QLabel(QStringLiteral("Particles:")));
  ParLabel = Named(new QLabel, "ParLabel");
  counts->addWidget(ParLabel, 1);
  counts->addWidget(new QLabel(QStringLiteral("Scale")));
  ScaleEdit = Edit("ScaleEdit", "1", 50);
  counts->addWidget(ScaleEdit);
  layout->addLayout(counts);

  TresDCheck = Named(new QCheckBox(QStringLiteral("Visualize in 3D")), "TresDCheck");
  TresDCheck->setChecked(true);
  RotateCheck = Named(new QCheckBox(QStringLiteral("Rotate camera")), "RotateCheck");
  SceneryCheck = Named(new QCheckBox(QStringLiteral("Show scenario")), "SceneryCheck");
  SceneryCheck->setChecked(true);
  layout->addWidget(TresDCheck);
  layout->addWidget(RotateCheck);
  layout->addWidget(SceneryCheck);
  ShowBt = Button("ShowBt", "Show...");
  ShowBt->setToolTip(QStringLiteral("Show timeline: cues, music and beats"));
  layout->addWidget(ShowBt);
  layout->addStretch(1);

  auto* presets = Row(2);
  for (int k = 1; k <= 6; ++k) {
    auto* button = new QToolButton;
    button->setObjectName(QStringLiteral("Pre%1Bt").arg(k));
    button->setText(QString::number(k));
    button->setToolTip(QStringLiteral("Preconfiguration %1").arg(k));
    button->setFixedSize(22, 22);
    PresetBts.push_back(button);
    presets->addWidget(button);
  }
  presets->addStretch(1);
  Label23 = Named(new QLabel(QStringLiteral("<a href=\"help\" style=\"color:#0000ff;\">Help</a>")), "Label23");
  Label23->setTextFormat(Qt::RichText);
  Label23->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  Label23->setCursor(Qt::PointingHandCursor);
  presets->addWidget(Label23);
  AboutBt = Named(new QToolButton, "AboutBt");
  AboutBt->setIcon(AboutGlyph());
  AboutBt->setAutoRaise(true);
  AboutBt->setToolTip(QStringLiteral("About..."));
  AboutBt->setCursor(Qt::PointingHandCursor);
  AboutBt->setFixedSize(22, 22);
  presets->addWidget(AboutBt);
  layout->addLayout(presets);
  return group;
}

}  // namespace orvane
