// The night look's parts that need no GL: stars from records and their motion, burst
// lights, the camera's projection and its fit to a show, the sky, the bloom chain's sizes
// and the title card.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "compiler/show_record.h"
#include "viewer/night_bloom.h"
#include "viewer/night_camera_fit.h"
#include "viewer/night_lights.h"
#include "viewer/night_projection.h"
#include "viewer/night_sky.h"
#include "viewer/night_sprites.h"
#include "viewer/night_stars.h"
#include "viewer/night_title.h"

namespace orvane {
namespace {

struct Spark {
  float X = 0, Y = 0, Z = 0;  // scene units
  uint8_t Size = 5;
  float Red = 1, Green = 0.5f, Blue = 0.25f;
};

std::vector<uint8_t> Records(const std::vector<Spark>& sparks) {
  std::vector<uint8_t> bytes(sparks.size() * kRecordSize);
  for (size_t i = 0; i < sparks.size(); ++i) {
    const Spark& s = sparks[i];
    EncodeRecord(&bytes[i * kRecordSize], s.X, s.Y, s.Z, s.Red, s.Green, s.Blue, 1, s.Size);
  }
  return bytes;
}

// A ring of sparks around a centre, each a step further out than `before`.
std::vector<Spark> Ring(float cx, float cy, int count, float radius) {
  std::vector<Spark> ring;
  for (int i = 0; i < count; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(count);
    ring.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), 0});
  }
  return ring;
}

TEST(NightStars, MetresAboveTheSitesGround) {
  const struct {
    float MetresPerUnit, GroundY;
    Spark At;
    Vec3 Metres;
  } cases[] = {
      {20, -2, {1, 0, -0.5f}, {20, 40, -10}},
      {20, -2, {0, -2, 0}, {0, 0, 0}},
      {5, 0, {2, 3, 4}, {10, 15, 20}},
  };
  for (const auto& c : cases) {
    NightSite site;
    site.MetresPerUnit = c.MetresPerUnit;
    site.GroundY = c.GroundY;
    const std::vector<NightStar> stars = NightStarsOf(Records({c.At}), {}, site);
    ASSERT_EQ(stars.size(), 1u);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(stars[0].Position[k], c.Metres[k], 1e-3);
    EXPECT_EQ(stars[0].Motion, (Vec3{0, 0, 0}));
    EXPECT_NEAR(stars[0].HalfSize, 0.05f * c.MetresPerUnit, 1e-5);
  }
}

// Each star's motion as matched, against the step it really made.
void ExpectMotion(const std::vector<NightStar>& stars, const std::vector<Spark>& now, const std::vector<Spark>& before,
                  const std::map<size_t, size_t>& truth) {
  ASSERT_EQ(stars.size(), now.size());
  const float share = kNightShutterShare * NightSite{}.MetresPerUnit;
  for (size_t i = 0; i < now.size(); ++i) {
    SCOPED_TRACE(i);
    const auto it = truth.find(i);
    const Vec3 expected =
        it == truth.end() ? Vec3{0, 0, 0}
                          : Vec3{(now[i].X - before[it->second].X) * share, (now[i].Y - before[it->second].Y) * share,
                                 (now[i].Z - before[it->second].Z) * share};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(stars[i].Motion[k], expected[k], 0.02f);
  }
}

TEST(NightStars, MotionFollowsEachStarWhenOthersDieOrAreBorn) {
  // Trail sparks in front, standing still: most faded, one is new. Then a burst whose stars
  // keep their order, far from where they stood in the previous frame's list.
  std::vector<Spark> before, now;
  std::map<size_t, size_t> truth;
  for (int i = 0; i < 30; ++i) before.push_back({-9 + 0.25f * static_cast<float>(i), 0.5f, 0, 2});
  for (size_t i = 26; i < 30; ++i) {
    truth[now.size()] = i;
    now.push_back(before[i]);
  }
  now.push_back({-1, 0.5f, 0, 2});
  const std::vector<Spark> burstBefore = Ring(1, 4, 40, 1.0f), burstNow = Ring(1, 4, 40, 1.2f);
  for (size_t i = 0; i < 40; ++i) {
    before.push_back(burstBefore[i]);
    if (i == 7 || i == 8) continue;  // two stars died
    truth[now.size()] = 30 + i;
    now.push_back(burstNow[i]);
  }
  now.push_back({-3, 1, 0});  // a new star
  ExpectMotion(NightStarsOf(Records(now), Records(before), NightSite{}), now, before, truth);
}

