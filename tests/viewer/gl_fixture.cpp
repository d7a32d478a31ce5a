#include "gl_fixture.h"

#include "viewer/gl_headers.h"
#include "viewer/scene_setup.h"

namespace orvane::testing {

bool WhiteSpriteTextures::LoadParticleTexture(uint32_t& texture_id) {
  ++calls;
  const uint8_t white[2 * 2 * 3] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
  glGenTextures(1, &texture_id);
  glBindTexture(GL_TEXTURE_2D, texture_id);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  return true;
}

void GlTest::SetUp() {
  context_ = OsMesaContext::Create(kPanelWidth, kPanelHeight);
  ASSERT_NE(context_, nullptr) << "no OSMesa context";
  textures_.LoadParticleTexture(sprite_);
}

void GlTest::StartFrame(const CameraState& camera) {
  SetGlobalGlState();
  SetViewportAndProjection(kPanelWidth, kPanelHeight, camera);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

WindowPoint GlTest::Project(float x, float y, float z) const {
  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble wx = 0, wy = 0, wz = 0;
  gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
  // Window coordinates count from the bottom edge; pixel centres sit at +0.5.
  return {static_cast<int32_t>(wx), kPanelHeight - 1 - static_cast<int32_t>(wy)};
}

uint32_t GlTest::BrightestNear(WindowPoint p, int32_t radius) {
  uint32_t best = 0;
  int best_sum = -1;
  for (int32_t y = p.y - radius; y <= p.y + radius; ++y) {
    for (int32_t x = p.x - radius; x <= p.x + radius; ++x) {
      if (x < 0 || y < 0 || x >= kPanelWidth || y >= kPanelHeight) continue;
      const uint32_t v = context_->PixelAtTopLeft(x, y);
      const int sum = PixelRed(v) + PixelGreen(v) + PixelBlue(v);
      if (sum > best_sum) {
        best_sum = sum;
        best = v;
      }
    }
  }
  return best;
}

int GlTest::CountNonBlack() {
  const std::vector<uint8_t>& p = context_->Pixels();
  int count = 0;
  for (size_t i = 0; i < p.size(); i += 4) count += (p[i] | p[i + 1] | p[i + 2]) != 0;
  return count;
}

}  // namespace orvane::testing
