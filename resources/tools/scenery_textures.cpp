#include "scenery_textures.h"

#include <algorithm>
#include <cmath>

#include "logo_text.h"
#include "noise.h"

namespace orvane::tools {

namespace {

float Fraction(int i, int n) { return (static_cast<float>(i) + 0.5f) / static_cast<float>(n); }

// Fakes light from the upper left on a height field h(u, v): brighter where it rises.
template <typename Height>
float Relief(Height height, float u, float v, float du, float dv, float strength) {
  const float slope = (height(u + du, v + dv) - height(u - du, v - dv));
  return 1.0f + strength * slope;
}

template <typename Shade>
Picture Paint(int width, int height, Shade shade) {
  Picture p(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) p.At(x, y) = shade(Fraction(x, width), Fraction(y, height), x, y);
  }
  return p;
}

float Smoothstep(float a, float b, float t) {
  const float x = std::clamp((t - a) / (b - a), 0.0f, 1.0f);
  return x * x * (3.0f - 2.0f * x);
}

}  // namespace

Picture LimestoneSlabs() {
  constexpr int kW = 756, kH = 512, kCols = 3, kRows = 2;
  const Rgb stone{0.80f, 0.76f, 0.66f};
  const Rgb joint{0.42f, 0.40f, 0.36f};
  return Paint(kW, kH, [&](float u, float v, int x, int y) {
    const int col = x * kCols / kW, row = y * kRows / kH;
    const float su = u * kCols - static_cast<float>(col), sv = v * kRows - static_cast<float>(row);
    const float tint = Lattice(col, row, 11) - 0.5f;
    const float mottle = Fbm(u, v, 6, 4, 5, 21);
    const float grain = Fbm(u, v, 96, 64, 2, 22);
    const float fossil = Smoothstep(0.80f, 0.86f, Fbm(u, v, 48, 32, 2, 23));
    Rgb c = Scale(stone, 0.88f + 0.22f * mottle + 0.10f * grain + 0.06f * tint);
    c = Mix(c, Scale(stone, 0.7f), 0.35f * fossil);
    // Joints between slabs, with a lit bevel on the upper and left edges of each slab.
    const float left = su * 252.0f, top = sv * 256.0f, right = (1.0f - su) * 252.0f, bottom = (1.0f - sv) * 256.0f;
    const float edge = std::min({left, top, right, bottom});
    if (edge < 2.5f) return joint;
    if (edge < 6.0f) return Scale(c, std::min(left, top) <= std::min(right, bottom) ? 1.08f : 0.86f);
    return c;
  });
}

Picture Stucco() {
  const Rgb plaster{0.87f, 0.84f, 0.77f};
  auto height = [](float u, float v) { return Fbm(u, v, 24, 16, 4, 31); };
  return Paint(378, 256, [&](float u, float v, int, int) {
    const float light = Relief(height, u, v, 1.0f / 378, 1.0f / 256, 2.2f);
    const float blotch = Fbm(u, v, 3, 2, 3, 32);
    return Scale(plaster, std::clamp((0.86f + 0.16f * blotch) * light, 0.0f, 1.2f));
  });
}

Picture WarmStucco() {
  const Rgb plaster{0.80f, 0.71f, 0.57f};
  // Trowel strokes: noise stretched across the width.
  auto height = [](float u, float v) { return 0.6f * Fbm(u, v, 3, 24, 4, 41) + 0.4f * Fbm(u, v, 32, 20, 3, 42); };
  return Paint(378, 256, [&](float u, float v, int, int) {
    const float light = Relief(height, u, v, 1.0f / 378, 1.0f / 256, 2.0f);
    const float tone = Fbm(u, v, 4, 3, 3, 43);
    return Scale(plaster, std::clamp((0.84f + 0.22f * tone) * light, 0.0f, 1.2f));
  });
}

Picture GreyDirtStone() {
  const Rgb stone{0.55f, 0.55f, 0.53f};
  const Rgb dirt{0.30f, 0.28f, 0.24f};
  auto height = [](float u, float v) { return Fbm(u, v, 10, 7, 5, 51); };
  return Paint(250, 176, [&](float u, float v, int, int) {
    const float light = Relief(height, u, v, 1.0f / 250, 1.0f / 176, 1.6f);
    const float stain = Smoothstep(0.45f, 0.75f, Fbm(u, v, 4, 3, 4, 52));
    const float grain = Fbm(u, v, 60, 44, 2, 53);
    const Rgb c = Mix(stone, dirt, 0.65f * stain);
    return Scale(c, (0.85f + 0.3f * grain) * light);
  });
}

Picture Sandstone() {
  const Rgb light{0.86f, 0.74f, 0.53f};
  const Rgb dark{0.70f, 0.55f, 0.36f};
  return Paint(250, 176, [&](float u, float v, int, int) {
    // Strata: whole numbers of bands down the image so it repeats.
    const float warp = Fbm(u, v, 4, 3, 3, 61);
    const float band = 0.5f + 0.5f * std::sin((v * 5.0f + 0.35f * warp) * 6.2831853f);
    const float grain = Fbm(u, v, 80, 56, 2, 62);
    const Rgb c = Mix(light, dark, 0.55f * band * band);
    return Scale(c, 0.9f + 0.2f * grain);
  });
}

