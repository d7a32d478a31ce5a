#include "viewer/headless/headless_display.h"

#include <stdlib.h>

#include <chrono>

#include "assets/asset_folder.h"

#include "viewer/thread_timer.h"

namespace orvane {

Result<std::unique_ptr<HeadlessDisplay>> HeadlessDisplay::Create(int32_t width, int32_t height) {
  std::unique_ptr<HeadlessDisplay> display(new HeadlessDisplay());
  std::string folder = (std::filesystem::temp_directory_path() / "orvane-assets-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return Fail("cannot make a temporary folder for the scenery");
  display->assetFolder_ = folder + "/";
  if (Result<> extracted = ExtractSceneryAssets(display->assetFolder_); !extracted) return extracted.Error();
  AssetFolder = display->assetFolder_;
  display->scenery_ = std::make_unique<SceneryAssets>(display->dialogs_);
  const HeadlessAssets assets{display->scenery_.get(), display->scenery_.get()};
  return Build(std::move(display), width, height, assets);
}

Result<std::unique_ptr<HeadlessDisplay>> HeadlessDisplay::Create(int32_t width, int32_t height,
                                                                 const HeadlessAssets& assets) {
  return Build(std::unique_ptr<HeadlessDisplay>(new HeadlessDisplay()), width, height, assets);
}

Result<std::unique_ptr<HeadlessDisplay>> HeadlessDisplay::Build(std::unique_ptr<HeadlessDisplay> display, int32_t width,
                                                                int32_t height, const HeadlessAssets& assets) {
  display->context_ = OsMesaContext::Create(width, height);
  if (!display->context_)
    return Fail("cannot make an offscreen GL context of " + std::to_string(width) + " x " + std::to_string(height));
  if (Result<> built = display->BuildModel(); !built) return built.Error();
  DisplayServices services;
  services.Panel = display->context_.get();
  services.Font = display->font_.get();
  services.Sprite = assets.Sprite;
  services.Models = assets.Models;
  services.Dialogs = &display->dialogs_;
  services.Capture = CaptureBuffer::Current;
  display->core_ = std::make_unique<DisplayCore>(services, *display->model_);
  display->core_->InitScene();
  display->core_->OpenGLPanelResize();
  return display;
}

Result<std::unique_ptr<HeadlessDisplay>> HeadlessDisplay::CreateNight(int32_t width, int32_t height) {
  std::unique_ptr<HeadlessDisplay> display(new HeadlessDisplay());
  display->context_ = OsMesaContext::CreateCore(width, height);
  if (!display->context_)
    return Fail("cannot make an offscreen OpenGL 3.3 core context of " + std::to_string(width) + " x " +
                std::to_string(height) + " for the night look");
  display->night_ = std::make_unique<NightView>();
  if (Result<> night = display->night_->Available(); !night) return night.Error();
  if (Result<> built = display->BuildModel(); !built) return built.Error();
  display->model_->Night().On = true;
  display->model_->Night().Profile = NightProfile::Export;
  return display;
}

Result<> HeadlessDisplay::BuildModel() {
  font_ = FreeTypeFontService::OverlayFont();
  if (!font_) return Fail("no font found for \"Arial\" bold (install fonts-liberation)");
  DisplayModelServices model;
  model.Panel = context_.get();
  model.Font = font_.get();
  model.Poster = &poster_;
  model.Timers = &timers_;
  model.Dialogs = &dialogs_;
  model_ = std::make_unique<DisplayModel>(model, std::filesystem::temp_directory_path() / kShowFileName);
  model_->SetTimerResolution(QueryTimerResolution());
  return {};
}

HeadlessDisplay::~HeadlessDisplay() {
  if (core_) {
    context_->MakeCurrent();
    core_->Shutdown();
  }
  if (night_ && context_) {
    context_->MakeCurrent();
    night_->Release();
  }
  if (scenery_ && context_) scenery_->FreeModels();
  if (!assetFolder_.empty()) {
    RemoveSceneryAssets(assetFolder_);
    std::error_code ignored;
    std::filesystem::remove(assetFolder_, ignored);
  }
}

Result<> HeadlessDisplay::Start(const std::filesystem::path& show_file, uint32_t first_frame) {
  return model_->StartPlaybackOf(show_file, first_frame);
}

void HeadlessDisplay::Pump() {
  const ShowPlayer& player = model_->Player();
  for (int i = 0; i < 2; ++i) {
    timers_.Tick();
    poster_.RunPending();
    poster_.RunUntil([&player] { return !player.LoaderRunning(); }, std::chrono::seconds(30));
    poster_.RunPending();
  }
}

void HeadlessDisplay::Tick() {
  Pump();
  if (night_) {
    DrawNightFrame();
  } else {
    core_->RenderTick();
  }
}

void HeadlessDisplay::DrawNightFrame() {
  NightScene scene = night_->SceneOf(model_->TakeFrame(), model_->Clock().Frame, model_->Night().Site);
  scene.Camera = nightCamera_;
  scene.Profile = model_->Night().Profile;
  scene.Title = nightTitle_;
  night_->Draw(scene, {0, 0, 0, context_->PanelWidth(), context_->PanelHeight()});
  model_->AdvanceFrame();
}

}  // namespace orvane
