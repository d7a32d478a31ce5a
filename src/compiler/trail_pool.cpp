#include "compiler/trail_pool.h"

#include <bit>
#include <new>

#include "compiler/random_stretch.h"
#include "compiler/show_record.h"
#include "util/rounding.h"

namespace orvane {

uint16_t CTrail::ParticlesPerEmit(float size) {
  const float scaled = size * 45;
  const auto n = static_cast<uint16_t>(RoundHalfEven(scaled));
  return n == 0 ? 3 : n;
}

void CTrail::Emit(uint32_t life, float x, float y, float z, EncodedColor color, float alpha, float size, float dx,
                  float dy, float dz) {
  color.AlphaHigh = 0;
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
    Particles.push_back({x, y, z, color, alpha, alphaStep, size, EmittingCue});
  }
}

void CTrail::Reserve(uint64_t most) {
  if (most <= Particles.capacity() || most > Particles.max_size() || most * sizeof(TrailParticle) < kHugePage) return;
  try {
    Particles.reserve(most);
  } catch (const std::bad_alloc&) {
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

namespace {

// a or b without a branch: the choices below follow random draws, which no branch predictor
// gets right.
float Pick(bool first, float a, float b) {
  const uint32_t mask = 0u - static_cast<uint32_t>(first);
  return std::bit_cast<float>((std::bit_cast<uint32_t>(a) & mask) | (std::bit_cast<uint32_t>(b) & ~mask));
}

}  // namespace

size_t CTrail::WriteAndFade(uint8_t* records, float scale) {
  const size_t n = Particles.size();
  // Every flicker draw comes before every sink draw: the sink run starts n draws ahead.
  // Destroyed in reverse order, so the sink run's seed is the one handed back last.
  RandomStretch sinkRandom(n);
  RandomStretch flickerRandom;
  // Particles of one emit share a size: its nibble is worked out once per run of them.
  float lastSize = 0;
  uint8_t sizeNibble = SizeNibble(lastSize, scale);
  TrailParticle* particles = Particles.data();
  size_t kept = 0;
  size_t stored = 0;
  for (size_t i = 0; i < n; ++i) {
    TrailParticle p = particles[i];
    const float third = p.Alpha / 3;
    const float written = Pick(flickerRandom(100) > 50, third, p.Alpha);
    if (p.Size != lastSize) {
      lastSize = p.Size;
      sizeNibble = SizeNibble(lastSize, scale);
    }
    EncodedColor color = p.Color;
    color.AlphaHigh = AlphaHighNibble(written);
    if (EncodeRecord(records + stored * kRecordSize, p.X, p.Y, p.Z, color, sizeNibble)) ++stored;

    const float next = p.Alpha + p.AlphaStep;
    p.Y = static_cast<float>(p.Y - kSink[sinkRandom(10)]);
    const bool spent = static_cast<double>(p.Alpha) <= 0.1;
    const bool crowded = (kept + (n - i) > kTrailCrowding) & (kept % 2 == 0);
    const float stepped = next >= 0 ? next : 0.0f;  // a NaN step also gives 0
    p.Alpha = Pick(crowded, third, stepped);
    // Stored whether kept or not; a spent particle is overwritten by the next one.
    particles[kept] = p;
    kept += spent ? 0 : 1;
  }
  Particles.resize(kept);
  return stored;
}

}  // namespace orvane
