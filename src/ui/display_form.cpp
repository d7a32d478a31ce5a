#include "ui/display_form.h"

#include <algorithm>

#include <cstdlib>

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "assets/asset_folder.h"
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

  if (const Result<> extracted = ExtractSceneryAssets(tempFolder_); !extracted) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, extracted.Message());
  }
  AssetFolder = tempFolder_;

  DisplayModelServices model;
  model.Panel = this;
  model.Font = &font_;
  model.Poster = &poster_;
  model.Timers = &timers_;
  model.Dialogs = &dialogs_;
  model.Events = this;
  model_ = std::make_unique<DisplayModel>(model, main_.ShowFilePath());
  DisplayServices services;
  services.Panel = this;
  services.Font = &font_;
  services.Sprite = &scenery_;
  services.Models = &scenery_;
  services.Dialogs = &dialogs_;
  // QOpenGLWidget draws into its own framebuffer object, which is bound while it paints.
  services.Capture = CaptureBuffer::Current;
  core_ = std::make_unique<DisplayCore>(services, *model_);

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
    model_->MouseDown(at.x(), at.y(), ButtonsOf(e));
  };
  panel_->OnMouseMove = [this](QMouseEvent* e) {
    const QPoint at = PixelPosition(e, panel_);
    model_->MouseMove(at.x(), at.y(), ButtonsOf(e));
  };
  panel_->OnMouseRelease = [this](QMouseEvent*) { model_->MouseUp(); };
  panel_->OnDoubleClick = [this](QMouseEvent*) { model_->DoubleClick(); };

  joystick_ = std::make_unique<SdlJoystick>();
  connect(joystick_.get(), &SdlJoystick::Moved, this, [this](uint32_t x, uint32_t y) { model_->JoystickMove(x, y); });
  connect(joystick_.get(), &SdlJoystick::ZMoved, this, [this](uint32_t z) { model_->JoystickZMove(z); });
  connect(joystick_.get(), &SdlJoystick::ButtonDown, this, [this](uint32_t b) { model_->JoystickButtonDown(b); });

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
  model_.reset();
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
  model_->SetTimerResolution(resolution);
  core_->InitScene();
  sceneReady_ = true;
  core_->OpenGLPanelResize();
}

void DisplayForm::OpenGLPanelResize() {
  if (sceneReady_) core_->OpenGLPanelResize();
}

void DisplayForm::OpenGLPanelPaint() {
  if (!sceneReady_) return;
  model_->Switches() = main_.Switches();
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
  if (key != 0) model_->KeyUp(key);
}

// The panel is composed opaque, so the picture is the colour channels as they are; the
// alpha the additive blending leaves behind is not part of it.
QImage DisplayForm::GrabPanel() {
  const QImage frame = panel_->grabFramebuffer().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return QImage(frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine(), QImage::Format_RGB32).copy();
}

// ---- DisplayPort

void DisplayForm::SetGuideOrigin(int axis, float value) {
  if (axis >= 0 && axis < 3) model_->Modes().GuideOrigin[static_cast<size_t>(axis)] = value;
}

void DisplayForm::SetBillboards3D(bool on) { model_->Modes().Billboards3D = on; }
void DisplayForm::ShowCompileText() { model_->ShowCompileText(); }
void DisplayForm::HideCompileText() { model_->HideCompileText(); }
void DisplayForm::ShowAboutLines() { model_->ShowAboutLines(); }
void DisplayForm::HideAboutLines() { model_->HideAboutLines(); }

bool DisplayForm::StartPlayback() { return StartPlaybackAt(0); }

bool DisplayForm::StartPlaybackAt(uint32_t first_frame) {
  const Result<> started = model_->StartPlayback(first_frame);
  if (!started) dialogs_.Message(DialogKind::Error, DialogButtons::Ok, started.Message());
  return started.Ok();
}

void DisplayForm::StopPlayback() { model_->StopPlayback(); }

int64_t DisplayForm::PlaybackFrame() const {
  const PlaybackClock clock = model_->Clock();
  return clock.Active ? std::max<int64_t>(clock.Frame, 0) : -1;
}

bool DisplayForm::PlaybackPaused() const {
  const PlaybackClock clock = model_->Clock();
  return clock.Active && clock.Paused;
}

void DisplayForm::TogglePlaybackPause() {
  if (model_->Clock().Active) model_->TogglePause();
}

bool DisplayForm::SetNightLook(bool on, const NightSite& site) {
  NightLook& look = model_->Night();
  look.Site = site;
  if (!on) {
    look.On = false;
    return true;
  }
  std::string why = "the display has no OpenGL context";
  bool available = false;
  if (sceneReady_) {
    panel_->makeCurrent();
    const Result<> night = core_->Night().Available();
    panel_->doneCurrent();
    available = night.Ok();
    if (!available) why = night.Message();
  }
  if (!available) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, "The night view cannot be shown here: " + why + ".");
    look.On = false;
    return false;
  }
  look.On = true;
  // Window playback keeps its frame rate: fewer bloom levels, no reflections.
  look.Profile = NightProfile::Preview;
  return true;
}

NightCamera DisplayForm::NightView() const { return DisplayNightCamera(model_->Camera(), model_->Night().Site); }

void DisplayForm::BringToFront() {
  show();
  raise();
  activateWindow();
}

void DisplayForm::ShowWithoutFocus() {
  const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  show();
  raise();
  setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

// ---- services

int32_t DisplayForm::PanelWidth() const { return panel_ ? panel_->PixelWidth() : kClientWidth; }
int32_t DisplayForm::PanelHeight() const { return panel_ ? panel_->PixelHeight() : kClientHeight; }

// ---- DisplayEvents

void DisplayForm::PlaybackProgress(int32_t percent) { main_.ShowProgress(percent); }

// The main window's execution state restores the buttons and puts out the lamp; the
// damage, if any, the model has reported already.
void DisplayForm::PlaybackEnded(const Result<>&) {
  main_.PlaybackFinished();
  main_.PostProgress(0, -1);
}

// The main window decides whether a show may start now.
void DisplayForm::VisualizeRequested() { main_.PostStartVisualize(); }
void DisplayForm::CloseRequested() { main_.close(); }

}  // namespace orvane
