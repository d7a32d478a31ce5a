#pragma once
// The display window: a sizeable tool window without border buttons holding the GL panel
// on which the viewer core draws the display model. It forwards keys, mouse and joystick
// to the model, runs the 40 ms render timer from its first show, and passes the model's
// events on to the main window.

#include <functional>
#include <memory>
#include <string>

#include <QTimer>
#include <QWidget>

#include "ui/display_port.h"
#include "ui/qt_font_service.h"
#include "ui/qt_main_thread_poster.h"
#include "ui/qt_user_dialogs.h"
#include "viewer/display_core.h"
#include "viewer/scenery_assets.h"
#include "viewer/thread_timer.h"

namespace orvane {

class MainForm;
class OpenGLPanel;
class SdlJoystick;
struct ContextFacts;

class DisplayForm : public QWidget, public DisplayPort, private PanelSizeSource, private DisplayEvents {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 392;
  static constexpr int kClientHeight = 324;
  static constexpr int kRenderMs = 40;

  // Shows the fatal context message and ends the program; tests put their own in.
  using FatalHandler = std::function<void(const std::string& message)>;

  // Copies the scenery assets to `tempFolder` (ending in '/'); `main` must outlive the window.
  DisplayForm(MainForm& main, std::string tempFolder, FatalHandler fatal = {});
  ~DisplayForm() override;

  DisplayModel& Model() { return *model_; }
  DisplayCore& Core() { return *core_; }
  OpenGLPanel& Panel() { return *panel_; }
  // The context was made and the scene set up.
  bool SceneReady() const { return sceneReady_; }
  int32_t TimerResolution() const { return model_->TimerResolution(); }
  // The last rendered picture of the panel.
  QImage GrabPanel();

  // DisplayPort
  void SetGuideOrigin(int axis, float value) override;
  void SetBillboards3D(bool on) override;
  void ShowCompileText() override;
  void HideCompileText() override;
  void ShowAboutLines() override;
  void HideAboutLines() override;
  bool StartPlayback() override;
  bool StartPlaybackAt(uint32_t first_frame) override;
  void StopPlayback() override;
  int64_t PlaybackFrame() const override;
  bool PlaybackPaused() const override;
  void TogglePlaybackPause() override;
  void BringToFront() override;
  void ShowWithoutFocus() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void OpenGLPanelInitialize(const ContextFacts& facts);
  void OpenGLPanelResize();
  void OpenGLPanelPaint();
  void RenderTimerTimer();

  // PanelSizeSource
  int32_t PanelWidth() const override;
  int32_t PanelHeight() const override;
  // DisplayEvents
  void PlaybackProgress(int32_t percent) override;
  void PlaybackEnded(const Result<>& end) override;
  void VisualizeRequested() override;
  void CloseRequested() override;

  MainForm& main_;
  std::string tempFolder_;
  FatalHandler fatal_;
  QtUserDialogs dialogs_;
  QtFontService font_;
  QtMainThreadPoster poster_;
  ThreadTimerService timers_;
  SceneryAssets scenery_;
  // Everything above outlives the model, which stops its threads when it goes.
  std::unique_ptr<DisplayModel> model_;
  std::unique_ptr<DisplayCore> core_;
  OpenGLPanel* panel_ = nullptr;
  std::unique_ptr<SdlJoystick> joystick_;
  QTimer renderTimer_;
  bool sceneReady_ = false;
};

// The default fatal handler: an error box owned by no window, then the program ends.
void ShowFatalAndExit(const std::string& message);

}  // namespace orvane
