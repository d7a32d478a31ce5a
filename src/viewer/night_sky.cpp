#include "viewer/night_sky.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "util/random.h"

namespace orvane {
namespace {

// A generator of its own, so the sky never depends on the compile's random sequence.
class SkyRandom {
 public:
  explicit SkyRandom(uint32_t seed) : seed_(seed) {}
  // Uniform in [0, 1).
  double Next() {
    seed_ = NextRandomSeed(seed_);
    return static_cast<double>(seed_) / 4294967296.0;
  }

 private:
  uint32_t seed_;
};

// Smooth periodic noise: `points` random values around the circle, eased between.
std::vector<double> PeriodicOctave(SkyRandom& random, int points, int samples) {
  std::vector<double> knots(static_cast<size_t>(points));
  for (double& k : knots) k = random.Next();
  std::vector<double> out(static_cast<size_t>(samples));
  for (int s = 0; s < samples; ++s) {
    const double at = static_cast<double>(s) * points / samples;
    const int i = static_cast<int>(at);
    const double t = at - i;
    const double ease = t * t * (3 - 2 * t);
    out[static_cast<size_t>(s)] =
        knots[static_cast<size_t>(i % points)] * (1 - ease) + knots[static_cast<size_t>((i + 1) % points)] * ease;
  }
  return out;
}

}  // namespace

std::vector<SkyStar> SkyStars() {
  SkyRandom random(0x5EED57A2u);
  std::vector<SkyStar> stars;
  stars.reserve(kSkyStarCount);
  for (int i = 0; i < kSkyStarCount; ++i) {
    // Uniform over the sky down to a little below the horizon.
    const double y = -0.05 + 1.05 * random.Next();
    const double azimuth = 2 * std::numbers::pi * random.Next();
    const double across = std::sqrt(std::max(0.0, 1 - y * y));
    SkyStar star;
    star.Direction = {static_cast<float>(across * std::sin(azimuth)), static_cast<float>(y),
                      static_cast<float>(-across * std::cos(azimuth))};
    // Many faint stars, a few bright ones; warm and cool ones.
    const double u = random.Next();
    const double brightness = 0.004 + 0.06 * std::pow(u, 9.0);
    const double warmth = random.Next() - 0.5;
    star.Light = {static_cast<float>(brightness * (1 + 0.25 * warmth)), static_cast<float>(brightness),
                  static_cast<float>(brightness * (1 - 0.25 * warmth))};
    stars.push_back(star);
  }
  return stars;
}

std::vector<float> HorizonProfile() {
  SkyRandom random(0x4111E5u);
  std::vector<double> height(kHorizonSamples, 0.0);
  // Broad hills, then smaller rises, then the uneven top of a tree line.
  const struct {
    int Points;
    double Amplitude;
  } octaves[] = {{7, 1.0}, {19, 0.45}, {53, 0.2}, {181, 0.12}, {701, 0.08}};
  double total = 0;
  for (const auto& o : octaves) {
    const std::vector<double> layer = PeriodicOctave(random, o.Points, kHorizonSamples);
    for (int s = 0; s < kHorizonSamples; ++s)
      height[static_cast<size_t>(s)] += o.Amplitude * layer[static_cast<size_t>(s)];
    total += o.Amplitude;
  }
  std::vector<float> metres(kHorizonSamples);
  for (int s = 0; s < kHorizonSamples; ++s) {
    const double share = height[static_cast<size_t>(s)] / total;
    metres[static_cast<size_t>(s)] =
        static_cast<float>(kHorizonLowestMetres + (kHorizonHighestMetres - kHorizonLowestMetres) * share);
  }
  return metres;
}

}  // namespace orvane
