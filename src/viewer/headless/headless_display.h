#pragma once
// The display core in an offscreen context, stepped by its owner: two pump periods and one
// render tick per Tick, every main-thread task run in between. Used by `orvane-cli render`
// and `preview`, the pixel tests and the render benchmark.

#include <memory>
#include <string>
#include <vector>

#include "model/user_dialogs.h"
#include "util/result.h"
#include "viewer/display_core.h"
#include "viewer/freetype_font_service.h"
#include "viewer/headless/osmesa_context.h"
#include "viewer/night_view.h"
#include "viewer/queued_poster.h"
#include "viewer/scenery_assets.h"
#include "viewer/stepped_timer.h"

namespace orvane {

// Messages are kept for the caller to print; questions get no answer.
class CollectingDialogs : public UserDialogs {
 public:
  DialogAnswer Message(DialogKind, DialogButtons, const std::string& text, const std::string&) override {
    Messages.push_back(text);
    return DialogAnswer::Ok;
  }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return std::nullopt; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::vector<std::string> Messages;
};

struct HeadlessAssets {
  ParticleSpriteSource* Sprite = nullptr;  // none: untextured quads
  SceneryModelSource* Models = nullptr;    // none: empty model scenario
};

class HeadlessDisplay {
 public:
  // With the program's own scenery and sprite, extracted to a private temporary folder.
  // A failure says why the context, the font or the assets cannot be had.
  static Result<std::unique_ptr<HeadlessDisplay>> Create(int32_t width, int32_t height);
  // With the given stand-ins instead.
  static Result<std::unique_ptr<HeadlessDisplay>> Create(int32_t width, int32_t height, const HeadlessAssets& assets);
  // The night look in an OpenGL 3.3 core context, without the classic scene.
  static Result<std::unique_ptr<HeadlessDisplay>> CreateNight(int32_t width, int32_t height);
  ~HeadlessDisplay();

  DisplayModel& Model() { return *model_; }
  // The classic drawing; only for a display made by Create.
  DisplayCore& Core() { return *core_; }
  bool IsNight() const { return night_ != nullptr; }
  // What the next night frame is seen with; the title (none: no card) must outlive the Tick.
  void SetNightShot(const NightCamera& camera, const NightTitle* title) {
    nightCamera_ = camera;
    nightTitle_ = title;
  }
  OsMesaContext& Context() { return *context_; }
  const std::vector<std::string>& Messages() const { return dialogs_.Messages; }

  // Plays the show from `first_frame` on.
  Result<> Start(const std::filesystem::path& show_file, uint32_t first_frame = 0);
  // Two pump periods, then StepCamera and DrawFrame, or the night look's frame.
  void Tick();
  // The two pump periods alone.
  void Pump();

 private:
  HeadlessDisplay() = default;
  static Result<std::unique_ptr<HeadlessDisplay>> Build(std::unique_ptr<HeadlessDisplay> display, int32_t width,
                                                        int32_t height, const HeadlessAssets& assets);
  Result<> BuildModel();
  void DrawNightFrame();

  std::unique_ptr<OsMesaContext> context_;
  std::unique_ptr<FreeTypeFontService> font_;
  QueuedPoster poster_;
  SteppedTimerService timers_;
  CollectingDialogs dialogs_;
  std::string assetFolder_;
  std::unique_ptr<SceneryAssets> scenery_;
  std::unique_ptr<DisplayModel> model_;
  std::unique_ptr<DisplayCore> core_;
  std::unique_ptr<NightView> night_;
  NightCamera nightCamera_;
  const NightTitle* nightTitle_ = nullptr;
};

}  // namespace orvane
