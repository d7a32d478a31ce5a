#include "viewer/night_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {
namespace {

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }
Vec3 Scaled(const Vec3& a, float s) { return {a[0] * s, a[1] * s, a[2] * s}; }

// m = a * b, column-major.
std::array<float, 16> Multiply(const std::array<float, 16>& a, const std::array<float, 16>& b) {
  std::array<float, 16> m{};
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  }
  return m;
}

bool Finite(const Vec3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

}  // namespace

NightProjection ProjectionFor(const NightCamera& given, int32_t width, int32_t height) {
  const NightCamera camera = Finite(given.Eye) && Finite(given.Target) ? given : NightCamera{};
  NightProjection p;
  p.Eye = camera.Eye;
  if (!(p.Eye[1] >= kNightLowestEye)) p.Eye[1] = kNightLowestEye;
  Vec3 forward = Sub(camera.Target, p.Eye);
  const float distance = Length(forward);
  forward = distance > 1e-6f && std::isfinite(distance) ? Scaled(forward, 1 / distance) : Vec3{0, 0, -1};
  Vec3 right = Cross(forward, {0, 1, 0});
  if (Length(right) < 1e-4f) right = Cross(forward, {0, 0, forward[1] > 0 ? 1.0f : -1.0f});
  right = Scaled(right, 1 / Length(right));
  const Vec3 up = Cross(right, forward);
  p.Right = right;
  p.Up = up;
  p.Forward = forward;

  const float fov =
      std::clamp(std::isfinite(camera.FovYDegrees) ? camera.FovYDegrees : 50.0f, kNightLowestFov, kNightHighestFov);
  const float aspect = static_cast<float>(std::max(width, 1)) / static_cast<float>(std::max(height, 1));
  p.TanHalfY = std::tan(fov * static_cast<float>(std::numbers::pi) / 360.0f);
  p.TanHalfX = p.TanHalfY * aspect;
  p.PixelsPerMetre = static_cast<float>(std::max(height, 1)) * 0.5f / p.TanHalfY;
  p.PixelAngle = 1 / p.PixelsPerMetre;

  std::array<float, 16> view{};
  for (int k = 0; k < 3; ++k) {
    view[k * 4 + 0] = right[k];
    view[k * 4 + 1] = up[k];
    view[k * 4 + 2] = -forward[k];
  }
  view[15] = 1;
  std::array<float, 16> rotation = view;
  view[12] = -Dot(right, p.Eye);
  view[13] = -Dot(up, p.Eye);
  view[14] = Dot(forward, p.Eye);

  const float n = kNightNearMetres, f = kNightFarMetres;
  std::array<float, 16> projection{};
  projection[0] = 1 / p.TanHalfX;
  projection[5] = 1 / p.TanHalfY;
  projection[10] = -(f + n) / (f - n);
  projection[11] = -1;
  projection[14] = -2 * f * n / (f - n);
  p.ViewProjection = Multiply(projection, view);
  p.Rotation = Multiply(projection, rotation);
  return p;
}

PicturePoint Project(const NightProjection& p, const Vec3& point, int32_t width, int32_t height) {
  const std::array<float, 4> v{point[0], point[1], point[2], 1};
  std::array<float, 4> clip{};
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < 4; ++k) clip[r] += p.ViewProjection[k * 4 + r] * v[k];
  }
  PicturePoint out;
  if (!(clip[3] > kNightNearMetres * 0.5f)) return out;
  out.Visible = true;
  out.X = (clip[0] / clip[3] * 0.5f + 0.5f) * static_cast<float>(width);
  out.Y = (clip[1] / clip[3] * 0.5f + 0.5f) * static_cast<float>(height);
  return out;
}

}  // namespace orvane
