#include "viewer/display_core.h"

// GL 3.0's framebuffer binding is read only for the night look, in contexts that have it.
#define GL_GLEXT_PROTOTYPES 1

#include "viewer/frame_memory.h"
#include "viewer/gl_headers.h"
#include "viewer/overlay_drawing.h"
#include "viewer/projection_guide.h"
#include "viewer/scene_setup.h"

namespace orvane {

DisplayCore::DisplayCore(const DisplayServices& services, DisplayModel& model) : services_(services), model_(model) {}

DisplayCore::~DisplayCore() = default;

int32_t DisplayCore::PanelWidth() const { return services_.Panel ? services_.Panel->PanelWidth() : 0; }
int32_t DisplayCore::PanelHeight() const { return services_.Panel ? services_.Panel->PanelHeight() : 0; }

void DisplayCore::InitScene() {
  KeepFrameMemory();
  SetGlobalGlState();
  SetUpSceneryLights();
  if (services_.Models) models_ = services_.Models->LoadSceneryModels();
  gridList_ = BuildGridList();
  sceneList_ = BuildSceneList(models_);
  if (services_.Font) font_.Build(*services_.Font);
  model_.ClearTexts();
  if (services_.Sprite) services_.Sprite->LoadParticleTexture(particleTexture_);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
}

void DisplayCore::Shutdown() {
  model_.Player().StopPump();
  night_.Release();
  font_.Free();
  model_.ClearTexts();
}

void DisplayCore::OpenGLPanelResize() {
  model_.PanelResized(SetViewportAndProjection(PanelWidth(), PanelHeight(), model_.Camera()));
}

void DisplayCore::RenderTick() {
  StepCamera(model_.Camera());
  DrawFrame();
}

void DisplayCore::DrawFrame() {
  if (model_.Night().On && night_.Available()) {
    DrawNightFrame();
    return;
  }
  CameraState& camera = model_.Camera();
  const DisplayModes& modes = model_.Modes();
  const DisplaySwitches& view = model_.Switches();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (modes.Overview) {
    gluLookAt(4, 4, 8, 0, 0, 0, 0, 1, 0);
  } else {
    gluLookAt(camera.Eye.x, camera.Eye.y, camera.Eye.z, camera.Target.x, camera.Target.y, camera.Target.z, 0, 1, 0);
  }
  if (view.RotateCamera) RotateStep(camera);
  if (view.ShowScenery) glCallList(modes.ModelScenery ? sceneList_ : gridList_);
  if (view.ShowProjection) {
    DrawProjectionGuide(GuideRangesFor(view.ProjXY, view.OpenXY, view.ProjXZ, view.OpenXZ), modes.GuideOrigin.data());
  }
  if (const std::vector<uint8_t>* frame = model_.TakeFrame(); frame != nullptr && !frame->empty()) {
    particles_.Draw(frame->data(), frame->size(), particleTexture_, modes.Billboards3D);
  }
  orvane::DrawOverlays(model_.Overlays(), font_, PanelWidth(), PanelHeight());
  if (modes.Overview) DrawCameraMarker(camera, models_.Camera, modes.SightLine);
  model_.AdvanceFrame();
}

void DisplayCore::DrawNightFrame() {
  CameraState& camera = model_.Camera();
  const NightLook& look = model_.Night();
  NightScene scene = night_.SceneOf(model_.TakeFrame(), model_.Clock().Frame, look.Site);
  scene.Camera = DisplayNightCamera(camera, look.Site);
  scene.Profile = look.Profile;
  if (model_.Switches().RotateCamera) RotateStep(camera);
  GLint framebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
  night_.Draw(scene, {static_cast<uint32_t>(framebuffer), 0, 0, PanelWidth(), PanelHeight()});
  // The show's own picture: the credit lines stay off it, also while they fade.
  static const std::string top = CreditLineTop(), bottom = CreditLineBottom();
  orvane::DrawOverlays(model_.Overlays(), font_, PanelWidth(), PanelHeight(),
                       [](const TTextAtt& line) { return line.Text != top && line.Text != bottom; });
  model_.AdvanceFrame();
}

void DisplayCore::FormKeyDown(int32_t key) {
  if (key == kKeyF5) {
    CaptureToBitmap(0, 0, PanelWidth(), PanelHeight());
    return;
  }
  model_.KeyDown(key);
}

void DisplayCore::CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height) {
  const CaptureResult result = orvane::CaptureToBitmap(x, y, width, height, services_.Capture);
  if (!result.error.empty() && services_.Dialogs) {
    services_.Dialogs->Message(DialogKind::Error, DialogButtons::Ok, result.error);
  }
}

}  // namespace orvane