Picture YellowBricks() {
  constexpr int kW = 378, kH = 256, kBrickW = 126, kBrickH = 64, kMortar = 4;
  const Rgb brick{0.86f, 0.72f, 0.38f};
  const Rgb mortar{0.72f, 0.70f, 0.64f};
  return Paint(kW, kH, [&](float u, float v, int x, int y) {
    const int row = y / kBrickH;
    const int shifted = (x + (row % 2) * (kBrickW / 2)) % kW;
    const int col = shifted / kBrickW;
    const int bx = shifted % kBrickW, by = y % kBrickH;
    const float grain = Fbm(u, v, 48, 32, 3, 71);
    const float edge = static_cast<float>(std::min({bx, by, kBrickW - 1 - bx, kBrickH - 1 - by}));
    if (edge < kMortar / 2.0f + 0.5f) return Scale(mortar, 0.85f + 0.25f * grain);
    const float tint = Lattice(col, row, 72);
    const float burn = Fbm(u, v, 12, 8, 3, 73);
    Rgb c = Mix(brick, Rgb{0.74f, 0.52f, 0.26f}, 0.45f * tint + 0.25f * burn);
    c = Scale(c, 0.82f + 0.28f * grain);
    // Rounded arrises: darker toward the mortar.
    return Scale(c, 0.78f + 0.22f * Smoothstep(kMortar / 2.0f, kMortar / 2.0f + 6.0f, edge));
  });
}

Picture OrvaneLogo() {
  constexpr int kW = 756, kH = 512;
  // The word sits in the middle half of the height: the arch shows rows 128 to 383.
  constexpr float kBandTop = 128.0f, kBandBottom = 384.0f;
  const StrokeText word = OrvaneWord();
  constexpr float kCap = 150.0f;        // cap height in pixels
  constexpr float kPen = 0.13f * kCap;  // pen width in pixels
  const float left = (kW - word.Width * kCap) / 2.0f;
  const float baseline = (kBandTop + kBandBottom) / 2.0f + kCap / 2.0f;
  const Rgb plate{0.07f, 0.07f, 0.10f};
  const Rgb goldTop{1.0f, 0.90f, 0.55f};
  const Rgb goldBottom{0.78f, 0.52f, 0.16f};
  auto toText = [&](float x, float y) { return Point2{(x - left) / kCap, (baseline - y) / kCap}; };
  return Paint(kW, kH, [&](float u, float v, int x, int y) {
    const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
    Rgb c = Scale(plate, 0.85f + 0.3f * Fbm(u, v, 12, 8, 4, 81));
    // A thin gold frame around the band.
    const float frame = std::min({std::abs(py - (kBandTop + 14.0f)), std::abs(py - (kBandBottom - 14.0f))});
    const bool inFrameX = px > 18.0f && px < kW - 18.0f;
    const float side = std::min(std::abs(px - 18.0f), std::abs(px - (kW - 18.0f)));
    const bool inFrameY = py > kBandTop + 14.0f && py < kBandBottom - 14.0f;
    const float frameCover = std::max(inFrameX ? 1.5f - frame : 0.0f, inFrameY ? 1.5f - side : 0.0f);
    c = Mix(c, goldBottom, std::clamp(frameCover, 0.0f, 1.0f));
    if (py < kBandTop || py > kBandBottom) return c;
    // Shadow, then the letters with a vertical gold gradient and a lit upper rim.
    const float shadowDistance = DistanceToStrokes(word, toText(px - 5.0f, py - 5.0f)) * kCap;
    c = Scale(c, 1.0f - 0.7f * std::clamp((kPen / 2.0f + 4.0f - shadowDistance) / 8.0f, 0.0f, 1.0f));
    const Point2 t = toText(px, py);
    const float d = DistanceToStrokes(word, t) * kCap;
    const float cover = std::clamp(kPen / 2.0f - d + 0.5f, 0.0f, 1.0f);
    if (cover > 0.0f) {
      // A lit rim where the outline of the letters is just above.
      const float above = DistanceToStrokes(word, toText(px, py - 3.0f)) * kCap;
      Rgb gold = Mix(goldTop, goldBottom, std::clamp(1.0f - t.y, 0.0f, 1.0f));
      if (above > kPen / 2.0f) gold = Mix(gold, Rgb{1.0f, 0.97f, 0.85f}, 0.45f);
      c = Mix(c, gold, cover);
    }
    return c;
  });
}

Picture ParticleGlow() {
  Picture p(48, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - 24.0f, dy = static_cast<float>(y) + 0.5f - 24.0f;
      const float r = std::sqrt(dx * dx + dy * dy) / 24.0f;
      const float glow = r >= 1.0f ? 0.0f : std::pow(1.0f - r, 2.2f) * 0.8f + 0.2f * std::exp(-r * r * 40.0f);
      const float level = std::min(1.0f, glow * 1.25f);
      p.At(x, y) = {level, level, level};
    }
  }
  return p;
}

}  // namespace orvane::tools
