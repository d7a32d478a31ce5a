#include "viewer/display_core.h"

#include "util/base64.h"
#include "viewer/gl_headers.h"
#include "viewer/overlay_drawing.h"
#include "viewer/scene_setup.h"

namespace orvane {
namespace {

constexpr const char* kCreditBottomBase64 = "T3J2YW5lIC0gZmlyZXdvcmtzIHBsYXllZCBpbiByZWFsIHRpbWU=";
constexpr const char* kCreditTopBase64 = "U2hvdyBjb21waWxlZCBhbmQgc2ltdWxhdGVkIGJ5IE9ydmFuZQ==";

// Offsets of the six About lines from the panel's middle, in slot order.
constexpr int32_t kAboutOffsets[6] = {45, 30, 15, -15, -30, -45};

}  // namespace

std::string CreditLineBottom() { return Base64Decode(kCreditBottomBase64); }
std::string CreditLineTop() { return Base64Decode(kCreditTopBase64); }

DisplayCore::DisplayCore(const DisplayServices& services, std::string temp_folder)
    : services_(services),
      temp_folder_(std::move(temp_folder)),
      player_(*services.Poster, *services.Timers, *services.MainWindow, *this) {}

DisplayCore::~DisplayCore() = default;

int32_t DisplayCore::PanelWidth() const { return services_.Panel ? services_.Panel->PanelWidth() : 0; }
int32_t DisplayCore::PanelHeight() const { return services_.Panel ? services_.Panel->PanelHeight() : 0; }

void DisplayCore::InitScene() {
  SetGlobalGlState();
  SetUpSceneryLights();
  if (services_.Models) models_ = services_.Models->LoadSceneryModels();
  grid_list_ = BuildGridList();
  scene_list_ = BuildSceneList(models_);
  if (services_.Font) font_.Build(*services_.Font);
  Overlays.Clear();
  PauseText = CreditTop = CreditBottom = CompileText = nullptr;
  if (services_.Sprite) services_.Sprite->LoadParticleTexture(particle_texture_);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  player_.SetTimerResolution(TimerResolution);
}

void DisplayCore::Shutdown() {
  player_.StopPump();
  font_.Free();
  Overlays.Clear();
  PauseText = CreditTop = CreditBottom = CompileText = nullptr;
  AboutSlots.fill(nullptr);
}

void DisplayCore::CentreOverlay(OverlaySlot slot, int32_t y) {
  if (slot == nullptr || !Overlays.Contains(slot)) return;
  slot->X = (PanelWidth() - TextExtent(slot->Text).Width) / 2;
  slot->Y = y;
}

void DisplayCore::OpenGLPanelResize() {
  const int32_t height = SetViewportAndProjection(PanelWidth(), PanelHeight(), Camera);
  if (CreditTop != nullptr && Overlays.Contains(CreditTop)) CreditTop->Y = height - 20;
  CentreOverlay(CompileText, height / 2);
  if (AboutShown) {
    for (size_t i = 0; i < AboutSlots.size(); ++i) CentreOverlay(AboutSlots[i], height / 2 + kAboutOffsets[i]);
  }
}

void DisplayCore::RenderTick() {
  StepCamera(Camera);
  DrawFrame();
}

void DisplayCore::DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (OverviewMode) {
    gluLookAt(4, 4, 8, 0, 0, 0, 0, 1, 0);
  } else {
    gluLookAt(Camera.Eye.x, Camera.Eye.y, Camera.Eye.z, Camera.Target.x, Camera.Target.y, Camera.Target.z, 0, 1, 0);
  }
  if (View.RotateCamera) RotateStep(Camera);
  if (View.ShowScenery) glCallList(ModelScenery ? scene_list_ : grid_list_);
  if (View.ShowProjection) {
    Guide = GuideRangesFor(View.ProjXY, View.OpenXY, View.ProjXZ, View.OpenXZ);
    DrawProjectionGuide(Guide, GuideOrigin);
  }
  if (const std::vector<uint8_t>* frame = player_.FrameData(); frame != nullptr && player_.Playing()) {
    if (!frame->empty()) particles_.Draw(frame->data(), frame->size(), particle_texture_, Billboards3D);
    player_.MarkFrameConsumed();
  }
  DrawOverlays();
  if (OverviewMode) DrawCameraMarker(Camera, models_.Camera, ShowSightLine);
  player_.AdvanceFrame();
}

void DisplayCore::AddOverlay(const std::string& text, int32_t x, int32_t y, float red, float green, float blue,
                             float alpha, float step, OverlaySlot& slot) {
  Overlays.AddOverlay(text, x, y, red, green, blue, alpha, step, slot);
}

void DisplayCore::RemoveOverlay(OverlaySlot& slot) { Overlays.RemoveOverlay(slot); }

