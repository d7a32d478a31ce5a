#include "night_test_scenes.h"

#include <cmath>
#include <numbers>

#include "viewer/night_lights.h"

namespace orvane::testing {

std::vector<NightStar> Burst(const Vec3& centre, float radius, int count, const Vec3& light, float half_size,
                             float step) {
  std::vector<NightStar> stars;
  const double golden = std::numbers::pi * (3 - std::sqrt(5.0));
  for (int i = 0; i < count; ++i) {
    const double y = 1 - 2 * (i + 0.5) / count;
    const double across = std::sqrt(1 - y * y);
    const double a = golden * i;
    const Vec3 d{static_cast<float>(across * std::cos(a)), static_cast<float>(y),
                 static_cast<float>(across * std::sin(a))};
    NightStar s;
    s.Position = {centre[0] + d[0] * radius, centre[1] + d[1] * radius, centre[2] + d[2] * radius};
    s.Motion = {d[0] * step, d[1] * step, d[2] * step};
    s.Light = light;
    s.HalfSize = half_size;
    stars.push_back(s);
  }
  return stars;
}

NightCamera SpectatorCamera() {
  NightCamera c;
  c.Eye = {0, 1.7f, 160};
  c.Target = {0, 70, 0};
  c.FovYDegrees = 55;
  return c;
}

NightScene ShowScene(NightGround ground) {
  NightScene scene;
  scene.Camera = SpectatorCamera();
  scene.Site.Ground = ground;
  scene.Seconds = 12.5;
  for (const NightStar& s : Burst({-45, 110, 0}, 38, 400, {1.0f, 0.25f, 0.08f}, 1.2f, 1.5f)) scene.Stars.push_back(s);
  for (const NightStar& s : Burst({50, 90, -20}, 30, 300, {0.3f, 0.9f, 0.35f}, 1.0f, 0.4f)) scene.Stars.push_back(s);
  for (int i = 0; i < 200; ++i) {
    const float t = static_cast<float>(i) / 200.0f;
    NightStar s;
    s.Position = {5 + 6 * std::sin(t * 40.0f), 40 * t, 30};
    s.Motion = {0, 1.2f, 0};
    s.Light = {1.0f, 0.8f, 0.4f};
    s.HalfSize = 0.5f;
    scene.Stars.push_back(s);
  }
  scene.Lights = BurstLights(scene.Stars);
  return scene;
}

double TotalLight(const std::vector<float>& rgba) {
  double sum = 0;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) sum += static_cast<double>(rgba[i]) + rgba[i + 1] + rgba[i + 2];
  return sum;
}

}  // namespace orvane::testing
