#pragma once
// An OSMesa context at the display window's default panel size, set up the way the display
// window sets up its own, with helpers to read pixels where the camera math puts a point.

#include <gtest/gtest.h>

#include <memory>

#include "viewer/camera.h"
#include "viewer/display_services.h"
#include "viewer/headless/osmesa_context.h"

namespace orvane::testing {

inline constexpr int32_t kPanelWidth = 392;
inline constexpr int32_t kPanelHeight = 324;

// A 2 x 2 white sprite: under modulate the particle colour lands unchanged.
class WhiteSpriteTextures : public ParticleSpriteSource {
 public:
  bool LoadParticleTexture(uint32_t& texture_id) override;
  int calls = 0;
};

struct WindowPoint {
  int32_t x = 0, y = 0;  // from the top-left corner
};

class GlTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Global state, viewport and projection, the camera's view, a cleared picture.
  void StartFrame(const CameraState& camera);
  // Where the current matrices put a scene point.
  WindowPoint Project(float x, float y, float z) const;
  uint32_t Pixel(WindowPoint p) { return context_->PixelAtTopLeft(p.x, p.y); }
  // The brightest pixel (by red + green + blue) within `radius` of p.
  uint32_t BrightestNear(WindowPoint p, int32_t radius);
  int CountNonBlack();

  std::unique_ptr<OsMesaContext> context_;
  WhiteSpriteTextures textures_;
  uint32_t sprite_ = 0;
};

}  // namespace orvane::testing
