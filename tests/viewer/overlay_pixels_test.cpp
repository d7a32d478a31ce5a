// Overlay lines on the picture: fading in by their step under additive blending.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gl_fixture.h"
#include "viewer/freetype_font_service.h"
#include "viewer/gl_headers.h"
#include "viewer/overlay_drawing.h"

namespace orvane::testing {
namespace {

class OverlayPixels : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    service_ = FreeTypeFontService::OverlayFont();
    ASSERT_NE(service_, nullptr);
    font_.Build(*service_);
  }
  void TearDown() override { font_.Free(); }

  // The greenest pixel of the "PAUSE" line's box after one drawn frame.
  int DrawAndReadGreen() {
    StartFrame(CameraState{});
    DrawOverlays(overlays_, font_, kPanelWidth, kPanelHeight);
    int green = 0;
    for (int32_t y = kPanelHeight - 1 - 25 - 12; y <= kPanelHeight - 1 - 25 + 3; ++y) {
      for (int32_t x = 10; x < 60; ++x) green = std::max<int>(green, PixelGreen(context_->PixelAtTopLeft(x, y)));
    }
    EXPECT_EQ(CountNonBlack() > 0, green > 0) << "nothing drawn outside the text's box";
    return green;
  }

  std::unique_ptr<FreeTypeFontService> service_;
  BitmapFont font_;
  OverlayList overlays_;
};

TEST_F(OverlayPixels, StepPointTwoDrawsAtAlphasZeroToOne) {
  OverlaySlot pause = nullptr;
  overlays_.AddOverlay("PAUSE", 10, 25, 0, 1, 0, 0, 0.2f, pause);
  const double alphas[] = {0, 0.2, 0.4, 0.6, 0.8, 1.0, 1.0};
  for (double a : alphas) EXPECT_NEAR(DrawAndReadGreen(), std::lround(a * 255), 1) << a;
}

TEST_F(OverlayPixels, LeavesDepthTestAndMatricesAsTheyWere) {
  OverlaySlot slot = nullptr;
  overlays_.AddOverlay("x", 10, 10, 1, 1, 1, 1, 0, slot);
  StartFrame(CameraState{});
  GLfloat before[16], after[16];
  glGetFloatv(GL_PROJECTION_MATRIX, before);
  DrawOverlays(overlays_, font_, kPanelWidth, kPanelHeight);
  glGetFloatv(GL_PROJECTION_MATRIX, after);
  EXPECT_TRUE(std::equal(before, before + 16, after));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(OverlayPixels, RemovedLineFadesOutAndIsFreed) {
  OverlaySlot slot = nullptr;
  overlays_.AddOverlay("PAUSE", 10, 25, 0, 1, 0, 1, 0.5f, slot);
  overlays_.RemoveOverlay(slot);
  EXPECT_EQ(DrawAndReadGreen(), 255);
  EXPECT_NEAR(DrawAndReadGreen(), 128, 1);
  EXPECT_TRUE(overlays_.Empty());
  EXPECT_EQ(DrawAndReadGreen(), 0);
}

}  // namespace
}  // namespace orvane::testing
