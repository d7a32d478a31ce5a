#pragma once
// The night look's bloom: a chain of ever smaller copies of the stars' light, added back
// up and mixed in so that the light's total stays what it was.

#include <cstdint>
#include <vector>

namespace orvane {

// Levels of the chain for each profile: the first a quarter of the picture's size, each
// further one half the one before, down to 2 pixels.
inline constexpr int kNightBloomLevels = 5;
inline constexpr int kNightPreviewBloomLevels = 3;

// The share of the stars' light the bloom takes.
inline constexpr float kBloomMix = 0.12f;

struct BloomLevel {
  int32_t Width = 0, Height = 0;
};
std::vector<BloomLevel> BloomLevels(int32_t width, int32_t height, int levels);

}  // namespace orvane
