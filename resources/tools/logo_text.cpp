#include "logo_text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane::tools {

namespace {

using Stroke = std::vector<Point2>;

Stroke Arc(float cx, float cy, float rx, float ry, float fromDegrees, float toDegrees, int steps) {
  Stroke s;
  for (int i = 0; i <= steps; ++i) {
    const float a = (fromDegrees + (toDegrees - fromDegrees) * static_cast<float>(i) / static_cast<float>(steps)) *
                    std::numbers::pi_v<float> / 180.0f;
    s.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return s;
}

struct Glyph {
  std::vector<Stroke> Strokes;
  float Advance;
};

// Cap height 1, x-height 0.62, pen centre lines kept a half pen inside the letter box.
std::vector<Glyph> Glyphs() {
  return {
      {{Arc(0.43f, 0.5f, 0.36f, 0.43f, 0.0f, 360.0f, 64)}, 0.86f},  // O
      {{{{0.07f, 0.07f}, {0.07f, 0.55f}},                           // r
        {{0.07f, 0.33f}, {0.13f, 0.46f}, {0.22f, 0.53f}, {0.33f, 0.555f}, {0.43f, 0.53f}}},
       0.47f},
      {{{{0.05f, 0.55f}, {0.28f, 0.07f}, {0.51f, 0.55f}}}, 0.56f},  // v
      {{Arc(0.27f, 0.26f, 0.2f, 0.19f, 0.0f, 360.0f, 40),           // a
        {{0.47f, 0.07f}, {0.47f, 0.40f}, {0.44f, 0.50f}, {0.36f, 0.55f}, {0.25f, 0.56f}, {0.13f, 0.52f}}},
       0.58f},
      {{{{0.07f, 0.07f}, {0.07f, 0.55f}},  // n
        {{0.07f, 0.38f}, {0.13f, 0.50f}, {0.27f, 0.555f}, {0.41f, 0.50f}, {0.47f, 0.38f}, {0.47f, 0.07f}}},
       0.56f},
      {{{{0.07f, 0.31f}, {0.49f, 0.31f}}, Arc(0.28f, 0.31f, 0.21f, 0.24f, 0.0f, 315.0f, 40)}, 0.58f},  // e
  };
}

float SegmentDistance(Point2 p, Point2 a, Point2 b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len2 = dx * dx + dy * dy;
  const float t = len2 > 0.0f ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0f, 1.0f) : 0.0f;
  const float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

StrokeText OrvaneWord() {
  constexpr float kSpacing = 0.1f;
  StrokeText text;
  float x = 0.0f;
  for (const Glyph& g : Glyphs()) {
    for (const Stroke& s : g.Strokes) {
      Stroke moved;
      for (const Point2& p : s) moved.push_back({p.x + x, p.y});
      text.Strokes.push_back(std::move(moved));
    }
    x += g.Advance + kSpacing;
  }
  text.Width = x - kSpacing;
  return text;
}

float DistanceToStrokes(const StrokeText& text, Point2 p) {
  float best = 1e9f;
  for (const Stroke& s : text.Strokes) {
    for (size_t i = 0; i + 1 < s.size(); ++i) best = std::min(best, SegmentDistance(p, s[i], s[i + 1]));
  }
  return best;
}

}  // namespace orvane::tools
