// Particles drawn through OSMesa land where the camera puts them, in their colour, added.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gl_fixture.h"
#include "viewer/gl_headers.h"
#include "viewer/particle_record.h"
#include "viewer/particle_renderer.h"

namespace orvane::testing {
namespace {

// A raw 10-byte record: position in 1/3000 units, colour bytes, alpha and size nibbles.
std::array<uint8_t, 10> Record(int16_t x, int16_t y, int16_t z, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha,
                               uint8_t size) {
  auto u = [](int16_t v) { return static_cast<uint16_t>(v); };
  return {static_cast<uint8_t>(u(x)),
          static_cast<uint8_t>(u(x) >> 8),
          static_cast<uint8_t>(u(y)),
          static_cast<uint8_t>(u(y) >> 8),
          static_cast<uint8_t>(u(z)),
          static_cast<uint8_t>(u(z) >> 8),
          r,
          g,
          b,
          static_cast<uint8_t>(alpha << 4 | size)};
}

std::vector<uint8_t> Frame(std::initializer_list<std::array<uint8_t, 10>> records) {
  std::vector<uint8_t> bytes;
  for (const auto& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
  return bytes;
}

class ParticlePixels : public GlTest {
 protected:
  void Draw(const std::vector<uint8_t>& frame, bool billboards, ParticlePath path = ParticlePath::VertexArrays) {
    StartFrame(camera_);
    renderer_.SetPath(path);
    renderer_.Draw(frame.data(), frame.size(), sprite_, billboards);
  }

  CameraState camera_;  // at (0, 0, 8) looking at the origin
  ParticleRenderer renderer_;
};

TEST(ParticleRecordTest, DecodesFieldsAndSmallestSize) {
  const auto r = Record(3000, -1500, 6, 255, 128, 0, 15, 0);
  const DecodedParticle p = DecodeParticle(r.data());
  EXPECT_FLOAT_EQ(p.X, 1.0f);
  EXPECT_FLOAT_EQ(p.Y, -0.5f);
  EXPECT_FLOAT_EQ(p.Z, 0.002f);
  EXPECT_FLOAT_EQ(p.Green, 128 / 255.0f);
  EXPECT_FLOAT_EQ(p.Alpha, 1.0f);
  EXPECT_FLOAT_EQ(p.HalfSize, 0.005f) << "a size nibble of 0 still draws";
  EXPECT_FLOAT_EQ(DecodeParticle(Record(0, 0, 0, 0, 0, 0, 8, 15).data()).HalfSize, 0.15f);
  EXPECT_FLOAT_EQ(DecodeParticle(Record(0, 0, 0, 0, 0, 0, 8, 15).data()).Alpha, 8 / 15.0f);
}

TEST_F(ParticlePixels, LandsOnProjectedPixelInItsColour) {
  Draw(Frame({Record(3000, -1500, 0, 255, 128, 0, 15, 10)}), true);
  const WindowPoint at = Project(1.0f, -0.5f, 0);
  // 392 x 324 at 45 degrees from distance 8: about 49 pixels a unit, right and below centre.
  EXPECT_NEAR(at.x, 196 + 49, 1);
  EXPECT_NEAR(at.y, 162 + 24, 1);
  const uint32_t p = Pixel(at);
  EXPECT_EQ(PixelRed(p), 255);
  EXPECT_EQ(PixelGreen(p), 128);
  EXPECT_EQ(PixelBlue(p), 0);
  // Half-size 0.1 is about 5 pixels: 8 pixels away is outside the quad.
  EXPECT_EQ(Pixel({at.x + 8, at.y}), 0u);
  EXPECT_EQ(Pixel({at.x, at.y - 8}), 0u);
  EXPECT_NE(Pixel({at.x + 3, at.y + 3}), 0u);
}

TEST_F(ParticlePixels, OverlappingParticlesAddUp) {
  const auto r = Record(0, 0, 0, 100, 40, 10, 15, 5);
  Draw(Frame({r, r}), true);
  const uint32_t p = Pixel(Project(0, 0, 0));
  EXPECT_EQ(PixelRed(p), 200);
  EXPECT_EQ(PixelGreen(p), 80);
  EXPECT_EQ(PixelBlue(p), 20);
}

TEST_F(ParticlePixels, AlphaWeightsTheColourAndNibbleZeroAddsNothing) {
  Draw(Frame({Record(0, 0, 0, 255, 255, 255, 0, 15)}), true);
  EXPECT_EQ(CountNonBlack(), 0);
  Draw(Frame({Record(0, 0, 0, 255, 255, 255, 5, 15)}), true);
  EXPECT_NEAR(PixelRed(Pixel(Project(0, 0, 0))), 85, 1);  // 255 * 5 / 15
}

TEST_F(ParticlePixels, FlatModeDropsDepth) {
  Draw(Frame({Record(1500, 900, 0, 0, 255, 0, 15, 8)}), false);
  const std::vector<uint8_t> near = context_->Pixels();
  Draw(Frame({Record(1500, 900, -9000, 0, 255, 0, 15, 8)}), false);
  EXPECT_EQ(context_->Pixels(), near) << "z must not move a flat particle";
  EXPECT_GT(CountNonBlack(), 0);
  Draw(Frame({Record(1500, 900, -9000, 0, 255, 0, 15, 8)}), true);
  EXPECT_NE(context_->Pixels(), near) << "billboards do use z";
}

TEST_F(ParticlePixels, SceneryInFrontHidesParticlesButParticlesHideNothing) {
  StartFrame(camera_);
  // An opaque square between the camera and the particle writes depth.
  glColor3f(0, 0, 1);
  glBegin(GL_QUADS);
  glVertex3f(-0.5f, -0.5f, 2);
  glVertex3f(0.5f, -0.5f, 2);
  glVertex3f(0.5f, 0.5f, 2);
  glVertex3f(-0.5f, 0.5f, 2);
  glEnd();
  const std::vector<uint8_t> frame = Frame({Record(0, 0, 0, 255, 0, 0, 15, 15), Record(0, 0, 9000, 0, 255, 0, 15, 15)});
  renderer_.Draw(frame.data(), frame.size(), sprite_, true);
  const uint32_t p = Pixel(Project(0, 0, 0));
  EXPECT_EQ(PixelRed(p), 0) << "behind the square";
  EXPECT_EQ(PixelGreen(p), 255) << "in front of the square";
  EXPECT_EQ(PixelBlue(p), 255);
}

TEST_F(ParticlePixels, VertexArraysGiveTheSamePixelsAsImmediateMode) {
  std::vector<uint8_t> frame;
  for (int i = 0; i < 500; ++i) {
    const auto r =
        Record(static_cast<int16_t>(i * 37 % 9000 - 4500), static_cast<int16_t>(i * 53 % 7000 - 3500),
               static_cast<int16_t>(i * 71 % 12000 - 6000), static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 5),
               static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i % 16), static_cast<uint8_t>(i % 16));
    frame.insert(frame.end(), r.begin(), r.end());
  }
  camera_.Yaw = 160;
  camera_.Pitch = 20;
  StepCamera(camera_);
  Draw(frame, true, ParticlePath::Immediate);
  const std::vector<uint8_t> immediate = context_->Pixels();
  Draw(frame, true, ParticlePath::VertexArrays);
  EXPECT_EQ(context_->Pixels(), immediate);
  EXPECT_GT(CountNonBlack(), 1000);
}

TEST_F(ParticlePixels, PartialTrailingRecordIsIgnoredAndStateIsRestored) {
  std::vector<uint8_t> frame = Frame({Record(0, 0, 0, 255, 0, 0, 15, 4)});
  frame.resize(17, 0xFF);
  Draw(frame, true);
  EXPECT_EQ(PixelRed(Pixel(Project(0, 0, 0))), 255);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLboolean depth_writes = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
  EXPECT_TRUE(depth_writes);
}

}  // namespace
}  // namespace orvane::testing
