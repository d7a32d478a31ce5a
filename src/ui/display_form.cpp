#include "ui/display_form.h"

#include <algorithm>

#include <cstdlib>

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "assets/asset_folder.h"
#include "model/about_text.h"
#include "ui/context_check.h"
#include "ui/main_form.h"
#include "ui/open_gl_panel.h"
#include "ui/qt_key_codes.h"
#include "ui/sdl_joystick.h"

namespace orvane {
namespace {

constexpr const char* kTimerResolutionMessage = "Cannot obtain the High-Resolution Timer minimum period.";
constexpr int32_t kMinTimerResolution = 10;

MouseButtons ButtonsOf(const QMouseEvent* event) {
  return {(event->buttons() & Qt::LeftButton) != 0, (event->buttons() & Qt::RightButton) != 0};
}

QPoint PixelPosition(const QMouseEvent* event, const QWidget* panel) {
  return (event->position() * panel->devicePixelRatioF()).toPoint();
}

}  // namespace

void ShowFatalAndExit(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kFatalCaption), QString::fromStdString(message),
                  QMessageBox::Ok);
  box.exec();
  std::exit(EXIT_FAILURE);
}

DisplayForm::DisplayForm(MainForm& main, std::string tempFolder, FatalHandler fatal)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_(main),
      tempFolder_(std::move(tempFolder)),
      fatal_(std::move(fatal)),
      dialogs_(this),
      scenery_(dialogs_) {
  setObjectName(QStringLiteral("DisplayForm"));
  if (!fatal_) {
    // The program ends at once: take the copied assets away first.
    fatal_ = [this](const std::string& message) {
      RemoveSceneryAssets(tempFolder_);
      ShowFatalAndExit(message);
    };
  }
  setWindowTitle(QStringLiteral("Effects visualization"));
  // Closing the main window ends the program, not this one.
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(15);
  font.setBold(true);
  setFont(font);
  setFocusPolicy(Qt::StrongFocus);

  if (const auto error = ExtractSceneryAssets(tempFolder_)) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, *error);
  }
  AssetFolder = tempFolder_;

  DisplayServices services;
  services.Panel = this;
  services.Font = &font_;
  services.Sprite = &scenery_;
  services.Models = &scenery_;
  services.Poster = &poster_;
  services.Timers = &timers_;
  services.MainWindow = this;
  services.Dialogs = &dialogs_;
  // QOpenGLWidget draws into its own framebuffer object, which is bound while it paints.
  services.Capture = CaptureBuffer::Current;
  core_ = std::make_unique<DisplayCore>(services, tempFolder_);

  panel_ = new OpenGLPanel(this);
  panel_->setObjectName(QStringLiteral("OpenGLPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panel_);
  resize(kClientWidth, kClientHeight);

  panel_->OnInitialize = [this](const ContextFacts& facts) { OpenGLPanelInitialize(facts); };
  panel_->OnResize = [this] { OpenGLPanelResize(); };
  panel_->OnPaint = [this] { OpenGLPanelPaint(); };
  panel_->OnMousePress = [this](QMouseEvent* e) {
    const QPoint at = PixelPosition(e, panel_);
    core_->OpenGLPanelMouseDown(at.x(), at.y(), ButtonsOf(e));
  };
  panel_->OnMouseMove = [this](QMouseEvent* e) {
    const QPoint at = PixelPosition(e, panel_);
    core_->OpenGLPanelMouseMove(at.x(), at.y(), ButtonsOf(e));
  };
  panel_->OnMouseRelease = [this](QMouseEvent*) { core_->OpenGLPanelMouseUp(); };
  panel_->OnDoubleClick = [this](QMouseEvent*) { core_->OpenGLPanelDblClick(); };

  joystick_ = std::make_unique<SdlJoystick>();
  connect(joystick_.get(), &SdlJoystick::Moved, this, [this](uint32_t x, uint32_t y) { core_->JoystickMove(x, y); });
  connect(joystick_.get(), &SdlJoystick::ZMoved, this, [this](uint32_t z) { core_->JoystickZMove(z); });
  connect(joystick_.get(), &SdlJoystick::ButtonDown, this, [this](uint32_t b) { core_->JoystickButtonDown(b); });

  renderTimer_.setInterval(kRenderMs);
  renderTimer_.setTimerType(Qt::PreciseTimer);
  connect(&renderTimer_, &QTimer::timeout, this, &DisplayForm::RenderTimerTimer);
}

DisplayForm::~DisplayForm() {
  renderTimer_.stop();
  joystick_.reset();
  if (sceneReady_) {
    panel_->makeCurrent();
    core_->Shutdown();
    scenery_.FreeModels();
    panel_->doneCurrent();
  } else {
    core_->Shutdown();
  }
  core_.reset();
  RemoveSceneryAssets(tempFolder_);
}

void DisplayForm::OpenGLPanelInitialize(const ContextFacts& facts) {
  if (const auto failure = ContextFailure(facts)) {
    fatal_(*failure);
    return;
  }
  int32_t resolution = QueryTimerResolution();
  if (resolution == -1) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, kTimerResolutionMessage);
  } else if (resolution < kMinTimerResolution) {
    resolution = kMinTimerResolution;
  }
  core_->TimerResolution = resolution;
  core_->InitScene();
  sceneReady_ = true;
  core_->OpenGLPanelResize();
}

