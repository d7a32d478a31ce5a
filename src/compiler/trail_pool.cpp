#include "compiler/trail_pool.h"

#include "compiler/random_stretch.h"
#include "util/rounding.h"

namespace orvane {

uint16_t CTrail::ParticlesPerEmit(float size) {
  const float scaled = size * 45;
  const auto n = static_cast<uint16_t>(RoundHalfEven(scaled));
  return n == 0 ? 3 : n;
}

void CTrail::Emit(uint32_t life, float x, float y, float z, float red, float green, float blue, float alpha,
                  float size, float dx, float dy, float dz) {
  const uint16_t n = ParticlesPerEmit(size);
  const float stepX = dx / n;
  const float stepY = dy / n;
  const float stepZ = dz / n;
  // A life of 0 gives an infinite (or, for alpha 0, NaN) step; Fade turns it into 0.
  const float alphaStep = -alpha / static_cast<float>(life);
  for (uint16_t i = 0; i < n; ++i) {
    x += stepX;
    y += stepY;
    z += stepZ;
    Particles.push_back({x, y, z, red, green, blue, alpha, alphaStep, size, EmittingCue});
  }
}

namespace {

// random(10) / 1000.0 for each draw: the same doubles as the division.
constexpr double kSink[10] = {0 / 1000.0, 1 / 1000.0, 2 / 1000.0, 3 / 1000.0, 4 / 1000.0,
                              5 / 1000.0, 6 / 1000.0, 7 / 1000.0, 8 / 1000.0, 9 / 1000.0};

}  // namespace

void CTrail::Fade() {
  // One stable compaction pass: `kept` is the particle's index at the moment of its
  // visit, and kept + (n - i) the pool's size at that moment.
  const size_t n = Particles.size();
  size_t kept = 0;
  RandomStretch random;
  for (size_t i = 0; i < n; ++i) {
    TrailParticle p = Particles[i];
    const float next = p.Alpha + p.AlphaStep;
    p.Y = static_cast<float>(p.Y - kSink[random(10)]);
    if (static_cast<double>(p.Alpha) <= 0.1) continue;
    if (kept + (n - i) > kTrailCrowding && kept % 2 == 0) {
      p.Alpha = p.Alpha / 3;
    } else {
      p.Alpha = next >= 0 ? next : 0.0f;  // a NaN step also gives 0
    }
    Particles[kept++] = p;
  }
  Particles.resize(kept);
}

}  // namespace orvane
