// The night renderer in an OpenGL 3.3 core context: light kept by bloom and streaks, no
// overflow, the tone map, determinism and golden pictures.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "export/png_file.h"
#include "night_test_scenes.h"
#include "support/failure_text.h"
#include "viewer/gl_headers.h"
#include "viewer/headless/osmesa_context.h"
#include "viewer/night_projection.h"
#include "viewer/night_renderer.h"

namespace orvane::testing {
namespace {

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 180;

class NightPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = OsMesaContext::CreateCore(kWidth, kHeight);
    ASSERT_NE(context_, nullptr) << "no OpenGL 3.3 core context from OSMesa";
    const Result<> available = renderer_.Available();
    ASSERT_TRUE(available) << FailureText(available);
  }
  void TearDown() override { renderer_.Release(); }

  // The picture the renderer left in the context: RGB rows, top row first.
  std::vector<uint8_t> Draw(const NightScene& scene) {
    renderer_.Render(scene, {0, 0, 0, kWidth, kHeight});
    return context_->RgbTopDown();
  }

  std::unique_ptr<OsMesaContext> context_;
  NightRenderer renderer_;
};

// One still star straight ahead, on black.
NightScene LoneStar(float half_size) {
  NightScene scene;
  scene.Environment = false;
  scene.Camera = {{0, 50, 100}, {0, 50, 0}, 40};
  NightStar star;
  star.Position = {0, 50, 0};
  star.Light = {1.0f, 0.6f, 0.3f};
  star.HalfSize = half_size;
  scene.Stars.push_back(star);
  return scene;
}

TEST_F(NightPixelsTest, BlackFrameStaysWithinOneStepOfBlack) {
  NightScene scene;
  scene.Environment = false;
  const std::vector<uint8_t> rgb = Draw(scene);
  ASSERT_EQ(rgb.size(), static_cast<size_t>(kWidth * kHeight * 3));
  int most = 0;
  for (uint8_t v : rgb) most = std::max<int>(most, v);
  EXPECT_LE(most, 1);
}

TEST_F(NightPixelsTest, BloomKeepsALoneStarsLight) {
  // Sizes that divide evenly through the six levels, so the chain's edges hold no light.
  for (const float half_size : {0.2f, 1.0f, 3.0f}) {
    SCOPED_TRACE(half_size);
    const NightScene scene = LoneStar(half_size);
    const std::vector<float> plain = renderer_.RenderLinear(scene, 512, 256, false);
    const std::vector<float> bloomed = renderer_.RenderLinear(scene, 512, 256, true);
    const double before = TotalLight(plain);
    ASSERT_GT(before, 0);
    EXPECT_NEAR(TotalLight(bloomed) / before, 1.0, 0.01);
    // And the bloom did spread it: a pixel far from the star is lit only with it.
    const size_t far = (static_cast<size_t>(128) * 512 + 256 + 40) * 4;
    EXPECT_EQ(plain[far], 0.0f);
    EXPECT_GT(bloomed[far], 0.0f);
  }
}

TEST_F(NightPixelsTest, StreaksKeepAStillStarsLight) {
  const struct {
    const char* Name;
    Vec3 Motion;
  } cases[] = {
      {"across", {12, 0, 0}},  {"up", {0, 9, 0}},        {"slanting", {-5, 6, 0}},
      {"short", {0.3f, 0, 0}}, {"towards", {1, 1, -30}}, {"longer than the longest", {80, 0, 0}},
  };
  const NightScene still = LoneStar(0.6f);
  const std::vector<float> dot = renderer_.RenderLinear(still, kWidth, kHeight, false);
  const double light = TotalLight(dot);
  ASSERT_GT(light, 0);
  auto lit = [](const std::vector<float>& p) {
    int n = 0;
    for (size_t i = 0; i < p.size(); i += 4) n += p[i] > 0 ? 1 : 0;
    return n;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    NightScene moving = still;
    moving.Stars[0].Motion = c.Motion;
    const std::vector<float> streak = renderer_.RenderLinear(moving, kWidth, kHeight, false);
    EXPECT_NEAR(TotalLight(streak) / light, 1.0, 0.01);
    if (std::string(c.Name) != "short") {
      EXPECT_GT(lit(streak), lit(dot) + 10);
    }
  }
}

TEST_F(NightPixelsTest, PilesOfStarsGiveNoInfinityOrNan) {
  NightScene scene = ShowScene(NightGround::kWater);
  for (NightStar s : Burst({0, 60, 0}, 2, 3000, {1, 1, 1}, 3, 0)) {
    s.Light = {5e4f, 5e4f, 5e4f};
    scene.Stars.push_back(s);
  }
  scene.Stars[0].Light = {INFINITY, NAN, 1e30f};
  for (const bool bloom : {false, true}) {
    const std::vector<float> p = renderer_.RenderLinear(scene, kWidth, kHeight, bloom);
    ASSERT_FALSE(p.empty());
    for (float v : p) {
      ASSERT_TRUE(std::isfinite(v));
      ASSERT_LE(v, 65504.0f);
    }
  }
  const std::vector<uint8_t> rgb = Draw(scene);
  const NightProjection projection = ProjectionFor(scene.Camera, kWidth, kHeight);
  const PicturePoint centre = Project(projection, {0, 60, 0}, kWidth, kHeight);
  ASSERT_TRUE(centre.Visible);
  const size_t at =
      (static_cast<size_t>(kHeight - 1 - static_cast<int>(centre.Y)) * kWidth + static_cast<size_t>(centre.X)) * 3;
  // The pile burns out to white, not to a hole.
  EXPECT_GE(rgb[at], 250);
  EXPECT_GE(rgb[at + 1], 250);
  EXPECT_GE(rgb[at + 2], 250);
}

