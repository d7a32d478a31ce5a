#pragma once
// Everything the display window does apart from being a window: scene set-up, viewport,
// the render tick, playback, camera and input, overlays and capture. A host (the Qt window,
// or a headless context) makes a GL context current, forwards input as plain values and
// presents the picture after each RenderTick.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "model/user_dialogs.h"
#include "viewer/bitmap_font.h"
#include "viewer/camera.h"
#include "viewer/camera_input.h"
#include "viewer/display_services.h"
#include "viewer/overlays.h"
#include "viewer/particle_renderer.h"
#include "viewer/projection_guide.h"
#include "viewer/scenery.h"
#include "viewer/screen_capture.h"
#include "viewer/show_player.h"

namespace orvane {

struct DisplayServices {
  PanelSizeSource* Panel = nullptr;
  FontService* Font = nullptr;
  ParticleSpriteSource* Sprite = nullptr;
  SceneryModelSource* Models = nullptr;  // none: the model scenario stays empty
  MainThreadPoster* Poster = nullptr;
  PeriodicTimerService* Timers = nullptr;
  MainWindowLink* MainWindow = nullptr;
  UserDialogs* Dialogs = nullptr;
  CaptureBuffer Capture = CaptureBuffer::Front;
};

// Controls of the main window that the drawing reads on every frame.
struct MainWindowView {
  bool RotateCamera = false;    // "Rotate camera"
  bool ShowScenery = true;      // "Show scenario"
  bool ShowProjection = false;  // "Show projection"
  int32_t ProjXY = 0, OpenXY = 360, ProjXZ = 0, OpenXZ = 180;  // track bars, degrees
};

class DisplayCore : private PlaybackScreen {
 public:
  // `temp_folder` ends in a path separator; it holds the compiled show.
  DisplayCore(const DisplayServices& services, std::string temp_folder);
  ~DisplayCore() override;
  DisplayCore(const DisplayCore&) = delete;
  DisplayCore& operator=(const DisplayCore&) = delete;

  // With the context current: global GL state, lights, models, scenery lists, font, sprite.
  void InitScene();
  // Viewport and projection for the panel's current size; keeps size-bound texts in place.
  void OpenGLPanelResize();
  // StepCamera, then DrawFrame; the host presents the picture afterwards.
  void RenderTick();
  void DrawFrame();
  // Frees the font, the overlays and the scenery while the context is still current.
  void Shutdown();

  // Playback of TempFolder + "ovcompile.dat"; false (after an error message) when the file
  // cannot be opened.
  bool StartPlayback();
  bool StartPlaybackOf(const std::filesystem::path& show_file, uint32_t first_frame = 0);
  // The same show from a frame on.
  bool StartPlaybackAt(uint32_t first_frame) { return StartPlaybackOf(temp_folder_ + kShowFileName, first_frame); }
  void TogglePause();

  // Input, as plain values.
  void FormKeyDown(int32_t key);
  void FormKeyUp(int32_t key);
  void OpenGLPanelMouseDown(int32_t x, int32_t y, MouseButtons buttons);
  void OpenGLPanelMouseMove(int32_t x, int32_t y, MouseButtons buttons);
  void OpenGLPanelMouseUp();
  void OpenGLPanelDblClick();
  void JoystickMove(uint32_t x, uint32_t y);
  void JoystickZMove(uint32_t z);
  // Button state and changed bits (JoystickButtonBits).
  void JoystickButtonDown(uint32_t buttons);

  void CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height);

  // Overlay texts, for the main window too.
  void AddOverlay(const std::string& text, int32_t x, int32_t y, float red, float green, float blue, float alpha,
                  float step, OverlaySlot& slot);
  void RemoveOverlay(OverlaySlot& slot);
  TextSize TextExtent(const std::string& text) const;
  void DrawOverlays();

  // The display window's state, read and written by the host and the main window.
  CameraState Camera;
  bool OverviewMode = false;
  bool ShowSightLine = true;
  bool ModelScenery = true;
  bool Billboards3D = true;
  float Scale = 1.0f;
  float GuideOrigin[3] = {0, 0, 0};
  GuideRanges Guide;
  MainWindowView View;
  OverlayList Overlays;
  OverlaySlot PauseText = nullptr, CreditTop = nullptr, CreditBottom = nullptr, CompileText = nullptr;
  // The main window's six About lines, re-centred on resize while AboutShown.
  std::array<OverlaySlot, 6> AboutSlots{};
  bool AboutShown = false;
  int32_t TimerResolution = -1;

  ShowPlayer& Player() { return player_; }
  const ShowPlayer& Player() const { return player_; }
  ParticleRenderer& Particles() { return particles_; }
  uint32_t GridList() const { return grid_list_; }
  uint32_t SceneList() const { return scene_list_; }
  uint32_t ParticleTexture() const { return particle_texture_; }
  const std::string& TempFolder() const { return temp_folder_; }

 private:
  void ShowCredits() override;
  bool CreditsShown() const override { return CreditTop != nullptr; }
  void HideCredits() override;
  void ReportDamagedShow(const std::string& text) override;

  void CentreOverlay(OverlaySlot slot, int32_t y);
  int32_t PanelWidth() const;
  int32_t PanelHeight() const;

  DisplayServices services_;
  std::string temp_folder_;
  ShowPlayer player_;
  ParticleRenderer particles_;
  BitmapFont font_;
  SceneryModelDraws models_;
  uint32_t grid_list_ = 0, scene_list_ = 0;
  uint32_t particle_texture_ = 0;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The two credit lines shown while a show ends, decoded from their stored text.
std::string CreditLineBottom();
std::string CreditLineTop();

}  // namespace orvane
