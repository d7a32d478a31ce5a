#pragma once
// The main window: the device form, the device list with its buttons, the execution
// controls and the presets. It copies its controls into the device-list model before an
// operation and shows the model again afterwards; the rules live in the model.

#include <atomic>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QWidget>

#include "compiler/compile_context.h"
#include "compiler/compile_listener.h"
#include "compiler/compile_thread.h"
#include "compiler/root_cue.h"
#include "model/device_list.h"
#include "model/execution_state.h"
#include "model/user_dialogs.h"
#include "project/show_project.h"
#include "project/show_stage.h"
#include "ui/display_port.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

namespace orvane {

class ColorEditorOpener;
class CompileController;
class QueuedCompileListener;
class DevicesListView;
class StatusLamp;

// The program's folders, each ending in '/'.
struct ProgramFolders {
  std::string App;
  std::string Temp;
};

// The main window is also the stage shows compile and play on, and a view of the project:
// its device list is the project's, and every change of the list's records is a project edit.
class MainForm : public QWidget, public ShowStage, public ProjectObserver {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 712;
  static constexpr int kClientHeight = 526;

  // `project` and `dialogs` must outlive the window. The display is attached with SetDisplay.
  MainForm(ProgramFolders folders, ShowProject& project, UserDialogs& dialogs, QWidget* parent = nullptr);
  ~MainForm() override;

  // Writes the initial guide origin and drawing mode into the display.
  void SetDisplay(DisplayPort* display);

  DeviceList& Devices() { return list_; }
  ShowProject& Project() { return project_; }
  const ExecutionState& Execution() const { return execution_; }
  const ProgramFolders& Folders() const { return folders_; }
  std::filesystem::path ShowFilePath() const;
  // The motion scale the compile reads; written by the "Scale" box.
  const std::atomic<float>& Scale() const { return scale_; }
  DisplaySwitches Switches() const;
  int AboutTag() const { return aboutTag_; }
  ColorEditorOpener& ColorEditor() { return *colorOpener_; }

  // The size bound of the compiles started from now on.
  void SetCompileLimits(const CompileLimits& limits) { limits_ = limits; }

  // Messages and calls of the display window, on the main thread.
  void PostProgress(int position, int64_t count);  // 1026: a negative value changes nothing
  void PostStartVisualize();                       // 1028
  void ShowProgress(int percent);
  // End of the show (or a show that could not be opened).
  void PlaybackFinished();

  // The stage: a show's compile as the project plans it, then its playback from the frame
  // (the display is raised without taking the keyboard from the show window).
  ShowStart CompileShow(uint32_t firstFrame) override;
  bool PlayFrom(uint32_t firstFrame) override;
  void StopPlayback() override;
  bool Compiling() const override { return execution_.Compiling(); }
  bool Playing() const override { return execution_.Playing(); }
  int64_t PlaybackFrame() const override { return display_ ? display_->PlaybackFrame() : -1; }
  bool PlaybackPaused() const override { return display_ && display_->PlaybackPaused(); }
  void TogglePlaybackPause() override;
  bool SetNightLook(bool on, const ShowSite& site) override;
  std::optional<CameraPathPose> DisplayView() const override;
  float BoxScale() const override { return scale_.load(); }
  int32_t PanelWidth() const override;
  int32_t PanelHeight() const override;
  DisplayPort* Display() const { return display_; }

  void ProjectChanged(const ProjectChange& change) override;

 signals:
  // The window was closed: the program ends.
  void Closed();
  // "Show...": the program opens the show window.
  void ShowWindowRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Building (main_form_controls.cpp).
  void BuildControls();
  QWidget* BuildAnglesGroup();
  QWidget* BuildStarsGroup();
  QWidget* BuildLengthGroup();
  QWidget* BuildNextEffectGroup();
  QWidget* BuildPositionGroup();
  QWidget* BuildListArea();
  QWidget* BuildExecutionGroup();
  void ConnectControls();
  void ConnectExecution();

  // Model <-> controls.
  struct FormBindings;
  FormBindings Bindings() const;
  void ReadForm();
  void ShowForm();
  void ShowList();
  void ShowButtons();
  void ShowExecution();
  void ApplyFocus();
  void KeepFocusOffDisabledButtons(std::initializer_list<std::pair<QWidget*, bool>> buttons);
  void ShowAll();