int Luma(const uint8_t* rgb) { return 2126 * rgb[0] + 7152 * rgb[1] + 722 * rgb[2]; }

TEST_F(NightPixelsTest, ToneMapNeverDarkensBrighterLight) {
  // Ramps from far below black to far past white, one row per colour.
  const Vec3 colours[] = {{1, 1, 1},       {1, 0.1f, 0.02f}, {0.05f, 1, 0.1f},
                          {0.1f, 0.3f, 1}, {1, 0.7f, 0.1f},  {0.8f, 0.2f, 1}};
  constexpr int kSteps = 512;
  std::vector<float> linear;
  for (const Vec3& c : colours) {
    for (int i = 0; i < kSteps; ++i) {
      const float v = std::pow(10.0f, -5.0f + 9.0f * static_cast<float>(i) / (kSteps - 1));
      linear.insert(linear.end(), {c[0] * v, c[1] * v, c[2] * v});
    }
  }
  const int rows = static_cast<int>(std::size(colours));
  const std::vector<uint8_t> out = renderer_.Develop(linear, kSteps, rows, false);
  ASSERT_EQ(out.size(), static_cast<size_t>(kSteps * rows * 3));
  EXPECT_EQ(out[0], 0);
  for (int row = 0; row < rows; ++row) {
    SCOPED_TRACE(row);
    const uint8_t* p = &out[static_cast<size_t>(row) * kSteps * 3];
    for (int i = 1; i < kSteps; ++i) {
      if (row == 0) {
        // Grey stays grey and every channel climbs.
        for (int k = 0; k < 3; ++k) ASSERT_GE(p[i * 3 + k], p[(i - 1) * 3 + k]) << "step " << i;
      }
      // Colours may lose a little of one channel as they turn white, never brightness:
      // at most the rounding of one 8-bit step.
      ASSERT_GE(Luma(&p[i * 3]) + 10000, Luma(&p[(i - 1) * 3])) << "step " << i;
    }
    EXPECT_GE(p[(kSteps - 1) * 3 + 1], 240) << "bright light ends near white";
  }
}

TEST_F(NightPixelsTest, DitherStaysWithinHalfAStep) {
  std::vector<float> grey(static_cast<size_t>(64 * 64 * 3), 0.05f);
  const std::vector<uint8_t> plain = renderer_.Develop(grey, 64, 64, false);
  const std::vector<uint8_t> dithered = renderer_.Develop(grey, 64, 64, true);
  ASSERT_EQ(plain.size(), dithered.size());
  int differ = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    ASSERT_LE(std::abs(plain[i] - dithered[i]), 1);
    differ += plain[i] != dithered[i] ? 1 : 0;
  }
  EXPECT_GT(differ, 100);
}

TEST_F(NightPixelsTest, TheSameSceneGivesTheSameBytes) {
  for (const NightGround ground : {NightGround::kField, NightGround::kWater}) {
    const NightScene scene = ShowScene(ground);
    const std::vector<uint8_t> first = Draw(scene);
    renderer_.Release();
    ASSERT_TRUE(renderer_.Available());
    EXPECT_EQ(Draw(scene), first);
  }
}

TEST_F(NightPixelsTest, TheTitleCardChangesOnlyItsOwnPlace) {
  NightScene scene = ShowScene(NightGround::kWater);
  const std::vector<uint8_t> plain = Draw(scene);
  NightTitle title;
  title.Width = 60;
  title.Height = 20;
  title.Coverage.assign(60 * 20, 255);
  title.Opacity = 1;
  scene.Title = &title;
  const std::vector<uint8_t> titled = Draw(scene);
  ASSERT_EQ(plain.size(), titled.size());
  // The card stands centred a little above the middle: 60 x 20 pixels around (160, 79).
  int inside = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const size_t at = (static_cast<size_t>(y) * kWidth + x) * 3;
      const bool card = x >= 131 && x < 189 && y >= 70 && y < 88;
      const bool edge = x >= 128 && x < 192 && y >= 67 && y < 91;
      if (card) {
        inside += titled[at] > 230 ? 1 : 0;
      } else if (!edge) {
        ASSERT_EQ(titled[at], plain[at]) << x << "," << y;
      }
    }
  }
  EXPECT_GT(inside, 58 * 18 * 9 / 10);
}