TEST(NightStars, NoMotionBeyondTheFastestStepOrToAnotherSize) {
  const std::vector<Spark> before = {{0, 1, 0, 5}, {3, 3, 0, 5}};
  const std::vector<Spark> now = {{0.6f, 1, 0, 5}, {3.1f, 3, 0, 6}};
  const std::vector<NightStar> stars = NightStarsOf(Records(now), Records(before), NightSite{});
  ASSERT_EQ(stars.size(), 2u);
  EXPECT_EQ(stars[0].Motion, (Vec3{0, 0, 0}));
  EXPECT_EQ(stars[1].Motion, (Vec3{0, 0, 0}));
}

NightStar StarAt(Vec3 position, Vec3 light, float half_size = 1) {
  NightStar s;
  s.Position = position;
  s.Light = light;
  s.HalfSize = half_size;
  return s;
}

TEST(BurstLights, BrightestClustersFirstAtTheirLightsCentre) {
  std::vector<NightStar> stars;
  // Six clusters of rising brightness, and stars under the ground that give no light.
  for (int c = 0; c < 6; ++c) {
    const float x = -200 + 80 * static_cast<float>(c);
    const float light = 0.1f * static_cast<float>(c + 1);
    stars.push_back(StarAt({x + 1, 100, 0}, {light, light, light}));
    stars.push_back(StarAt({x + 3, 104, 0}, {light, light, light}));
  }
  stars.push_back(StarAt({0, -5, 0}, {1, 1, 1}, 50));
  const std::vector<NightLight> lights = BurstLights(stars);
  ASSERT_EQ(lights.size(), static_cast<size_t>(kMaxNightLights));
  for (int i = 0; i < kMaxNightLights; ++i) {
    const int c = 5 - i;
    EXPECT_NEAR(lights[static_cast<size_t>(i)].Position[0], -200 + 80 * c + 2, 1e-3) << i;
    EXPECT_NEAR(lights[static_cast<size_t>(i)].Position[1], 102, 1e-3);
    EXPECT_NEAR(lights[static_cast<size_t>(i)].Power[0], 2 * 0.1f * static_cast<float>(c + 1), 1e-4);
  }
  EXPECT_TRUE(BurstLights({StarAt({0, -1, 0}, {1, 1, 1})}).empty());
}

TEST(NightProjection, TargetInTheMiddleAndTheFieldOfViewAtTheEdges) {
  const NightCamera camera{{10, 2, 100}, {10, 52, 0}, 60};
  const NightProjection p = ProjectionFor(camera, 640, 360);
  const PicturePoint centre = Project(p, camera.Target, 640, 360);
  ASSERT_TRUE(centre.Visible);
  EXPECT_NEAR(centre.X, 320, 1e-3);
  EXPECT_NEAR(centre.Y, 180, 1e-3);
  // A point 30 degrees above the line of sight is at the picture's top edge.
  const Vec3 up{p.Up[0], p.Up[1], p.Up[2]}, ahead{p.Forward[0], p.Forward[1], p.Forward[2]};
  const float t = std::tan(30 * 3.14159265f / 180);
  const PicturePoint top = Project(
      p, {p.Eye[0] + ahead[0] + up[0] * t, p.Eye[1] + ahead[1] + up[1] * t, p.Eye[2] + ahead[2] + up[2] * t}, 640, 360);
  EXPECT_NEAR(top.Y, 360, 0.01);
  EXPECT_FALSE(Project(p, {10, 2, 200}, 640, 360).Visible) << "behind the eye";
}