void DisplayForm::OpenGLPanelResize() {
  if (sceneReady_) core_->OpenGLPanelResize();
}

void DisplayForm::OpenGLPanelPaint() {
  if (!sceneReady_) return;
  const DisplaySwitches s = main_.Switches();
  core_->View = {s.RotateCamera, s.ShowScenery, s.ShowProjection, s.ProjXY, s.OpenXY, s.ProjXZ, s.OpenXZ};
  core_->RenderTick();
}

void DisplayForm::RenderTimerTimer() { panel_->update(); }

void DisplayForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!renderTimer_.isActive()) renderTimer_.start();
}

void DisplayForm::keyPressEvent(QKeyEvent* event) {
  const int32_t key = DisplayKeyCode(event->key());
  if (key == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  // The capture reads the panel's framebuffer, bound while its context is current.
  const bool capture = key == kKeyF5 && sceneReady_;
  if (capture) panel_->makeCurrent();
  core_->FormKeyDown(key);
  if (capture) panel_->doneCurrent();
}

void DisplayForm::keyReleaseEvent(QKeyEvent* event) {
  // X11 repeats a held key as release-press pairs; only the real release lets go.
  if (event->isAutoRepeat()) return;
  const int32_t key = DisplayKeyCode(event->key());
  if (key != 0) core_->FormKeyUp(key);
}

// The panel is composed opaque, so the picture is the colour channels as they are; the
// alpha the additive blending leaves behind is not part of it.
QImage DisplayForm::GrabPanel() {
  const QImage frame = panel_->grabFramebuffer().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return QImage(frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine(), QImage::Format_RGB32)
      .copy();
}

// ---- DisplayPort

void DisplayForm::SetGuideOrigin(int axis, float value) {
  if (axis >= 0 && axis < 3) core_->GuideOrigin[axis] = value;
}

void DisplayForm::SetBillboards3D(bool on) { core_->Billboards3D = on; }

void DisplayForm::ShowCompileText() {
  const std::string text = kCompilingText;
  const OverlayPlace at = CentredPlace(PanelWidth(), PanelHeight(), core_->TextExtent(text).Width);
  core_->AddOverlay(text, at.X, at.Y, 1.0f, 0.5f, 0.5f, 0.0f, 0.05f, core_->CompileText);
}

void DisplayForm::HideCompileText() { core_->RemoveOverlay(core_->CompileText); }

void DisplayForm::ShowAboutLines() {
  core_->AboutShown = true;
  for (int i = 0; i < kAboutLineCount; ++i) {
    const AboutLine& line = kAboutLines[static_cast<size_t>(i)];
    const std::string text = DecodedAboutLine(i);
    const OverlayPlace at = AboutLinePlace(i, PanelWidth(), PanelHeight(), core_->TextExtent(text).Width);
    core_->AddOverlay(text, at.X, at.Y, line.Color[0], line.Color[1], line.Color[2], 0.0f, line.Step,
                      core_->AboutSlots[static_cast<size_t>(i)]);
  }
}

void DisplayForm::HideAboutLines() {
  core_->AboutShown = false;
  for (OverlaySlot& slot : core_->AboutSlots) core_->RemoveOverlay(slot);
}

bool DisplayForm::StartPlayback() { return core_->StartPlayback(); }
bool DisplayForm::StartPlaybackAt(uint32_t first_frame) { return core_->StartPlaybackAt(first_frame); }
void DisplayForm::StopPlayback() { core_->Player().StopPlayback(); }
int64_t DisplayForm::PlaybackFrame() const {
  return core_->Player().Active() ? std::max<int64_t>(core_->Player().CurrentFrame(), 0) : -1;
}
bool DisplayForm::PlaybackPaused() const { return core_->Player().Active() && core_->Player().Paused(); }
void DisplayForm::TogglePlaybackPause() {
  if (core_->Player().Active()) core_->TogglePause();
}

void DisplayForm::BringToFront() {
  show();
  raise();
  activateWindow();
}

// ---- services

int32_t DisplayForm::PanelWidth() const { return panel_ ? panel_->PixelWidth() : kClientWidth; }
int32_t DisplayForm::PanelHeight() const { return panel_ ? panel_->PixelHeight() : kClientHeight; }

// The main window's execution state lights and puts out the lamp with its buttons; the
// end of a show is the lamp going out.
void DisplayForm::SetVisualLed(bool lit) {
  if (!lit) main_.PlaybackFinished();
}

void DisplayForm::ShowProgress(int32_t percent) { main_.ShowProgress(percent); }
void DisplayForm::PostProgress(int32_t position, int32_t count) { main_.PostProgress(position, count); }
bool DisplayForm::DeviceSelected() const { return main_.Devices().Selection().has_value(); }
// Both come with the lamp going out, which restores every button at once.
void DisplayForm::EnableCompileButtons() {}
void DisplayForm::EnableVisualizeButton() {}
bool DisplayForm::VisualizeEnabled() const { return main_.Execution().Buttons().Visualize; }
void DisplayForm::ClickVisualize() { main_.PostStartVisualize(); }
void DisplayForm::PostStartVisualize() { main_.PostStartVisualize(); }
void DisplayForm::CloseMainWindow() { main_.close(); }

}  // namespace orvane
