#include "export/show_render.h"

#include <algorithm>
#include <cstdio>

#include "compiler/show_record.h"
#include "util/rounding.h"
#include "viewer/freetype_font_service.h"
#include "viewer/headless/headless_display.h"
#include "viewer/night_camera_fit.h"
#include "viewer/night_title.h"

namespace orvane {
namespace {

void Apply(const RenderOptions& o, DisplayCore& core) {
  DisplayModel& model = core.Model();
  model.Switches().ShowScenery = o.Scenery != RenderScenery::None;
  model.Modes().ModelScenery = o.Scenery == RenderScenery::Model;
  model.Modes().Billboards3D = !o.Flat;
  model.Modes().Overview = o.Overview;
  core.Particles().SetPath(o.Particles == RenderParticles::Quads ? ParticlePath::VertexArrays : ParticlePath::Sprites);
  CameraState& camera = model.Camera();
  if (o.Camera) {
    camera.Yaw = o.Camera->Yaw;
    camera.Pitch = o.Camera->Pitch;
    camera.Eye = {o.Camera->X, o.Camera->Y, o.Camera->Z};
  }
  StepCamera(camera);  // aims the target before the first view is set
  core.OpenGLPanelResize();
}

// The title's letters stand this share of the picture's height.
constexpr double kTitleHeightShare = 1.0 / 14;

// The night look's camera and title card for each frame.
class NightShots {
 public:
  // The error, when the show cannot be measured for the default camera.
  std::string Prepare(const std::string& show_file, const RenderOptions& o) {
    options_ = &o.Night;
    if (!o.Night.CameraAt) {
      ShowDirections directions(o.Night.Viewpoint, o.Night.Site);
      if (const auto fault = MeasureShowDirections(show_file, directions)) {
        return "the show file " + show_file + " is damaged at " + fault->Describe();
      }
      fitted_ =
          FitNightCamera(directions, static_cast<float>(o.Width) / static_cast<float>(o.Height), o.Night.Site.Ground);
    }
    if (!o.Night.Title.empty()) {
      const int size = static_cast<int>(o.Height * kTitleHeightShare) * kTitleOversampling;
      // Without the font the video simply has no card.
      if (auto font = FreeTypeFontService::Open("Arial", true, std::max(size, kTitleOversampling))) {
        title_ = MakeTitleCard(o.Night.Title, *font);
      }
    }
    return {};
  }

  void Aim(HeadlessDisplay& display, int64_t frame) {
    const int64_t at = std::max<int64_t>(frame, 0);
    const double seconds = static_cast<double>(at) / kFramesPerSecond;
    title_.Opacity = TitleOpacity(seconds);
    display.SetNightShot(options_->CameraAt ? options_->CameraAt(at) : fitted_,
                         title_.Opacity > 0 && !title_.Coverage.empty() ? &title_ : nullptr);
  }

