#pragma once
// A show played in the night look: each frame's records become stars (moving since the frame
// before, when that was the one drawn last) with their burst lights, drawn by the renderer.

#include <cstdint>
#include <vector>

#include "viewer/camera.h"
#include "viewer/night_renderer.h"
#include "viewer/night_scene.h"

namespace orvane {

// The display's camera (scene units) in metres, with the display's field of view.
NightCamera DisplayNightCamera(const CameraState& camera, const NightSite& site);

class NightView {
 public:
  // False, with the reason, when the context cannot draw the night look.
  Result<> Available() { return renderer_.Available(); }

  // `frame` is show frame `index` (none while buffering, empty: no stars); the same frame
  // drawn again keeps its motion.
  NightScene SceneOf(const std::vector<uint8_t>* frame, int64_t index, const NightSite& site);

  void Draw(const NightScene& scene, const NightTarget& target) { renderer_.Render(scene, target); }

  // A new show or a seek: no motion until the next frame follows this one.
  void Forget();
  // With the context current.
  void Release() { renderer_.Release(); }
  NightRenderer& Renderer() { return renderer_; }

 private:
  NightRenderer renderer_;
  int64_t lastIndex_ = -2;
  std::vector<uint8_t> last_, beforeLast_;
};

}  // namespace orvane
