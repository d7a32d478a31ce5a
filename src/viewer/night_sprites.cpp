#include "viewer/night_sprites.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {
namespace {

struct Clip {
  float X = 0, Y = 0, W = 0;
};

Clip ClipOf(const std::array<float, 16>& m, float x, float y, float z) {
  return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
          m[3] * x + m[7] * y + m[11] * z + m[15]};
}

bool Finite(const Vec3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

}  // namespace

std::vector<NightSprite> SpritesOf(const std::vector<NightStar>& stars, const NightProjection& projection,
                                   int32_t width, int32_t height, bool mirrored) {
  std::vector<NightSprite> sprites;
  sprites.reserve(stars.size());
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float most = kStarMaxStreak * h / 720.0f;
  const float sign = mirrored ? -1.0f : 1.0f;
  // Pixels per metre at a metre's distance, at this picture's size.
  const float pixels = h * 0.5f / projection.TanHalfY;
  for (const NightStar& s : stars) {
    if (!(s.Position[1] >= 0) || !Finite(s.Position) || !Finite(s.Motion) || !Finite(s.Light) ||
        !std::isfinite(s.HalfSize))
      continue;
    const Clip head = ClipOf(projection.ViewProjection, s.Position[0], sign * s.Position[1], s.Position[2]);
    if (!(head.W >= kNightNearMetres)) continue;
    Clip tail = ClipOf(projection.ViewProjection, s.Position[0] - s.Motion[0], sign * (s.Position[1] - s.Motion[1]),
                       s.Position[2] - s.Motion[2]);
    if (!(tail.W >= kNightNearMetres)) tail = head;
    NightSprite sprite;
    sprite.HeadX = (head.X / head.W * 0.5f + 0.5f) * w;
    sprite.HeadY = (head.Y / head.W * 0.5f + 0.5f) * h;
    float tx = (tail.X / tail.W * 0.5f + 0.5f) * w, ty = (tail.Y / tail.W * 0.5f + 0.5f) * h;
    float length = std::hypot(sprite.HeadX - tx, sprite.HeadY - ty);
    if (length > most) {
      tx = sprite.HeadX + (tx - sprite.HeadX) * most / length;
      ty = sprite.HeadY + (ty - sprite.HeadY) * most / length;
      length = most;
    }
    sprite.TailX = tx;
    sprite.TailY = ty;
    const float size = std::fabs(s.HalfSize) * pixels / head.W;
    const float r = std::max(size, kStarMinRadius);
    sprite.Radius = r;
    if (std::min(sprite.HeadX, tx) > w + r || std::max(sprite.HeadX, tx) < -r || std::min(sprite.HeadY, ty) > h + r ||
        std::max(sprite.HeadY, ty) < -r)
      continue;
    const double light = kStarEnergy * static_cast<double>(size) * size;
    const double centre = light / (kSpriteStill * r * r + kSpriteLine * r * length);
    sprite.Red = static_cast<float>(std::min(centre * std::max(s.Light[0], 0.0f), double{kStarMostLight}));
    sprite.Green = static_cast<float>(std::min(centre * std::max(s.Light[1], 0.0f), double{kStarMostLight}));
    sprite.Blue = static_cast<float>(std::min(centre * std::max(s.Light[2], 0.0f), double{kStarMostLight}));
    if (sprite.Red + sprite.Green + sprite.Blue > 0) sprites.push_back(sprite);
  }
  return sprites;
}

double SpriteLight(const NightSprite& s) {
  const double r = s.Radius;
  const double length = std::hypot(s.HeadX - s.TailX, s.HeadY - s.TailY);
  return (static_cast<double>(s.Red) + s.Green + s.Blue) * (kSpriteStill * r * r + kSpriteLine * r * length);
}

}  // namespace orvane