 private:
  const NightRenderOptions* options_ = nullptr;
  NightCamera fitted_;
  NightTitle title_;
};

}  // namespace

std::function<NightCamera(int64_t frame)> FollowCameraPath(std::vector<CameraKey> keys) {
  return [keys = std::move(keys)](int64_t frame) {
    const CameraPathPose pose = CameraPoseAt(keys, static_cast<double>(frame) / kFramesPerSecond);
    NightCamera camera;
    for (int k = 0; k < 3; ++k) {
      camera.Eye[k] = static_cast<float>(pose.Eye[k]);
      camera.Target[k] = static_cast<float>(pose.Target[k]);
    }
    camera.FovYDegrees = static_cast<float>(pose.FovDegrees);
    return camera;
  };
}

std::string FrameTimeLabel(int64_t index) {
  char text[48];
  std::snprintf(text, sizeof text, "t = %.2f s", static_cast<double>(index) / 25.0);
  return text;
}

std::vector<int64_t> SpreadFrames(int64_t frames, int count) {
  std::vector<int64_t> picks;
  if (frames <= 0 || count <= 0) return picks;
  for (int k = 0; k < count; ++k) {
    const int64_t at = RoundHalfEven(static_cast<double>(k + 1) * static_cast<double>(frames) / (count + 1));
    const int64_t index = std::clamp<int64_t>(at, 0, frames - 1);
    if (picks.empty() || picks.back() != index) picks.push_back(index);
  }
  return picks;
}

std::vector<uint8_t> ContactSheet(const std::vector<RenderedFrame>& tiles, int32_t width, int32_t height, int columns,
                                  int rows) {
  const size_t sheet_width = static_cast<size_t>(width) * static_cast<size_t>(columns);
  std::vector<uint8_t> sheet(sheet_width * static_cast<size_t>(height) * static_cast<size_t>(rows) * 3, 0);
  for (size_t t = 0; t < tiles.size() && t < static_cast<size_t>(columns * rows); ++t) {
    if (tiles[t].Rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) continue;
    const size_t left = (t % static_cast<size_t>(columns)) * static_cast<size_t>(width);
    const size_t top = (t / static_cast<size_t>(columns)) * static_cast<size_t>(height);
    for (int32_t y = 0; y < height; ++y) {
      std::copy_n(tiles[t].Rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3,
                  static_cast<size_t>(width) * 3,
                  sheet.data() + ((top + static_cast<size_t>(y)) * sheet_width + left) * 3);
    }
  }
  return sheet;
}

RenderReport RenderShow(const std::string& show_file, const RenderOptions& options,
                        const std::function<bool(int64_t)>& wanted, const std::function<std::string(int64_t)>& label,
                        const std::function<bool(RenderedFrame&&)>& take, std::stop_token stop) {
  RenderReport report;
  const bool night = options.Look == RenderLook::Night;
  NightShots shots;
  if (night) {
    report.Error = shots.Prepare(show_file, options);
    if (!report.Error.empty()) return report;
  }
  Result<std::unique_ptr<HeadlessDisplay>> made = night ? HeadlessDisplay::CreateNight(options.Width, options.Height)
                                                        : HeadlessDisplay::Create(options.Width, options.Height);
  if (!made) {
    report.Error = made.Message();
    return report;
  }
  const std::unique_ptr<HeadlessDisplay>& display = made.Value();
  DisplayModel& model = display->Model();
  if (night) {
    model.Night().Site = options.Night.Site;
  } else {
    Apply(options, display->Core());
  }
  // The night look starts a frame early, for the stars' motion; the classic look plays the whole show.
  const auto first = night ? static_cast<uint32_t>(std::clamp<int64_t>(options.FirstFrame - 1, 0, UINT32_MAX)) : 0u;
  if (const Result<> started = display->Start(show_file, first); !started) {
    report.Messages = display->Messages();
    report.Messages.push_back(started.Message());
    report.Error = started.Message();
    return report;
  }
  OverlaySlot caption = nullptr;
  // A frame's picture is final once the show moves past it: a frame with particles may be
  // shown again while buffering, and only its last showing draws the particles.
  std::optional<RenderedFrame> pending;
  bool go_on = true;
  auto flush = [&] {
    if (pending && go_on) go_on = take(std::move(*pending));
    pending.reset();
  };
  int64_t highest = -1;
  while (go_on && model.Clock().Active) {
    if (stop.stop_requested()) {
      report.Stopped = true;
      return report;
    }
    const int64_t shown = model.Clock().Frame;
    highest = std::max(highest, shown);
    if (shown > options.LastFrame) break;
    const bool keep = shown >= 0 && wanted(shown);
    if (night) shots.Aim(*display, shown);
    if (!options.Texts) model.ClearTexts();
    if (label && !night) {
      if (caption == nullptr) model.Overlays().AddOverlay("", 0, options.Height - 16, 1, 1, 1, 1, 0, caption);
      caption->Text = keep ? label(shown) : std::string();
      // Top right, clear of the credit line at the top left.
      caption->X = options.Width - model.TextExtent(caption->Text).Width - 8;
    }
    display->Tick();
    if (!model.Clock().Active) break;
    if (pending && pending->Index != shown) flush();
    if (keep) pending = RenderedFrame{shown, display->Context().RgbTopDown()};
  }
  flush();
  report.FramesPlayed = highest + 1;
  // A show that ended by itself may have left a message (a damaged file).
  display->Pump();
  report.Messages = display->Messages();
  return report;
}

}  // namespace orvane