TEST_F(NightPixelsTest, StarsUnderTheGroundAreHidden) {
  NightScene scene = LoneStar(1.0f);
  scene.Stars[0].Position[1] = -0.5f;
  const std::vector<float> p = renderer_.RenderLinear(scene, kWidth, kHeight, false);
  EXPECT_EQ(TotalLight(p), 0.0);
}

// Light below the horizon, over the ground.
double GroundLight(const std::vector<float>& p, const NightScene& scene) {
  const NightProjection projection = ProjectionFor(scene.Camera, kWidth, kHeight);
  const PicturePoint horizon = Project(projection, {0, 0, -1500}, kWidth, kHeight);
  double sum = 0;
  for (int y = 0; y < static_cast<int>(horizon.Y) - 2; ++y) {
    for (int x = 0; x < kWidth; ++x) sum += p[(static_cast<size_t>(y) * kWidth + x) * 4];
  }
  return sum;
}

TEST_F(NightPixelsTest, WaterMirrorsTheBurstsOnlyWhenExporting) {
  NightScene scene = ShowScene(NightGround::kWater);
  scene.Camera.Target = {0, 20, 0};
  scene.Camera.FovYDegrees = 90;
  const double exported = GroundLight(renderer_.RenderLinear(scene, kWidth, kHeight, false), scene);
  scene.Profile = NightProfile::Preview;
  const double preview = GroundLight(renderer_.RenderLinear(scene, kWidth, kHeight, false), scene);
  EXPECT_GT(exported, preview * 1.5);
}

TEST_F(NightPixelsTest, BurstLightBrightensTheGround) {
  NightScene scene = ShowScene(NightGround::kField);
  scene.Camera.Target = {0, 20, 0};
  const double lit = GroundLight(renderer_.RenderLinear(scene, kWidth, kHeight, false), scene);
  scene.Lights.clear();
  const double dark = GroundLight(renderer_.RenderLinear(scene, kWidth, kHeight, false), scene);
  EXPECT_GT(lit, dark * 1.3);
}

// Inside the display's own context the classic drawing finds its state as it left it.
TEST(NightInAClassicContext, LeavesTheFixedFunctionStateAsItFoundIt) {
  auto context = OsMesaContext::Create(kWidth, kHeight);
  ASSERT_NE(context, nullptr);
  NightRenderer renderer;
  const Result<> available = renderer.Available();
  ASSERT_TRUE(available) << FailureText(available);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthMask(GL_TRUE);
  glViewport(3, 4, 100, 50);
  renderer.Render(ShowScene(NightGround::kWater), {0, 0, 0, kWidth, kHeight});
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
  const struct {
    GLenum Name;
    GLint Value;
  } integers[] = {{GL_BLEND_SRC_RGB, GL_SRC_ALPHA}, {GL_BLEND_DST_RGB, GL_ONE},
                  {GL_CURRENT_PROGRAM, 0},          {GL_TEXTURE_BINDING_2D, static_cast<GLint>(texture)},
                  {GL_ACTIVE_TEXTURE, GL_TEXTURE0}, {GL_DRAW_FRAMEBUFFER_BINDING, 0},
                  {GL_DEPTH_WRITEMASK, GL_TRUE}};
  for (const auto& i : integers) {
    GLint value = -1;
    glGetIntegerv(i.Name, &value);
    EXPECT_EQ(value, i.Value) << std::hex << i.Name;
  }
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 3);
  EXPECT_EQ(viewport[2], 100);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  // And the picture is there, drawn into the context's own frame.
  const std::vector<uint8_t> rgb = context->RgbTopDown();
  EXPECT_GT(rgb[(static_cast<size_t>(2) * kWidth + kWidth / 2) * 3 + 2], 3) << "a night sky at the top";
  glDeleteTextures(1, &texture);
  renderer.Release();
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double error = 0;
  for (size_t i = 0; i < a.size(); ++i) error += (a[i] - b[i]) * (a[i] - b[i]);
  if (error == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / error);
}

// ORVANE_UPDATE_GOLDEN=1 writes the pictures anew (look at them before committing).
TEST_F(NightPixelsTest, MatchesTheGoldenPictures) {
  const struct {
    const char* File;
    NightGround Ground;
  } cases[] = {{"night_field.png", NightGround::kField}, {"night_water.png", NightGround::kWater}};
  const std::filesystem::path folder = std::filesystem::path(ORVANE_TEST_SOURCE_DIR) / "golden";
  const bool update = std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const std::vector<uint8_t> drawn = Draw(ShowScene(c.Ground));
    if (update) {
      ASSERT_EQ(WritePng((folder / c.File).string(), drawn, kWidth, kHeight), "");
    }
    PngPicture golden;
    ASSERT_EQ(ReadPng((folder / c.File).string(), golden), "");
    ASSERT_EQ(golden.Width, kWidth);
    ASSERT_EQ(golden.Height, kHeight);
    EXPECT_GE(Psnr(drawn, golden.Rgb), 40.0);
  }
}

}  // namespace
}  // namespace orvane::testing
