#pragma once
// The display's drawing: scene set-up, viewport, the render tick and capture, all read
// from a DisplayModel. A host (the Qt window, or a headless context) makes a GL context
// current, forwards input to the model and presents the picture after each RenderTick.

#include <cstdint>

#include "model/user_dialogs.h"
#include "viewer/bitmap_font.h"
#include "viewer/display_model.h"
#include "viewer/display_services.h"
#include "viewer/night_view.h"
#include "viewer/particle_renderer.h"
#include "viewer/scenery.h"
#include "viewer/screen_capture.h"

namespace orvane {

struct DisplayServices {
  PanelSizeSource* Panel = nullptr;
  FontService* Font = nullptr;
  ParticleSpriteSource* Sprite = nullptr;
  SceneryModelSource* Models = nullptr;  // none: the model scenario stays empty
  UserDialogs* Dialogs = nullptr;
  CaptureBuffer Capture = CaptureBuffer::Front;
};

class DisplayCore {
 public:
  // `model` must outlive the core.
  DisplayCore(const DisplayServices& services, DisplayModel& model);
  ~DisplayCore();
  DisplayCore(const DisplayCore&) = delete;
  DisplayCore& operator=(const DisplayCore&) = delete;

  // With the context current: global GL state, lights, models, scenery lists, font, sprite.
  void InitScene();
  // Viewport and projection for the panel's current size; keeps size-bound texts in place.
  void OpenGLPanelResize();
  // StepCamera, then DrawFrame; the host presents the picture afterwards.
  void RenderTick();
  // The classic drawing, or the night look while the model asks for it and the context has it.
  void DrawFrame();
  // Frees the font, the texts and the scenery while the context is still current.
  void Shutdown();

  // F5 saves the picture; every other key is the model's.
  void FormKeyDown(int32_t key);
  void CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height);

  DisplayModel& Model() { return model_; }
  ParticleRenderer& Particles() { return particles_; }
  NightView& Night() { return night_; }
  uint32_t GridList() const { return gridList_; }
  uint32_t SceneList() const { return sceneList_; }

 private:
  int32_t PanelWidth() const;
  int32_t PanelHeight() const;
  void DrawNightFrame();

  DisplayServices services_;
  DisplayModel& model_;
  ParticleRenderer particles_;
  NightView night_;
  BitmapFont font_;
  SceneryModelDraws models_;
  uint32_t gridList_ = 0, sceneList_ = 0;
  uint32_t particleTexture_ = 0;
};

}  // namespace orvane
