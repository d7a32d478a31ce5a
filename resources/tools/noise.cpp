#include "noise.h"

#include <cmath>

namespace orvane::tools {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float Lattice(int32_t x, int32_t y, uint32_t seed) { return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.0f; }

namespace {
int32_t Wrap(int32_t i, int32_t period) { return ((i % period) + period) % period; }
float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }
}  // namespace

float ValueNoise(float x, float y, int32_t periodX, int32_t periodY, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const auto ix = static_cast<int32_t>(fx);
  const auto iy = static_cast<int32_t>(fy);
  const float tx = Smooth(x - fx);
  const float ty = Smooth(y - fy);
  const int32_t x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
  const int32_t y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
  const float a = Lattice(x0, y0, seed), b = Lattice(x1, y0, seed);
  const float c = Lattice(x0, y1, seed), d = Lattice(x1, y1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float u, float v, int32_t cellsX, int32_t cellsY, int octaves, uint32_t seed) {
  float sum = 0.0f, weight = 0.0f, amplitude = 1.0f;
  for (int o = 0; o < octaves; ++o) {
    const int32_t px = cellsX << o, py = cellsY << o;
    sum += amplitude * ValueNoise(u * static_cast<float>(px), v * static_cast<float>(py), px, py,
                                  seed + static_cast<uint32_t>(o) * 101u);
    weight += amplitude;
    amplitude *= 0.5f;
  }
  return sum / weight;
}

}  // namespace orvane::tools