TextSize DisplayCore::TextExtent(const std::string& text) const {
  return services_.Font ? services_.Font->Extent(text) : TextSize{};
}

void DisplayCore::DrawOverlays() { orvane::DrawOverlays(Overlays, font_, PanelWidth(), PanelHeight()); }

bool DisplayCore::StartPlayback() { return StartPlaybackOf(temp_folder_ + kShowFileName); }

bool DisplayCore::StartPlaybackOf(const std::filesystem::path& show_file, uint32_t first_frame) {
  const auto error = player_.StartPlayback(show_file, first_frame);
  // A new show starts unpaused, so a "PAUSE" left from before would be wrong.
  if (!error && !player_.Paused()) RemoveOverlay(PauseText);
  if (error && services_.Dialogs) services_.Dialogs->Message(DialogKind::Error, DialogButtons::Ok, *error);
  return !error;
}

void DisplayCore::ShowCredits() {
  AddOverlay(CreditLineBottom(), 10, 10, 0.8f, 0.8f, 1.0f, 0, 0.05f, CreditBottom);
  AddOverlay(CreditLineTop(), 10, PanelHeight() - 20, 0.8f, 1.0f, 0.8f, 0, 0.05f, CreditTop);
}

void DisplayCore::HideCredits() {
  RemoveOverlay(CreditTop);
  RemoveOverlay(CreditBottom);
}

// Shown after the pump handler has returned, so the message box never runs inside it.
void DisplayCore::ReportDamagedShow(const std::string& text) {
  if (services_.Dialogs == nullptr) return;
  services_.Poster->Post([alive = std::weak_ptr<int>(alive_), dialogs = services_.Dialogs, text] {
    if (!alive.expired()) dialogs->Message(DialogKind::Warning, DialogButtons::Ok, text);
  });
}

void DisplayCore::TogglePause() {
  player_.SetPaused(!player_.Paused());
  if (player_.Paused()) {
    AddOverlay("PAUSE", 10, 25, 0, 1, 0, 0, 0.2f, PauseText);
  } else {
    RemoveOverlay(PauseText);
  }
}

void DisplayCore::FormKeyDown(int32_t key) {
  if (SetArrowKey(Camera, key, true)) return;
  switch (key) {
    case kKeyReturn: services_.MainWindow->PostStartVisualize(); break;
    case kKeySpace:
    case kKeyPause: TogglePause(); break;
    case kKeyEscape: services_.MainWindow->CloseMainWindow(); break;
    case kKeyF1: OverviewMode = !OverviewMode; break;
    case kKeyF2: ResetCamera(Camera); break;
    case kKeyF3: ShowSightLine = !ShowSightLine; break;
    case kKeyF4: ModelScenery = !ModelScenery; break;
    case kKeyF5: CaptureToBitmap(0, 0, PanelWidth(), PanelHeight()); break;
    default: break;
  }
}

void DisplayCore::FormKeyUp(int32_t key) { SetArrowKey(Camera, key, false); }

void DisplayCore::OpenGLPanelMouseDown(int32_t x, int32_t y, MouseButtons buttons) {
  PanelMouseDown(Camera, x, y, buttons);
}

void DisplayCore::OpenGLPanelMouseMove(int32_t x, int32_t y, MouseButtons buttons) {
  PanelMouseMove(Camera, x, y, buttons);
}

void DisplayCore::OpenGLPanelMouseUp() { PanelMouseUp(Camera); }

void DisplayCore::OpenGLPanelDblClick() { ResetCamera(Camera); }

void DisplayCore::JoystickMove(uint32_t x, uint32_t y) { orvane::JoystickMove(Camera, x, y); }

void DisplayCore::JoystickZMove(uint32_t z) { orvane::JoystickZMove(Camera, z); }

void DisplayCore::JoystickButtonDown(uint32_t b) {
  auto pressed = [b](uint32_t changed, uint32_t down) { return (b & changed) != 0 && (b & down) != 0; };
  if (pressed(kJoyButton1Changed, kJoyButton1) && services_.MainWindow->VisualizeEnabled()) {
    services_.MainWindow->ClickVisualize();
  }
  if (pressed(kJoyButton2Changed, kJoyButton2)) TogglePause();
  if (pressed(kJoyButton3Changed, kJoyButton3)) OverviewMode = !OverviewMode;
  if (pressed(kJoyButton4Changed, kJoyButton4)) ResetCamera(Camera);
}

void DisplayCore::CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height) {
  const CaptureResult result = orvane::CaptureToBitmap(x, y, width, height, services_.Capture);
  if (!result.error.empty() && services_.Dialogs) {
    services_.Dialogs->Message(DialogKind::Error, DialogButtons::Ok, result.error);
  }
}

}  // namespace orvane
