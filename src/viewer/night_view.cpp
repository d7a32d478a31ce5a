#include "viewer/night_view.h"

#include "compiler/show_record.h"
#include "viewer/night_lights.h"
#include "viewer/night_stars.h"
#include "viewer/scene_setup.h"

namespace orvane {

NightCamera DisplayNightCamera(const CameraState& camera, const NightSite& site) {
  NightCamera c;
  c.Eye = UnitsToMetres(camera.Eye.x, camera.Eye.y, camera.Eye.z, site);
  c.Target = UnitsToMetres(camera.Target.x, camera.Target.y, camera.Target.z, site);
  c.FovYDegrees = static_cast<float>(kFieldOfViewYDegrees);
  return c;
}

NightScene NightView::SceneOf(const std::vector<uint8_t>* frame, int64_t index, const NightSite& site) {
  NightScene scene;
  scene.Site = site;
  scene.Seconds = static_cast<double>(index) / kFramesPerSecond;
  // No frame while buffering: no stars, and the history waits for the next one.
  if (frame == nullptr) return scene;
  if (index == lastIndex_ + 1) {
    beforeLast_.swap(last_);
  } else if (index != lastIndex_) {
    beforeLast_.clear();
  }
  last_ = *frame;
  lastIndex_ = index;
  scene.Stars = NightStarsOf(last_, beforeLast_, site);
  scene.Lights = BurstLights(scene.Stars);
  return scene;
}

void NightView::Forget() {
  lastIndex_ = -2;
  last_.clear();
  beforeLast_.clear();
}

}  // namespace orvane