  // Handlers.
  void CreateBtClick();
  void ModifyBtClick();
  void DeleteBtClick();
  void ClearBtClick();
  void LoadBtClick();
  void SaveBtClick();
  void DevicesListSelectionChanged();
  void DevicesListFilesDropped(const std::vector<std::filesystem::path>& files);
  void PresetClick(int k);
  // A device-list operation as one project edit; the list is shown again through the project.
  void EditDevices(const char* text, const std::function<void(DeviceList&)>& operation);
  void AboutBtClick();
  void HelpClick();
  void PositionChange(int axis);
  void ScaleEditChange();
  void StarKindChange();
  void LinkCheckClick(const QCheckBox* box, QLineEdit* codeEdit);
  void RenderBtClick();
  void VisualizarBtClick();
  void RenAndVisBtClick();
  void Post(void (MainForm::*handler)());
  void StartCompile();                                  // 1027
  void CompileLaunched();                               // the compile thread took a start
  void CompileFinished(const CompileOutcome& outcome);  // 1025
  void ShowProgressMessage(int position, int64_t count);
  void StartVisualize();  // 1028
  void StopCompile();
  void StopCompileClick();  // Escape, or a click on the compile lamp
  void UpdateTrackHint(QSlider* track);

  ProgramFolders folders_;
  ShowProject& project_;
  UserDialogs& dialogs_;
  DisplayPort* display_ = nullptr;
  DeviceList& list_;  // the project's
  ExecutionState execution_;
  std::atomic<float> scale_{1.0f};
  bool showCompile_ = false;   // the running compile is the project's show
  bool showPlayback_ = false;  // the next or running playback is the show window's
  CompileLimits limits_{};
  // The compile's reports, then the compile: the thread is joined before its listener goes.
  std::unique_ptr<QueuedCompileListener> listener_;
  std::unique_ptr<CompileController> compiler_;
  std::unique_ptr<ColorEditorOpener> colorOpener_;
  int aboutTag_ = 0;
  uint32_t playFrom_ = 0;  // the frame the next playback starts at
  bool showing_ = false;   // controls are being set from the model
  bool placed_ = false;

 public:
  // The controls, named as the window names them (tests find them by these names too).
  QLineEdit* DevCodeEdit = nullptr;
  QCheckBox* SubDeviceCheck = nullptr;
  QSlider *ProjXYTrack = nullptr, *OpenXYTrack = nullptr, *ProjXZTrack = nullptr, *OpenXZTrack = nullptr;
  QCheckBox* ShowProyCheck = nullptr;
  QLineEdit* StarQuanEdit = nullptr;
  QRadioButton *RegeRadio = nullptr, *ExploRadio = nullptr;
  QCheckBox* TrailCheck = nullptr;
  QSlider *TrailTrack = nullptr, *PesoTrack = nullptr, *VelocTrack = nullptr, *ResistTrack = nullptr,
          *SizeTrack = nullptr;
  QRadioButton *VelAleatRadio = nullptr, *VelHomogRadio = nullptr;
  QPushButton* EditarColorBt = nullptr;
  QLineEdit* EffectLengthEdit = nullptr;
  QSlider *VidaMaxTrack = nullptr, *VidaMinTrack = nullptr;
  QCheckBox* NextEffCheck = nullptr;
  QLineEdit* NextEffCodeEdit = nullptr;
  QSlider* NextEffPosTrack = nullptr;
  QCheckBox* NextParCheck = nullptr;
  QLineEdit* NextParCodeEdit = nullptr;
  QSlider* NextParPosTrack = nullptr;
  QLineEdit *PosXEdit = nullptr, *PosYEdit = nullptr, *PosZEdit = nullptr;
  DevicesListView* DevicesList = nullptr;
  QPushButton *ClearBt = nullptr, *CreateBt = nullptr, *ModifyBt = nullptr, *DeleteBt = nullptr;
  QPushButton *SaveBt = nullptr, *LoadBt = nullptr;
  QPushButton *RenderBt = nullptr, *VisualizarBt = nullptr;
  QToolButton* RenAndVisBt = nullptr;
  QPushButton* ShowBt = nullptr;  // "Show..."
  StatusLamp *CompileLed = nullptr, *VisualLed = nullptr;
  QProgressBar* Progress = nullptr;
  QLabel* ParLabel = nullptr;
  QLineEdit* ScaleEdit = nullptr;
  QCheckBox *TresDCheck = nullptr, *RotateCheck = nullptr, *SceneryCheck = nullptr;
  std::vector<QToolButton*> PresetBts;  // "1" .. "6"
  QToolButton* AboutBt = nullptr;
  QLabel* Label23 = nullptr;  // the "Help" link
};

}  // namespace orvane