TEST(NightProjection, OddCamerasStillGiveAPicture) {
  const struct {
    const char* Name;
    NightCamera Camera;
  } cases[] = {
      {"eye on target", {{0, 5, 0}, {0, 5, 0}, 50}},    {"straight up", {{0, 5, 0}, {0, 500, 0}, 50}},
      {"straight down", {{0, 50, 0}, {0, 0, 0}, 50}},   {"not a number", {{NAN, 5, 0}, {0, 1, 0}, 50}},
      {"underground", {{0, -30, 100}, {0, 50, 0}, 50}}, {"no field of view", {{0, 2, 100}, {0, 50, 0}, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const NightProjection p = ProjectionFor(c.Camera, 320, 180);
    for (float v : p.ViewProjection) EXPECT_TRUE(std::isfinite(v));
    EXPECT_GE(p.Eye[1], kNightLowestEye);
    EXPECT_NEAR(p.Right[0] * p.Right[0] + p.Right[1] * p.Right[1] + p.Right[2] * p.Right[2], 1, 1e-4);
  }
}

TEST(NightSprites, StreaksHoldTheStillStarsLightAndOnlyVisibleStarsAreKept) {
  const NightCamera camera{{0, 50, 100}, {0, 50, 0}, 40};
  const NightProjection p = ProjectionFor(camera, 640, 360);
  const struct {
    const char* Name;
    Vec3 Position, Motion, Light;
    bool Kept;
  } cases[] = {
      {"still", {0, 50, 0}, {0, 0, 0}, {1, 0.5f, 0.2f}, true},
      {"streak", {0, 50, 0}, {6, 3, 0}, {1, 0.5f, 0.2f}, true},
      {"streak longer than the longest", {0, 50, 0}, {400, 0, 0}, {1, 0.5f, 0.2f}, true},
      {"tail behind the eye", {0, 50, 0}, {0, 0, -300}, {1, 0.5f, 0.2f}, true},
      {"under the ground", {0, -1, 0}, {0, 0, 0}, {1, 1, 1}, false},
      {"behind the eye", {0, 50, 200}, {0, 0, 0}, {1, 1, 1}, false},
      {"far off to the side", {900, 50, 0}, {0, 0, 0}, {1, 1, 1}, false},
      {"dark", {0, 50, 0}, {0, 0, 0}, {0, 0, 0}, false},
      {"not a number", {0, 50, 0}, {0, 0, 0}, {NAN, 1, 1}, false},
      {"infinite light", {0, 50, 0}, {0, 0, 0}, {INFINITY, 1, 1}, false},
  };
  const std::vector<NightSprite> dot = SpritesOf({StarAt({0, 50, 0}, {1, 0.5f, 0.2f})}, p, 640, 360, false);
  ASSERT_EQ(dot.size(), 1u);
  const double still = SpriteLight(dot[0]);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    NightStar star = StarAt(c.Position, c.Light);
    star.Motion = c.Motion;
    const std::vector<NightSprite> sprites = SpritesOf({star}, p, 640, 360, false);
    ASSERT_EQ(sprites.size(), c.Kept ? 1u : 0u);
    if (!c.Kept) continue;
    EXPECT_NEAR(SpriteLight(sprites[0]) / still, 1.0, 1e-5);
    EXPECT_LE(std::hypot(sprites[0].HeadX - sprites[0].TailX, sprites[0].HeadY - sprites[0].TailY),
              kStarMaxStreak * 360 / 720 + 1e-3);
    EXPECT_GE(sprites[0].Radius, kStarMinRadius);
  }
  // The reflection stands as far below the ground under the star as the star stands above it.
  const NightProjection level = ProjectionFor({{0, 5, 100}, {0, 5, 0}, 60}, 640, 360);
  const std::vector<NightSprite> up = SpritesOf({StarAt({0, 30, 0}, {1, 1, 1})}, level, 640, 360, false);
  const std::vector<NightSprite> down = SpritesOf({StarAt({0, 30, 0}, {1, 1, 1})}, level, 640, 360, true);
  ASSERT_EQ(up.size(), 1u);
  ASSERT_EQ(down.size(), 1u);
  const PicturePoint ground = Project(level, {0, 0, 0}, 640, 360);
  EXPECT_NEAR(up[0].HeadY - ground.Y, ground.Y - down[0].HeadY, 0.01);
  EXPECT_GT(up[0].HeadY, ground.Y + 50);
}

TEST(NightSky, TheSameSkyEveryTime) {
  const std::vector<SkyStar> stars = SkyStars();
  ASSERT_EQ(stars.size(), static_cast<size_t>(kSkyStarCount));
  const std::vector<SkyStar> again = SkyStars();
  for (size_t i = 0; i < stars.size(); ++i) {
    ASSERT_EQ(stars[i].Direction, again[i].Direction);
    const Vec3& d = stars[i].Direction;
    ASSERT_NEAR(d[0] * d[0] + d[1] * d[1] + d[2] * d[2], 1, 1e-5);
  }
  const std::vector<float> hills = HorizonProfile();
  ASSERT_EQ(hills.size(), static_cast<size_t>(kHorizonSamples));
  EXPECT_EQ(hills, HorizonProfile());
  const auto [low, high] = std::minmax_element(hills.begin(), hills.end());
  EXPECT_GE(*low, kHorizonLowestMetres);
  EXPECT_LE(*high, kHorizonHighestMetres);
  EXPECT_GT(*high - *low, 20) << "a silhouette, not a flat line";
  // The ring closes without a step.
  EXPECT_LT(std::fabs(hills.front() - hills.back()), 2.0f);
}

TEST(BloomLevels, QuarterSizeFirstThenHalvingDownToTwoPixels) {
  const struct {
    int32_t Width, Height;
    int Levels;
    std::vector<std::pair<int32_t, int32_t>> Sizes;
  } cases[] = {
      {1280, 720, 5, {{320, 180}, {160, 90}, {80, 45}, {40, 22}, {20, 11}}},
      {392, 324, 3, {{98, 81}, {49, 40}, {24, 20}}},
      {40, 40, 5, {{10, 10}, {5, 5}, {2, 2}}},
      {7, 100, 5, {}},
  };
  for (const auto& c : cases) {
    const std::vector<BloomLevel> levels = BloomLevels(c.Width, c.Height, c.Levels);
    ASSERT_EQ(levels.size(), c.Sizes.size()) << c.Width << "x" << c.Height;
    for (size_t i = 0; i < levels.size(); ++i) {
      EXPECT_EQ(levels[i].Width, c.Sizes[i].first);
      EXPECT_EQ(levels[i].Height, c.Sizes[i].second);
    }
  }
}

TEST(TitleOpacity, FadesInHoldsAndFadesOutWithinTwoSeconds) {
  const struct {
    double Seconds;
    float Opacity;
  } cases[] = {{-1, 0}, {0, 0}, {0.15, 0.5f}, {0.3, 1}, {1.0, 1}, {1.5, 1}, {1.75, 0.5f}, {2.0, 0}, {60, 0}};
  for (const auto& c : cases) EXPECT_NEAR(TitleOpacity(c.Seconds), c.Opacity, 1e-5) << c.Seconds;
}

// Every glyph a filled box as wide as its code's last digit plus one, 9 high; records the codes asked for.
class BoxFont : public FontService {
 public:
  std::optional<GlyphBitmap> Glyph(unsigned char c) override {
    asked.push_back(c);
    if (c == ' ') return GlyphBitmap{0, 0, 0, 0, 4, {}};
    GlyphBitmap g;
    g.Width = 1 + c % 10;
    g.Height = 9;
    g.Top = 9;
    g.Advance = g.Width + 3;
    g.Bits.assign(static_cast<size_t>(g.Width * g.Height), 1);
    return g;
  }
  TextSize Extent(std::string_view) override { return {}; }
  std::vector<unsigned char> asked;
};

TEST(TitleCard, SetsTheTitleAndAveragesTheOversampling) {
  BoxFont font;
  const NightTitle card = MakeTitleCard("AB", font);
  // 'A' (65) is 6 wide, then 3 apart, 'B' (66) 7 wide: 16 pixels, 9 high, in cells of 3 with one spare each side.
  EXPECT_EQ(card.Width, 6 + 2);
  EXPECT_EQ(card.Height, 3 + 2);
  ASSERT_EQ(card.Coverage.size(), static_cast<size_t>(card.Width * card.Height));
  EXPECT_EQ(card.Coverage[0], 0);
  EXPECT_EQ(card.Coverage[static_cast<size_t>(card.Width + 1)], 255);  // inside 'A'
  EXPECT_EQ(card.Coverage[static_cast<size_t>(card.Width + 3)], 0);    // between the letters
  EXPECT_EQ(card.Opacity, 0);
}

TEST(TitleCard, LettersBeyondTheFontsCodesBecomeQuestionMarks) {
  const struct {
    const char* Name;
    std::string Title;
    std::vector<unsigned char> Asked;
  } cases[] = {
      {"Latin-1", "\xC3\xA9t\xC3\xA9", {0xE9, 't', 0xE9}},
      {"beyond", "\xE2\x82\xAC!", {'?', '!'}},
      {"broken", "a\xC3", {'a', '?'}},
      {"stray continuation", "\x80z", {'?', 'z'}},
      {"control", "a\tb", {'a', '?', 'b'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    BoxFont font;
    MakeTitleCard(c.Title, font);
    EXPECT_EQ(font.asked, c.Asked);
  }
  BoxFont font;
  EXPECT_TRUE(MakeTitleCard("   ", font).Coverage.empty());
  EXPECT_TRUE(MakeTitleCard("", font).Coverage.empty());
  BoxFont longer;
  MakeTitleCard(std::string(500, 'x'), longer);
  EXPECT_EQ(longer.asked.size(), kTitleMostCharacters);
}

// Records of a burst of `count` stars around (x, y, z) units.
ParticleRecord RecordAt(float x, float y, float z) {
  uint8_t bytes[kRecordSize];
  EncodeRecord(bytes, x, y, z, 1, 1, 1, 1, 5);
  return DecodeRecord(bytes);
}

TEST(NightCameraFit, HoldsTheShowAboveTheGroundFromTheViewpoint) {
  const struct {
    const char* Name;
    NightGround Ground;
    float Aspect;
    float Share;  // of the picture's height the show takes at least
  } cases[] = {{"field, wide", NightGround::kField, 16.0f / 9, 0.55f},
               {"water, wide", NightGround::kWater, 16.0f / 9, 0.4f},
               {"field, tall", NightGround::kField, 0.6f, 0.25f}};
  std::vector<ParticleRecord> show;
  for (int i = 0; i < 400; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / 400;
    show.push_back(RecordAt(-4 + 2 * std::cos(a), 4 + 2 * std::sin(a), 0));  // a burst on the left, 80..160 m up
    show.push_back(RecordAt(3 + std::cos(a), 1 + std::sin(a), -2));          // a lower one on the right
  }
  show.push_back(RecordAt(10.5f, 10.5f, 7));  // a stray far out
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ShowDirections directions({0, 1.7f, 160}, NightSite{});
    for (const ParticleRecord& r : show) directions.Add(r);
    directions.Add(RecordAt(0, -3, 0));  // under the ground: not counted
    EXPECT_EQ(directions.Count(), show.size());
    const NightCamera camera = FitNightCamera(directions, c.Aspect, c.Ground);
    EXPECT_EQ(camera.Eye, (Vec3{0, 1.7f, 160}));
    const int32_t height = 720, width = static_cast<int32_t>(720 * c.Aspect);
    const NightProjection p = ProjectionFor(camera, width, height);
    float lowest = 1e9f, highest = -1e9f;
    for (size_t i = 0; i + 1 < show.size(); ++i) {
      const Vec3 m = UnitsToMetres(show[i].X / 3000.0f, show[i].Y / 3000.0f, show[i].Z / 3000.0f, NightSite{});
      const PicturePoint at = Project(p, m, width, height);
      ASSERT_TRUE(at.Visible);
      EXPECT_GE(at.X, 0);
      EXPECT_LE(at.X, static_cast<float>(width));
      EXPECT_GE(at.Y, 0);
      EXPECT_LE(at.Y, static_cast<float>(height));
      lowest = std::min(lowest, at.Y);
      highest = std::max(highest, at.Y);
    }
    // Large in the picture, with ground (more of it on water) below.
    EXPECT_GT(highest - lowest, c.Share * static_cast<float>(height));
    const PicturePoint horizon = Project(p, {0, 1.7f, -5000}, width, height);
    EXPECT_GT(horizon.Y, (c.Ground == NightGround::kWater ? 0.2f : 0.03f) * static_cast<float>(height));
    EXPECT_GE(camera.FovYDegrees, kFitLowestFov);
    EXPECT_LE(camera.FovYDegrees, kFitHighestFov);
  }
}

TEST(NightCameraFit, AnEmptyShowLooksOverTheSite) {
  const ShowDirections none({30, 1.7f, 160}, NightSite{});
  const NightCamera camera = FitNightCamera(none, 16.0f / 9, NightGround::kField);
  // Towards the site's centre and a little up.
  EXPECT_LT(camera.Target[0], 30);
  EXPECT_LT(camera.Target[2], 160);
  EXPECT_GT(camera.Target[1], 1.7f);
}

}  // namespace
}  // namespace orvane
